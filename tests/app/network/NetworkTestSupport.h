// Fixture pieces of the network dialogs' tests: the network section of the full configuration
// varied child by child, what an untouched OK sends for it, and the operator's moves on the form.
#pragma once

#include "ConfigSections.h"

#include <QLabel>
#include <QLineEdit>

#include <optional>

namespace networktest {

using namespace settingstest;
using fybsim::Element;

// The element with its child of that name replaced in place, taken out (nullopt), or appended.
inline Element withChild(Element parent, const char *name, const std::optional<Element> &child)
{
    for (auto it = parent.children.begin(); it != parent.children.end(); ++it) {
        if (it->name != name)
            continue;
        if (child)
            *it = *child;
        else
            parent.children.erase(it);
        return parent;
    }
    if (child)
        parent.add(*child);
    return parent;
}

// The element without its children of these names.
inline Element withoutChildren(Element parent, std::initializer_list<const char *> names)
{
    for (const char *name : names)
        parent = withChild(parent, name, std::nullopt);
    return parent;
}

inline Element staticInterface()
{
    return element("interface", {{"dhcp", "0"},
                                 {"ipAddress", "192.168.1.20"},
                                 {"ipMask", "255.255.255.0"},
                                 {"broadcast", "192.168.1.255"},
                                 {"ipGateway", "192.168.1.1"}});
}

inline Element unicastClients()
{
    return Element("unicastDiscover")
        .add(element("client0", {{"address", "10.3.3.3"}, {"port", "22022"}}))
        .add(element("client1", {{"address", "10.3.3.4"}, {"port", ""}}))
        .add(element("client2", {{"address", ""}}))
        .add(element("client3", {}));
}

// The network of the full configuration, its unicast clients named as the sensor names them.
inline Element network()
{
    for (const Element &section : panelsfixture::fullConfig().children)
        if (section.name == "network")
            return withChild(section, "unicastDiscover", unicastClients());
    return Element("network");
}

inline Element configWithNetwork(const Element &network)
{
    return configWith("network", network);
}

// What OK sends for network() untouched, as the sensor receives it.
inline Element sentNetwork()
{
    return Element("network")
        .set("securityProfile", "strict")
        .add(element("fyb", {{"port", "10001"}, {"portSsl", "12001"}, {"enableUnsecuredConnections", "1"}}))
        .add(element("kgv", {{"commandPort", "11011"}, {"port", "10001"}, {"timePort", "10000"}}))
        .add(element("hxdq", {{"enableHttp", "1"}, {"httpPort", "80"}, {"enableHttps", "0"}, {"httpsPort", "443"}}))
        .add(element("rtsp", {{"enabled", "1"}, {"port", "554"}}))
        .add(element("ntp", {{"ntp0", "pool.ntp.org"}}))
        .add(element("dns", {{"dns0", ""}, {"dns1", "192.168.1.1"}}))
        .add(element("interface", {{"id", "0"},
                                   {"dhcp", "0"},
                                   {"ipAddress", "192.168.1.20"},
                                   {"ipMask", "255.255.255.0"},
                                   {"broadcast", "192.168.1.255"},
                                   {"ipGateway", "192.168.1.1"}}));
}

// The same with a child of its own replaced (before the interface when new), or taken out.
inline Element sentWith(const char *name, const std::optional<Element> &child, Element sent = sentNetwork())
{
    Element interface = *sent.child("interface");
    sent = withChild(withChild(sent, "interface", std::nullopt), name, child);
    return name == std::string("interface") ? sent : sent.add(interface);
}

inline void type(QDialog &dialog, const char *field, const char *text)
{
    child<QLineEdit>(dialog, field)->setText(QString::fromUtf8(text));
}

} // namespace networktest

class NetworkTest : public SettingsTest
{
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        dispatcher.setOnNetworkChanged([this] { ++disconnectFlows; });
    }

    // Follows an edit link; the editor it opens shows its entries in shownTexts, takes the
    // texts given (one per edit, in order), then OK or Cancel.
    void editList(QDialog &dialog, const char *link, const QStringList &texts, bool ok = true)
    {
        answers.push_front([this, texts, ok](QDialog *editor) {
            const QList<QLineEdit *> edits = editor->findChildren<QLineEdit *>();
            shownTexts.clear();
            for (QLineEdit *edit : edits)
                shownTexts << (edit->isEnabled() ? edit->text() : QStringLiteral("<disabled>"));
            for (qsizetype i = 0; i < texts.size() && i < edits.size(); ++i)
                edits[i]->setText(texts[i]);
            if (ok)
                settingstest::okButton(*editor)->click();
            else
                editor->reject();
            return editor->result();
        });
        emit settingstest::child<QLabel>(dialog, link)->linkActivated(QStringLiteral("edit"));
    }

    int disconnectFlows = 0;
    QStringList shownTexts;
};
