// The dialog that saves the replay buffer, whole or around the replay position, into a .rec file.
#include "DialogSaveVideoBuffer.h"
#include "ui_DialogSaveVideoBuffer.h"

#include <QDir>
#include <QFileInfo>

#include "MsgManager.h"
#include "VideoPlayer.h"
#include "VideoRecorder.h"
#include "ZyAutoCursor.h"
#include "ZyDialogs.h"

DialogSaveVideoBuffer::DialogSaveVideoBuffer(const Sources &sources, QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::DialogSaveVideoBuffer>()), m_sources(sources)
{
    ui->setupUi(this);
    m_fullCaption = ui->radioFull->text();
}

DialogSaveVideoBuffer::~DialogSaveVideoBuffer() = default;

bool DialogSaveVideoBuffer::prepareRun()
{
    if (!m_sources.player || m_sources.player->state() == VideoPlayer::Live) {
        ZyDialogs::critical(this, tr("Error"), tr("Unable to save video buffer while in real time"), QString());
        return false;
    }
    fillForm();
    return true;
}

void DialogSaveVideoBuffer::fillForm()
{
    QString file = QStringLiteral("%1_%2_%3.rec")
                       .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_hhmmss")),
                            m_sources.address, QString::number(m_sources.port));
    const QString folder = m_settings.lastVideoFileDir();
    if (!folder.isEmpty())
        file = folder + '/' + file;
    ui->edtFile->setText(file);
    m_sources.player->playbackRange(m_first, m_last);
    m_current = m_sources.player->currentTime();
    const auto seconds = [](const QDateTime &from, const QDateTime &to) {
        return int(qBound(qint64(0), from.secsTo(to), qint64(3600) * 24 * 365));
    };
    ui->radioFull->setText(tr("%1 (%2 s)").arg(m_fullCaption).arg(seconds(m_first, m_last)));
    ui->spinBefore->setMaximum(seconds(m_first, m_current));
    ui->spinAfter->setMaximum(seconds(m_current, m_last));
    ui->spinBefore->setValue(ui->spinBefore->maximum());
    ui->spinAfter->setValue(ui->spinAfter->maximum());
}

void DialogSaveVideoBuffer::on_btnFile_clicked()
{
    const QString file = ZyDialogs::getSaveFileName(this, QStringLiteral("SaveVideoBuffer"), tr("Record a video"),
                                                    tr("Brondmere Rec Files (*.rec)"), QString());
    if (!file.isEmpty())
        ui->edtFile->setText(file);
}

void DialogSaveVideoBuffer::on_buttonBox_accepted()
{
    ZyAutoCursor cursor(this, Qt::WaitCursor);
    if (!save(ui->edtFile->text())) {
        ZyDialogs::critical(this, tr("Error"), tr("Unable to save file"), QString());
        return;
    }
    m_settings.setLastVideoFileDir(QFileInfo(ui->edtFile->text()).absoluteDir().absolutePath());
    accept();
}

void DialogSaveVideoBuffer::on_buttonBox_rejected()
{
    reject();
}

bool DialogSaveVideoBuffer::save(const QString &fileName)
{
    VideoRecorder recorder(this);
    bool failed = false;
    connect(&recorder, &VideoRecorder::recordingFailed, this, [&failed] { failed = true; });
    recorder.start(fileName);
    if (!recorder.isRecording())
        return false;
    QDateTime from = m_first, to = m_last;
    if (ui->radioExtract->isChecked()) {
        from = m_current.addSecs(-ui->spinBefore->value());
        to = m_current.addSecs(ui->spinAfter->value());
    }
    recorder.onMessage(m_sources.configuration);
    recorder.onMessage(m_sources.information);
    const QList<VideoPacket> &packets = m_sources.player->playbackList();
    for (qsizetype i = 0; i < packets.size() && !failed; ++i) {
        const QDateTime date = MsgManager::getDate(packets[i].message());
        if (date < from || date > to)
            continue;
        recorder.onMessage(packets[i].message());
        const QDateTime end = i + 1 < packets.size() ? MsgManager::getDate(packets[i + 1].message()) : date.addMSecs(40);
        if (m_sources.recognitions)
            for (PXRMsg *message : m_sources.recognitions(date, end))
                recorder.onMessage(message);
    }
    recorder.stop();
    return !failed;
}
