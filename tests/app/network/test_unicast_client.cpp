// A unicast discovery client between the kept element, the operator's entry and the request.
#include "UnicastClient.h"

#include "PXRMessage.h"

#include <gtest/gtest.h>

namespace {

struct EntryCase
{
    const char *entry;
    bool gives;
    const char *address;
    const char *port;
    bool portValid;
};

TEST(UnicastClient, EntriesSplitAtOneColonAndABareAddressTakesTheDiscoveryPort)
{
    const EntryCase cases[] = {
        {"", false, "", "", true},
        {"10.0.0.1", true, "10.0.0.1", "22022", true},
        {"10.0.0.1:4000", true, "10.0.0.1", "4000", true},
        {"10.0.0.1:", true, "10.0.0.1", "", true},
        {":4000", true, "", "4000", true},
        {":", true, "", "", true},
        {"10.0.0.1:4000:1", false, "", "", true},
        {"10.0.0.1:abc", true, "10.0.0.1", "abc", false},
        {"10.0.0.1:0", true, "10.0.0.1", "0", false},
        {"10.0.0.1:65535", true, "10.0.0.1", "65535", true},
        {"10.0.0.1:65536", true, "10.0.0.1", "65536", false},
        {"10.0.0.1:-1", true, "10.0.0.1", "-1", false},
        {"10.0.0.1: 80", true, "10.0.0.1", " 80", false},
    };
    for (const EntryCase &c : cases) {
        SCOPED_TRACE(c.entry);
        const std::optional<UnicastClient> client = UnicastClient::fromEntry(QString::fromUtf8(c.entry));
        ASSERT_EQ(client.has_value(), c.gives);
        if (!client)
            continue;
        EXPECT_EQ(client->address, c.address);
        EXPECT_EQ(client->port, c.port);
        EXPECT_EQ(client->portValid(), c.portValid);
    }
}

TEST(UnicastClient, TheEntryOfAKeptClientShowsItsPortOnlyWhenNotEmpty)
{
    struct TextCase
    {
        const char *address;
        const char *port;
        const char *text;
    };
    const TextCase cases[] = {
        {"10.3.3.3", "22022", "10.3.3.3:22022"},
        {"10.3.3.4", "", "10.3.3.4"},
        {"10.3.3.5", nullptr, "10.3.3.5"},
        {"", "4000", ":4000"},
        {nullptr, "4000", ""},
    };
    for (const TextCase &c : cases) {
        SCOPED_TRACE(c.text);
        PXRMessage message(PXRMsgCreate());
        PXRMsgElement *client = PXRMsgElementCreate("client0");
        PXRMsgSetChild(message.get(), client);
        if (c.address != nullptr)
            PXRMsgElementSetAttribute(client, "address", c.address);
        if (c.port != nullptr)
            PXRMsgElementSetAttribute(client, "port", c.port);
        EXPECT_EQ(UnicastClient::textOf(client), QString::fromUtf8(c.text));
    }
    EXPECT_EQ(UnicastClient::textOf(nullptr), QString());
}

} // namespace
