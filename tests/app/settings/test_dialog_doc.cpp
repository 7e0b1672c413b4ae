// The documentation panel: shown by a text and hidden by an empty one, hidden but kept when the
// operator closes it, with the operator's wish stored each time; long texts scrolling inside it;
// its text selectable.
#include "AppSettings.h"
#include "DialogDoc.h"
#include "TestPictures.h"
#include "ToolboxTestSupport.h"

#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

#include <functional>
#include <ostream>

namespace {

const char kDoc[] = "Settings of the <b>plate reader</b>. See <a href=\"http://example.com/manual\">the manual</a>.";

class DialogDocTest : public ToolboxTest
{
protected:
    QLabel *label() const { return panel->findChild<QLabel *>("labelDoc"); }

    QDialog owner;
    QPointer<DialogDoc> panel = new DialogDoc(&owner);
};

TEST_F(DialogDocTest, ATextShowsThePanelAndAnEmptyOneHidesIt)
{
    EXPECT_TRUE(panel->isHidden());
    AppSettings().setShowDialogDoc(false);

    panel->setText(kDoc);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(label()->text(), kDoc);
    EXPECT_TRUE(AppSettings().showDialogDoc());

    panel->setText(QString());
    EXPECT_TRUE(panel->isHidden());
    EXPECT_TRUE(AppSettings().showDialogDoc());
}

struct HideCase
{
    const char *name;
    std::function<void(DialogDoc &panel)> act;
};

void PrintTo(const HideCase &c, std::ostream *out)
{
    *out << c.name;
}

class DialogDocHideTest : public DialogDocTest, public ::testing::WithParamInterface<HideCase>
{
};

TEST_P(DialogDocHideTest, TheOperatorHidesThePanelWhichStaysForTheNextText)
{
    panel->setText(kDoc);
    ASSERT_TRUE(panel->isVisible());

    GetParam().act(*panel);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(panel.isNull());
    EXPECT_TRUE(panel->isHidden());
    EXPECT_FALSE(AppSettings().showDialogDoc());

    panel->setText(kDoc);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(AppSettings().showDialogDoc());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, DialogDocHideTest,
    ::testing::Values(HideCase{"CloseButton", [](DialogDoc &panel) { panel.findChild<QToolButton *>("btnClose")->click(); }},
                      HideCase{"CloseCommand", [](DialogDoc &panel) { EXPECT_FALSE(panel.close()); }}),
    [](const ::testing::TestParamInfo<HideCase> &info) { return std::string(info.param.name); });

TEST_F(DialogDocTest, ALongTextScrollsInsideThePanel)
{
    panel->resize(300, 300);
    QString text;
    for (int i = 0; i < 100; ++i)
        text += QStringLiteral("<p>Paragraph %1 of a long description.</p>").arg(i);
    panel->setText(text);

    const QScrollBar *bar = panel->findChild<QScrollArea *>("scrollArea")->verticalScrollBar();
    EXPECT_TRUE(waitUntil([&] { return bar->isVisible() && bar->maximum() > 0; }));
    EXPECT_EQ(panel->height(), 300);
}

TEST_F(DialogDocTest, TheTextAndItsLinksCanBeSelected)
{
    panel->setText(kDoc);
    const Qt::TextInteractionFlags flags = label()->textInteractionFlags();
    for (Qt::TextInteractionFlag flag : {Qt::TextSelectableByMouse, Qt::TextSelectableByKeyboard,
                                         Qt::LinksAccessibleByMouse, Qt::LinksAccessibleByKeyboard})
        EXPECT_TRUE(flags.testFlag(flag)) << flag;
    label()->setSelection(0, 8);
    EXPECT_EQ(label()->selectedText(), "Settings");
}

TEST_F(DialogDocTest, PictureOfThePanelWithAText)
{
    EXPECT_TRUE(panel->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(panel->isModal());
    EXPECT_TRUE(panel->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_FALSE(panel->findChild<QToolButton *>("btnClose")->icon().isNull());
    panel->setText(kDoc);
    keepPicture(*panel, "dialog-doc");
}

} // namespace
