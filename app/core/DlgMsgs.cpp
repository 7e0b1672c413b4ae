// Lists several messages (the sensor's history) by id, date, type and plate, shows the selected
// one and saves it as a message file named after its date and type.
#include "DlgMsgs.h"
#include "ui_DlgMsgs.h"

#include "DlgMsg.h"
#include "MsgManager.h"
#include "ZyModalRunner.h"
#include "ZyTreeWidgetItem.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QSettings>
#include <QStyle>

namespace {

const int kIndexRole = Qt::UserRole + 1;

enum Column { IdColumn, DateColumn, TypeColumn, PlateColumn };

QString elementName(PXRMsgElement *element)
{
    return QString::fromUtf8(PXRMsgElementName(element));
}

} // namespace

DlgMsgs::DlgMsgs(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DlgMsgs)
{
    ui->setupUi(this);
    ui->treeList->init2({tr("ID"), tr("Date"), tr("Type"), tr("Plate")}, 0);
}

DlgMsgs::~DlgMsgs()
{
    delete ui;
}

int DlgMsgs::exec(const QList<PXRMsg *> &messages)
{
    m_messages = messages;
    ui->treeList->clear();
    for (int index = 0; index < m_messages.size(); ++index)
        addRow(index);
    // Sortable by clicking a title, but shown first in the order given.
    ui->treeList->header()->setSortIndicator(-1, Qt::AscendingOrder);
    ui->treeList->setSortingEnabled(true);
    // Full dates at first; later the widths the operator left are kept.
    if (!QSettings().contains("ZyGrids/" + ui->treeList->viewName()))
        fitColumns();
    if (ui->treeList->topLevelItemCount() > 0)
        ui->treeList->setCurrentItem(ui->treeList->topLevelItem(0));
    return ZyModalRunner::exec(this);
}

void DlgMsgs::addRow(int index)
{
    PXRMsg *message = m_messages.at(index);
    PXRMsgElement *root = message != nullptr ? PXRMsgChild(message) : nullptr;
    PXRMsgElement *first = root != nullptr ? PXRMsgElementFirstChild(root, nullptr) : nullptr;
    auto *row = new ZyTreeWidgetItem;
    row->setData(IdColumn, kIndexRole, index);
    if (const char *id = root != nullptr ? PXRMsgElementAttributeValue(root, "id") : nullptr) {
        bool isNumber = false;
        const qlonglong number = QString::fromLatin1(id).toLongLong(&isNumber, 10);
        row->setValue(IdColumn, isNumber ? QVariant(number) : QVariant(QString::fromUtf8(id)), QString());
    }
    const QDateTime date = MsgManager::getDate(message);
    if (date.isValid())
        row->setValue(DateColumn, date, "dd/MM/yyyy hh:mm:ss.zzz");
    if (root != nullptr)
        row->setText(TypeColumn, elementName(root) + (first != nullptr ? "/" + elementName(first) : QString()));
    if (const char *plate = first != nullptr ? PXRMsgElementAttributeValue(first, "plate") : nullptr)
        row->setText(PlateColumn, QString::fromUtf8(plate));
    ui->treeList->addTopLevelItem(row);
}

// The rows' size hints leave their width open, so the view cannot measure its cells itself.
void DlgMsgs::fitColumns()
{
    const QFontMetrics metrics(ui->treeList->font());
    const int padding = 2 * ui->treeList->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, ui->treeList) + 8;
    for (int column = 0; column < ui->treeList->columnCount(); ++column) {
        int width = ui->treeList->header()->sectionSizeHint(column);
        for (int row = 0; row < ui->treeList->topLevelItemCount(); ++row)
            width = qMax(width, metrics.horizontalAdvance(ui->treeList->topLevelItem(row)->text(column)) + padding);
        ui->treeList->setColumnWidth(column, width);
    }
}

void DlgMsgs::on_treeList_currentItemChanged(QTreeWidgetItem *pItem)
{
    const int index = pItem != nullptr ? pItem->data(IdColumn, kIndexRole).toInt() : -1;
    PXRMsg *message = index >= 0 && index < m_messages.size() ? m_messages.at(index) : nullptr;
    ui->treeMsg->setMessage(message, false);
    ui->btnSave->setEnabled(pItem != nullptr);
}

void DlgMsgs::on_btnSave_clicked()
{
    PXRMsg *message = ui->treeMsg->message();
    if (message == nullptr) {
        DlgMsg::errorBox(this, tr("You must select a message"));
        return;
    }
    DlgMsg::saveMessage(this, message, tr("PXRMsg (*.pxrmsg)"), proposedFileName(message));
}

QString DlgMsgs::proposedFileName(PXRMsg *message)
{
    QString name;
    const QDateTime date = MsgManager::getDate(message);
    if (date.isValid())
        name = date.toString("yyyy-MM-dd_HH-mm-ss-zzz_");
    PXRMsgElement *root = PXRMsgChild(message);
    if (root != nullptr) {
        name += elementName(root);
        if (PXRMsgElement *first = PXRMsgElementFirstChild(root, nullptr))
            name += "_" + elementName(first);
    }
    return name + ".pxrmsg";
}
