// The messages an HTTP push server receives, ticked in a tree of what the sensor pushes.
#include "DialogHttpPushFilter.h"
#include "ui_DialogHttpPushFilter.h"

#include "Model.h"

namespace {

QString nameOf(PXRMsgElement *schemaElement)
{
    return QString::fromUtf8(PXRMsgElementAttributeValue(schemaElement, "name"));
}

QTreeWidgetItem *uncheckedItem(const QString &name)
{
    auto *item = new QTreeWidgetItem(QStringList{name});
    item->setCheckState(0, Qt::Unchecked);
    return item;
}

// The messages whose parts can be chosen one by one.
bool hasChoosableParts(const QString &message)
{
    return message == QLatin1String("anpr") || message == QLatin1String("dgpr");
}

} // namespace

DialogHttpPushFilter::DialogHttpPushFilter(QWidget *parent) : QDialog(parent), ui(new Ui::DialogHttpPushFilter)
{
    ui->setupUi(this);
    fillTree();
    ui->treeWidget->expandAll();
}

DialogHttpPushFilter::~DialogHttpPushFilter() = default;

void DialogHttpPushFilter::fillTree()
{
    const SchemaDoc &schema = Model::instance()->schemaDoc();
    const std::vector<PXRMsgElement *> messages =
        schema.appInfo({QStringLiteral("asynchronous"), QStringLiteral("serverToClient")}, {QStringLiteral("nonWeb")});
    for (PXRMsgElement *message : messages) {
        const QString name = nameOf(message);
        // The sensor's traces are never pushed over HTTP.
        if (name == QLatin1String("trace") || name == QLatin1String("traces"))
            continue;
        QTreeWidgetItem *item = uncheckedItem(name);
        if (hasChoosableParts(name))
            for (PXRMsgElement *part : schema.childElements(message))
                item->addChild(uncheckedItem(nameOf(part)));
        ui->treeWidget->addTopLevelItem(item);
    }
}

void DialogHttpPushFilter::setFilter(const QString &filter)
{
    const QStringList pieces = filter.split(QLatin1Char(','));
    for (int i = 0; i < ui->treeWidget->topLevelItemCount(); ++i) {
        QTreeWidgetItem *message = ui->treeWidget->topLevelItem(i);
        if (pieces.contains(message->text(0))) {
            message->setCheckState(0, Qt::Checked);
            continue;
        }
        for (int j = 0; j < message->childCount(); ++j) {
            QTreeWidgetItem *part = message->child(j);
            if (pieces.contains(message->text(0) + QLatin1Char('/') + part->text(0)))
                part->setCheckState(0, Qt::Checked);
        }
    }
}

QString DialogHttpPushFilter::getFilter() const
{
    QStringList pieces;
    for (int i = 0; i < ui->treeWidget->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *message = ui->treeWidget->topLevelItem(i);
        if (message->checkState(0) == Qt::Checked) {
            pieces << message->text(0);
            continue;
        }
        for (int j = 0; j < message->childCount(); ++j)
            if (message->child(j)->checkState(0) == Qt::Checked)
                pieces << message->text(0) + QLatin1Char('/') + message->child(j)->text(0);
    }
    return pieces.join(QLatin1Char(','));
}

// Every change passes down a full state and up a summary of the siblings; each change made here
// comes back through this slot for the item it changed.
void DialogHttpPushFilter::on_treeWidget_itemChanged(QTreeWidgetItem *item, int)
{
    if (item == nullptr)
        return;
    const Qt::CheckState state = item->checkState(0);
    if (state != Qt::PartiallyChecked)
        for (int i = 0; i < item->childCount(); ++i)
            item->child(i)->setCheckState(0, state);
    QTreeWidgetItem *parent = item->parent();
    if (parent == nullptr)
        return;
    int checked = 0;
    for (int i = 0; i < parent->childCount(); ++i)
        checked += parent->child(i)->checkState(0) == Qt::Checked ? 1 : 0;
    if (checked == parent->childCount())
        parent->setCheckState(0, Qt::Checked);
    else if (checked == 0)
        parent->setCheckState(0, Qt::Unchecked);
    else
        parent->setCheckState(0, Qt::PartiallyChecked);
}
