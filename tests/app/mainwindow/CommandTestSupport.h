// Fixture of the menu command tests: the real window connected to the test sensor through the
// command line (plain) or the connect page (TLS), every dialog answered by the test and kept in
// the order it came, and the requests the sensor received from a mark.
#pragma once

#include "MainWindowTestSupport.h"
#include "ModalAnswers.h"
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

class CommandTest : public MainWindowTest, protected ModalAnswers
{
protected:
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

    static Sensor &master() { return Model::instance()->masterSensor(); }

    std::unique_ptr<fybsim::FybSensor> sensor;
    std::unique_ptr<OBK> window;
};
