// The connected window at the size it gives itself: on every tab of the sensor dock, live, paused
// and recording, in English and in French, nothing is cut or covered (each state is pictured and
// checked), and 5000-character sensor texts leave the window's width as short ones do.
#include "CommandTestSupport.h"

#include "SensorScenes.h"
#include "VideoPlayer.h"
#include "ZyLanguage.h"

#include <QFileDialog>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

struct LayoutRun
{
    const char *language;
    std::size_t textLength;
};

class WindowLayoutTest : public CommandTest, public ::testing::WithParamInterface<LayoutRun>
{
protected:
    void SetUp() override
    {
        CommandTest::SetUp();
        ZyLanguage::setLanguage(QString::fromLatin1(GetParam().language));
        for (const char *file : {"/bzk6_%1.qm", "/pxrqt_%1.qm", "/zylumatrektr_%1.qm"}) {
            auto translator = std::make_unique<QTranslator>();
            const QString path = QStringLiteral(BZK_PROGRAM_DIR) + QString::fromLatin1(file).arg(GetParam().language);
            if (translator->load(path) && QCoreApplication::installTranslator(translator.get()))
                translators.push_back(std::move(translator));
        }
    }
    void TearDown() override
    {
        CommandTest::TearDown();
        for (const auto &translator : translators)
            QCoreApplication::removeTranslator(translator.get());
        ZyLanguage::setLanguage(QStringLiteral("en"));
    }

    // As connectPlain, but the window keeps the size it gives itself; its width.
    int connectAtOwnSize(const std::string &text)
    {
        window.reset();
        sensor = std::make_unique<fybsim::FybSensor>();
        prepare(*sensor, fybsim::infosWithTexts(text));
        setProgramArguments({QStringLiteral("127.0.0.1:%1").arg(sensor->port())});
        Model::instance()->masterSensor().disconnect();
        window = std::make_unique<OBK>();
        window->show();
        EXPECT_TRUE(window->isConnectedLook());
        waitForInfos();
        QCoreApplication::processEvents();
        return window->width();
    }

    // Pictures (and so checks) every tab of the sensor dock.
    void pictureEveryTab(const QString &state)
    {
        auto *tabs = window->findChild<QTabWidget *>("tabWidget");
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            keepPicture(*window, QStringLiteral("OBK-layout-%1-%2-%3-tab%4")
                                     .arg(GetParam().language)
                                     .arg(GetParam().textLength)
                                     .arg(state)
                                     .arg(tab));
        }
    }

    std::vector<std::unique_ptr<QTranslator>> translators;
    QTemporaryDir folder;
};

TEST_P(WindowLayoutTest, EveryTabFitsLivePausedAndRecordingAndLongTextsKeepTheWidth)
{
    const int shortWidth = connectAtOwnSize("M1");
    const int width = connectAtOwnSize(std::string(GetParam().textLength, 'W'));
    EXPECT_EQ(width, shortWidth);

    pictureEveryTab(QStringLiteral("live"));
    Model::instance()->masterPlayer().pause();
    pictureEveryTab(QStringLiteral("paused"));
    Model::instance()->masterPlayer().goLive();

    answers = {[this](QDialog *dialog) {
        static_cast<QFileDialog *>(dialog)->selectFile(folder.filePath("gate.rec"));
        return int(QDialog::Accepted);
    }};
    run("actionVideoStartRecording");
    ASSERT_TRUE(Model::instance()->recorder().isRecording());
    pictureEveryTab(QStringLiteral("recording"));
    run("actionVideoStopRecording");
    EXPECT_EQ(window->width(), shortWidth);
}

const LayoutRun kRuns[] = {{"en", 10}, {"en", 5000}, {"fr", 5000}};

INSTANTIATE_TEST_SUITE_P(Languages, WindowLayoutTest, ::testing::ValuesIn(kRuns),
                         [](const auto &info) {
                             return std::string(info.param.language) + "_" + std::to_string(info.param.textLength);
                         });

} // namespace
