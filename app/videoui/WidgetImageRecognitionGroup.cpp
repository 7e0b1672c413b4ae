// One picture of a recognition in the detail window.
#include "WidgetImageRecognitionGroup.h"

#include "RecognitionFields.h"
#include "WidgetImageBase.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

WidgetImageRecognitionGroup::WidgetImageRecognitionGroup(QWidget *parent) : QWidget(parent) {}

void WidgetImageRecognitionGroup::forgetPlate()
{
    const float angle = m_plate.angle;
    m_plate = Plate();
    m_plate.angle = angle;
    m_plateInShown = QPoint();
}

void WidgetImageRecognitionGroup::setRecognition(PXRMsg *message)
{
    m_shown = QImage();
    m_whole = QImage();
    forgetPlate();
    PXRMsgElement *element = RecognitionFields::first(message);
    const QByteArray jpeg = RecognitionFields::content(element, "jpeg");
    if (!jpeg.isEmpty() && m_whole.loadFromData(jpeg)) {
        m_shown = m_whole;
        const char *placement[] = {"x", "y", "width", "height"};
        if (std::all_of(std::begin(placement), std::end(placement),
                        [&](const char *name) { return RecognitionFields::has(element, name); })) {
            m_plate = {RecognitionFields::number(element, "x"), RecognitionFields::number(element, "y"),
                       RecognitionFields::number(element, "width"), RecognitionFields::number(element, "height"),
                       RecognitionFields::angleRadians(element)};
            const QRect area = cutOut(m_whole.size(), m_plate);
            m_shown = m_whole.copy(area);
            m_plateInShown = QPoint(m_plate.x - area.left(), m_plate.y - area.top());
        }
    }
    update();
}

bool WidgetImageRecognitionGroup::setContext(PXRMsg *message)
{
    m_shown = QImage();
    forgetPlate();
    const QByteArray jpeg = RecognitionFields::content(RecognitionFields::first(message), "contextJpeg");
    const bool loaded = !jpeg.isEmpty() && m_shown.loadFromData(jpeg);
    update();
    return loaded;
}

void WidgetImageRecognitionGroup::setDrawPlateRect(bool draw)
{
    m_drawPlateRect = draw;
    repaint();
}

std::array<QPointF, 4> WidgetImageRecognitionGroup::corners(QPointF centre, QPointF half, float width, float height,
                                                           float angle)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const QPointF along(width * c, width * s);
    const QPointF across(-height * s, height * c);
    const QPointF first(float(centre.x()) - float(half.x()) * c + float(half.y()) * s,
                        float(centre.y()) - float(half.x()) * s - float(half.y()) * c);
    return {first, first + along, first + along + across, first + across};
}

QRect WidgetImageRecognitionGroup::cutOut(const QSize &picture, const Plate &plate)
{
    const QPoint centre(plate.x + plate.width / 2, plate.y + plate.height / 2);
    const auto turned = corners(centre, QPointF(plate.width / 2, plate.height / 2), float(plate.width),
                                float(plate.height), plate.angle);
    float minX = float(centre.x()), maxX = minX, minY = float(centre.y()), maxY = minY;
    for (const QPointF &corner : turned) {
        minX = std::min(minX, float(corner.x()));
        maxX = std::max(maxX, float(corner.x()));
        minY = std::min(minY, float(corner.y()));
        maxY = std::max(maxY, float(corner.y()));
    }
    // Held to the picture before turning into integers: a plate placed far outside must not
    // overflow them.
    const auto inside = [](float value, int limit) { return int(std::clamp(value, 0.0f, float(limit))); };
    const int left = inside(minX - 10.0f, picture.width());
    const int top = inside(minY - 10.0f, picture.height());
    const int width = std::min(inside(maxX - minX + 20.0f, picture.width()), picture.width() - left);
    const int height = std::min(inside(maxY - minY + 20.0f, picture.height()), picture.height() - top);
    return QRect(left, top, width, height);
}

void WidgetImageRecognitionGroup::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const bool whole = m_pressed && !m_whole.isNull();
    const QImage &picture = whole ? m_whole : m_shown;
    const QPoint plate = whole ? QPoint(m_plate.x, m_plate.y) : m_plateInShown;
    const QRect target = WidgetImageBase::fitPicture(picture.size(), size());
    if (target.isEmpty())
        return;
    painter.drawImage(target, picture);
    if (!m_drawPlateRect)
        return;
    const double scaleX = double(target.width()) / picture.width();
    const double scaleY = double(target.height()) / picture.height();
    const QPointF half(m_plate.width / 2.0, m_plate.height / 2.0);
    const auto turned = corners(QPointF(plate) + half, half, float(m_plate.width), float(m_plate.height), m_plate.angle);
    QPoint onView[4];
    for (int i = 0; i < 4; ++i)
        onView[i] = QPoint(int(turned[i].x() * scaleX) + target.left(), int(turned[i].y() * scaleY) + target.top());
    painter.setPen(Qt::red);
    painter.drawPolygon(onView, 4);
}

void WidgetImageRecognitionGroup::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = true;
    update();
}

void WidgetImageRecognitionGroup::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_pressed = false;
    update();
}
