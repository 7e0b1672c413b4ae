// The address check of the network dialogs: blanks dropped anywhere, four decimal parts of at
// most 255, leading zeros kept, and the caller's answer for an empty text.
#include "IpAddressCheck.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

struct AddressCase
{
    const char *typed;
    bool emptyResult;
    bool accepted;
    const char *cleaned;
};

TEST(IpAddressCheck, CleansThenAcceptsOnlyFourDecimalPartsUpTo255)
{
    const AddressCase cases[] = {
        {"192.168.1.10", false, true, "192.168.1.10"},
        {" 192. 168 .1.10 ", false, true, "192.168.1.10"},
        {"\t10.0.0.1\n", false, true, "10.0.0.1"},
        {"", false, false, ""},
        {"", true, true, ""},
        {"    ", false, false, ""},
        {"   ", true, true, ""},
        {"1.2.3", false, false, "1.2.3"},
        {"1.2.3.4.5", false, false, "1.2.3.4.5"},
        {"1..2.3", false, false, "1..2.3"},
        {"1.2.3.", true, false, "1.2.3."},
        {"256.1.1.1", false, false, "256.1.1.1"},
        {"1.2.3.x", false, false, "1.2.3.x"},
        {"1.2.3.-1", false, false, "1.2.3.-1"},
        {"65536.1.1.1", false, false, "65536.1.1.1"},
        {"255.255.255.255", false, true, "255.255.255.255"},
        {"0.0.0.0", false, true, "0.0.0.0"},
        {"010.001.002.003", false, true, "010.001.002.003"},
        {"0010.001.002.003", false, true, "0010.001.002.003"},
        {"0010.0001.002.003", false, false, "0010.0001.002.003"},
        {"1.2.3.4 5", false, true, "1.2.3.45"},
    };
    for (const AddressCase &c : cases) {
        SCOPED_TRACE(c.typed);
        QString cleaned = QStringLiteral("before");
        EXPECT_EQ(checkIpAddress(QString::fromUtf8(c.typed), &cleaned, c.emptyResult), c.accepted);
        EXPECT_EQ(cleaned, QString::fromUtf8(c.cleaned));
    }
}

TEST(IpAddressCheck, TheFieldKeepsWhatWasTyped)
{
    QLineEdit field(QStringLiteral(" 10. 0 .0.1"));
    QString cleaned;
    EXPECT_TRUE(checkIpAddress(&field, &cleaned, false));
    EXPECT_EQ(cleaned, "10.0.0.1");
    EXPECT_EQ(field.text(), " 10. 0 .0.1");
}

} // namespace
