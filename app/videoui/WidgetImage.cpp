// The frame view painted in software, without smoothing: the view the panel falls back to and the
// one the area-of-interest editor embeds.
#include "WidgetImage.h"

#include <QDebug>
#include <QPainter>

WidgetImage::WidgetImage(QWidget *parent) : QWidget(parent)
{
}

void WidgetImage::debugIdentify()
{
    qDebug() << "WidgetImage";
}

void WidgetImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintView(painter);
}

void WidgetImage::mousePressEvent(QMouseEvent *event)
{
    handleMousePress(event);
}

void WidgetImage::mouseMoveEvent(QMouseEvent *event)
{
    handleMouseMove(event);
}

void WidgetImage::mouseReleaseEvent(QMouseEvent *event)
{
    handleMouseRelease(event);
    emit signalRectangleUpdated(selectionRect());
}

void WidgetImage::mouseDoubleClickEvent(QMouseEvent *event)
{
    handleMouseDoubleClick(event);
}
