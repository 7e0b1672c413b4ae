// A picture view that fits its picture and magnifies it while the left button is held.
#include "ZyZoomImage.h"

#include "ZyDialogs.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSettings>

ZyZoomImage::ZyZoomImage(QWidget *parent)
    : QLabel(parent)
{
    setMouseTracking(true);
    setMinimumSize(10, 10);
}

void ZyZoomImage::setPixmap(const QPixmap &picture)
{
    m_picture = picture.copy();
    update();
}

void ZyZoomImage::setZoomEnabled(bool enabled)
{
    m_zoomAllowed = enabled;
}

bool ZyZoomImage::isZooming() const
{
    return m_zooming;
}

QRect ZyZoomImage::targetRect() const
{
    return m_targetRect;
}

QRect ZyZoomImage::fittedRect() const
{
    double ratio = double(m_picture.width()) / double(m_picture.height());
    // Half-height field frames are shown at double height.
    if (m_picture.width() == 720 && m_picture.height() == 288)
        ratio /= 2.0;
    const double widgetRatio = double(width()) / double(height());
    if (widgetRatio > ratio) {
        const int targetWidth = int(height() * ratio);
        return QRect((width() - targetWidth) / 2, 0, targetWidth, height());
    }
    const int targetHeight = int(width() / ratio);
    return QRect(0, (height() - targetHeight) / 2, width(), targetHeight);
}

QRect ZyZoomImage::zoomSourceRect() const
{
    // The zoom point maps onto the picture; the region shown ends at that point, clamped inside the picture.
    const int mappedX = m_picture.width() * (m_zoomPoint.x() - rect().x()) / qMax(1, width());
    const int mappedY = m_picture.height() * (m_zoomPoint.y() - rect().y()) / qMax(1, height());
    const int regionWidth = width() / 2;
    const int regionHeight = height() / 2;
    const int left = qBound(0, mappedX - regionWidth, qMax(0, m_picture.width() - regionWidth));
    const int top = qBound(0, mappedY - regionHeight, qMax(0, m_picture.height() - regionHeight));
    return QRect(left, top, regionWidth, regionHeight);
}

void ZyZoomImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(208, 208, 208));
    if (m_picture.isNull())
        return;
    if (!m_zooming) {
        m_targetRect = fittedRect();
        painter.drawPixmap(m_targetRect, m_picture);
        return;
    }
    if (width() > 2 * m_picture.width() && height() > 2 * m_picture.height()) {
        painter.drawPixmap(0, 0, m_picture);
        return;
    }
    painter.drawPixmap(rect(), m_picture, zoomSourceRect());
}

void ZyZoomImage::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_zooming = m_zoomAllowed;
        m_zoomPoint = event->position().toPoint();
        setCursor(Qt::CrossCursor);
        update();
    }
    QLabel::mousePressEvent(event);
}

void ZyZoomImage::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_zooming)
        return;
    m_zoomPoint = event->position().toPoint();
    update();
    event->accept();
}

void ZyZoomImage::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_zooming = false;
        setCursor(Qt::ArrowCursor);
        update();
    }
    QLabel::mouseReleaseEvent(event);
}

void ZyZoomImage::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_saveAllowed)
        return;
    QMenu menu(this);
    menu.addAction(tr("Save image..."), this, &ZyZoomImage::onSaveImage);
    menu.exec(event->globalPos());
}

void ZyZoomImage::onSaveImage()
{
    const QString path = ZyDialogs::getSaveFileName(this, "ZyZoomImageSaveImage", tr("Save"),
                                                    tr("JPEG Image (*.jpg)"), QString());
    if (path.isEmpty())
        return;
    QSettings().setValue("Image_LastSaved", path.left(path.lastIndexOf('/')));
    if (!m_picture.save(path))
        ZyDialogs::critical(this, tr("Error"), tr("Unable to open file for writing"), QString());
}
