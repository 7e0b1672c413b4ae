// List and tree view: flagged titles, column menu, kept header layout, CSV export, typed sorting.
#include "ToolboxTestSupport.h"
#include "ZyDelegateComboBox.h"
#include "ZyTreeWidget.h"
#include "ZyTreeWidgetItem.h"

#include <QAction>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QTemporaryDir>

#include <memory>

namespace {

QStringList columnTexts(QTreeWidget &view, int column)
{
    QStringList texts;
    for (int row = 0; row < view.topLevelItemCount(); ++row)
        texts.append(view.topLevelItem(row)->text(column));
    return texts;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ZyTreeWidgetItem *addRow(ZyTreeWidget &view, const QStringList &texts)
{
    auto *item = new ZyTreeWidgetItem;
    for (int column = 0; column < texts.size(); ++column)
        item->setText(column, texts.at(column));
    view.addTopLevelItem(item);
    return item;
}

using TreeWidgetTest = ToolboxTest;

TEST_F(TreeWidgetTest, TitleFlagsHideColumnsAndKeepThemOutOfTheMenu)
{
    ZyTreeWidget view;
    view.init2({"%nA", "%nB", "%iC", "D", "%i%nE", "%n%iF"}, 0);
    ASSERT_EQ(view.columnCount(), 6);
    for (int column = 0; column < 6; ++column)
        EXPECT_EQ(view.headerItem()->text(column), QString(QChar('A' + column)));
    EXPECT_EQ(view.header()->actions().size(), 2);
    EXPECT_EQ(view.columnAction(0), nullptr);
    EXPECT_EQ(view.columnAction(1), nullptr);
    ASSERT_NE(view.columnAction(2), nullptr);
    EXPECT_FALSE(view.columnAction(2)->isChecked());
    EXPECT_TRUE(view.isColumnHidden(2));
    ASSERT_NE(view.columnAction(3), nullptr);
    EXPECT_TRUE(view.columnAction(3)->isChecked());
    EXPECT_TRUE(view.isColumnHidden(4));
    EXPECT_TRUE(view.isColumnHidden(5));
}

TEST_F(TreeWidgetTest, ColumnsBeforeTheFirstHideableOneGetNoAction)
{
    ZyTreeWidget view;
    view.init2({"A", "B", "C"}, 1);
    EXPECT_EQ(view.columnAction(0), nullptr);
    EXPECT_NE(view.columnAction(1), nullptr);
    EXPECT_NE(view.columnAction(2), nullptr);
}

TEST_F(TreeWidgetTest, ColumnActionsHideAndShowButTheLastVisibleColumnStays)
{
    ZyTreeWidget view;
    view.init2({"%nA", "B", "C"}, 0);
    view.setColumnHidden(0, true);
    view.columnAction(1)->setChecked(false);
    EXPECT_TRUE(view.isColumnHidden(1));
    view.columnAction(2)->setChecked(false);
    EXPECT_FALSE(view.isColumnHidden(2));
    EXPECT_TRUE(view.columnAction(2)->isChecked());
    view.columnAction(1)->setChecked(true);
    EXPECT_FALSE(view.isColumnHidden(1));
}

TEST_F(TreeWidgetTest, ShowingAZeroWidthColumnGivesItAWidth)
{
    ZyTreeWidget view;
    view.init2({"A", "B"}, 0);
    view.setColumnWidth(1, 0);
    view.setColumnHidden(1, true);
    view.onHideColumn(1);
    EXPECT_FALSE(view.isColumnHidden(1));
    EXPECT_GT(view.columnWidth(1), 0);
}

TEST_F(TreeWidgetTest, HeaderLayoutIsKeptUnderTheViewsPlaceInTheWindow)
{
    QWidget window;
    window.setObjectName("dlg");
    {
        auto view = std::make_unique<ZyTreeWidget>(&window);
        view->setObjectName("list");
        view->init2({"A", "B", "C"}, 0);
        EXPECT_EQ(view->viewName(), QString("dlg_list"));
        view->header()->moveSection(2, 0);
        view->setColumnWidth(0, 77);
        view->columnAction(1)->setChecked(false);
    }
    EXPECT_TRUE(QSettings().contains("ZyGrids/dlg_list"));

    ZyTreeWidget again(&window);
    again.setObjectName("list");
    again.init2({"A", "B", "C"}, 0);
    EXPECT_EQ(again.header()->logicalIndex(0), 2);
    EXPECT_EQ(again.columnWidth(0), 77);
    EXPECT_TRUE(again.isColumnHidden(1));
    EXPECT_FALSE(again.columnAction(1)->isChecked());
}

TEST_F(TreeWidgetTest, KeptLayoutThatCannotBeRestoredIsRemoved)
{
    QSettings().setValue("ZyGrids/broken", QByteArray("not a header state"));
    ZyTreeWidget view;
    view.init("A|B", "broken");
    EXPECT_FALSE(QSettings().contains("ZyGrids/broken"));
}

TEST_F(TreeWidgetTest, OlderSetUpSplitsTitlesAndNamesTheView)
{
    ZyTreeWidget view;
    view.init("A||B|%iC|", "given");
    EXPECT_EQ(view.viewName(), QString("given"));
    ASSERT_EQ(view.columnCount(), 3);
    EXPECT_EQ(view.headerItem()->text(2), QString("C"));
    EXPECT_TRUE(view.isColumnHidden(2));
}

TEST_F(TreeWidgetTest, UnnamedViewsKeepNoLayoutOrShareOneMadeOfUnderscores)
{
    {
        ZyTreeWidget alone;
        alone.init2({"A"}, 0);
        EXPECT_TRUE(alone.viewName().isEmpty());
    }
    EXPECT_TRUE(QSettings().allKeys().isEmpty());

    QWidget outer;
    QWidget inner(&outer);
    ZyTreeWidget nested(&inner);
    nested.init2({"A"}, 0);
    EXPECT_EQ(nested.viewName(), QString("__"));
}

class TreeWidgetCsvTest : public ToolboxTest
{
protected:
    void SetUp() override
    {
        ToolboxTest::SetUp();
        view.init2({"Name", "Secret", "Value", "Note"}, 0);
        view.setColumnHidden(1, true);
        view.header()->moveSection(3, 2);
        ZyTreeWidgetItem *parent = addRow(view, {"a;b", "hidden", "1", "say \"hi\""});
        auto *child = new ZyTreeWidgetItem;
        child->setText(0, "line1\nline2");
        child->setText(2, QString::fromUtf8("\u00e9t\u00e9"));
        parent->addChild(child);
        auto *grandChild = new ZyTreeWidgetItem;
        grandChild->setText(3, "cr\rhere");
        child->addChild(grandChild);
        addRow(view, {"", "", "", "plain"});
    }

    QTemporaryDir dir;
    ZyTreeWidget view;
};

TEST_F(TreeWidgetCsvTest, ExportWritesVisibleColumnsInVisualOrderAndQuotesSpecialCells)
{
    const QString path = dir.filePath("out.csv");
    ASSERT_TRUE(view.exportAsCSV(path));
    EXPECT_EQ(readAll(path), QByteArray("Name;Note;Value\r\n"
                                        "\"a;b\";\"say \"\"hi\"\"\";1\r\n"
                                        "\"line1\nline2\";;\xe9t\xe9\r\n"
                                        ";\"cr\rhere\";\r\n"
                                        ";plain;\r\n"));
}

TEST_F(TreeWidgetCsvTest, ExportFailsWithoutAWritableFile)
{
    EXPECT_FALSE(view.exportAsCSV(QString()));
    EXPECT_FALSE(view.exportAsCSV(dir.filePath("missing/out.csv")));
}

TEST_F(TreeWidgetCsvTest, ExportCommandAddsTheExtensionAndRemembersTheFolder)
{
    ZyModalRunner::setHandler([&](QDialog *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        EXPECT_NE(files, nullptr);
        files->setDirectory(dir.path());
        files->selectFile(dir.filePath("list"));
        return int(QDialog::Accepted);
    });
    view.onExportAsCSV();
    EXPECT_TRUE(readAll(dir.filePath("list.csv")).startsWith("Name;Note;Value\r\n"));
    EXPECT_EQ(QSettings().value("ZyGrids/ExportPath").toString(), dir.path());
    EXPECT_EQ(QSettings().value("SaveFileDialogs/ZyTreeWidgetExportAsCSV_dir").toString(), dir.path());
}

TEST_F(TreeWidgetCsvTest, ExportCommandReportsAFileItCannotWrite)
{
    QString boxText;
    ZyModalRunner::setHandler([&](QDialog *dialog) {
        if (auto *files = qobject_cast<QFileDialog *>(dialog)) {
            files->setDirectory(dir.path());
            files->selectFile(dir.filePath("missing/list.CSV"));
            return int(QDialog::Accepted);
        }
        auto *box = qobject_cast<QMessageBox *>(dialog);
        EXPECT_NE(box, nullptr);
        boxText = box->windowTitle() + "|" + box->text();
        return int(QMessageBox::Ok);
    });
    view.onExportAsCSV();
    EXPECT_EQ(boxText, "Error|Unable to export to " + dir.filePath("missing/list.CSV"));
}

TEST_F(TreeWidgetCsvTest, CancelledExportCommandWritesNothing)
{
    ZyModalRunner::setHandler([](QDialog *) { return int(QDialog::Rejected); });
    view.onExportAsCSV();
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_FALSE(QSettings().contains("ZyGrids/ExportPath"));
}

class TreeWidgetSortTest : public ToolboxTest
{
protected:
    void SetUp() override
    {
        ToolboxTest::SetUp();
        view.init2({"A"}, 0);
    }

    QStringList sorted(Qt::SortOrder order = Qt::AscendingOrder)
    {
        view.sortItems(0, order);
        return columnTexts(view, 0);
    }

    ZyTreeWidgetItem *add()
    {
        auto *item = new ZyTreeWidgetItem;
        view.addTopLevelItem(item);
        return item;
    }

    ZyTreeWidget view;
};

TEST_F(TreeWidgetSortTest, NumbersSortByValueAndTextsWithoutCase)
{
    for (double value : {2.0, 10.0, 1.5})
        add()->setValue(0, value, QString());
    EXPECT_EQ(sorted(), QStringList({"1.5", "2", "10"}));
    EXPECT_EQ(sorted(Qt::DescendingOrder), QStringList({"10", "2", "1.5"}));

    view.clear();
    for (const char *text : {"2", "10", "1.5", "b", "A"})
        add()->setText(0, text);
    EXPECT_EQ(sorted(), QStringList({"1.5", "10", "2", "A", "b"}));
}

TEST_F(TreeWidgetSortTest, AddressesSortNumericallyAndMalformedOnesAsText)
{
    for (const char *address : {"10.0.0.10", "10.0.0.9", "9.255.255.255"})
        add()->setIPAddress(0, address);
    EXPECT_EQ(sorted(), QStringList({"9.255.255.255", "10.0.0.9", "10.0.0.10"}));
    for (const char *malformed : {"10.0.0", "256.1.1.1", "1..1.1", "a.b.c.d"}) {
        ZyTreeWidgetItem item;
        item.setIPAddress(0, malformed);
        EXPECT_EQ(item.data(0, Qt::UserRole).typeId(), QMetaType::QString) << malformed;
        EXPECT_EQ(item.text(0), QString(malformed));
    }
    ZyTreeWidgetItem good;
    good.setIPAddress(0, "192.168.1.2");
    EXPECT_EQ(good.data(0, Qt::UserRole).toUInt(), 0xC0A80102u);
    EXPECT_EQ(good.toolTip(0), QString("192.168.1.2"));
}

TEST_F(TreeWidgetSortTest, DatesSortChronologically)
{
    const QDateTime base(QDate(2023, 12, 19), QTime(10, 0));
    for (int days : {3, -40, 0})
        add()->setValue(0, base.addDays(days), "yyyyMMdd");
    EXPECT_EQ(sorted(), QStringList({"20231109", "20231219", "20231222"}));
}

TEST(TreeWidgetItem, ValuesAreShownByTypeAndFormat)
{
    const QDateTime when(QDate(2023, 12, 19), QTime(8, 9, 10, 11));
    const struct
    {
        QVariant value;
        QString format;
        QString shown;
    } cases[] = {
        {3.14159, "2", "3.14"},   {3.14159, "x", "3"},          {3.14159, "", "3.14159"},
        {when, "", "2023/12/19 08:09:10.011"}, {when, "hh:mm", "08:09"}, {42, "5", "42"},
    };
    for (const auto &c : cases) {
        ZyTreeWidgetItem item;
        item.setValue(1, c.value, c.format);
        EXPECT_EQ(item.text(1), c.shown);
        EXPECT_EQ(item.toolTip(1), c.shown);
        EXPECT_EQ(item.data(1, Qt::UserRole), c.value);
        EXPECT_EQ(item.data(1, Qt::SizeHintRole).toSize(), QSize(-1, 16));
    }
}

TEST(TreeWidgetItem, IconTooltipBecomesTheSortValueOnlyWhenAsked)
{
    ZyTreeWidgetItem item;
    item.setText(0, "text");
    item.setIcon(0, QIcon(), "tip", false);
    EXPECT_EQ(item.data(0, Qt::UserRole).toString(), QString("text"));
    EXPECT_EQ(item.toolTip(0), QString("tip"));
    item.setIcon(0, QIcon(), "tip", true);
    EXPECT_EQ(item.data(0, Qt::UserRole).toString(), QString("tip"));
}

TEST(TreeWidgetItem, RowForegroundColoursEveryColumn)
{
    ZyTreeWidget view;
    view.init2({"A", "B", "C"}, 0);
    ZyTreeWidgetItem *item = addRow(view, {"a"});
    item->setRowForeground(QBrush(Qt::red));
    for (int column = 0; column < 3; ++column)
        EXPECT_EQ(item->foreground(column).color(), QColor(Qt::red));
}

TEST(TreeWidgetItem, DelegateValuesGoThroughTheColumnsComboOnly)
{
    ZyTreeWidget view;
    view.init2({"A", "B"}, 0);
    ZyTreeWidgetItem *item = addRow(view, {"a", "b"});
    item->setDelegateValue(&view, 1, "h");
    EXPECT_EQ(item->text(1), QString("b"));
    EXPECT_FALSE(item->delegateValue(&view, 1).isValid());

    ZyDelegateComboBox delegate;
    delegate.comboBox()->addItem("Low", "l");
    delegate.comboBox()->addItem("High", "h");
    view.setItemDelegateForColumn(1, &delegate);
    item->setDelegateValue(&view, 1, "H");
    EXPECT_EQ(item->text(1), QString("b"));
    item->setDelegateValue(&view, 1, "h");
    EXPECT_EQ(item->text(1), QString("High"));
    EXPECT_EQ(item->delegateValue(&view, 1).toString(), QString("h"));
    item->setValue(1, 0u, QString());
    EXPECT_EQ(item->delegateValue(&view, 1).toString(), QString("l"));
    view.setItemDelegateForColumn(1, nullptr);
}

TEST(TreeWidget, ItemsEnabledSwitchesTheWholeView)
{
    ZyTreeWidget view;
    view.setItemsEnabled(false);
    EXPECT_FALSE(view.isEnabled());
    view.setItemsEnabled(true);
    EXPECT_TRUE(view.isEnabled());
}

} // namespace
