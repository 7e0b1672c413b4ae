// One camera's area of interest.
#include "DlgAreaOfInterest2.h"
#include "ui_DlgAreaOfInterest2.h"

#include "ConfigRequest.h"
#include "MainWindowInterface.h"
#include "Model.h"
#include "WidgetImageBase.h"
#include "WidgetVideoPlayer.h"
#include "ZyDialogs.h"

#include <cstdlib>

DlgAreaOfInterest2::DlgAreaOfInterest2(QWidget *parent, const QString &cameraId)
    : Dialog_Settings(parent), ui(new Ui::DlgAreaOfInterest2), m_cameraId(cameraId)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "cameras", "camera", "areaOfInterest"};
    m_picture = scenePicture();
    ui->widgetImage->setPolygonEditable(true);
    ui->widgetImage->setDisplayAreaOfInterest(true);
    ui->widgetImage->setImage(m_cameraId, m_picture.copy());
    binding.flag(ui->radioExclude, "excludingZone").with(ui->radioInclude);
    displayConfig();
}

DlgAreaOfInterest2::~DlgAreaOfInterest2() = default;

QImage DlgAreaOfInterest2::scenePicture()
{
    MainWindowInterface *window = MainWindowInterface::instance();
    WidgetVideoPlayer *player = window != nullptr ? window->videoPlayer() : nullptr;
    if (player == nullptr || player->imageWidget() == nullptr)
        return QImage();
    if (player->imageWidget()->image().width() <= 0)
        player->on_btnImage_clicked();
    return player->imageWidget() != nullptr ? player->imageWidget()->image().copy() : QImage();
}

bool DlgAreaOfInterest2::openingAllowed()
{
    if (m_picture.width() > 0)
        return true;
    ZyDialogs::critical(parentWidget(), tr("Error"), tr("No image could be acquired."));
    return false;
}

void DlgAreaOfInterest2::displayConfig()
{
    PXRMsgElement *area = PXRMsgElementFirstChild(findCamera(model->config(), m_cameraId), "areaOfInterest");
    showElement(area);
    if (area == nullptr) {
        ui->checkEnable->setEnabled(false);
        return;
    }
    const char *enabled = PXRMsgElementAttributeValue(area, "enabled");
    ui->checkEnable->setChecked(enabled != nullptr && PXRMsgStrToBool(enabled));
    if (binding.present("excludingZone") && !ui->radioExclude->isChecked())
        ui->radioInclude->setChecked(true);
    QVector<QPoint> points;
    Model::readZone(area, points, &m_rectangle);
    ui->widgetImage->setPolygon(ui->checkEnable->isChecked(), ui->radioExclude->isChecked(), points, m_rectangle);
    ui->widgetImage->update();
}

// The view edits the zone only while it is switched on, and shades it by the mode.
void DlgAreaOfInterest2::refreshZone()
{
    ui->widgetImage->setPolygon(ui->checkEnable->isChecked(), ui->radioExclude->isChecked(),
                                ui->widgetImage->orderedPolygon(), m_rectangle);
    ui->widgetImage->update();
}

void DlgAreaOfInterest2::on_checkEnable_stateChanged()
{
    refreshZone();
}

void DlgAreaOfInterest2::on_radioInclude_clicked()
{
    refreshZone();
}

void DlgAreaOfInterest2::on_radioExclude_clicked()
{
    refreshZone();
}

std::pair<QPoint, QPoint> DlgAreaOfInterest2::rectangleCorners(const QVector<QPoint> &points)
{
    QPoint topLeft;
    QPoint bottomRight;
    int nearest = 100000;
    int farthest = 0;
    for (const QPoint &point : points) {
        const int sum = std::abs(point.x()) + std::abs(point.y());
        if (sum < nearest) {
            nearest = sum;
            topLeft = point;
        }
        if (sum > farthest) {
            farthest = sum;
            bottomRight = point;
        }
    }
    return {topLeft, bottomRight};
}

// Sent from the topmost point on: the sensor's own order.
void DlgAreaOfInterest2::writeZone(const ConfigElement &area)
{
    const QVector<QPoint> points = ui->widgetImage->orderedPolygon();
    if (m_rectangle) {
        const auto [topLeft, bottomRight] = rectangleCorners(points);
        area.set("x", topLeft.x()).set("y", topLeft.y());
        area.set("width", bottomRight.x() - topLeft.x()).set("height", bottomRight.y() - topLeft.y());
        return;
    }
    for (qsizetype i = 0; i < points.size(); ++i) {
        const ConfigElement point = area.path({{"point" + QByteArray::number(i + 1)}});
        point.set("x", points[i].x()).set("y", points[i].y());
    }
}

void DlgAreaOfInterest2::on_buttonBox_accepted()
{
    ConfigRequest request("setConfig");
    const ConfigElement area = cameraFeature(request, m_cameraId, "areaOfInterest");
    area.set("enabled", ui->checkEnable->isChecked());
    binding.write(area);
    writeZone(area);
    sendRequest(request, tr("Configuration"));
}

void DlgAreaOfInterest2::on_buttonBox_rejected()
{
    reject();
}
