// Save-file dialogs that remember their folder per purpose, and message boxes with details.
#include "ToolboxTestSupport.h"
#include "ZyDialogs.h"

#include <QFileDialog>
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

} // namespace
