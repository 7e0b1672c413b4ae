// A compact text form of element trees for table-driven tests:
//   name(attr=value,...)<content>{child,child...}   every part after the name optional.
#ifndef TREE_TEXT_H
#define TREE_TEXT_H

#include <string>

#include "PXR_Internal.h"

namespace treetext {

inline std::string readUntil(const std::string &text, size_t &pos, const char *stops)
{
    size_t end = text.find_first_of(stops, pos);
    if (end == std::string::npos)
        end = text.size();
    std::string part = text.substr(pos, end - pos);
    pos = end;
    return part;
}

inline PXRMsgElement *parseAt(const std::string &text, size_t &pos)
{
    PXRMsgElement *psElement = PXRMsgElementCreate(readUntil(text, pos, "(<{,}").c_str());
    if (pos < text.size() && text[pos] == '(') {
        while (pos < text.size() && text[pos] != ')') {
            pos++;
            std::string name = readUntil(text, pos, "=");
            pos++;
            std::string value = readUntil(text, pos, ",)");
            PXRMsgElementSetAttribute(psElement, name.c_str(), value.c_str());
        }
        pos++;
    }
    if (pos < text.size() && text[pos] == '<') {
        pos++;
        std::string content = readUntil(text, pos, ">");
        pos++;
        PXRMsgElementSetContentBinary(psElement, content.data(), static_cast<uint32_t>(content.size()));
    }
    if (pos < text.size() && text[pos] == '{') {
        do {
            pos++;
            PXRMsgElementAddChild(psElement, parseAt(text, pos));
        } while (pos < text.size() && text[pos] == ',');
        pos++;
    }
    return psElement;
}

inline PXRMsgElement *parse(const std::string &text)
{
    size_t pos = 0;
    return parseAt(text, pos);
}

inline std::string print(PXRMsgElement *psElement)
{
    if (!psElement)
        return "(null)";
    std::string text = PXRMsgElementName(psElement);
    uint32_t u32Count = PXRMsgElementAttributeCount(psElement);
    for (uint32_t i = 0; i < u32Count; i++) {
        const char *pcszName = PXRMsgElementAttributeName(psElement, i);
        text += (i == 0 ? "(" : ",");
        text += std::string(pcszName) + "=" + PXRMsgElementAttributeValue(psElement, pcszName);
    }
    if (u32Count)
        text += ")";
    if (PXRMsgElementContent(psElement))
        text += "<" + std::string(static_cast<const char *>(PXRMsgElementContent(psElement)),
                                  PXRMsgElementContentSize(psElement)) + ">";
    const char *pcszSeparator = "{";
    for (PXRMsgElement *psChild = PXRMsgElementFirstChild(psElement, nullptr); psChild;
         psChild = PXRMsgElementNextChild(psElement, psChild, nullptr)) {
        text += pcszSeparator + print(psChild);
        pcszSeparator = ",";
    }
    if (PXRMsgElementChildCount(psElement, nullptr))
        text += "}";
    return text;
}

} // namespace treetext

#endif
