// The messages an HTTP push server receives, ticked in a tree of what the sensor pushes: whole
// messages, or single parts of the recognition messages.
#pragma once

#include <QDialog>

#include <memory>

class QTreeWidgetItem;

namespace Ui {
class DialogHttpPushFilter;
}

class DialogHttpPushFilter : public QDialog
{
    Q_OBJECT

public:
    explicit DialogHttpPushFilter(QWidget *parent);
    ~DialogHttpPushFilter() override;

    // Ticks what the text names ("anpr", "anpr/decision", comma separated); the rest is dropped.
    void setFilter(const QString &filter);
    // The text of what is ticked: a whole message by its name, else its ticked parts.
    QString getFilter() const;

private slots:
    void on_treeWidget_itemChanged(QTreeWidgetItem *item, int column);

private:
    void fillTree();

    std::unique_ptr<Ui::DialogHttpPushFilter> ui;
};
