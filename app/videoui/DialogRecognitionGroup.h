// The detail window of one passage: its messages with their main values, the plate cut-out and
// context picture of the chosen decision, the speed, and links to view and save what it holds.
#pragma once

#include "AppSettings.h"
#include "PXR.h"
#include "SharedMsg.h"

#include <QDialog>

#include <memory>
#include <vector>

class QTreeWidgetItem;
class RecognitionGroup;
class ZyTreeWidgetItem;

namespace Ui {
class DialogRecognitionGroup;
}

class DialogRecognitionGroup : public QDialog
{
    Q_OBJECT

public:
    explicit DialogRecognitionGroup(QWidget *parent = nullptr);
    ~DialogRecognitionGroup() override;

    // Shows the group of that id, looked up in the master then the slave recognitions; an id
    // neither holds leaves the window empty.
    void setRecognitionGroup(quint32 groupId);
    void clear();
    // 0 when no group is shown.
    quint32 groupId() const { return m_groupId; }

protected:
    void closeEvent(QCloseEvent *event) override;

private slots:
    void on_treeReco_currentItemChanged(QTreeWidgetItem *current);
    void on_checkDrawPlateRect_toggled(bool checked);
    void onRecognitionGroupsdeleted(const QList<quint32> &listGroupId);
    void onRecognitionGroupChanged(const RecognitionGroup &group);
    void onSaveLinkClicked(const QString &strUrl);
    void on_labelSaveSignature_linkActivated(const QString &strI);
    void on_labelCompareSignature_linkActivated(const QString &strI);

private:
    // The shown group, looked up at each use: its manager may have deleted it without a word
    // (a clearing on connection); null then.
    const RecognitionGroup *group() const;
    void fill(const RecognitionGroup &group);
    // Fills a message's row; true when the row is one to select first.
    bool fillRow(ZyTreeWidgetItem *item, PXRMsg *message, int position);
    void showSignatureLinks(PXRMsgElement *element, int position);
    void fillDecisionColumns(ZyTreeWidgetItem *item, PXRMsg *message);
    void fillSpeed(PXRMsg *speed);
    void addLinks(QTreeWidgetItem *item, int column, const QStringList &links);
    // The message a link names, or null; a group gone meanwhile empties the window.
    PXRMsg *linkedMessage(const QString &position);
    PXRMsg *messageOf(QTreeWidgetItem *item) const;
    void saveContent(PXRMsg *message, const char *child, const QString &missing, const QString &suffix,
                     const QString &key, const QString &caption, const QString &filter);
    void saveFile(const QByteArray &bytes, const QString &name, const QString &key, const QString &caption,
                  const QString &filter);

    std::unique_ptr<Ui::DialogRecognitionGroup> ui;
    AppSettings m_settings;
    quint32 m_groupId = 0;
    // The messages as the rows show them, held so that a row names its message firmly.
    std::vector<SharedMsg> m_messages;
    SharedMsg m_speed;
};
