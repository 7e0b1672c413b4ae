// One camera's area of interest: its switch, inclusion or exclusion, and its points moved with
// the mouse on a still picture of the scene.
#pragma once

#include "Dialog_Settings.h"

#include <QImage>
#include <QPoint>
#include <QVector>

#include <memory>
#include <utility>

namespace Ui {
class DlgAreaOfInterest2;
}
class ConfigElement;

class DlgAreaOfInterest2 : public Dialog_Settings
{
    Q_OBJECT

public:
    DlgAreaOfInterest2(QWidget *parent, const QString &cameraId);
    ~DlgAreaOfInterest2() override;

    // The corners a rectangle zone is sent by: the first point nearest the origin and the first
    // farthest from it, by |x| + |y|, whatever their places in the zone.
    static std::pair<QPoint, QPoint> rectangleCorners(const QVector<QPoint> &points);

protected:
    // Without a picture there is nothing to place the zone on.
    bool openingAllowed() override;

private slots:
    void on_checkEnable_stateChanged();
    void on_radioInclude_clicked();
    void on_radioExclude_clicked();
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    // The master view's picture, asked of the sensor once when it shows none.
    static QImage scenePicture();
    void displayConfig();
    void refreshZone();
    void writeZone(const ConfigElement &area);

    std::unique_ptr<Ui::DlgAreaOfInterest2> ui;
    QString m_cameraId;
    QImage m_picture;
    bool m_rectangle = false;
};
