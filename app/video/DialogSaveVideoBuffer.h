// The dialog that saves the replay buffer, whole or around the replay position, into a .rec file.
#pragma once

#include <QDateTime>
#include <QDialog>
#include <functional>
#include <memory>

#include "AppSettings.h"
#include "PXR.h"
#include "ZyModalPreparation.h"

namespace Ui {
class DialogSaveVideoBuffer;
}
class VideoPlayer;

class DialogSaveVideoBuffer : public QDialog, public ZyModalPreparation
{
    Q_OBJECT

public:
    // The recognition messages with a sensor date in [from, to), in order; owned by their holder.
    using Recognitions = std::function<QList<PXRMsg *>(const QDateTime &from, const QDateTime &to)>;

    struct Sources
    {
        const VideoPlayer *player = nullptr;
        Recognitions recognitions;
        PXRMsg *configuration = nullptr;
        PXRMsg *information = nullptr;
        QString address;
        quint16 port = 0;
    };

    DialogSaveVideoBuffer(const Sources &sources, QWidget *parent = nullptr);
    ~DialogSaveVideoBuffer() override;

    // Refused while live; otherwise fills the form from the paused replay.
    bool prepareRun() override;

private slots:
    void on_btnFile_clicked();
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    // The proposed file and the range of the paused replay.
    void fillForm();
    // False when the file could not be written.
    bool save(const QString &fileName);

    std::unique_ptr<Ui::DialogSaveVideoBuffer> ui;
    Sources m_sources;
    // The full-buffer choice's caption before a run adds its length to it.
    QString m_fullCaption;
    AppSettings m_settings;
    QDateTime m_first, m_last, m_current;
};
