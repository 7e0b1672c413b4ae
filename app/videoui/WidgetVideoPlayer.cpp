// The video page: the master camera's view and, with a configured slave sensor, the slave's
// beside it, with the controls of the replay buffer, still pictures and recording.
#include "WidgetVideoPlayer.h"
#include "ui_WidgetVideoPlayer.h"

#include "AppSettings.h"
#include "DialogDisplayConfig.h"
#include "MainWindowInterface.h"
#include "Model.h"
#include "MsgManager.h"
#include "OpenGLProbe.h"
#include "PXRMessage.h"
#include "PXRPrivateToolBox.h"
#include "VideoFrame.h"
#include "VideoPacket.h"
#include "WidgetGLImage.h"
#include "WidgetImage.h"
#include "ZyDialogs.h"
#include "ZyModalRunner.h"

#include <QAction>
#include <QHBoxLayout>

#include <cmath>

static void initVideoUiResources()
{
    Q_INIT_RESOURCE(WidgetVideoPlayer);
}

namespace {

// Pictures of this width are compared with the camera's by their height only.
constexpr int NarrowPictureWidth = 352;
constexpr int MaxCameraSide = 16384;

const char *attribute(PXRMsgElement *element, const char *name)
{
    return PXRMsgElementAttributeValue(element, name);
}

} // namespace

const char *const WidgetVideoPlayer::PlaybackButtonStyle =
    "QPushButton { min-height: 40px; min-width: 0px; border-style: outset; border-width: 0px; border-image: "
    "#D0D0D0; border-radius: 0px; } QPushButton:pressed { padding-top: 2px; }";

WidgetVideoPlayer::WidgetVideoPlayer(QWidget *parent) : QWidget(parent), ui(std::make_unique<Ui::WidgetVideoPlayer>())
{
    initVideoUiResources();
    ui->setupUi(this);
    ui->labelRealtimeEquilibre->setMinimumWidth(ui->btnRealtime->sizeHint().width() - 6);
    m_hardwareRendering = MainWindowInterface::hardwareRendering() && OpenGLProbe::available();
    // A replay that reaches the end pauses by itself: the controls follow at once.
    connect(&Model::instance()->masterPlayer(), &VideoPlayer::stateChanged, this, &WidgetVideoPlayer::updateControls);
    createImageViews();
    clear();
}

WidgetVideoPlayer::~WidgetVideoPlayer() = default;

template <typename Function> void WidgetVideoPlayer::forEachView(Function function)
{
    for (WidgetImageBase *view : {m_master, m_slave})
        function(view);
}

void WidgetVideoPlayer::createImageViews()
{
    if (m_layoutImages) {
        ui->verticalLayout_2->removeItem(m_layoutImages);
        m_layoutImages->deleteLater();
    }
    forEachView([](WidgetImageBase *view) {
        if (view) {
            view->widget()->hide();
            view->widget()->deleteLater();
        }
    });
    m_layoutImages = new QHBoxLayout;
    m_layoutImages->setObjectName(QStringLiteral("layoutImages"));
    m_layoutImages->setSpacing(0);
    if (m_hardwareRendering) {
        auto *master = new WidgetGLImage(this);
        connect(master, &WidgetGLImage::signalDisableHardwareRendering, this,
                &WidgetVideoPlayer::onDisableHardwareRendering);
        m_master = master;
        m_slave = new WidgetGLImage(this);
    } else {
        m_master = new WidgetImage(this);
        m_slave = new WidgetImage(this);
    }
    m_master->widget()->setObjectName(QStringLiteral("widgetImage"));
    m_slave->widget()->setObjectName(QStringLiteral("widgetSlaveImage"));
    forEachView([this](WidgetImageBase *view) {
        QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        view->widget()->setSizePolicy(policy);
        view->widget()->setAutoFillBackground(false);
        m_layoutImages->addWidget(view->widget());
    });
    ui->verticalLayout_2->insertLayout(0, m_layoutImages);
    applyButtonStyle();
    onConfigReceived();
    m_master->setFullScreenOnDoubleClick(true);
}

void WidgetVideoPlayer::onDisableHardwareRendering()
{
    MainWindowInterface::logApp(5, QStringLiteral("Disable hardware rendering"));
    m_hardwareRendering = false;
    createImageViews();
    updateControls();
}

void WidgetVideoPlayer::applyButtonStyle()
{
    for (QPushButton *button : {ui->btnPreviousImage, ui->btnPause, ui->btnPlay, ui->btnNextImage})
        button->setStyleSheet(QString::fromLatin1(PlaybackButtonStyle));
}

void WidgetVideoPlayer::setRecordButtonVisible(bool visible)
{
    m_recordButtonAllowed = visible;
    ui->btnStartRecording->setVisible(visible && AppSettings().displayVideo());
}

void WidgetVideoPlayer::clear()
{
    forEachView([](WidgetImageBase *view) { view->reset(); });
    m_recordButtonAllowed = true;
    ui->btnStartRecording->show();
    showStillButtons(AppSettings().displayVideo());
    updateControls();
    m_slavePresent = false;
    m_sliderFromCode = false;
}

void WidgetVideoPlayer::showStillButtons(bool videoShown)
{
    ui->btnImage->setVisible(!videoShown);
    ui->btnContextImage->setVisible(!videoShown && Model::instance()->cameraCount() == 2);
}

void WidgetVideoPlayer::onConfigReceived()
{
    m_slavePresent = false;
    m_master->setPolygon(false, false, {}, false);
    PXRMsgElement *config = PXRMsgChild(Model::instance()->config());
    // Without a configured slave its view takes no room, also before any configuration came.
    if (!config) {
        m_slave->widget()->hide();
        return;
    }
    PXRMsgElement *slaves = PXRMsgElementFirstChild(config, "slaves");
    PXRMsgElement *slaveAnpr = PXRMsgElementFirstChild(slaves, "slaveAnpr");
    bool masterLeft = true;
    if (PXRMsgStringEqual(attribute(slaves, "mode"), "configured") && slaveAnpr) {
        m_slavePresent = true;
        const char *position = attribute(slaveAnpr, "position");
        masterLeft = !position || PXRMsgStringEqual(position, "right");
        const int zone = QByteArray(attribute(slaveAnpr, "coveringZone")).toInt();
        m_master->setCoveringZone(zone, masterLeft);
        m_slave->setCoveringZone(zone, !masterLeft);
    }
    m_slave->widget()->setVisible(m_slavePresent);
    if (m_slavePresent)
        placeSlaveView(masterLeft);
    const int cameraId = Model::instance()->masterPlayer().cameraId();
    PXRMsgElement *cameras = PXRMsgElementFirstChild(config, "cameras");
    for (PXRMsgElement *camera = PXRMsgElementFirstChild(cameras, "camera"); camera;
         camera = PXRMsgElementNextChild(cameras, camera, "camera")) {
        const char *id = attribute(camera, "id");
        if (cameraId >= 0 && id && VideoPacket::cameraNumber(id) == cameraId)
            loadMasterCamera(camera);
    }
}

void WidgetVideoPlayer::placeSlaveView(bool masterLeft)
{
    forEachView([this](WidgetImageBase *view) { m_layoutImages->removeWidget(view->widget()); });
    m_layoutImages->addWidget(masterLeft ? m_master->widget() : m_slave->widget());
    m_layoutImages->addWidget(masterLeft ? m_slave->widget() : m_master->widget());
}

void WidgetVideoPlayer::loadMasterCamera(PXRMsgElement *camera)
{
    const QString id = QString::fromUtf8(attribute(camera, "id"));
    int width = 0;
    int height = 0;
    Model::instance()->cameraSize(id, &width, &height);
    const QImage shown = m_master->image();
    const bool sameSize = shown.width() == NarrowPictureWidth ? shown.height() == height
                                                              : shown.size() == QSize(width, height);
    // A black picture of the camera's size, so that the zone shows before the video does; a size
    // no camera has is not worth gigabytes.
    const bool plausible = width > 0 && height > 0 && width <= MaxCameraSide && height <= MaxCameraSide;
    if (!sameSize && plausible) {
        QImage blank(width, height, QImage::Format_ARGB32_Premultiplied);
        blank.fill(0);
        m_master->setImage(id, blank);
    }
    PXRMsgElement *zone = PXRMsgElementFirstChild(camera, "areaOfInterest");
    if (!zone)
        return;
    QVector<QPoint> points;
    bool rectangle = false;
    Model::readZone(zone, points, &rectangle);
    m_master->setPolygon(PXRMsgStrToBool(attribute(zone, "enabled")), PXRMsgStrToBool(attribute(zone, "excludingZone")),
                         points, rectangle);
}

void WidgetVideoPlayer::showFrame(WidgetImageBase *view, RecognitionManager &recognitions, const VideoFrame &frame)
{
    PXRMsg *speed = nullptr;
    PXRMsg *decision = frame.live ? recognitions.lastDecision(&speed) : recognitions.decisionAt(frame.time, &speed);
    view->setFrame(frame, decision, speed);
}

void WidgetVideoPlayer::displayFrame(const VideoFrame &frame)
{
    Model *model = Model::instance();
    showFrame(m_master, model->masterRecognitions(), frame);
    if (m_slavePresent && model->masterPlayer().state() != VideoPlayer::Live)
        model->slavePlayer().seekToTime(frame.time, frame.position);
    // A position that is not a number would reach the slider as any integer at all.
    if (!std::isfinite(frame.position))
        return;
    m_sliderFromCode = true;
    ui->sliderPlayback->setValue(int(ui->sliderPlayback->maximum() * frame.position));
    m_sliderFromCode = false;
}

void WidgetVideoPlayer::displaySlaveFrame(const VideoFrame &frame)
{
    showFrame(m_slave, Model::instance()->slaveRecognitions(), frame);
}

void WidgetVideoPlayer::on_btnPause_clicked()
{
    Model::instance()->masterPlayer().pause();
    Model::instance()->slavePlayer().pause();
    updateControls();
    keepReco();
}

void WidgetVideoPlayer::on_btnPlay_clicked()
{
    Model::instance()->masterPlayer().play();
    updateControls();
}

void WidgetVideoPlayer::on_btnPreviousImage_clicked()
{
    Model::instance()->slavePlayer().pause();
    Model::instance()->masterPlayer().previousFrame();
    updateControls();
    keepReco();
}

void WidgetVideoPlayer::on_btnNextImage_clicked()
{
    Model::instance()->slavePlayer().pause();
    Model::instance()->masterPlayer().nextFrame();
    updateControls();
    keepReco();
}

void WidgetVideoPlayer::on_sliderPlayback_valueChanged(int value)
{
    if (m_sliderFromCode)
        return;
    Model::instance()->slavePlayer().pause();
    Model::instance()->masterPlayer().seek(float(value) / float(ui->sliderPlayback->maximum()));
    updateControls();
    keepReco();
}

void WidgetVideoPlayer::seekToTimestamp(const QDateTime &time)
{
    Model *model = Model::instance();
    model->masterPlayer().pause();
    model->slavePlayer().pause();
    model->masterPlayer().seekToTime(time, 0);
    updateControls();
    keepReco();
}

void WidgetVideoPlayer::on_btnRealtime_clicked()
{
    Model *model = Model::instance();
    if (model->masterPlayer().state() != VideoPlayer::Live)
        forEachView([](WidgetImageBase *view) { view->releaseMessages(); });
    model->masterPlayer().goLive();
    model->slavePlayer().goLive();
    model->masterRecognitions().clearProtectedRange();
    model->slaveRecognitions().clearProtectedRange();
    updateControls();
}

void WidgetVideoPlayer::on_btnStartRecording_clicked()
{
    const bool live = Model::instance()->masterPlayer().state() == VideoPlayer::Live;
    emit openDialog(live ? QStringLiteral("recording_start") : QStringLiteral("save_video_buffer"));
}

void WidgetVideoPlayer::on_btnDisplayOptions_clicked()
{
    DialogDisplayConfig dialog(this);
    ZyModalRunner::exec(&dialog);
}

void WidgetVideoPlayer::on_checkDisplayGrid_clicked(bool checked)
{
    forEachView([checked](WidgetImageBase *view) { view->setDisplayGrid(checked); });
}

void WidgetVideoPlayer::on_checkDisplayCoveringZone_clicked(bool checked)
{
    forEachView([checked](WidgetImageBase *view) { view->setDisplayCoveringZone(checked); });
}

void WidgetVideoPlayer::on_checkDisplayVideo_clicked(bool checked)
{
    showStillButtons(checked);
    updateControls();
}

void WidgetVideoPlayer::keepReco()
{
    Model *model = Model::instance();
    const std::pair<VideoPlayer *, RecognitionManager *> pairs[] = {
        {&model->masterPlayer(), &model->masterRecognitions()}, {&model->slavePlayer(), &model->slaveRecognitions()}};
    for (const auto &[player, recognitions] : pairs) {
        QDateTime from, to;
        player->playbackRange(from, to);
        recognitions->setProtectedRange(from, to);
    }
}

void WidgetVideoPlayer::updateControls()
{
    const bool video = AppSettings().displayVideo();
    const VideoPlayer::State state = Model::instance()->masterPlayer().state();
    const bool live = state == VideoPlayer::Live;
    ui->btnRealtime->setVisible(video && !live);
    ui->labelRealtimeEquilibre->setVisible(video && live);
    ui->btnPlay->setVisible(video && state == VideoPlayer::Paused);
    ui->btnPause->setVisible(video && state != VideoPlayer::Paused);
    ui->btnStartRecording->setText(live ? tr("Record real time") : tr("Save video buffer"));
    if (MainWindowInterface *window = MainWindowInterface::instance()) {
        if (QAction *record = window->actionStartRecording())
            record->setEnabled(live && !Model::instance()->recorder().isRecording());
        if (QAction *save = window->actionSaveVideoBuffer())
            save->setEnabled(!live);
    }
    forEachView([&](WidgetImageBase *view) { view->setShowFrameTime(video && !live); });
    ui->btnStartRecording->setVisible(video && m_recordButtonAllowed);
    for (QWidget *control : {static_cast<QWidget *>(ui->btnPreviousImage), static_cast<QWidget *>(ui->btnNextImage),
                             static_cast<QWidget *>(ui->sliderPlayback)})
        control->setVisible(video);
}

void WidgetVideoPlayer::on_btnImage_clicked()
{
    requestStillPicture("jpeg", QStringLiteral("0"));
}

void WidgetVideoPlayer::on_btnContextImage_clicked()
{
    requestStillPicture("contextJpeg", QString());
}

void WidgetVideoPlayer::requestStillPicture(const char *childName, const QString &cameraId)
{
    const PXRMessage request = pxrMsgWithRoot("getImage");
    const PXRMessage answer(MsgManager::sendRequest(request.get()));
    PXRMsgElement *root = PXRMsgChild(answer.get());
    if (!answer) {
        ZyDialogs::critical(this, tr("Error"), tr("Unable to get image"), tr("No answer received"));
        return;
    }
    // A status answer to a picture request means it failed.
    if (PXRMsgStringEqual(PXRMsgElementName(root), "answer")) {
        ZyDialogs::critical(this, tr("Error"), tr("Unable to get image"),
                            QString::fromUtf8(PXRPToolAnswerError(answer.get())));
        return;
    }
    PXRMsgElement *picture = PXRMsgElementFirstChild(root, childName);
    if (!picture)
        return;
    QImage image;
    image.loadFromData(QByteArrayView(static_cast<const char *>(PXRMsgElementContent(picture)),
                                      qsizetype(PXRMsgElementContentSize(picture))));
    m_master->setImage(cameraId, image);
}
