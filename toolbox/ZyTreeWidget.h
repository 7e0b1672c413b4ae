// The list and tree view: flagged header titles, column-hiding menu, kept header layout, CSV export.
#pragma once

#include <QHash>
#include <QStringList>
#include <QTreeWidget>

class QAction;

class ZyTreeWidget : public QTreeWidget
{
    Q_OBJECT

public:
    explicit ZyTreeWidget(QWidget *parent = nullptr);
    ~ZyTreeWidget() override;

    virtual void init(const QString &headers, const QString &viewName);
    virtual void init2(const QStringList &titles, int firstHideableColumn);
    virtual bool exportAsCSV(const QString &path);

    // Widens every column to its title and to its cells, a cell to no more than widest
    // (longer cells elide; their tooltip holds the whole text).
    void fitColumns(int widest);
    void setItemsEnabled(bool enabled);
    QString viewName() const;
    QAction *columnAction(int column) const;

public slots:
    void onHideColumn(int col);
    void onExportAsCSV();

private:
    QString derivedViewName() const;
    void applyTitles(const QStringList &titles, QList<bool> &notHideable);
    void restoreHeaderState();
    void fitTitles();
    void buildColumnActions(int firstHideableColumn, const QList<bool> &notHideable);
    void addColumnAction(int column);
    QByteArray csvRow(const QTreeWidgetItem *item) const;
    void writeRows(QIODevice &file, const QTreeWidgetItem *item) const;

    QHash<int, QAction *> m_columnActions;
    QAction *m_exportAction = nullptr;
    QAction *m_separatorAction = nullptr;
    QString m_viewName;
};
