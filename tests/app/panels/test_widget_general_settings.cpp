// The sensor dock's tree frame: sections found by the key of their caption, "Not set" rows, edit
// links only while locked or forced (with sensor text escaped), the memory of expanded sections,
// and the documentation request of the current row.
#include "PanelsTestSupport.h"
#include "WidgetSettings.h"

#include <QTest>

namespace {

struct MsgDeleter {
    void operator()(PXRMsg *msg) const { PXRMsgDestroy(msg); }
};

// config > network > interface, for the element paths rows record.
class InterfaceMessage
{
public:
    InterfaceMessage()
    {
        PXRMsgSetChild(msg.get(), PXRMsgElementCreate("config"));
        network = PXRMsgElementCreate("network");
        PXRMsgElementAddChild(PXRMsgChild(msg.get()), network);
        interface = PXRMsgElementCreate("interface");
        PXRMsgElementAddChild(network, interface);
    }
    std::unique_ptr<PXRMsg, MsgDeleter> msg{PXRMsgCreate()};
    PXRMsgElement *network = nullptr;
    PXRMsgElement *interface = nullptr;
};

class TreeFrameTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        tree = std::make_unique<WidgetGeneralSettings>();
        tree->setupHeader("treeSettings");
    }
    void TearDown() override
    {
        tree.reset();
        sensor().setLocked(false);
        PanelTest::TearDown();
    }

    std::unique_ptr<WidgetGeneralSettings> tree;
    InterfaceMessage message;
};

TEST(SectionKey, IsTheCaptionUpToItsFirstClosingBracketAfterTheStart)
{
    const std::pair<QString, QString> cases[] = {
        {"[0] IMX-1", "[0]"}, {"[led=1] Internal LED board", "[led=1]"}, {"a]b]c", "a]"},
        {"]starts", "]starts"}, {"Network", "Network"}, {"", ""},
    };
    for (const auto &[caption, key] : cases)
        EXPECT_EQ(WidgetGeneralSettings::sectionKey(caption), key) << caption.toStdString();
}

TEST_F(TreeFrameTest, ASectionWithTheSameKeyIsRenamedAndKeepsItsLinkFontAndExpandedState)
{
    sensor().setLocked(true);
    ZyTreeWidgetItem *camera = tree->addSection(nullptr, "[0] IMX-1", message.network, true, "0:camera", false, "Edit");
    camera->setExpanded(false);
    const QFont font = camera->font(0);
    QLabel *link = linkOf(*tree, camera);
    ASSERT_NE(link, nullptr);

    EXPECT_EQ(tree->addSection(nullptr, "[0] IMX-2", message.interface, false, "other", false, "Other"), camera);
    EXPECT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(camera->text(0), "[0] IMX-2");
    EXPECT_FALSE(camera->isExpanded());
    EXPECT_EQ(camera->font(0), font);
    EXPECT_EQ(linkOf(*tree, camera), link);
    EXPECT_EQ(camera->data(0, WidgetGeneralSettings::TagRole).toString(), "0:camera");
    EXPECT_EQ(camera->data(0, WidgetGeneralSettings::PathRole).toStringList(), QStringList({"config", "network"}));

    // Captions that begin with "]" or hold none are their own keys.
    tree->addSection(nullptr, "]a", nullptr, true);
    tree->addSection(nullptr, "]b", nullptr, true);
    tree->addSection(nullptr, "Network", nullptr, true);
    tree->addSection(nullptr, "Network", nullptr, true);
    EXPECT_EQ(tree->topLevelItemCount(), 4);

    // The top-level style is 2 points above a nested section's.
    ZyTreeWidgetItem *nested = tree->addSection(camera, "Stream", nullptr, false);
    EXPECT_TRUE(nested->font(0).bold());
    EXPECT_EQ(font.pointSizeF(), nested->font(0).pointSizeF() + 2);
}

TEST_F(TreeFrameTest, AnUnsetValueShowsNotSetInGreyUntilTheSameRowGetsAValue)
{
    ZyTreeWidgetItem *section = tree->addSection(nullptr, "Network", message.network, true);
    ZyTreeWidgetItem *row = tree->addProperty(section, "IP Address", "", message.interface, "ipAddress", true);
    EXPECT_EQ(row->text(1), "Not set");
    EXPECT_EQ(row->foreground(1).color(), QColor(128, 128, 128));
    EXPECT_EQ(row->data(0, WidgetGeneralSettings::PathRole).toStringList(),
              QStringList({"config", "network", "interface"}));
    EXPECT_EQ(row->data(0, WidgetGeneralSettings::AttributeRole).toString(), "ipAddress");

    EXPECT_EQ(tree->addProperty(section, "IP Address", "10.0.0.2", nullptr, nullptr, true), row);
    EXPECT_EQ(section->childCount(), 1);
    EXPECT_EQ(row->text(1), "10.0.0.2");
    EXPECT_EQ(row->foreground(1).color(), QColor(0, 0, 0));
    EXPECT_TRUE(row->data(0, WidgetGeneralSettings::PathRole).toStringList().isEmpty());
    EXPECT_TRUE(row->data(0, WidgetGeneralSettings::AttributeRole).toString().isEmpty());

    // Without the flag an empty value stays empty.
    EXPECT_EQ(tree->addProperty(section, "Gateway", "", nullptr, nullptr, false)->text(1), "");
    tree->removeRow(section, "IP Address");
    tree->removeRow(section, "Absent");
    ASSERT_EQ(section->childCount(), 1);
    EXPECT_EQ(section->child(0)->text(0), "Gateway");
}

TEST_F(TreeFrameTest, LinksComeOnlyWhileLockedOrForcedAndOnlyWithATag)
{
    struct Case {
        bool locked;
        bool forced;
        QString tag;
        bool link;
    };
    const Case cases[] = {
        {false, false, "device", false}, {true, false, "device", true}, {false, true, "date_r", true},
        {true, true, "stats", true},     {true, false, "", false},      {false, true, "", false},
    };
    for (const Case &c : cases) {
        tree->clearTree();
        sensor().setLocked(c.locked);
        ZyTreeWidgetItem *section = tree->addSection(nullptr, "Device", nullptr, true, c.tag, c.forced, "Edit");
        EXPECT_EQ(linkOf(*tree, section) != nullptr, c.link) << c.tag.toStdString() << c.locked << c.forced;
        EXPECT_EQ(section->data(0, WidgetGeneralSettings::TagRole).toString(), c.tag);
        EXPECT_EQ(section->data(0, WidgetGeneralSettings::TagRole).isValid(), !c.tag.isEmpty());
    }

    // Locking alone adds no link to a section made before; the next clear and fill does.
    tree->clearTree();
    sensor().setLocked(false);
    tree->addSection(nullptr, "Device", nullptr, true, "device", false, "Edit");
    sensor().setLocked(true);
    EXPECT_EQ(linkOf(*tree, tree->addSection(nullptr, "Device", nullptr, true, "device", false, "Edit")), nullptr);
    tree->clearTree();
    EXPECT_NE(linkOf(*tree, tree->addSection(nullptr, "Device", nullptr, true, "device", false, "Edit")), nullptr);
}

TEST_F(TreeFrameTest, ALinkCarriesSensorTextEscapedAndHandsItsTagOverWhenClicked)
{
    const QString tag = "1'><b>x</b>&amp;:database";
    const QString text = "Edit <i>&</i> 'now'";
    ZyTreeWidgetItem *section = tree->addSection(nullptr, "Database", nullptr, true, tag, true, text);
    QLabel *link = linkOf(*tree, section);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(linkParts(*link).second, text);
    EXPECT_FALSE(link->text().contains("<b>") || link->text().contains("<i>"));
    EXPECT_EQ(link->textFormat(), Qt::RichText);
    EXPECT_EQ(link->font().pointSizeF(), tree->font().pointSizeF() + 2);
    EXPECT_FALSE(link->font().bold());

    QSignalSpy opened(tree.get(), &WidgetGeneralSettings::openDialog);
    tree->resize(400, 200);
    tree->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tree.get()));
    const QPoint onText(link->contentsMargins().left() + link->fontMetrics().horizontalAdvance("Ed") / 2,
                        link->height() / 2);
    QTest::mouseClick(link, Qt::LeftButton, {}, onText);
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(opened.at(0).at(0).toString(), tag);
}

TEST_F(TreeFrameTest, TheSettingsPagePassesTheEditTagsOn)
{
    WidgetSettings page;
    EXPECT_EQ(page.objectName(), "WidgetSettings");
    EXPECT_EQ(page.tree()->objectName(), "treeSettings");
    EXPECT_EQ(page.tree()->viewName(), "treeSettings");
    EXPECT_EQ(page.tree()->headerItem()->text(0), "Property");
    EXPECT_EQ(page.tree()->headerItem()->text(1), "Value");
    QSignalSpy opened(&page, &WidgetSettings::openDialog);
    page.tree()->editClicked("network");
    page.tree()->editClicked("stats");
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(opened.at(0).at(0).toString(), "network");
}

TEST_F(TreeFrameTest, CollapsedTopLevelSectionsStayCollapsedAcrossClearAndRefill)
{
    ZyTreeWidgetItem *network = tree->addSection(nullptr, "Network", nullptr, true);
    ZyTreeWidgetItem *nested = tree->addSection(network, "Routes", nullptr, false);
    tree->addSection(nullptr, "Device", nullptr, true);
    network->setExpanded(false);
    nested->setExpanded(false);
    tree->clearTree();
    EXPECT_EQ(tree->topLevelItemCount(), 0);
    EXPECT_TRUE(QSettings().contains("GUI/expandedItems/treeSettings"));

    network = tree->addSection(nullptr, "Network", nullptr, true);
    EXPECT_FALSE(network->isExpanded());
    EXPECT_TRUE(tree->addSection(nullptr, "Device", nullptr, true)->isExpanded());
    EXPECT_TRUE(tree->addSection(nullptr, "Never seen", nullptr, true)->isExpanded());
    EXPECT_TRUE(tree->addSection(network, "Routes", nullptr, false)->isExpanded()) << "nested sections are not kept";

    // The memory lives in the settings, per tree name, and the tree saves it when it goes.
    network->setExpanded(true);
    tree->addSection(nullptr, "Device", nullptr, true)->setExpanded(false);
    tree.reset();
    WidgetGeneralSettings again;
    again.setupHeader("treeSettings");
    EXPECT_TRUE(again.addSection(nullptr, "Network", nullptr, true)->isExpanded());
    EXPECT_FALSE(again.addSection(nullptr, "Device", nullptr, true)->isExpanded());
    WidgetGeneralSettings other;
    other.setupHeader("treeInformations");
    EXPECT_TRUE(other.addSection(nullptr, "Device", nullptr, true)->isExpanded());
}

TEST_F(TreeFrameTest, TheCurrentRowAsksForItsDocumentationAndNoRowForNone)
{
    ZyTreeWidgetItem *section = tree->addSection(nullptr, "Network", message.network, true);
    ZyTreeWidgetItem *row = tree->addProperty(section, "Configuration", "DHCP", message.interface, "dhcp", true);
    const qsizetype mark = window.requests.size();

    tree->setCurrentItem(row);
    ASSERT_EQ(window.requests.size(), mark + 1);
    EXPECT_EQ(window.requests.last().path, QStringList({"config", "network", "interface"}));
    EXPECT_EQ(window.requests.last().attribute, "dhcp");

    tree->setCurrentItem(section);
    ASSERT_EQ(window.requests.size(), mark + 2);
    EXPECT_EQ(window.requests.last().path, QStringList({"config", "network"}));
    EXPECT_EQ(window.requests.last().attribute, "");

    tree->clearTree();
    ASSERT_EQ(window.requests.size(), mark + 3);
    EXPECT_TRUE(window.requests.last().path.isEmpty());
    EXPECT_TRUE(window.requests.last().attribute.isEmpty());
}

} // namespace
