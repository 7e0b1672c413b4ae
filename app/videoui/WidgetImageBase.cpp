// What the software and the OpenGL frame views share: the picture with its time and recognition
// messages, the overlays drawn over it, and the mouse's rubber band, grid drag, loupe and editing
// of the area of interest.
#include "WidgetImageBase.h"

#include "AppSettings.h"
#include "MainWindowInterface.h"
#include "Model.h"
#include "VideoFrame.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

constexpr int PickDistance = 30;
constexpr int PointMarkRadius = 10;
constexpr int RecognitionBoxWidth = 250;
constexpr int InformationBoxHeight = 26;
constexpr int FrameTimeBoxWidth = 156;
constexpr int RubberBandFontSize = 16;
constexpr int RubberBandLabelGap = 20;
constexpr int RubberBandLabelShift = 71;
const QColor ZoneColour(255, 0, 0);

bool frameHoldsPicture(const VideoFrame &frame)
{
    if (frame.width <= 0 || frame.height <= 0 || frame.width > INT_MAX / 4)
        return false;
    return qint64(frame.width) * frame.height * 4 <= frame.pixels.size();
}

QString attributeText(PXRMsgElement *element, const char *name)
{
    return QString::fromUtf8(PXRMsgElementAttributeValue(element, name));
}

QString numberText(PXRMsgElement *element, const char *name)
{
    return QString::fromLatin1(PXRMsgElementAttributeValue(element, name));
}

QString rootName(PXRMsg *message)
{
    return QString::fromLatin1(PXRMsgElementName(PXRMsgChild(message))).toLower();
}

// "85% - 120x30": the plate's size in camera pixels and the reading's reliability.
QString plateLine(PXRMsg *decision, PXRMsgElement *element)
{
    return QStringLiteral("%3% - %1x%2")
        .arg(QString::number(Model::scaleCoordinate(decision, "width", true)),
             QString::number(Model::scaleCoordinate(decision, "height", false)), numberText(element, "reliability"));
}

QFont informationFont(int pixelSize)
{
    // The boxes are sized for that family; the fall-backs are the narrow ones Linux usually has.
    QFont font;
    font.setFamilies({QStringLiteral("Trebuchet MS"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace

WidgetImageBase::WidgetImageBase()
{
    resetState();
}

WidgetImageBase::~WidgetImageBase() = default;

void WidgetImageBase::setFrame(const VideoFrame &frame, PXRMsg *decision, PXRMsg *speed)
{
    m_noPicture = false;
    m_cameraId = frame.cameraId;
    if (frameHoldsPicture(frame))
        m_picture = QImage(reinterpret_cast<const uchar *>(frame.pixels.constData()), frame.width, frame.height,
                           frame.width * 4, QImage::Format_ARGB32_Premultiplied)
                        .copy();
    m_time = frame.time;
    m_decision = SharedMsg(decision);
    m_speed = SharedMsg(speed);
    repaint();
}

void WidgetImageBase::setImage(const QString &cameraId, const QImage &image)
{
    m_noPicture = false;
    m_cameraId = cameraId;
    m_picture = image.copy();
    repaint();
}

void WidgetImageBase::reset()
{
    resetState();
    repaint();
}

void WidgetImageBase::resetState()
{
    const AppSettings settings;
    m_noPicture = true;
    m_showFrameTime = false;
    releaseMessages();
    m_displayGrid = settings.displayGrid();
    m_displayCoveringZone = settings.displayCoveringZone();
    m_gridDragging = false;
    m_gridOffset = QPoint();
    m_rubberBandActive = false;
    m_rubberBand = RubberBand();
    m_loupeActive = false;
    m_coveringZoneWidth = 0;
    m_coveringZoneRight = false;
    m_displayAreaOfInterest = true;
    m_polygonEditable = false;
    m_areaOfInterestEnabled = false;
    m_rectangleZone = false;
    m_excludingZone = false;
    m_draggedPoint = m_linkedXPoint = m_linkedYPoint = -1;
}

void WidgetImageBase::repaint()
{
    widget()->update();
}

void WidgetImageBase::releaseMessages()
{
    m_decision = SharedMsg();
    m_speed = SharedMsg();
}

void WidgetImageBase::setCoveringZone(int width, bool right)
{
    m_coveringZoneWidth = width;
    m_coveringZoneRight = right;
}

void WidgetImageBase::setDisplayCoveringZone(bool display)
{
    m_displayCoveringZone = display;
    repaint();
}

void WidgetImageBase::setDisplayGrid(bool display)
{
    m_displayGrid = display;
    repaint();
}

void WidgetImageBase::setDisplayAreaOfInterest(bool display)
{
    m_displayAreaOfInterest = display;
    repaint();
}

void WidgetImageBase::setShowFrameTime(bool show)
{
    m_showFrameTime = show;
    repaint();
}

void WidgetImageBase::setPolygon(bool enabled, bool excluding, const QVector<QPoint> &points, bool rectangle)
{
    m_areaOfInterestEnabled = enabled;
    m_excludingZone = excluding;
    m_rectangleZone = rectangle;
    m_polygon = points;
    m_draggedPoint = m_linkedXPoint = m_linkedYPoint = -1;
    const bool unplaced = std::all_of(points.begin(), points.end(), [](const QPoint &p) { return p.isNull(); });
    if (unplaced) {
        const QSize camera = cameraSize();
        m_polygon.fill(QPoint(camera.width() / 2, camera.height() / 2));
    }
}

QVector<QPoint> WidgetImageBase::orderedPolygon()
{
    const auto highest = std::min_element(m_polygon.begin(), m_polygon.end(),
                                          [](const QPoint &a, const QPoint &b) { return a.y() < b.y(); });
    std::rotate(m_polygon.begin(), highest, m_polygon.end());
    m_draggedPoint = m_linkedXPoint = m_linkedYPoint = -1;
    return m_polygon;
}

QRect WidgetImageBase::selectionRect() const
{
    if (!geometryReady())
        return QRect();
    const double scaleX = double(m_picture.width()) / m_pictureRect.width();
    const double scaleY = double(m_picture.height()) / m_pictureRect.height();
    return QRect(qRound(scaleX * std::abs(m_rubberBand.x - m_pictureRect.x())),
                 qRound(scaleY * std::abs(m_rubberBand.y - m_pictureRect.y())),
                 qRound(scaleX * std::abs(m_rubberBand.width)), qRound(scaleY * std::abs(m_rubberBand.height)));
}

QRect WidgetImageBase::fitPicture(const QSize &picture, const QSize &widget)
{
    if (picture.isEmpty() || widget.isEmpty())
        return QRect();
    double ratio = double(picture.width()) / picture.height();
    // Such pictures hold one field of the frame: shown at double height.
    if (picture == QSize(720, 288))
        ratio /= 2;
    if (double(widget.width()) / widget.height() > ratio) {
        const int width = int(widget.height() * ratio);
        return QRect((widget.width() - width) / 2, 0, width, widget.height());
    }
    const int height = int(widget.width() / ratio);
    return QRect(0, (widget.height() - height) / 2, widget.width(), height);
}

QList<int> WidgetImageBase::gridLines(int start, int length, int offset)
{
    QList<int> lines;
    const int step = qRound(length * 0.125);
    if (step < 1)
        return lines;
    const int shift = offset % step;
    const int last = start + length - 1;
    for (int at = start + shift + (shift < 1 ? step : 0); at < last; at += step)
        lines.append(at);
    return lines;
}

QSize WidgetImageBase::cameraSize() const
{
    if (m_cameraId.isEmpty())
        return QSize(DefaultCameraWidth, DefaultCameraHeight);
    int width = 0;
    int height = 0;
    Model::instance()->cameraSize(m_cameraId, &width, &height);
    // Every conversion divides by it: a size the sensor gave as 0 must not reach them.
    if (width <= 0 || height <= 0)
        return QSize(DefaultCameraWidth, DefaultCameraHeight);
    return QSize(width, height);
}

QRect WidgetImageBase::coveringZoneRect() const
{
    if (!m_displayCoveringZone || m_coveringZoneWidth <= 0 || m_pictureRect.isEmpty())
        return QRect();
    const int width = int(qint64(m_pictureRect.width()) * m_coveringZoneWidth / cameraSize().width());
    const int left = m_coveringZoneRight ? m_pictureRect.right() - width : m_pictureRect.left();
    return QRect(left, m_pictureRect.top(), width, m_pictureRect.height());
}

QRect WidgetImageBase::loupeSource() const
{
    const QRect whole = m_picture.rect();
    const QRect &shown = m_pictureRect;
    if (shown.isEmpty() || 2 * whole.width() < shown.width() || 2 * whole.height() < shown.height())
        return whole;
    const int x = int(qint64(whole.width()) * (m_loupePos.x() - shown.x()) / shown.width());
    const int y = int(qint64(whole.height()) * (m_loupePos.y() - shown.y()) / shown.height());
    QRect source(x - shown.width() / 2, y - shown.height() / 2, shown.width() / 2, shown.height() / 2);
    source.moveLeft(qBound(0, source.left(), whole.width() - source.width()));
    source.moveTop(qBound(0, source.top(), whole.height() - source.height()));
    return source;
}

WidgetImageBase::OverlayTexts WidgetImageBase::overlayTexts() const
{
    PXRMsg *decision = m_decision.get();
    PXRMsgElement *element = PXRMsgElementFirstChild(PXRMsgChild(decision), "decision");
    if (!element)
        return {};
    const QString name = rootName(decision);
    if (name == QLatin1String("classification"))
        return {QCoreApplication::translate("WidgetImageBase", "class %1 (%2)")
                    .arg(attributeText(element, "classNumber"), attributeText(element, "vehicleType")),
                QStringLiteral("%1%").arg(numberText(element, "reliability"))};
    if (name == QLatin1String("dgpr"))
        return {attributeText(element, "plate"), plateLine(decision, element)};
    if (name != QLatin1String("anpr"))
        return {};
    const QString plate = attributeText(element, "plate");
    if (plate.isEmpty())
        return {QString(), QCoreApplication::translate("WidgetImageBase", "Decision")};
    const QString context = attributeText(element, "context");
    OverlayTexts texts{context.isEmpty() ? plate : QStringLiteral("%1 (%2)").arg(plate, context),
                       plateLine(decision, element)};
    PXRMsgElement *speed = PXRMsgElementFirstChild(PXRMsgChild(m_speed.get()), "speed");
    if (speed)
        texts.second = QStringLiteral("%1 - %2 km/h").arg(texts.second, numberText(speed, "instantSpeed_km_h"));
    return texts;
}

QString WidgetImageBase::rubberBandText() const
{
    if (m_pictureRect.isEmpty())
        return QString();
    const QSize camera = cameraSize();
    return QStringLiteral("%1x%2")
        .arg(qRound(double(std::abs(m_rubberBand.width)) * camera.width() / m_pictureRect.width()))
        .arg(qRound(double(std::abs(m_rubberBand.height)) * camera.height() / m_pictureRect.height()));
}

bool WidgetImageBase::geometryReady() const
{
    return !m_noPicture && !m_picture.isNull() && !m_pictureRect.isEmpty();
}

QPoint WidgetImageBase::toWidget(const QPoint &camera) const
{
    const QSize cam = cameraSize();
    const qint64 pictureX = qint64(camera.x()) * m_picture.width() / cam.width();
    const qint64 pictureY = qint64(camera.y()) * m_picture.height() / cam.height();
    return QPoint(int(m_pictureRect.left() + pictureX * m_pictureRect.width() / m_picture.width()),
                  int(m_pictureRect.top() + pictureY * m_pictureRect.height() / m_picture.height()));
}

void WidgetImageBase::paintView(QPainter &painter)
{
    QWidget *view = widget();
    painter.fillRect(view->rect(), Qt::black);
    if (m_noPicture || m_picture.isNull())
        return;
    m_pictureRect = fitPicture(m_picture.size(), view->size());
    if (m_pictureRect.isEmpty())
        return;
    if (m_loupeActive) {
        painter.drawImage(m_pictureRect, m_picture, loupeSource());
        return;
    }
    painter.drawImage(m_pictureRect, m_picture);
    paintCoveringZone(painter);
    paintAreaOfInterest(painter);
    paintGrid(painter);
    paintRubberBand(painter);
    paintRecognition(painter);
    paintFrameTime(painter);
}

void WidgetImageBase::paintCoveringZone(QPainter &painter)
{
    const QRect zone = coveringZoneRect();
    if (zone.isNull())
        return;
    painter.setPen(Qt::yellow);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(zone);
}

void WidgetImageBase::paintAreaOfInterest(QPainter &painter)
{
    if (!m_displayAreaOfInterest || !m_areaOfInterestEnabled || m_polygon.isEmpty())
        return;
    QPolygonF zone;
    for (const QPoint &point : m_polygon)
        zone.append(QPointF(toWidget(point)));
    QColor pen = ZoneColour;
    pen.setAlpha(180);
    painter.setPen(QPen(pen, 2));
    painter.setBrush(Qt::NoBrush);
    for (const QPointF &at : zone) {
        painter.drawLine(QPointF(at.x() - PointMarkRadius, at.y()), QPointF(at.x() + PointMarkRadius, at.y()));
        painter.drawLine(QPointF(at.x(), at.y() - PointMarkRadius), QPointF(at.x(), at.y() + PointMarkRadius));
        painter.drawEllipse(at, PointMarkRadius, PointMarkRadius);
    }
    // An inclusion zone shades the picture around it: the picture's outline and the zone, odd-even.
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    if (!m_excludingZone)
        path.addPolygon(QPolygonF(QRectF(m_pictureRect)));
    path.addPolygon(zone);
    path.closeSubpath();
    QColor fill = ZoneColour;
    fill.setAlpha(50);
    painter.fillPath(path, fill);
}

void WidgetImageBase::paintGrid(QPainter &painter)
{
    if (!m_displayGrid)
        return;
    painter.setPen(QPen(Qt::blue, 1));
    const QRect &r = m_pictureRect;
    for (int x : gridLines(r.left(), r.width(), m_gridOffset.x()))
        painter.drawLine(x, r.top(), x, r.bottom());
    for (int y : gridLines(r.top(), r.height(), m_gridOffset.y()))
        painter.drawLine(r.left(), y, r.right(), y);
}

void WidgetImageBase::paintRubberBand(QPainter &painter)
{
    if (!m_rubberBandActive)
        return;
    const RubberBand &band = m_rubberBand;
    const QString text = rubberBandText();
    QFont font = painter.font();
    font.setPixelSize(RubberBandFontSize);
    painter.setFont(font);
    const QRect textBox =
        painter.fontMetrics().boundingRect(QRect(0, 0, 1000, 1000), Qt::AlignLeft | Qt::AlignTop, text);
    QRect label(band.x, band.y - RubberBandLabelGap, textBox.width() + 2, textBox.height() + 2);
    if (band.height < 0)
        label.translate(0, band.height);
    if (band.width < 0)
        label.translate(band.width, 0);
    if (label.top() < 0)
        label.translate(0, std::abs(band.height) + RubberBandLabelGap);
    const int widgetWidth = widget()->width();
    if (label.right() > widgetWidth - 1)
        label.setLeft(widgetWidth - RubberBandLabelShift);
    painter.setPen(Qt::red);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(band.x, band.y), QPoint(band.x + band.width, band.y + band.height)).normalized());
    painter.fillRect(label, Qt::red);
    painter.setPen(Qt::black);
    painter.drawText(label, Qt::AlignCenter, text);
}

void WidgetImageBase::paintRecognition(QPainter &painter)
{
    if (!m_decision)
        return;
    const OverlayTexts texts = overlayTexts();
    const int left = widget()->width() - RecognitionBoxWidth;
    if (!texts.first.isEmpty())
        paintInformationBox(painter, QRect(left, 0, RecognitionBoxWidth, InformationBoxHeight), texts.first, true);
    if (!texts.second.isEmpty())
        paintInformationBox(painter, QRect(left, InformationBoxHeight, RecognitionBoxWidth, InformationBoxHeight),
                            texts.second, true);
}

void WidgetImageBase::paintFrameTime(QPainter &painter)
{
    if (!m_showFrameTime)
        return;
    const QWidget *view = widget();
    const QRect box(view->width() - FrameTimeBoxWidth, view->height() - InformationBoxHeight, FrameTimeBoxWidth,
                    InformationBoxHeight);
    paintInformationBox(painter, box, m_time.toLocalTime().toString(QStringLiteral("hh:mm:ss.zzz")), false);
}

void WidgetImageBase::paintInformationBox(QPainter &painter, const QRect &box, const QString &text, bool centred)
{
    painter.fillRect(box, Qt::black);
    painter.setPen(Qt::white);
    painter.setFont(informationFont(box.height() - 4));
    painter.drawText(box, Qt::AlignVCenter | (centred ? Qt::AlignHCenter : Qt::AlignLeft), text);
}

void WidgetImageBase::handleMousePress(QMouseEvent *event)
{
    // A view without size has nothing to point at, and the band could not be held inside it.
    if (widget()->size().isEmpty())
        return;
    const QPoint cursor = event->position().toPoint();
    switch (event->button()) {
    case Qt::LeftButton:
        if (!(m_displayAreaOfInterest && m_polygonEditable)) {
            m_rubberBandActive = true;
            m_rubberBand = {cursor.x(), cursor.y(), 0, 0};
        } else if (m_areaOfInterestEnabled && geometryReady()) {
            pickPoint(cursor);
        }
        break;
    case Qt::RightButton:
        if (m_displayGrid) {
            m_gridDragging = true;
            m_gridDragOrigin = cursor;
        }
        break;
    case Qt::MiddleButton:
        m_loupeActive = true;
        m_loupePos = cursor;
        break;
    default:
        return;
    }
    repaint();
}

void WidgetImageBase::pickPoint(const QPoint &cursor)
{
    m_draggedPoint = m_linkedXPoint = m_linkedYPoint = -1;
    int nearest = PickDistance;
    for (int i = 0; i < m_polygon.size(); ++i) {
        const int distance = (toWidget(m_polygon.at(i)) - cursor).manhattanLength();
        if (distance < nearest) {
            nearest = distance;
            m_draggedPoint = i;
        }
    }
    if (m_draggedPoint < 0 || !m_rectangleZone)
        return;
    const QPoint picked = m_polygon.at(m_draggedPoint);
    for (int i = 0; i < m_polygon.size(); ++i) {
        if (i == m_draggedPoint)
            continue;
        if (m_linkedXPoint < 0 && m_polygon.at(i).x() == picked.x())
            m_linkedXPoint = i;
        if (m_linkedYPoint < 0 && m_polygon.at(i).y() == picked.y())
            m_linkedYPoint = i;
    }
}

void WidgetImageBase::handleMouseMove(QMouseEvent *event)
{
    if (widget()->size().isEmpty())
        return;
    const QPoint cursor = event->position().toPoint();
    if (m_draggedPoint >= 0 && geometryReady())
        dragPoint(cursor);
    if (m_rubberBandActive) {
        const QWidget *view = widget();
        m_rubberBand.width = qBound(0, cursor.x(), view->width() - 1) - m_rubberBand.x;
        m_rubberBand.height = qBound(0, cursor.y(), view->height() - 1) - m_rubberBand.y;
    }
    if (m_gridDragging)
        m_gridOffset = cursor - m_gridDragOrigin;
    if (m_loupeActive)
        m_loupePos = cursor;
    repaint();
}

void WidgetImageBase::dragPoint(const QPoint &cursor)
{
    const QSize camera = cameraSize();
    const QPoint point(
        qBound(0, qRound(double(cursor.x() - m_pictureRect.x()) * camera.width() / m_pictureRect.width()),
               camera.width() - 1),
        qBound(0, qRound(double(cursor.y() - m_pictureRect.y()) * camera.height() / m_pictureRect.height()),
               camera.height() - 1));
    m_polygon[m_draggedPoint] = point;
    if (!m_rectangleZone)
        return;
    if (m_linkedXPoint >= 0)
        m_polygon[m_linkedXPoint].setX(point.x());
    if (m_linkedYPoint >= 0)
        m_polygon[m_linkedYPoint].setY(point.y());
}

void WidgetImageBase::handleMouseRelease(QMouseEvent *event)
{
    switch (event->button()) {
    case Qt::LeftButton:
        m_draggedPoint = m_linkedXPoint = m_linkedYPoint = -1;
        m_rubberBandActive = false;
        break;
    case Qt::RightButton:
        m_gridDragging = false;
        break;
    case Qt::MiddleButton:
        m_loupeActive = false;
        break;
    default:
        return;
    }
    repaint();
}

void WidgetImageBase::handleMouseDoubleClick(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_fullScreenOnDoubleClick)
        return;
    if (MainWindowInterface *window = MainWindowInterface::instance())
        window->toggleFullScreen();
}
