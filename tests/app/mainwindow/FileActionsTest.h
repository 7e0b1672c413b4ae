// Fixture of the file-action tests: the real main window with the model's master sensor bound
// to the test sensor (pushed configuration and information kept), every dialog answered and
// kept, and files in a temporary folder.
#pragma once

#include "DlgMsg.h"
#include "FybSensor.h"
#include "MainWindowTestSupport.h"
#include "OBK.h"
#include "PXR_Internal.h"
#include "TraceFiles.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>

#include <chrono>
#include <memory>

using namespace std::chrono_literals;

// Failures show texts, not their characters' bytes.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// One dialog the action opened: "file", "box" or the dialog's class name.
struct Asked
{
    QString kind;
    QString title;
    QString text;    // the box's text, or the file dialog's filters joined by ";;"
    QString details; // the box's detailed text, or the file dialog's starting folder

    bool operator==(const Asked &) const = default;
};

inline void PrintTo(const Asked &asked, std::ostream *out)
{
    *out << "{" << asked.kind.toStdString() << ", " << asked.title.toStdString() << ", "
         << asked.text.toStdString() << ", " << asked.details.toStdString() << "}";
}

class FileActionsTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        PXR_resetTiming();
        PXR_timing()->u32ConnectRetryMs = 50;
        PXR_timing()->u32ReconnectDelayMs = 100;
        server.setConfig(configElement());
        server.setReply("getConfig", fybsim::Reply::message(configElement()));
        window = std::make_unique<OBK>();
        ZyModalRunner::setHandler([this](QDialog *dialog) { return answer(dialog); });
        ASSERT_NO_FATAL_FAILURE(connectSensor());
    }
    void TearDown() override
    {
        ZyModalRunner::setHandler({});
        window.reset();
        MainWindowTest::TearDown();
        PXR_resetTiming();
    }

    // A configuration with attributes, nested children and binary contents.
    static fybsim::Element configElement()
    {
        fybsim::Element network("network");
        network.set("dhcp", "0").set("address", "10.1.2.3");
        fybsim::Element camera("camera");
        camera.set("id", "0").add(fybsim::Element("classification").withContent(std::string("\x00\x01\xfe\r\n", 5)));
        fybsim::Element config("config");
        config.set("name", "Gate \xc3\xa9st").add(network).add(camera);
        return config;
    }

    // Binds the model's master sensor to the test sensor and subscribes to its pushes.
    void connectSensor()
    {
        Model *model = Model::instance();
        const fybsim::FybSensor::Mark since = server.mark();
        ASSERT_TRUE(model->masterSensor().connect("127.0.0.1", server.port(), QString(), false, false, false, {}, {}));
        ASSERT_TRUE(server.waitForConnections(since, fybsim::Role::Asynchronous, 1, 15s));
        ASSERT_TRUE(server.waitForConnections(since, fybsim::Role::Synchronous, 1, 15s));
        ASSERT_TRUE(waitLong([&] { return model->masterSensor().isConnected(); }));
        PXRMsg *subscription = PXRMsgCreate();
        PXRMsgElement *root = PXRMsgElementCreate("setEnableStreams");
        PXRMsgElementSetAttribute(root, "configChanges", "1");
        PXRMsgElementSetAttribute(root, "infoChanges", "1");
        PXRMsgSetChild(subscription, root);
        ASSERT_EQ(PXRSendAsynchronousMessage(model->masterSensor().handle(), subscription), 1);
        PXRMsgDestroy(subscription);
        ASSERT_TRUE(waitLong([&] { return model->config() != nullptr && model->infos() != nullptr; }));
    }

    void trigger(const char *action) { window->findChild<QAction *>(action)->trigger(); }

    // The next file dialogs choose these paths; without one they are cancelled.
    void choose(const QString &path) { chosen.append(path); }

    QList<Asked> boxes() const
    {
        QList<Asked> found;
        for (const Asked &one : asked)
            if (one.kind == "box")
                found.append(one);
        return found;
    }

    // The messages the sensor received since the mark, as "root" or "root file".
    QStringList requestsSince(const fybsim::FybSensor::Mark &mark) const
    {
        QStringList requests;
        const std::vector<fybsim::Received> all = server.received();
        for (std::size_t i = mark.received; i < all.size(); ++i) {
            const std::string root = all[i].rootName();
            // The subscription may be recorded after the pushes that answered it.
            if (root == "keep-alive" || root == "setConnectionMode" || root == "setEnableStreams")
                continue;
            const std::string *file = all[i].attribute("file");
            requests << QString::fromStdString(root + (file != nullptr ? " " + *file : std::string()));
        }
        return requests;
    }

    QString path(const QString &name) const { return folder.filePath(name); }

    static QByteArray readAll(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void writeAll(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QList<Asked> asked;
    QStringList chosen;
    QTemporaryDir folder;
    fybsim::FybSensor server;
    std::unique_ptr<OBK> window;

private:
    int answer(QDialog *dialog)
    {
        if (auto *files = qobject_cast<QFileDialog *>(dialog)) {
            asked.append({"file", files->windowTitle(), files->nameFilters().join(";;"),
                          files->directory().absolutePath()});
            if (chosen.isEmpty())
                return int(QDialog::Rejected);
            files->selectFile(chosen.takeFirst());
            return int(QDialog::Accepted);
        }
        if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
            EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
            asked.append({"box", box->windowTitle(), box->text(), box->detailedText()});
            return int(QMessageBox::Ok);
        }
        asked.append({dialog->metaObject()->className(), dialog->windowTitle(), {}, {}});
        return int(QDialog::Rejected);
    }
};
