// The window's own dialogs and views: the about box, the options, password and restore dialogs,
// and the statistics window from the View menu.
#include "CommandTestSupport.h"

#include "DialogStats.h"

#include <gtest/gtest.h>

namespace {

class WindowDialogsTest : public CommandTest
{
};

TEST_F(WindowDialogsTest, AboutBoxNamesVersionBuildAndItsDate)
{
    connectPlain();
    answers = {[](QDialog *dialog) {
        dialog->show();
        keepPicture(*dialog, QStringLiteral("about_box"));
        return int(QMessageBox::Ok);
    }};
    run("actionAbout");
    ASSERT_EQ(kinds(), QStringList({"QMessageBox"}));
    EXPECT_EQ(seen[0].title, "About BZK");
    EXPECT_TRUE(seen[0].text.startsWith(QStringLiteral("BZK v7.7.0.2\r\n\r\nBuild 632\r\nBuild date : ")));
    EXPECT_EQ(seen[0].text.count(QStringLiteral("\r\n")), 5);
}

TEST_F(WindowDialogsTest, OptionsPasswordAndRestoreDialogsAreRunWithTheWindowAsParent)
{
    connectPlain();
    const std::pair<void (OBK::*)(), const char *> cases[] = {
        {&OBK::on_actionOptions_triggered, "DialogOptions"},
        {&OBK::on_actionChangePassword_triggered, "DialogChangePassword"},
        {&OBK::on_actionSensorRestoreConfiguration_triggered, "DialogRestoreSettings"},
    };
    for (const auto &[slot, kind] : cases) {
        SCOPED_TRACE(kind);
        seen.clear();
        QWidget *parent = nullptr;
        answers = {[&parent](QDialog *dialog) {
            parent = dialog->parentWidget();
            return int(QDialog::Rejected);
        }};
        (window.get()->*slot)();
        EXPECT_EQ(kinds(), QStringList({kind}));
        EXPECT_EQ(parent, window.get());
    }
}

TEST_F(WindowDialogsTest, StatisticsWindowFollowsItsMenuAction)
{
    connectPlain();
    auto *stats = window->findChild<DialogStats *>();
    ASSERT_NE(stats, nullptr);
    QAction *action = window->findChild<QAction *>("actionViewStats");
    action->setChecked(false);
    action->trigger(); // checks it
    EXPECT_TRUE(stats->isVisible());
    action->trigger();
    EXPECT_FALSE(stats->isVisible());
}

} // namespace
