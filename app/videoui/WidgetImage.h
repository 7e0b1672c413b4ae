// The frame view painted in software, without smoothing: the view the panel falls back to and the
// one the area-of-interest editor embeds.
#pragma once

#include "WidgetImageBase.h"

#include <QWidget>

class WidgetImage : public QWidget, public WidgetImageBase
{
    Q_OBJECT

public:
    explicit WidgetImage(QWidget *parent = nullptr);

    QWidget *widget() override { return this; }
    void debugIdentify() override;
    void paintEvent(QPaintEvent *event) override;

signals:
    // The rubber band in picture pixels, at every button release.
    void signalRectangleUpdated(const QRect &rect);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
