// What the software and the OpenGL frame views share: the picture with its time and recognition
// messages, the overlays drawn over it, and the mouse's rubber band, grid drag, loupe and editing
// of the area of interest.
#pragma once

#include "SharedMsg.h"

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QVector>

class QMouseEvent;
class QPaintEvent;
class QPainter;
class QWidget;
class VideoFrame;

class WidgetImageBase
{
public:
    // Origin and signed size in widget pixels: dragging up or left gives a negative size.
    struct RubberBand
    {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
    };

    // The two lines of the recognition boxes; an empty first line draws the second box alone,
    // and no second line draws no box at all.
    struct OverlayTexts
    {
        QString first;
        QString second;
    };

    // The camera size used for a view without camera.
    static constexpr int DefaultCameraWidth = 1920;
    static constexpr int DefaultCameraHeight = 1080;

    WidgetImageBase();
    virtual ~WidgetImageBase();
    WidgetImageBase(const WidgetImageBase &) = delete;
    WidgetImageBase &operator=(const WidgetImageBase &) = delete;

    virtual QWidget *widget() = 0;
    virtual void debugIdentify() = 0;
    virtual void paintEvent(QPaintEvent *event) = 0;

    // A frame whose bytes cannot hold width x height pixels keeps the previous picture, but its
    // time, camera and messages are taken.
    void setFrame(const VideoFrame &frame, PXRMsg *decision, PXRMsg *speed);
    void setImage(const QString &cameraId, const QImage &image);
    QImage image() const { return m_picture; }
    void reset();
    void releaseMessages();
    void setCoveringZone(int width, bool right);
    void setDisplayCoveringZone(bool display);
    void setDisplayGrid(bool display);
    void setDisplayAreaOfInterest(bool display);
    void setShowFrameTime(bool show);
    void setFullScreenOnDoubleClick(bool enabled) { m_fullScreenOnDoubleClick = enabled; }
    void setPolygonEditable(bool editable) { m_polygonEditable = editable; }
    // Points in camera pixels; all at (0, 0) stands for a zone not placed yet, put at the centre.
    void setPolygon(bool enabled, bool excluding, const QVector<QPoint> &points, bool rectangle);
    // The zone starting at its first highest point, the cyclic order kept; the view's own is
    // turned the same way.
    QVector<QPoint> orderedPolygon();
    // The rubber band in picture pixels; empty before the picture was drawn.
    QRect selectionRect() const;

    bool noPicture() const { return m_noPicture; }
    QString cameraId() const { return m_cameraId; }
    QDateTime time() const { return m_time; }
    PXRMsg *decision() const { return m_decision.get(); }
    PXRMsg *speed() const { return m_speed.get(); }
    QRect pictureRect() const { return m_pictureRect; }
    bool showFrameTime() const { return m_showFrameTime; }
    bool fullScreenOnDoubleClick() const { return m_fullScreenOnDoubleClick; }
    bool displayGrid() const { return m_displayGrid; }
    QPoint gridOffset() const { return m_gridOffset; }
    bool gridDragging() const { return m_gridDragging; }
    bool loupeActive() const { return m_loupeActive; }
    QPoint loupePos() const { return m_loupePos; }
    bool rubberBandActive() const { return m_rubberBandActive; }
    RubberBand rubberBand() const { return m_rubberBand; }
    bool displayCoveringZone() const { return m_displayCoveringZone; }
    int coveringZoneWidth() const { return m_coveringZoneWidth; }
    bool coveringZoneRight() const { return m_coveringZoneRight; }
    bool displayAreaOfInterest() const { return m_displayAreaOfInterest; }
    bool polygonEditable() const { return m_polygonEditable; }
    bool areaOfInterestEnabled() const { return m_areaOfInterestEnabled; }
    bool excludingZone() const { return m_excludingZone; }
    bool rectangleZone() const { return m_rectangleZone; }
    QVector<QPoint> polygon() const { return m_polygon; }
    // Index of the point being dragged, -1 when none.
    int draggedPoint() const { return m_draggedPoint; }

    // Where a picture of that size is drawn in a widget of that size: its proportions kept
    // (a 720 x 288 field shown at double height), centred; empty for an empty size.
    static QRect fitPicture(const QSize &picture, const QSize &widget);
    // The positions of the grid lines across a span: one every eighth, shifted by the offset.
    static QList<int> gridLines(int start, int length, int offset);
    // The camera's picture size, which the zone and the covering zone are given in.
    QSize cameraSize() const;
    // The covering zone's outline in widget pixels; empty when none is drawn.
    QRect coveringZoneRect() const;
    // The part of the picture the loupe shows at twice its size.
    QRect loupeSource() const;
    OverlayTexts overlayTexts() const;
    // The camera-pixel size of the rubber band, as its label shows it.
    QString rubberBandText() const;

protected:
    // The whole drawing of a view onto a painter opened on the widget.
    void paintView(QPainter &painter);
    void handleMousePress(QMouseEvent *event);
    void handleMouseMove(QMouseEvent *event);
    void handleMouseRelease(QMouseEvent *event);
    void handleMouseDoubleClick(QMouseEvent *event);

private:
    void resetState();
    void repaint();
    // The picture is drawn and the mouse can be mapped onto it.
    bool geometryReady() const;
    // A camera pixel's place in the widget, through the picture's pixels.
    QPoint toWidget(const QPoint &camera) const;
    void pickPoint(const QPoint &cursor);
    void dragPoint(const QPoint &cursor);

    void paintLoupe(QPainter &painter);
    void paintCoveringZone(QPainter &painter);
    void paintAreaOfInterest(QPainter &painter);
    void paintGrid(QPainter &painter);
    void paintRubberBand(QPainter &painter);
    void paintRecognition(QPainter &painter);
    void paintFrameTime(QPainter &painter);
    static void paintInformationBox(QPainter &painter, const QRect &box, const QString &text, bool centred);

    bool m_noPicture = true;
    QImage m_picture;
    QRect m_pictureRect;
    QString m_cameraId;
    QDateTime m_time;
    SharedMsg m_decision;
    SharedMsg m_speed;
    bool m_showFrameTime = false;
    bool m_fullScreenOnDoubleClick = false;
    bool m_displayGrid = false;
    bool m_gridDragging = false;
    QPoint m_gridDragOrigin;
    QPoint m_gridOffset;
    bool m_loupeActive = false;
    QPoint m_loupePos;
    bool m_rubberBandActive = false;
    RubberBand m_rubberBand;
    bool m_displayCoveringZone = false;
    int m_coveringZoneWidth = 0;
    bool m_coveringZoneRight = false;
    bool m_displayAreaOfInterest = true;
    bool m_polygonEditable = false;
    bool m_areaOfInterestEnabled = false;
    bool m_excludingZone = false;
    bool m_rectangleZone = false;
    QVector<QPoint> m_polygon;
    int m_draggedPoint = -1;
    int m_linkedXPoint = -1;
    int m_linkedYPoint = -1;
};
