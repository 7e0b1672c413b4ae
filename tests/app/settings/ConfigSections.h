// The full configuration and information with one top-level section given in place of their own,
// or taken out: the sensor-wide sections the settings dialogs edit.
#pragma once

#include "SettingsTestSupport.h"

#include <functional>
#include <optional>

namespace settingstest {

// The operator's part on an open dialog.
using Edit = std::function<void(QDialog &dialog)>;

inline Element withSection(Element tree, const char *name, const std::optional<Element> &section)
{
    std::erase_if(tree.children, [name](const Element &child) { return child.name == name; });
    if (section)
        tree.add(*section);
    return tree;
}

inline Element configWith(const char *name, const std::optional<Element> &section)
{
    return withSection(panelsfixture::fullConfig(), name, section);
}

// The element with these attributes taken out.
inline Element without(Element made, std::initializer_list<const char *> removed)
{
    for (const char *name : removed)
        std::erase_if(made.attributes, [name](const auto &attribute) { return attribute.first == name; });
    return made;
}

// The setConfig carrying that one section.
inline Element sectionRequest(const Element &section)
{
    return Element("setConfig").add(Element("config").add(section));
}

} // namespace settingstest
