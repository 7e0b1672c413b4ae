// The full configuration with one section of its network given in place of its own, or taken
// out; the test schema with a piece changed.
#pragma once

#include "ConfigSections.h"

#include <QFile>

#include <string>

namespace networktest {

using fybsim::Element;

inline Element configWithNetwork(const char *name, const std::optional<Element> &section)
{
    Element config = panelsfixture::fullConfig();
    for (Element &child : config.children)
        if (child.name == "network")
            child = settingstest::withSection(child, name, section);
    return config;
}

// The setConfig carrying that one section of the network.
inline Element networkRequest(const Element &section)
{
    return settingstest::sectionRequest(Element("network").add(section));
}

// The test schema with the first occurrence of a text replaced; false when it has none.
inline bool schemaReplacing(const QByteArray &from, const QByteArray &to, QByteArray &schema)
{
    QFile file(QStringLiteral(BZK_SIM_DATA_DIR "/settings-dialogs.xsd"));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    schema = file.readAll();
    const qsizetype at = schema.indexOf(from);
    if (at < 0)
        return false;
    schema.replace(at, from.size(), to);
    return true;
}

} // namespace networktest
