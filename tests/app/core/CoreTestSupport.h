// Helpers shared by the core tests: clean settings and key folder, a stand-in main window that
// holds real log units and a plate decryptor, and a test RSA key.
#pragma once

#include "MainWindowInterface.h"
#include "PXRPrivateToolBox.h"
#include "ToolboxTestSupport.h"
#include "ZyAppData.h"
#include "ZyLogsUnit.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QList>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

// Every test starts with empty settings, no remembered key and no main window.
class CoreTest : public ToolboxTest
{
protected:
    void SetUp() override
    {
        ToolboxTest::SetUp();
        QDir(ZyAppData::folder()).removeRecursively();
    }
    void TearDown() override
    {
        QDir(ZyAppData::folder()).removeRecursively();
        ToolboxTest::TearDown();
    }
};

// The parts of a main window that the core reaches through the process-wide link.
class FakeMainWindow : public MainWindowInterface
{
public:
    explicit FakeMainWindow(bool withUnits = true)
    {
        registerWindow();
        if (withUnits)
            setLogUnits(&app, &sensor, &library);
    }
    ~FakeMainWindow() override
    {
        unregisterWindow();
        PXRPToolPlateDecryptorDestroy(decryptor);
    }

    PXRPToolPlateDecryptor *plateDecryptor() override { return decryptor; }
    PXRDiscover *discover() override { return discoverer; }
    void setDiscover(PXRDiscover *discover) override { discoverer = discover; }
    WidgetVideoPlayer *videoPlayer() override { return player; }
    QAction *actionStartRecording() override { return nullptr; }
    QAction *actionSaveVideoBuffer() override { return nullptr; }
    void prepareForDisconnect() override { ++disconnectsPrepared; }
    void undoPrepareForDisconnect() override { ++disconnectsUndone; }
    void showDocumentation(const QStringList &, const QString &) override {}
    void toggleFullScreen() override {}

    ZyLogsUnit app;
    ZyLogsUnit sensor;
    ZyLogsUnit library;
    PXRPToolPlateDecryptor *decryptor = PXRPToolPlateDecryptorCreate();
    PXRDiscover *discoverer = nullptr;
    int disconnectsPrepared = 0;
    int disconnectsUndone = 0;
    // The video page a test hands to what asks the window for it.
    WidgetVideoPlayer *player = nullptr;
};

// The machine-wide store moved under a regular file, where nobody, root included, can write.
class UnwritableMachineStore
{
public:
    UnwritableMachineStore()
    {
        QFile blocker(scratch.filePath("blocker"));
        EXPECT_TRUE(blocker.open(QIODevice::WriteOnly));
        const QSettings probe(QSettings::SystemScope, "x", "y");
        previous = QFileInfo(probe.fileName()).absolutePath();
        previous.chop(QString("/x").size());
        setSystemPath(scratch.filePath("blocker/system"));
    }
    ~UnwritableMachineStore() { setSystemPath(previous); }

private:
    static void setSystemPath(const QString &path)
    {
        for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::SystemScope, path);
    }

    QTemporaryDir scratch;
    QString previous;
};

// A PEM RSA private key made once per run, locked with the pass phrase.
QByteArray testRsaKey(const QByteArray &passPhrase);

// Answers every message box with OK and keeps what each one showed.
class BoxRecorder
{
public:
    struct Box
    {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QString details;
    };

    BoxRecorder()
    {
        ZyModalRunner::setHandler([this](QDialog *dialog) {
            auto *box = qobject_cast<QMessageBox *>(dialog);
            EXPECT_NE(box, nullptr) << "only message boxes are expected";
            if (box == nullptr)
                return int(QDialog::Rejected);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
            boxes.append({box->icon(), box->windowTitle(), box->text(), box->detailedText()});
            return int(QMessageBox::Ok);
        });
    }
    ~BoxRecorder() { ZyModalRunner::setHandler({}); }

    QList<Box> boxes;
};

// Presses a standard button of the dialog's button box with the given object name.
inline void press(QWidget &dialog, const char *buttonBox, QDialogButtonBox::StandardButton button)
{
    dialog.findChild<QDialogButtonBox *>(buttonBox)->button(button)->click();
}
