// The "Detections" page: one line per passage of the master and slave recognitions, newest on
// top, a detail window for one passage, and statistics that rate the installation.
#pragma once

#include "AppSettings.h"

#include <QDateTime>
#include <QHash>
#include <QPointer>
#include <QWidget>

#include <memory>

class DialogRecognitionGroup;
class RecognitionGroup;
class WidgetRecognitionPreview;
class WidgetVideoPlayer;
class QVBoxLayout;

namespace Ui {
class WidgetRecognitions;
}

class WidgetRecognitions : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetRecognitions(QWidget *parent = nullptr);
    ~WidgetRecognitions() override;

    void setVideoPlayer(WidgetVideoPlayer *player);
    DialogRecognitionGroup *dialog() const { return m_dialog; }

public slots:
    void onRecognitionGroupChanged(const RecognitionGroup &group);
    void onRecognitionGroupsdeleted(const QList<quint32> &listGroupId);
    void updateStats();
    void updateViewLinks();
    void clear();

private slots:
    void on_labelClear_linkActivated();
    void on_checkShowDetails_stateChanged();
    void onTimestampClicked(const QDateTime &dt);
    void onViewRecognitionGroupClicked(quint32 uGroupId);

private:
    void addPreview(const RecognitionGroup &group);
    void updatePreview(WidgetRecognitionPreview *line, const RecognitionGroup &group);
    bool isViewable(const RecognitionGroup &group) const;
    void refresh();
    void deleteLines();
    void setStatRow(int row, const QString &caption, float value, double minimum, double maximum);

    DialogRecognitionGroup *m_dialog;
    std::unique_ptr<Ui::WidgetRecognitions> ui;
    AppSettings m_settings;
    QHash<quint32, WidgetRecognitionPreview *> m_lines;
    QWidget *m_container = nullptr;
    QVBoxLayout *m_layout = nullptr;
    QPointer<WidgetVideoPlayer> m_videoPlayer;
};
