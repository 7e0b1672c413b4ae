// The restore dialog against the test sensor: a configuration saved from the window goes back
// as setConfig; bad files and refusals keep the dialog open; only a browsed path is remembered;
// the picture of the dialog under its progress window.
#include "FileActionsTest.h"
#include "TestPictures.h"

#include "DialogRestoreSettings.h"

#include <QLineEdit>
#include <QPainter>
#include <QProgressDialog>
#include <QSettings>
#include <QTimer>
#include <QToolButton>

#include <atomic>
#include <thread>

namespace {

using fybsim::Element;
using fybsim::Reply;

class RestoreSettingsTest : public FileActionsTest
{
protected:
    // Shows the dialog on the file and presses OK.
    void restore(DialogRestoreSettings &dialog, const QString &file)
    {
        dialog.findChild<QLineEdit *>("txtFile")->setText(file);
        dialog.show();
        mark = server.mark();
        press(dialog, "buttonBox", QDialogButtonBox::Ok);
    }

    fybsim::FybSensor::Mark mark;
};

TEST_F(RestoreSettingsTest, ASavedConfigurationGoesBackWholeAsSetConfig)
{
    choose(path("config.pxrmsg"));
    trigger("actionSensorSaveConfiguration");
    DialogRestoreSettings dialog(window.get());
    restore(dialog, path("config.pxrmsg"));

    const std::optional<fybsim::Received> got = server.waitForRoot(mark, "setConfig", 15s);
    ASSERT_TRUE(got.has_value());
    ASSERT_EQ(got->message.root->children.size(), 1u);
    EXPECT_EQ(got->message.root->children[0], configElement());
    EXPECT_TRUE(got->message.root->attributes.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(boxes(), QList<Asked>());
}

TEST_F(RestoreSettingsTest, FailuresAreShownAndKeepTheDialogOpenWithItsPath)
{
    ASSERT_NO_FATAL_FAILURE(writeAll(path("empty.pxrmsg"), ""));
    ASSERT_NO_FATAL_FAILURE(writeAll(path("other.pxrmsg"), QByteArray::fromStdString(fybsim::wireOf(Element("network")))));
    const struct
    {
        QString file;
        Asked box;
        bool sent;
    } cases[] = {
        {"missing.pxrmsg", {"box", "Error", "File does not exist", ""}, false},
        {"empty.pxrmsg", {"box", "Error", "Unable to import message", ""}, false},
        {"other.pxrmsg", {"box", "Configuration", "Error : action failed", "Not a configuration"}, true},
    };
    server.setReply("setConfig", Reply::failed("Not a configuration"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        asked.clear();
        DialogRestoreSettings dialog(window.get());
        restore(dialog, path(c.file));
        ASSERT_EQ(boxes().size(), 1);
        EXPECT_EQ(boxes()[0].kind, c.box.kind);
        EXPECT_EQ(boxes()[0].title, c.box.title);
        EXPECT_EQ(boxes()[0].text, c.box.text);
        if (!c.box.details.isEmpty()) {
            EXPECT_EQ(boxes()[0].details, c.box.details);
        }
        EXPECT_EQ(requestsSince(mark), c.sent ? QStringList({"setConfig"}) : QStringList());
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.findChild<QLineEdit *>("txtFile")->text(), path(c.file));
        EXPECT_EQ(dialog.findChildren<QProgressDialog *>().size(), 0);
    }
}

TEST_F(RestoreSettingsTest, OnlyABrowsedPathIsRemembered)
{
    ASSERT_NO_FATAL_FAILURE(writeAll(path("earlier.pxrmsg"), ""));
    QSettings().setValue("LastConfigFilePath", path("earlier.pxrmsg"));
    {
        DialogRestoreSettings dialog(window.get());
        auto *txtFile = dialog.findChild<QLineEdit *>("txtFile");
        EXPECT_EQ(txtFile->text(), path("earlier.pxrmsg"));
        txtFile->setText(" typed.pxrmsg ");
        dialog.findChild<QToolButton *>("btnBrowseFile")->click();
        EXPECT_EQ(txtFile->text(), " typed.pxrmsg ");
        ASSERT_EQ(asked.size(), 1);
        EXPECT_EQ(asked[0].title, "Select a file to restore the configuration of this sensor");
        EXPECT_EQ(asked[0].text, "*.pxrmsg");
        EXPECT_EQ(asked[0].details, folder.path());

        choose(path("browsed.pxrmsg"));
        dialog.findChild<QToolButton *>("btnBrowseFile")->click();
        EXPECT_EQ(txtFile->text(), path("browsed.pxrmsg"));
        txtFile->setText(path("typed.pxrmsg"));
        press(dialog, "buttonBox", QDialogButtonBox::Cancel);
    }
    EXPECT_EQ(QSettings().value("LastConfigFilePath").toString(), path("browsed.pxrmsg"));
    EXPECT_EQ(DialogRestoreSettings(window.get()).findChild<QLineEdit *>("txtFile")->text(), path("browsed.pxrmsg"));
}

TEST_F(RestoreSettingsTest, PictureOfTheDialogUnderItsProgressWindow)
{
    ASSERT_NO_FATAL_FAILURE(writeAll(path("config.pxrmsg"), QByteArray::fromStdString(fybsim::wireOf(configElement()))));
    // The sensor holds its answer until the picture is taken.
    auto release = std::make_shared<std::atomic<bool>>(false);
    server.setResponder([release](const fybsim::WireMessage &request) -> std::optional<Reply> {
        if (request.rootName() != "setConfig")
            return std::nullopt;
        for (int i = 0; i < 1500 && !*release; ++i)
            std::this_thread::sleep_for(10ms);
        return Reply::ok();
    });
    DialogRestoreSettings dialog(window.get());
    QImage picture;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        auto *progress = dialog.findChild<QProgressDialog *>();
        if (progress == nullptr || !progress->isVisible() || *release)
            return;
        // The progress window sits over the lower half of the dialog, framed, as a window manager shows it.
        const QImage base = render(dialog);
        const QImage over = render(*progress);
        const QPoint at((qMax(base.width(), over.width()) - over.width()) / 2, base.height() / 2);
        picture = QImage(qMax(base.width(), over.width()) + 2, at.y() + over.height() + 2, QImage::Format_RGB32);
        picture.fill(Qt::darkGray);
        QPainter painter(&picture);
        painter.drawImage(0, 0, base);
        painter.drawImage(at + QPoint(1, 1), over);
        painter.setPen(Qt::black);
        painter.drawRect(QRect(at, over.size() + QSize(1, 1)));
        *release = true;
    });
    look.start(20);
    restore(dialog, path("config.pxrmsg"));
    *release = true;
    ASSERT_FALSE(picture.isNull());
    QDir().mkpath(BZK_TEST_PICTURES_DIR);
    picture.save(QStringLiteral(BZK_TEST_PICTURES_DIR "/restore-settings.png"));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

} // namespace
