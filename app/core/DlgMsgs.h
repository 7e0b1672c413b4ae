// Lists several messages (the sensor's history) by id, date, type and plate, shows the selected
// one and saves it as a message file named after its date and type.
#pragma once

#include <QDialog>
#include <QList>

#include "PXR.h"

class QTreeWidgetItem;

namespace Ui {
class DlgMsgs;
}

class DlgMsgs : public QDialog
{
    Q_OBJECT

public:
    explicit DlgMsgs(QWidget *parent = nullptr);
    ~DlgMsgs() override;

    // Runs the dialog on the messages, which stay the caller's.
    int exec(const QList<PXRMsg *> &messages);

    // "yyyy-MM-dd_HH-mm-ss-zzz_" of the date when there is one, the root's name, "_" and its
    // first child's name when there is one, then ".pxrmsg".
    static QString proposedFileName(PXRMsg *message);

private slots:
    void on_btnSave_clicked();
    void on_treeList_currentItemChanged(QTreeWidgetItem *pItem);

private:
    using QDialog::exec;
    void addRow(int index);
    void fitColumns();

    Ui::DlgMsgs *ui;
    QList<PXRMsg *> m_messages;
};
