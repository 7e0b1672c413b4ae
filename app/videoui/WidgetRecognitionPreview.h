// One line of the recognition list: the events of a passage with their times as links into the
// video, the speed, which sensor saw the plate, and a link to the detail window.
#pragma once

#include "PXR.h"

#include <QDateTime>
#include <QList>
#include <QWidget>

#include <memory>

class RecognitionGroup;

namespace Ui {
class WidgetRecognitionPreview;
}

class WidgetRecognitionPreview : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetRecognitionPreview(QWidget *parent = nullptr);
    ~WidgetRecognitionPreview() override;

    // Fills the line; details lists every message, viewable links the times.
    void update(const RecognitionGroup &group, bool details, bool viewable);
    void setViewable(bool viewable);
    QDateTime time() const { return m_time; }

    // The one-line rich text of a recognition message, every sensor text escaped.
    static QString decisionText(PXRMsg *message);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

signals:
    void timestampClicked(const QDateTime &dt);
    void viewRecognitionGroupClicked(quint32 uGroupId);

private slots:
    void on_labelDescription_linkActivated(const QString &strLink);
    void on_labelViewInPlayer_linkActivated(const QString &strLink);

private:
    void describeTriggers(const RecognitionGroup &group);
    void describeIoState(const RecognitionGroup &group);
    void describeDetails(const RecognitionGroup &group);
    void describeDecisions(const RecognitionGroup &group);
    // One entry of both texts; a session, when given, is shown in brackets before the text.
    void addEntry(qint64 link, const QString &time, const QString &text, const QString &session = QString());

    // Fills the description, each entry's text elided to the label's width once shown.
    void showEntries();

    struct Entry
    {
        qint64 link;
        QString time;
        QString text;  // rich text
        QString plain; // the same, as shown, for eliding
    };

    std::unique_ptr<Ui::WidgetRecognitionPreview> ui;
    QDateTime m_time;
    QList<Entry> m_entries;
    bool m_viewable = false;
};
