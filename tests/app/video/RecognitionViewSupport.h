// Helpers of the recognition view tests: message trees with binary children built as a sensor
// sends them, and JPEG pictures made with Qt's writer.
#pragma once

#include "PXR.h"
#include "RecognitionTestSupport.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QPainter>

#include <string>
#include <vector>

namespace recotest {

// One element of a message tree, built in a chain.
struct Node {
    explicit Node(std::string elementName) : name(std::move(elementName)) {}
    Node &set(std::string key, std::string value)
    {
        attributes.emplace_back(std::move(key), std::move(value));
        return *this;
    }
    Node &add(Node child)
    {
        children.push_back(std::move(child));
        return *this;
    }
    Node &bytes(QByteArray data)
    {
        content = std::move(data);
        return *this;
    }

    std::string name;
    Attributes attributes;
    std::vector<Node> children;
    QByteArray content;
};

inline PXRMsgElement *buildElement(const Node &node)
{
    PXRMsgElement *element = PXRMsgElementCreate(node.name.c_str());
    for (const auto &[key, value] : node.attributes)
        PXRMsgElementSetAttribute(element, key.c_str(), value.c_str());
    if (!node.content.isNull())
        PXRMsgElementSetContentBinary(element, node.content.constData(), uint32_t(node.content.size()));
    for (const Node &child : node.children)
        PXRMsgElementAddChild(element, buildElement(child));
    return element;
}

// A read-only message with that root.
inline MsgPtr build(const Node &root)
{
    MsgPtr msg(PXRMsgCreate());
    PXRMsgSetChild(msg.get(), buildElement(root));
    PXRMsgSetReadOnly(msg.get(), 1);
    return msg;
}

// A picture of that size: a grey field, with a white band where a plate would be, as JPEG.
inline QByteArray jpegPicture(int width, int height, QColor field = QColor(90, 110, 130))
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(field);
    QPainter painter(&image);
    painter.fillRect(width / 3, height / 3, width / 4, height / 8, Qt::white);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

inline int countPixels(const QImage &image, const std::function<bool(QColor)> &match)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += match(image.pixelColor(x, y)) ? 1 : 0;
    }
    return count;
}

inline bool isRed(QColor c)
{
    return c.red() > 200 && c.green() < 60 && c.blue() < 60;
}

} // namespace recotest
