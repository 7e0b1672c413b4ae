// The frame view painted through OpenGL, with antialiasing and smooth scaling; it tells once when
// painting fails, so that the panel can fall back to software views.
#pragma once

#include "WidgetImageBase.h"

#include <QOpenGLWidget>

class WidgetGLImage : public QOpenGLWidget, public WidgetImageBase
{
    Q_OBJECT

public:
    explicit WidgetGLImage(QWidget *parent = nullptr);
    ~WidgetGLImage() override;

    QWidget *widget() override { return this; }
    void debugIdentify() override;
    void paintEvent(QPaintEvent *event) override;
    bool paintFailed() const { return m_paintFailed; }

signals:
    void signalDisableHardwareRendering();

protected:
    void paintGL() override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    bool m_paintFailed = false;
};
