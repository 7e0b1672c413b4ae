// The sensor named on the command line: which forms connect, and which are refused with a reason
// instead of reaching a device nobody named.
#include "CommandLineSensor.h"

#include <gtest/gtest.h>

namespace {

using Action = CommandLineSensor::Action;

struct Case
{
    QStringList arguments;
    Action action;
    QString address;
    quint16 port;
};

TEST(CommandLineSensor, OnlyASingleAddressOrAddressAndValidPortConnects)
{
    const Case cases[] = {
        {{"bzk"}, Action::None, "", 10001},
        {{"bzk", "10.1.2.3", "10.1.2.4"}, Action::None, "", 10001},
        {{"bzk", "10.1.2.3"}, Action::Connect, "10.1.2.3", 10001},
        {{"bzk", "gate.local:8080"}, Action::Connect, "gate.local", 8080},
        {{"bzk", "10.1.2.3:1"}, Action::Connect, "10.1.2.3", 1},
        {{"bzk", "10.1.2.3:65535"}, Action::Connect, "10.1.2.3", 65535},
        {{"bzk", "fe80::1"}, Action::Refuse, "", 10001},
        {{"bzk", "10.1.2.3:80:81"}, Action::Refuse, "", 10001},
        {{"bzk", "10.1.2.3:http"}, Action::Refuse, "", 10001},
        {{"bzk", "10.1.2.3:"}, Action::Refuse, "", 10001},
        {{"bzk", "10.1.2.3:0"}, Action::Refuse, "", 10001},
        {{"bzk", "10.1.2.3:65536"}, Action::Refuse, "", 10001},
        {{"bzk", "10.1.2.3:75537"}, Action::Refuse, "", 10001},
        {{"bzk", "10.1.2.3:-1"}, Action::Refuse, "", 10001},
    };
    for (const Case &c : cases) {
        const CommandLineSensor sensor = CommandLineSensor::parse(c.arguments);
        const QString label = c.arguments.join(' ');
        EXPECT_EQ(sensor.action, c.action) << label.toStdString();
        if (c.action == Action::Connect) {
            EXPECT_EQ(sensor.address, c.address) << label.toStdString();
            EXPECT_EQ(sensor.port, c.port) << label.toStdString();
        }
        EXPECT_EQ(sensor.error.isEmpty(), c.action != Action::Refuse) << label.toStdString();
    }
}

TEST(CommandLineSensor, RefusalsNameWhatWasWrong)
{
    EXPECT_TRUE(CommandLineSensor::parse({"bzk", "fe80::1"}).error.contains("fe80::1"));
    EXPECT_TRUE(CommandLineSensor::parse({"bzk", "fe80::1"}).error.contains("not supported"));
    EXPECT_TRUE(CommandLineSensor::parse({"bzk", "10.1.2.3:70000"}).error.contains("70000"));
    EXPECT_TRUE(CommandLineSensor::parse({"bzk", "10.1.2.3:70000"}).error.contains("1 to 65535"));
}

} // namespace
