// One picture of a recognition in the detail window: the plate cut out of the decision's picture
// with its turned rectangle, or the context picture; holding the left button shows the whole.
#pragma once

#include "PXR.h"

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QWidget>

#include <array>

class WidgetImageRecognitionGroup : public QWidget
{
    Q_OBJECT

public:
    // A plate as the sensor places it in its picture, in pixels.
    struct Plate
    {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        float angle = 0.0f;  // radians
    };

    explicit WidgetImageRecognitionGroup(QWidget *parent = nullptr);

    // Shows the plate of a decision; null clears the view.
    void setRecognition(PXRMsg *message);
    // Shows the decision's context picture; false when it has none that decodes.
    bool setContext(PXRMsg *message);
    bool drawPlateRect() const { return m_drawPlateRect; }
    void setDrawPlateRect(bool draw);

    const QImage &shownPicture() const { return m_shown; }
    QPoint plateInShown() const { return m_plateInShown; }

    // The part of a picture of that size shown around the plate, 10 pixels beyond its turned
    // corners and kept inside the picture.
    static QRect cutOut(const QSize &picture, const Plate &plate);
    // Corners of a width x height rectangle turned by the angle about the centre.
    static std::array<QPointF, 4> corners(QPointF centre, QPointF half, float width, float height, float angle);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void forgetPlate();

    QImage m_whole;
    QImage m_shown;
    Plate m_plate;
    QPoint m_plateInShown;
    bool m_pressed = false;
    bool m_drawPlateRect = true;
};
