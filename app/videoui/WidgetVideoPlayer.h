// The video page: the master camera's view and, with a configured slave sensor, the slave's
// beside it, with the controls of the replay buffer, still pictures and recording.
#pragma once

#include <QWidget>

#include <memory>

#include "PXR.h"

namespace Ui {
class WidgetVideoPlayer;
}
class QHBoxLayout;
class RecognitionManager;
class VideoFrame;
class WidgetImageBase;

class WidgetVideoPlayer : public QWidget
{
    Q_OBJECT

public:
    // The look of the four playback buttons.
    static const char *const PlaybackButtonStyle;

    explicit WidgetVideoPlayer(QWidget *parent = nullptr);
    ~WidgetVideoPlayer() override;

    // Reads the model's configuration: the slave view and its side, the covering zones, the
    // master camera's size and area of interest.
    void onConfigReceived();
    // The master view; null only while the views are being rebuilt.
    WidgetImageBase *imageWidget() const { return m_master; }
    WidgetImageBase *slaveImageWidget() const { return m_slave; }
    bool hardwareRendering() const { return m_hardwareRendering; }
    bool slavePresent() const { return m_slavePresent; }
    // Hidden while a recording runs, so that a second one cannot be asked for.
    void setRecordButtonVisible(bool visible);
    void applyButtonStyle();
    // Shows the controls that fit the current mode (live, replay, still pictures).
    void updateControls();

    // Called by the display options dialog with the box's new state; not slots of this form.
    void on_checkDisplayGrid_clicked(bool checked);
    void on_checkDisplayCoveringZone_clicked(bool checked);
    void on_checkDisplayVideo_clicked(bool checked);

signals:
    // "recording_start" or "save_video_buffer", for the main window's dispatcher.
    void openDialog(const QString &tabKey);

public slots:
    void clear();
    void displayFrame(const VideoFrame &frame);
    void displaySlaveFrame(const VideoFrame &frame);
    void seekToTimestamp(const QDateTime &time);
    void onDisableHardwareRendering();
    // Protects the recognitions of the pictures that can still be replayed from the purge.
    void keepReco();
    void on_btnRealtime_clicked();
    void on_btnPlay_clicked();
    void on_btnPause_clicked();
    void on_btnPreviousImage_clicked();
    void on_btnNextImage_clicked();
    void on_sliderPlayback_valueChanged(int value);
    void on_btnStartRecording_clicked();
    void on_btnImage_clicked();
    void on_btnContextImage_clicked();
    void on_btnDisplayOptions_clicked();

private:
    void createImageViews();
    void showStillButtons(bool videoShown);
    void placeSlaveView(bool masterLeft);
    void loadMasterCamera(PXRMsgElement *camera);
    // Asks the sensor for a still picture and shows the answer's child of that name.
    void requestStillPicture(const char *childName, const QString &cameraId);
    void showFrame(WidgetImageBase *view, RecognitionManager &recognitions, const VideoFrame &frame);
    template <typename Function> void forEachView(Function function);

    std::unique_ptr<Ui::WidgetVideoPlayer> ui;
    QHBoxLayout *m_layoutImages = nullptr;
    WidgetImageBase *m_master = nullptr;
    WidgetImageBase *m_slave = nullptr;
    bool m_hardwareRendering = false;
    bool m_slavePresent = false;
    bool m_sliderFromCode = false;
    bool m_recordButtonAllowed = true;
};
