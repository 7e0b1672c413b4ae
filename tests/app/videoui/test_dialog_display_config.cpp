// The display options dialog: boxes checked from the stored options, each click applied to the
// panel and stored at once (the video switch stored before the panel reads it), the slave-video
// box hidden, and closing keeping what was changed.
#include "DialogDisplayConfig.h"
#include "VideoUiTestSupport.h"
#include "WidgetImageBase.h"
#include "WidgetVideoPlayer.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>

using namespace videouitest;

namespace {

class DisplayDialogTest : public VideoUiTest
{
protected:
    void SetUp() override
    {
        VideoUiTest::SetUp();
        panel = std::make_unique<WidgetVideoPlayer>();
    }
    void TearDown() override
    {
        panel.reset();
        VideoUiTest::TearDown();
    }

    QCheckBox *box(DialogDisplayConfig &dialog, const char *name) { return dialog.findChild<QCheckBox *>(name); }
    bool shown(const char *name) { return !panel->findChild<QWidget *>(name)->isHidden(); }

    std::unique_ptr<WidgetVideoPlayer> panel;
};

} // namespace

TEST_F(DisplayDialogTest, BoxesStartFromTheStoredOptionsWithTheSlaveVideoHidden)
{
    {
        DialogDisplayConfig dialog(panel.get());
        EXPECT_TRUE(box(dialog, "checkDisplayVideo")->isChecked());
        EXPECT_FALSE(box(dialog, "checkDisplayGrid")->isChecked());
        EXPECT_FALSE(box(dialog, "checkDisplayCoveringZone")->isChecked());
        EXPECT_TRUE(box(dialog, "checkDisplaySlaveVideo")->isHidden());
        const QDialogButtonBox *buttons = dialog.findChild<QDialogButtonBox *>("buttonBox");
        EXPECT_EQ(buttons->standardButtons(), QDialogButtonBox::Close);
        keepPicture(dialog, "dialog-display-config");
    }
    AppSettings settings;
    settings.setDisplayVideo(false);
    settings.setDisplayGrid(true);
    settings.setDisplayCoveringZone(true);
    DialogDisplayConfig dialog(panel.get());
    EXPECT_FALSE(box(dialog, "checkDisplayVideo")->isChecked());
    EXPECT_TRUE(box(dialog, "checkDisplayGrid")->isChecked());
    EXPECT_TRUE(box(dialog, "checkDisplayCoveringZone")->isChecked());
}

TEST_F(DisplayDialogTest, EveryClickReachesThePanelAndIsStoredAtOnce)
{
    DialogDisplayConfig dialog(panel.get());
    box(dialog, "checkDisplayVideo")->click();
    EXPECT_FALSE(AppSettings().displayVideo());
    EXPECT_TRUE(shown("btnImage")) << "the panel read the switch before it was stored";
    for (const char *name : {"btnPause", "btnPlay", "btnPreviousImage", "btnNextImage", "btnStartRecording",
                             "sliderPlayback"})
        EXPECT_FALSE(shown(name)) << name;

    box(dialog, "checkDisplayGrid")->click();
    box(dialog, "checkDisplayCoveringZone")->click();
    for (WidgetImageBase *view : {panel->imageWidget(), panel->slaveImageWidget()}) {
        EXPECT_TRUE(view->displayGrid());
        EXPECT_TRUE(view->displayCoveringZone());
    }
    box(dialog, "checkDisplaySlaveVideo")->click();
    dialog.close();

    const AppSettings settings;
    EXPECT_FALSE(settings.displayVideo());
    EXPECT_TRUE(settings.displayGrid());
    EXPECT_TRUE(settings.displayCoveringZone());
    EXPECT_FALSE(settings.displaySlaveVideo());

    box(dialog, "checkDisplayVideo")->click();
    EXPECT_TRUE(AppSettings().displayVideo());
    EXPECT_TRUE(shown("btnPause"));
    EXPECT_FALSE(shown("btnImage"));
}

TEST_F(DisplayDialogTest, OptionsButtonRunsTheDialogOverThePanel)
{
    QWidget *parentSeen = nullptr;
    ZyModalRunner::setHandler([&](QDialog *dialog) {
        parentSeen = dialog->parentWidget();
        dialog->findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Close)->click();
        return dialog->result();
    });
    panel->findChild<QPushButton *>("btnDisplayOptions")->click();
    EXPECT_EQ(parentSeen, panel.get());
}
