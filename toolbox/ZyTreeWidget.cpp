// The list and tree view: flagged header titles, column-hiding menu, kept header layout, CSV export.
#include "ZyTreeWidget.h"

#include "ZyDialogs.h"

#include <QAction>
#include <QDebug>
#include <QFile>
#include <QHeaderView>
#include <QSettings>
#include <QSignalBlocker>

#include <algorithm>

namespace {

QString headerKey(const QString &viewName)
{
    return "ZyGrids/" + viewName;
}

QString csvCell(const QString &text)
{
    static const QString needsQuotes = QStringLiteral(";\"\r\n");
    const bool quote = std::any_of(text.begin(), text.end(), [](QChar c) { return needsQuotes.contains(c); });
    if (!quote)
        return text;
    return '"' + QString(text).replace("\"", "\"\"") + '"';
}

} // namespace

ZyTreeWidget::ZyTreeWidget(QWidget *parent)
    : QTreeWidget(parent)
{
    setContextMenuPolicy(Qt::ActionsContextMenu);
    header()->setContextMenuPolicy(Qt::ActionsContextMenu);
    header()->setStretchLastSection(false);
    m_separatorAction = new QAction(this);
    m_separatorAction->setSeparator(true);
    m_exportAction = new QAction(tr("Export as CSV..."), this);
    connect(m_exportAction, &QAction::triggered, this, &ZyTreeWidget::onExportAsCSV);
}

ZyTreeWidget::~ZyTreeWidget()
{
    if (!m_viewName.isEmpty())
        QSettings().setValue(headerKey(m_viewName), header()->saveState());
}

QString ZyTreeWidget::viewName() const
{
    return m_viewName;
}

QAction *ZyTreeWidget::columnAction(int column) const
{
    return m_columnActions.value(column);
}

void ZyTreeWidget::init(const QString &headers, const QString &viewName)
{
    qDebug() << "ZyTreeWidget::init is deprecated, use init2 (better for translations)";
    m_viewName = viewName;
    init2(headers.split('|', Qt::SkipEmptyParts), 0);
}

void ZyTreeWidget::init2(const QStringList &titles, int firstHideableColumn)
{
    if (m_viewName.isEmpty())
        m_viewName = derivedViewName();
    QList<bool> notHideable;
    applyTitles(titles, notHideable);
    fitTitles();
    restoreHeaderState();
    buildColumnActions(firstHideableColumn, notHideable);
    setUniformRowHeights(true);
}

QString ZyTreeWidget::derivedViewName() const
{
    QString name = objectName();
    for (const QObject *ancestor = parent(); ancestor; ancestor = ancestor->parent())
        name = ancestor->objectName() + "_" + name;
    return name;
}

void ZyTreeWidget::applyTitles(const QStringList &titles, QList<bool> &notHideable)
{
    setColumnCount(int(titles.size()));
    QStringList texts;
    for (int column = 0; column < titles.size(); ++column) {
        QString title = titles.at(column);
        bool fixed = false;
        bool hidden = false;
        while (title.startsWith('%') && title.size() >= 2) {
            hidden = hidden || title.at(1) == 'i';
            fixed = fixed || title.at(1) == 'n';
            title.remove(0, 2);
        }
        texts.append(title);
        notHideable.append(fixed);
        setColumnHidden(column, hidden);
    }
    setHeaderLabels(texts);
}

void ZyTreeWidget::fitTitles()
{
    for (int column = 0; column < columnCount(); ++column)
        setColumnWidth(column, qMax(columnWidth(column), header()->sectionSizeHint(column)));
}

void ZyTreeWidget::fitColumns(int widest)
{
    for (int column = 0; column < columnCount(); ++column)
        setColumnWidth(column, qMax(header()->sectionSizeHint(column), qMin(sizeHintForColumn(column), widest)));
}

void ZyTreeWidget::restoreHeaderState()
{
    if (m_viewName.isEmpty())
        return;
    QSettings settings;
    const QString key = headerKey(m_viewName);
    if (settings.contains(key) && !header()->restoreState(settings.value(key).toByteArray()))
        settings.remove(key);
}

void ZyTreeWidget::buildColumnActions(int firstHideableColumn, const QList<bool> &notHideable)
{
    const QList<QAction *> old = header()->actions();
    for (QAction *action : old)
        delete action;
    m_columnActions.clear();
    for (int column = qMax(0, firstHideableColumn); column < columnCount(); ++column) {
        if (notHideable.value(column)) {
            if (columnWidth(column) == 0)
                resizeColumnToContents(column);
            continue;
        }
        addColumnAction(column);
    }
}

void ZyTreeWidget::addColumnAction(int column)
{
    auto *action = new QAction(headerItem()->text(column), header());
    action->setCheckable(true);
    action->setChecked(!header()->isSectionHidden(column) && columnWidth(column) != 0);
    connect(action, &QAction::toggled, this, [this, column] { onHideColumn(column); });
    header()->addAction(action);
    m_columnActions.insert(column, action);
    if (columnWidth(column) == 0)
        setColumnHidden(column, true);
}

void ZyTreeWidget::onHideColumn(int col)
{
    bool othersShown = false;
    for (int column = 0; column < columnCount() && !othersShown; ++column)
        othersShown = column != col && !isColumnHidden(column);
    if (!isColumnHidden(col) && !othersShown) {
        if (QAction *action = m_columnActions.value(col)) {
            const QSignalBlocker blocker(action);
            action->setChecked(true);
        }
        return;
    }
    setColumnHidden(col, !isColumnHidden(col));
    if (!isColumnHidden(col) && columnWidth(col) == 0) {
        setColumnWidth(col, 100);
        resizeColumnToContents(col);
    }
}

void ZyTreeWidget::setItemsEnabled(bool enabled)
{
    setEnabled(enabled);
}

QByteArray ZyTreeWidget::csvRow(const QTreeWidgetItem *item) const
{
    QStringList cells;
    for (int visual = 0; visual < header()->count(); ++visual) {
        const int column = header()->logicalIndex(visual);
        if (!header()->isSectionHidden(column))
            cells.append(csvCell(item->text(column)));
    }
    return cells.join(';').toLatin1() + "\r\n";
}

void ZyTreeWidget::writeRows(QIODevice &file, const QTreeWidgetItem *item) const
{
    file.write(csvRow(item));
    for (int child = 0; child < item->childCount(); ++child)
        writeRows(file, item->child(child));
}

bool ZyTreeWidget::exportAsCSV(const QString &path)
{
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(csvRow(headerItem()));
    for (int row = 0; row < topLevelItemCount(); ++row)
        writeRows(file, topLevelItem(row));
    file.close();
    return true;
}

void ZyTreeWidget::onExportAsCSV()
{
    QString path = ZyDialogs::getSaveFileName(this, "ZyTreeWidgetExportAsCSV", tr("Export"), "*.csv", QString());
    if (path.isEmpty())
        return;
    if (!path.endsWith(".csv", Qt::CaseInsensitive))
        path += ".csv";
    QSettings().setValue("ZyGrids/ExportPath", path.left(path.lastIndexOf('/')));
    if (!exportAsCSV(path))
        ZyDialogs::critical(this, tr("Error"), tr("Unable to export to ") + path, QString());
}
