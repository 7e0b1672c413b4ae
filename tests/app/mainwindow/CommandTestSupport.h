// Fixture of the menu command tests: the real window connected to the test sensor through the
// command line (plain) or the connect page (TLS), every dialog answered by the test and kept in
// the order it came, and the requests the sensor received from a mark.
#pragma once

#include "MainWindowTestSupport.h"
#include "OBK.h"
#include "TestPictures.h"

#include "DialogWait.h"
#include "DlgMsg.h"
#include "DlgMsgs.h"
#include "FybSensor.h"
#include "WidgetConnect.h"
#include "ZyModalRunner.h"

#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTreeWidget>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>

using namespace std::chrono_literals;

// One dialog as the test saw it: its class, its title and its text (a box's text, an input's
// label, a viewer's comment, or the number of listed messages).
struct SeenDialog
{
    QString kind;
    QString title;
    QString text;
};

class CommandTest : public MainWindowTest
{
protected:
    using Answer = std::function<int(QDialog *)>;

    void SetUp() override
    {
        MainWindowTest::SetUp();
        shortenConnectionTiming();
        ZyModalRunner::setHandler([this](QDialog *dialog) { return answer(dialog); });
    }
    void TearDown() override
    {
        window.reset();
        ZyModalRunner::setHandler({});
        ZyModalRunner::setShowHandler({});
        MainWindowTest::TearDown();
        PXR_resetTiming();
    }

    // The test sensor with the schema of the menu requests and one camera.
    static void prepare(fybsim::FybSensor &s, const fybsim::Element &infos = defaultInfos())
    {
        QFile file(QStringLiteral(BZK_SIM_DATA_DIR "/menu-requests.xsd"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        s.setReply("getXSD", fybsim::Reply::message(fybsim::Element("xsd").withContent(file.readAll().toStdString())));
        s.setInfos(infos);
    }
    static fybsim::Element defaultInfos()
    {
        return fybsim::Element("infos")
            .add(fybsim::Element("sensor").set("serial", "SIM-0001").set("productVersion", "1.0.0"))
            .add(fybsim::Element("cameras").add(fybsim::Element("camera").set("id", "0").set("cameraModel", "M1")));
    }

    // The window connected to a plain test sensor, its information parsed.
    void connectPlain(const fybsim::Element &infos = defaultInfos())
    {
        sensor = std::make_unique<fybsim::FybSensor>();
        prepare(*sensor, infos);
        setProgramArguments({QStringLiteral("127.0.0.1:%1").arg(sensor->port())});
        startWindow();
        ASSERT_TRUE(window->isConnectedLook());
        waitForInfos();
    }
    // The window connected over TLS through the connect page, certificate problems ignored.
    void connectSecured(const fybsim::Element &infos)
    {
        sensor = std::make_unique<fybsim::FybSensor>(fybsim::TlsIdentity::selfSigned());
        prepare(*sensor, infos);
        AppSettings settings;
        settings.setSecuredConnection(true);
        settings.setIgnoreSSLErrors(true);
        setProgramArguments({});
        startWindow();
        auto *page = window->findChild<WidgetConnect *>("widgetConnect");
        page->setLastSensor("127.0.0.1", sensor->port(), sensor->port(), QString());
        page->on_btnConnect_clicked();
        ASSERT_TRUE(window->isConnectedLook());
        waitForInfos();
    }
    void startWindow()
    {
        // A window of an earlier round may have left the model bound.
        master().disconnect();
        window = std::make_unique<OBK>();
        window->resize(1280, 760);
        window->show();
    }
    void waitForInfos()
    {
        ASSERT_TRUE(waitLong([&] { return Model::instance()->infos() != nullptr; }));
        Model::instance()->parseInfos();
    }

    // Runs the action's slot as a menu click would; it returns once the command is done.
    void run(const char *action)
    {
        seen.clear();
        window->findChild<QAction *>(action)->trigger();
    }

    // The requests of the menus received since the mark (keep-alive and the clock left out).
    std::vector<fybsim::Received> requestsSince(const fybsim::FybSensor::Mark &mark) const
    {
        std::vector<fybsim::Received> out;
        const std::vector<fybsim::Received> all = sensor->received();
        for (std::size_t i = mark.received; i < all.size(); ++i) {
            const std::string root = all[i].rootName();
            if (all[i].role != fybsim::Role::Asynchronous && root != "keep-alive" && root != "getDate")
                out.push_back(all[i]);
        }
        return out;
    }
    QStringList rootsSince(const fybsim::FybSensor::Mark &mark) const
    {
        QStringList roots;
        for (const fybsim::Received &r : requestsSince(mark))
            roots << QString::fromStdString(r.rootName());
        return roots;
    }
    QStringList kinds() const
    {
        QStringList out;
        for (const SeenDialog &d : seen)
            out << d.kind;
        return out;
    }
    QStringList texts() const
    {
        QStringList out;
        for (const SeenDialog &d : seen)
            out << d.text;
        return out;
    }

    // Answers for the dialogs to come, in order; without one a box gets OK (or Yes) and any
    // other dialog is accepted as it stands.
    static Answer press(QMessageBox::StandardButton button)
    {
        return [button](QDialog *) { return int(button); };
    }
    static Answer typeText(const QString &text)
    {
        return [text](QDialog *dialog) {
            static_cast<QInputDialog *>(dialog)->setTextValue(text);
            return int(QDialog::Accepted);
        };
    }
    static Answer typeInt(int value)
    {
        return [value](QDialog *dialog) {
            static_cast<QInputDialog *>(dialog)->setIntValue(value);
            return int(QDialog::Accepted);
        };
    }
    static Answer cancel()
    {
        return [](QDialog *) { return int(QDialog::Rejected); };
    }

    int answer(QDialog *dialog)
    {
        if (auto *wait = qobject_cast<DialogWait *>(dialog))
            return wait->exec();
        seen.push_back(describe(dialog));
        if (!answers.empty()) {
            Answer next = std::move(answers.front());
            answers.pop_front();
            return next(dialog);
        }
        if (auto *box = qobject_cast<QMessageBox *>(dialog))
            return box->standardButtons().testFlag(QMessageBox::Yes) ? int(QMessageBox::Yes) : int(QMessageBox::Ok);
        return int(QDialog::Accepted);
    }
    static SeenDialog describe(QDialog *dialog)
    {
        SeenDialog d{QString::fromLatin1(dialog->metaObject()->className()), dialog->windowTitle(), QString()};
        if (auto *box = qobject_cast<QMessageBox *>(dialog))
            d.text = box->text();
        else if (auto *input = qobject_cast<QInputDialog *>(dialog))
            d.text = input->labelText();
        else if (qobject_cast<DlgMsg *>(dialog) != nullptr)
            d.text = dialog->findChild<QLabel *>("labelComment")->text();
        else if (qobject_cast<DlgMsgs *>(dialog) != nullptr)
            d.text = QString::number(dialog->findChild<QTreeWidget *>("treeList")->topLevelItemCount());
        return d;
    }

    static Sensor &master() { return Model::instance()->masterSensor(); }

    std::unique_ptr<fybsim::FybSensor> sensor;
    std::unique_ptr<OBK> window;
    std::deque<Answer> answers;
    std::vector<SeenDialog> seen;
};
