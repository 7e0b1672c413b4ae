// Add/delete tree: icon clicks report the row concerned, add rows stay last, rows look their type.
#include "ToolboxTestSupport.h"
#include "ZyADTreeWidget.h"
#include "ZyADTreeWidgetItem.h"

#include <QFile>
#include <QHeaderView>
#include <QTest>

namespace {

class ADTreeWidgetTest : public ToolboxTest
{
protected:
    void SetUp() override
    {
        ToolboxTest::SetUp();
        view.resize(400, 300);
        view.initAD({"Route", "Gateway"}, true, "New route");
        view.show();
    }

    ZyADTreeWidgetItem *addRoute(const QString &name, int type = ZyADTreeWidgetItem::RemovableRow,
                                 bool addable = false)
    {
        auto *item = new ZyADTreeWidgetItem(addable, type, name);
        item->setText(1, name);
        view.addItem(item);
        return item;
    }

    // Clicks a row dx pixels right of its left edge, in the given column.
    void click(QTreeWidgetItem *item, int dx, int column = 0)
    {
        view.scrollToItem(item);
        const QRect row = view.visualItemRect(item);
        const int x = column == 0 ? row.left() + dx : view.header()->sectionViewportPosition(column) + 5;
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(x, row.center().y()));
        QTest::qWait(0);
    }

    QStringList rowTypes(QTreeWidgetItem *parent = nullptr)
    {
        QStringList types;
        const int count = parent ? parent->childCount() : view.topLevelItemCount();
        for (int i = 0; i < count; ++i) {
            auto *row = static_cast<ZyADTreeWidgetItem *>(parent ? parent->child(i) : view.topLevelItem(i));
            types.append(row->rowType() == ZyADTreeWidgetItem::AddRow ? "add" : row->text(1));
        }
        return types;
    }

    ZyADTreeWidget view;
};

// Records the rows that the view's signals carry.
struct Requests
{
    explicit Requests(ZyADTreeWidget &view)
    {
        QObject::connect(&view, &ZyADTreeWidget::signalAdd, [this](ZyADTreeWidgetItem *parent) { added.append(parent); });
        QObject::connect(&view, &ZyADTreeWidget::signalDel, [this](ZyADTreeWidgetItem *row) { deleted.append(row); });
    }
    QList<ZyADTreeWidgetItem *> added;
    QList<ZyADTreeWidgetItem *> deleted;
};

TEST_F(ADTreeWidgetTest, IconClickOnTheTopAddRowAsksForATopLevelRow)
{
    Requests requests(view);
    click(view.topLevelItem(0), 20);
    ASSERT_EQ(requests.added.size(), 1);
    EXPECT_EQ(requests.added.at(0), nullptr);
}

TEST_F(ADTreeWidgetTest, ClicksBesideTheIconOrInAnotherColumnAreIgnored)
{
    Requests requests(view);
    ZyADTreeWidgetItem *route = addRoute("r1");
    click(view.topLevelItem(1), 21);
    click(route, 21);
    click(route, 5, 1);
    click(addRoute("plain", ZyADTreeWidgetItem::PlainRow), 5);
    EXPECT_EQ(requests.added.size(), 0);
    EXPECT_EQ(requests.deleted.size(), 0);
}

TEST_F(ADTreeWidgetTest, IconClicksReportTheRowToDeleteOrTheParentToAddUnder)
{
    Requests requests(view);
    ZyADTreeWidgetItem *route = addRoute("r1");
    ZyADTreeWidgetItem *group = addRoute("group", ZyADTreeWidgetItem::PlainRow, true);
    group->setExpanded(true);
    click(route, 0);
    ASSERT_EQ(requests.deleted.size(), 1);
    EXPECT_EQ(requests.deleted.at(0), route);
    ASSERT_EQ(group->childCount(), 1);
    click(group->child(0), 3);
    ASSERT_EQ(requests.added.size(), 1);
    EXPECT_EQ(requests.added.at(0), group);
}

TEST_F(ADTreeWidgetTest, AddRowsStayLastWhicheverWayTheViewIsSorted)
{
    addRoute("b");
    addRoute("c");
    ZyADTreeWidgetItem *group = addRoute("a", ZyADTreeWidgetItem::RemovableRow, true);
    group->addChild(new ZyADTreeWidgetItem(false, ZyADTreeWidgetItem::RemovableRow, "z"));
    static_cast<ZyADTreeWidgetItem *>(group->child(1))->setText(1, "z");
    group->addChild(new ZyADTreeWidgetItem(false, ZyADTreeWidgetItem::RemovableRow, "y"));
    static_cast<ZyADTreeWidgetItem *>(group->child(2))->setText(1, "y");
    EXPECT_EQ(rowTypes(), QStringList({"b", "c", "a", "add"}));
    for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        view.sortByColumn(1, order);
        const bool up = order == Qt::AscendingOrder;
        EXPECT_EQ(rowTypes(), up ? QStringList({"a", "b", "c", "add"}) : QStringList({"c", "b", "a", "add"}));
        EXPECT_EQ(rowTypes(group), up ? QStringList({"y", "z", "add"}) : QStringList({"z", "y", "add"}));
    }
}

TEST_F(ADTreeWidgetTest, RowsAreAppendedWhenTheViewHasNoAddRow)
{
    view.initAD({"Route"}, false, QString());
    EXPECT_EQ(view.topLevelItemCount(), 0);
    EXPECT_TRUE(view.header()->stretchLastSection());
    addRoute("a");
    addRoute("b");
    EXPECT_EQ(rowTypes(), QStringList({"a", "b"}));
}

TEST_F(ADTreeWidgetTest, SettingUpAgainRebuildsTheAddRowAlone)
{
    addRoute("a");
    view.initAD({"Route", "Gateway"}, true, QString());
    ASSERT_EQ(view.topLevelItemCount(), 1);
    EXPECT_EQ(static_cast<ZyADTreeWidgetItem *>(view.topLevelItem(0))->rowType(), ZyADTreeWidgetItem::AddRow);
    EXPECT_FALSE(view.header()->stretchLastSection());
}

TEST(ADTreeWidgetItem, RowsLookTheirType)
{
    EXPECT_TRUE(QFile::exists(":/ZyADTreeWidget/add"));
    EXPECT_TRUE(QFile::exists(":/ZyADTreeWidget/del"));

    ZyADTreeWidgetItem named(false, ZyADTreeWidgetItem::AddRow, "New route");
    EXPECT_EQ(named.text(0), QString("New route"));
    EXPECT_EQ(named.toolTip(0), QString("New route"));
    EXPECT_TRUE(named.font(0).italic());
    EXPECT_EQ(named.foreground(0).color(), QColor(128, 128, 128));
    EXPECT_FALSE(named.icon(0).isNull());

    ZyADTreeWidgetItem unnamed(false, ZyADTreeWidgetItem::AddRow, QString());
    EXPECT_TRUE(unnamed.text(0).isEmpty());
    EXPECT_EQ(unnamed.toolTip(0), QString("Add"));

    ZyADTreeWidgetItem removable(false, ZyADTreeWidgetItem::RemovableRow, "kept out");
    EXPECT_TRUE(removable.text(0).isEmpty());
    EXPECT_EQ(removable.toolTip(0), QString("Remove"));
    EXPECT_FALSE(removable.icon(0).isNull());

    ZyADTreeWidgetItem plain(false, ZyADTreeWidgetItem::PlainRow, QString());
    EXPECT_TRUE(plain.icon(0).isNull());
    EXPECT_TRUE(plain.toolTip(0).isEmpty());
}

TEST(ADTreeWidgetItem, AddableRowsCarryAnAddRowWithTheirText)
{
    ZyADTreeWidgetItem row(true, ZyADTreeWidgetItem::RemovableRow, "New gateway", ":/custom/add", ":/custom/del");
    EXPECT_TRUE(row.isAddable());
    ASSERT_EQ(row.childCount(), 1);
    auto *child = static_cast<ZyADTreeWidgetItem *>(row.child(0));
    EXPECT_EQ(child->rowType(), ZyADTreeWidgetItem::AddRow);
    EXPECT_EQ(child->text(0), QString("New gateway"));
}

} // namespace
