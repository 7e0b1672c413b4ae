// Save-file dialogs that remember their folder per purpose, the open-file chooser, message boxes
// with details or titled like their window, and the yes-or-no question.
#include "ToolboxTestSupport.h"
#include "ZyDialogs.h"

#include <QFileDialog>
#include <QFile>
#include <QTemporaryDir>

namespace {

class DialogsTest : public ToolboxTest
{
protected:
    QString remembered(const QString &key) const
    {
        return QSettings().value("SaveFileDialogs/" + key + "_dir").toString();
    }

    QTemporaryDir first;
    QTemporaryDir second;
};

TEST_F(DialogsTest, SaveDialogOpensInTheRememberedFolderAndRemembersTheAcceptedOne)
{
    QSettings().setValue("SaveFileDialogs/report_dir", first.path());
    ZyModalRunner::setHandler([&](QDialog *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        EXPECT_NE(files, nullptr);
        EXPECT_EQ(files->directory().absolutePath(), first.path());
        EXPECT_EQ(files->windowTitle(), QString("Export"));
        EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(files->nameFilters(), QStringList{"*.csv"});
        files->setDirectory(second.path());
        files->selectFile("new.csv");
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(ZyDialogs::getSaveFileName(nullptr, "report", "Export", "*.csv", QString()),
              second.filePath("new.csv"));
    EXPECT_EQ(remembered("report"), second.path());
    EXPECT_TRUE(remembered("other").isEmpty());
}

TEST_F(DialogsTest, ProposedFileWinsOverTheRememberedFolderWhichIsStillUpdated)
{
    QSettings().setValue("SaveFileDialogs/image_dir", first.path());
    ZyModalRunner::setHandler([&](QDialog *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        EXPECT_EQ(files->directory().absolutePath(), second.path());
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(ZyDialogs::getSaveFileName(nullptr, "image", "Save", "*.jpg", second.filePath("shot.jpg")),
              second.filePath("shot.jpg"));
    EXPECT_EQ(remembered("image"), second.path());
}

TEST_F(DialogsTest, CancelledSaveDialogGivesNothingAndRemembersNothing)
{
    ZyModalRunner::setHandler([](QDialog *) { return int(QDialog::Rejected); });
    EXPECT_TRUE(ZyDialogs::getSaveFileName(nullptr, "report", "Export", "*.csv", QString()).isEmpty());
    EXPECT_FALSE(QSettings().contains("SaveFileDialogs/report_dir"));
}

TEST_F(DialogsTest, MessageBoxesCarryIconTitleTextAndDetails)
{
    const struct
    {
        QMessageBox::Icon icon;
        QMessageBox::StandardButton (*show)(QWidget *, const QString &, const QString &, const QString &);
    } boxes[] = {{QMessageBox::Critical, &ZyDialogs::critical}, {QMessageBox::Warning, &ZyDialogs::warning}};
    for (const auto &box : boxes) {
        ZyModalRunner::setHandler([&](QDialog *dialog) {
            auto *message = qobject_cast<QMessageBox *>(dialog);
            EXPECT_NE(message, nullptr);
            EXPECT_EQ(message->icon(), box.icon);
            EXPECT_EQ(message->windowTitle(), QString("Error"));
            EXPECT_EQ(message->text(), QString("No answer received"));
            EXPECT_EQ(message->detailedText(), QString("details"));
            EXPECT_EQ(message->standardButtons(), QMessageBox::Ok);
            return int(QMessageBox::Ok);
        });
        EXPECT_EQ(box.show(nullptr, "Error", "No answer received", "details"), QMessageBox::Ok);
    }
}

TEST_F(DialogsTest, OpenChooserStartsWhereAskedAndGivesTheExistingFileChosen)
{
    QFile existing(first.filePath("config.pxrmsg"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    for (const bool accept : {true, false}) {
        ZyModalRunner::setHandler([&](QDialog *dialog) {
            auto *files = qobject_cast<QFileDialog *>(dialog);
            EXPECT_NE(files, nullptr);
            EXPECT_EQ(files->windowTitle(), QString("Restore"));
            EXPECT_EQ(files->directory().absolutePath(), first.path());
            EXPECT_EQ(files->nameFilters(), QStringList{"*.pxrmsg"});
            EXPECT_EQ(files->fileMode(), QFileDialog::ExistingFile);
            EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptOpen);
            files->selectFile(existing.fileName());
            return int(accept ? QDialog::Accepted : QDialog::Rejected);
        });
        EXPECT_EQ(ZyDialogs::getOpenFileName(nullptr, "Restore", first.path(), "*.pxrmsg"),
                  accept ? existing.fileName() : QString());
    }
}

TEST_F(DialogsTest, BoxesAndQuestionsCarryTheirTitleIconAndButtons)
{
    QWidget window;
    window.setWindowTitle("Gate 4");
    const struct
    {
        const char *name;
        std::function<int()> show;
        QMessageBox::Icon icon;
        const char *title;
        QMessageBox::StandardButtons buttons;
    } cases[] = {
        {"titled information", [&] { return int(ZyDialogs::information(&window, "Note", "text")); },
         QMessageBox::Information, "Note", QMessageBox::Ok},
        {"window's information", [&] { ZyDialogs::information(&window, "text"); return 0; },
         QMessageBox::Information, "Gate 4", QMessageBox::Ok},
        {"window's warning", [&] { ZyDialogs::warning(&window, "text"); return 0; },
         QMessageBox::Warning, "Gate 4", QMessageBox::Ok},
        {"question", [&] { return ZyDialogs::question(&window, QMessageBox::Warning, "text"); },
         QMessageBox::Warning, "Gate 4", QMessageBox::Yes | QMessageBox::No},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        int shown = 0;
        ZyModalRunner::setHandler([&](QDialog *dialog) {
            ++shown;
            auto *box = qobject_cast<QMessageBox *>(dialog);
            EXPECT_NE(box, nullptr);
            EXPECT_EQ(box->parentWidget(), &window);
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->windowTitle(), QString(c.title));
            EXPECT_EQ(box->text(), QString("text"));
            EXPECT_TRUE(box->detailedText().isEmpty());
            EXPECT_EQ(box->standardButtons(), c.buttons);
            EXPECT_EQ(box->defaultButton(), nullptr);
            return int(QMessageBox::No);
        });
        const int answer = c.show();
        EXPECT_EQ(shown, 1);
        if (c.buttons.testFlag(QMessageBox::No)) {
            EXPECT_EQ(answer, int(QMessageBox::No));
        }
    }
}

} // namespace
