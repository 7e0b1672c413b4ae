// A picture view that fits its picture and magnifies it while the left button is held.
#pragma once

#include <QLabel>
#include <QPixmap>
#include <QPoint>
#include <QRect>

class ZyZoomImage : public QLabel
{
    Q_OBJECT

public:
    explicit ZyZoomImage(QWidget *parent = nullptr);

    void setPixmap(const QPixmap &picture);
    void setZoomEnabled(bool enabled);
    bool isZooming() const;
    QRect targetRect() const;

public slots:
    void onSaveImage();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QRect fittedRect() const;
    QRect zoomSourceRect() const;

    bool m_saveAllowed = false;
    bool m_zoomAllowed = true;
    QPixmap m_picture;
    bool m_zooming = false;
    QPoint m_zoomPoint;
    QRect m_targetRect;
};
