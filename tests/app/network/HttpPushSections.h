// The HTTP push servers of the configuration and of the setConfig the dialog sends, and the
// dialog's editors as the operator reaches them.
#pragma once

#include "NetworkSections.h"
#include "WidgetHttpPushServerSettings.h"

#include <QLineEdit>
#include <QToolButton>

#include <string>

namespace networktest {

// A server with its attributes and, when given, a certificate of that text (an empty text is a
// certificate without content).
inline Element pushServer(settingstest::Attributes attributes, std::optional<std::string> certificate = std::nullopt)
{
    Element made = settingstest::element("server", attributes);
    if (certificate)
        made.add(Element("certificate").withContent(*certificate));
    return made;
}

inline Element httpPush(std::initializer_list<Element> list)
{
    Element servers("servers");
    for (const Element &server : list)
        servers.add(server);
    return Element("httpPush").add(servers);
}

inline WidgetHttpPushServerSettings *pushEditor(QDialog &dialog, const char *name)
{
    return settingstest::child<WidgetHttpPushServerSettings>(dialog, name);
}

template <typename T>
T *pushField(QDialog &dialog, const char *server, const char *name)
{
    WidgetHttpPushServerSettings *editor = pushEditor(dialog, server);
    T *found = editor != nullptr ? editor->findChild<T *>(QString::fromLatin1(name)) : nullptr;
    EXPECT_NE(found, nullptr) << server << ' ' << name;
    return found;
}

} // namespace networktest
