// The modal seam: a dialog's preparation and its refusal, and the real modal run that a dialog
// reaching the seam from its own exec() gets without looping back into it.
#include "ModalCloser.h"
#include "ToolboxTestSupport.h"
#include "ZyModalPreparation.h"

#include <QDialog>

namespace {

// The way a dialog once ran itself: its exec() goes through the seam.
class SelfRunningDialog : public QDialog
{
public:
    int exec() override
    {
        ++runs;
        return ZyModalRunner::exec(this);
    }
    int runs = 0;
};

class PreparedDialog : public QDialog, public ZyModalPreparation
{
public:
    bool prepareRun() override
    {
        ++preparations;
        setWindowTitle(QStringLiteral("prepared %1").arg(preparations));
        return allowed;
    }
    bool allowed = true;
    int preparations = 0;
};

using ModalRunnerTest = ToolboxTest;

TEST_F(ModalRunnerTest, WithoutAHandlerADialogRunningItselfThroughTheSeamGetsOneModalLoop)
{
    ModalCloser closer(QDialog::Accepted);
    SelfRunningDialog dialog;
    EXPECT_EQ(dialog.exec(), int(QDialog::Accepted));
    EXPECT_EQ(dialog.runs, 1);
    EXPECT_EQ(closer.closed(), QStringList{QStringLiteral("QDialog")});
}

TEST_F(ModalRunnerTest, PreparationComesFirstOnEveryRunAndARefusalEndsItRejected)
{
    const struct
    {
        bool allowed;
        bool handler;
        int result;
        int shown;  // by the handler or the modal loop
    } cases[] = {
        {true, true, QDialog::Accepted, 1},
        {true, false, QDialog::Accepted, 1},
        {false, true, QDialog::Rejected, 0},
        {false, false, QDialog::Rejected, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "allowed " << c.allowed << ", handler " << c.handler);
        ModalCloser closer(QDialog::Accepted);
        PreparedDialog dialog;
        dialog.allowed = c.allowed;
        QStringList handled;
        if (c.handler)
            ZyModalRunner::setHandler([&](QDialog *shown) {
                handled << shown->windowTitle();
                return int(QDialog::Accepted);
            });
        else
            ZyModalRunner::setHandler({});
        for (int run = 1; run <= 2; ++run) {
            EXPECT_EQ(ZyModalRunner::exec(&dialog), c.result);
            EXPECT_EQ(dialog.preparations, run);
        }
        const qsizetype shown = c.handler ? handled.size() : closer.closed().size();
        EXPECT_EQ(shown, 2 * c.shown);
        if (c.handler && c.shown > 0) {
            EXPECT_EQ(handled, QStringList({"prepared 1", "prepared 2"}));
        }
    }
}

} // namespace
