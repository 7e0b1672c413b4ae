// The sensor's answer to the protocol and service dialogs: a refusal is shown under each
// dialog's own answer title and keeps it open with the operator's values.
#include "NetworkDialogTest.h"

#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

using namespace networktest;

using NetworkAnswerTest = NetworkDialogTest;

TEST_F(NetworkAnswerTest, ARefusalIsShownUnderTheDialogsTitleAndKeepsItOpen)
{
    struct Case
    {
        const char *tag;
        const char *title;
        const char *urlEdit; // a URL to make valid first, or null
    };
    const Case cases[] = {
        {"tiba", "Configuration", "edtURL"},
        {"amanoOne", "Configuration", "edtURL"},
        {"SBFreeFlow", "Configuration", nullptr},
        {"nedapGenericBadge", "Set configuration", nullptr},
        {"moobyl", "Configuration", nullptr},
        {"rvd", "Configuration", nullptr},
        {"mDNS", "Set configuration", nullptr},
        {"pingTest", "Configuration", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tag);
        ASSERT_NO_FATAL_FAILURE(start(panelsfixture::fullConfig()));
        server.setReply("setConfig", fybsim::Reply::failed("refused"));
        const fybsim::FybSensor::Mark mark = server.mark();
        bool keptOpen = false;
        const int result = open(c.tag, [&](QDialog &dialog) {
            if (c.urlEdit != nullptr)
                child<QLineEdit>(dialog, c.urlEdit)->setText("https://server.example/in");
            okButton(dialog)->click();
            keptOpen = dialog.result() == 0;
            dialog.reject();
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_TRUE(keptOpen);
        EXPECT_EQ(requestsSince(mark).size(), 1u);
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[1].title, c.title);
        EXPECT_EQ(seen[1].text, "Error : action failed");
    }
}

} // namespace
