// The classification file dialog: the file chosen is remembered and travels byte for byte within
// its limit; a file too big, endless or unreadable is refused with nothing sent.
#include "SettingsTestSupport.h"

#include "AppSettings.h"
#include "DialogClassification.h"

#include <QFileDialog>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace settingstest;
using fybsim::Element;
using fybsim::Reply;

// What the operator met in the file chooser.
struct Chooser
{
    QString title;
    QString filter;
    QString folder;
};

class ClassificationTest : public SettingsTest
{
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(start(configWithCameras({camera("0", {}), camera("1", {})})));
        AppSettings().setClassifFile(folder.filePath("earlier.cfg"));
    }

    // A file of that many bytes, every byte telling its place.
    QString fileOf(const char *name, qint64 size)
    {
        QByteArray bytes(size, '\0');
        for (qint64 i = 0; i < size; ++i)
            bytes[i] = char(i * 7 + i / 251);
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_EQ(file.write(bytes), size);
        return file.fileName();
    }

    // Opens the dialog, picks the path in its chooser (or cancels it) and leaves the dialog as the
    // load left it. The dialog's result and the chooser the operator met.
    int load(const std::optional<QString> &path, Chooser *chooser = nullptr)
    {
        return open("1:classification", [&](QDialog &dialog) {
            answers.push_back([&](QDialog *files) {
                auto *fileDialog = qobject_cast<QFileDialog *>(files);
                EXPECT_NE(fileDialog, nullptr);
                if (chooser != nullptr && fileDialog != nullptr)
                    *chooser = {fileDialog->windowTitle(), fileDialog->nameFilters().join(';'),
                                fileDialog->directory().absolutePath()};
                if (!path || fileDialog == nullptr)
                    return int(QDialog::Rejected);
                fileDialog->selectFile(*path);
                return int(QDialog::Accepted);
            });
            child<QPushButton>(dialog, "btnLoad")->click();
        });
    }

    QStringList boxesAfterChooser() const
    {
        QStringList boxes;
        for (std::size_t i = 2; i < seen.size(); ++i)
            boxes << seen[i].title << seen[i].text;
        return boxes;
    }

    QTemporaryDir folder;
};

TEST_F(ClassificationTest, AFileWithinTheLimitTravelsByteForByte)
{
    for (const qint64 size : {qint64(0), qint64(1), DialogClassification::MaxFileSize}) {
        SCOPED_TRACE(size);
        const QString path = fileOf("classes.bin", size);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const fybsim::FybSensor::Mark mark = server.mark();
        Chooser chooser;
        EXPECT_EQ(load(path, &chooser), QDialog::Accepted);
        EXPECT_EQ(chooser.title, "Select configuration file");
        EXPECT_EQ(chooser.filter, "All files (*)");
        const std::optional<fybsim::Received> got = server.waitForRoot(mark, "setConfig", 30s);
        ASSERT_TRUE(got.has_value());
        const Element &root = *got->message.root;
        const Element *camera = root.child("config") ? root.child("config")->child("cameras") : nullptr;
        camera = camera ? camera->child("camera") : nullptr;
        ASSERT_NE(camera, nullptr);
        EXPECT_EQ(*camera->attribute("id"), "1");
        const Element *data = camera->child("classification") ? camera->child("classification")->child("data") : nullptr;
        ASSERT_NE(data, nullptr);
        EXPECT_TRUE(data->attributes.empty());
        EXPECT_EQ(data->content.size(), std::size_t(bytes.size()));
        EXPECT_TRUE(data->content == bytes.toStdString()) << "the bytes arrived changed";
        EXPECT_EQ(AppSettings().classifFile(), path);
    }
}

// Refused files are still remembered, so the chooser opens there next time; nothing is sent and
// the dialog stays open.
TEST_F(ClassificationTest, FilesTooBigEndlessOrUnreadableAreRefused)
{
    const struct
    {
        const char *name;
        QString path;
        const char *text;
    } cases[] = {
        {"one byte too many", fileOf("big.bin", DialogClassification::MaxFileSize + 1), "Invalid file (too big)"},
        {"a device without end", "/dev/zero", "Invalid file (too big)"},
        {"a folder", folder.path(), "Unable to open file!"},
        {"gone", folder.filePath("missing.bin"), "Unable to open file!"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = load(c.path);
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_EQ(boxesAfterChooser(), QStringList({"Error", c.text}));
        EXPECT_EQ(AppSettings().classifFile(), c.path);
        EXPECT_TRUE(requestsSince(mark).empty());
    }
}

TEST_F(ClassificationTest, CancellingTheChooserChangesNothing)
{
    const fybsim::FybSensor::Mark mark = server.mark();
    Chooser chooser;
    EXPECT_EQ(load(std::nullopt, &chooser), QDialog::Rejected);
    EXPECT_EQ(chooser.folder, folder.path()) << "the chooser starts where the last file was";
    EXPECT_EQ(AppSettings().classifFile(), folder.filePath("earlier.cfg"));
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_TRUE(requestsSince(mark).empty());
}

// A refused load leaves the dialog open for another file; a warning counts as success.
TEST_F(ClassificationTest, TheSensorsAnswerIsJudged)
{
    const QString path = fileOf("classes.bin", 64);
    const struct
    {
        Reply reply;
        int result;
        QStringList boxes;
    } cases[] = {
        {Reply::failed("bad file"), QDialog::Rejected, {"Configuration", "Error : action failed"}},
        {Reply::warning({{"partly", "config/cameras/camera/classification", "c.c:2"}}), QDialog::Accepted,
         {"Configuration", "Warning : some parts of the message have failed"}},
        {Reply::ok(), QDialog::Accepted, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.result);
        server.setReply("setConfig", c.reply);
        const fybsim::FybSensor::Mark mark = server.mark();
        EXPECT_EQ(load(path), c.result);
        EXPECT_EQ(boxesAfterChooser(), c.boxes);
        EXPECT_EQ(requestsSince(mark).size(), 1u);
    }
}

TEST_F(ClassificationTest, ClassificationPicture)
{
    open("1:classification", [](QDialog &dialog) {
        keepPicture(dialog, "settings-classification");
        dialog.reject();
    });
}

} // namespace
