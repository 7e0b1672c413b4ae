// The frame view painted through OpenGL, with antialiasing and smooth scaling; it tells once when
// painting fails, so that the panel can fall back to software views.
#include "WidgetGLImage.h"

#include "MainWindowInterface.h"

#include <QDebug>
#include <QPainter>

WidgetGLImage::WidgetGLImage(QWidget *parent) : QOpenGLWidget(parent)
{
    MainWindowInterface::logApp(7, QStringLiteral("WidgetGLImage constructed"));
}

WidgetGLImage::~WidgetGLImage()
{
    MainWindowInterface::logApp(7, QStringLiteral("WidgetGLImage destroyed"));
}

void WidgetGLImage::debugIdentify()
{
    qDebug() << "WidgetGLImage";
}

// Painted straight from the paint event, where a painter that cannot open is noticed (without a
// context the base class would skip painting silently), and from the base class's own renders.
void WidgetGLImage::paintEvent(QPaintEvent *)
{
    paintGL();
}

void WidgetGLImage::paintGL()
{
    QPainter painter;
    if (!painter.begin(this)) {
        if (!m_paintFailed) {
            m_paintFailed = true;
            MainWindowInterface::logApp(4, QStringLiteral("WidgetGLImage Unable to paint!"));
            emit signalDisableHardwareRendering();
        }
        return;
    }
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    paintView(painter);
}

void WidgetGLImage::mousePressEvent(QMouseEvent *event)
{
    handleMousePress(event);
}

void WidgetGLImage::mouseMoveEvent(QMouseEvent *event)
{
    handleMouseMove(event);
}

void WidgetGLImage::mouseReleaseEvent(QMouseEvent *event)
{
    handleMouseRelease(event);
}

void WidgetGLImage::mouseDoubleClickEvent(QMouseEvent *event)
{
    handleMouseDoubleClick(event);
}
