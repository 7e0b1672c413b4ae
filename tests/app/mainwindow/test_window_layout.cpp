// The connected window at the size it gives itself: on every tab of the sensor dock, live, paused
// and recording, in English and in French, nothing is cut or covered (each state is pictured and
// checked), and 5000-character sensor texts leave the window's width as short ones do.
#include "CommandTestSupport.h"

#include "SensorScenes.h"
#include "TestTranslations.h"
#include "VideoPlayer.h"
#include "WidgetRecognitions.h"

#include <QFileDialog>
#include <QLabel>
#include <QLayout>
#include <QScrollArea>
#include <QTabWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct LayoutRun
{
    const char *language;
    std::size_t textLength;
    int detections; // passages pushed, sessions numbered from 1, their texts textLength long
};

class WindowLayoutTest : public CommandTest, public ::testing::WithParamInterface<LayoutRun>
{
protected:
    void SetUp() override
    {
        CommandTest::SetUp();
        translations = std::make_unique<TestTranslations>(GetParam().language);
    }
    void TearDown() override
    {
        CommandTest::TearDown();
        translations.reset();
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

    // Pushes the run's passages, ten at a time (a sensor flooding its client loses messages),
    // each time until the newest line shows the last one's start, decision and end.
    void pushDetections()
    {
        QLayout *list = window->findChild<WidgetRecognitions *>()->findChild<QScrollArea *>("scrollArea")->widget()->layout();
        const auto newest = [list] {
            QWidget *line = list->itemAt(0)->widget();
            return line != nullptr ? line->findChild<QLabel *>("labelDescription")->text() : QString();
        };
        const std::string text(GetParam().textLength, 'W');
        const qint64 start = QDateTime::currentMSecsSinceEpoch();
        for (int session = 1; session <= GetParam().detections; ++session) {
            fybsim::Passage passage;
            passage.session = std::to_string(session);
            passage.startMs = start + session * 100;
            passage.endMs = passage.startMs + 80;
            passage.plate = passage.context = passage.reliability = text;
            passage.speedKmh = text;
            ASSERT_EQ(fybsim::pushPassage(*sensor, passage), 4u);
            if (session % 10 == 0 || session == GetParam().detections) {
                const QString tag = QStringLiteral("[%1]").arg(session);
                ASSERT_TRUE(waitUntil([&] { return newest().count(tag) == 3; })) << newest().left(200).toStdString();
            }
        }
    }

    // Pictures (and so checks) every tab of the sensor dock.
    void pictureEveryTab(const QString &state)
    {
        auto *tabs = window->findChild<QTabWidget *>("tabWidget");
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            keepPicture(*window, QStringLiteral("OBK-layout-%1-%2-%3-%4-tab%5")
                                     .arg(GetParam().language)
                                     .arg(GetParam().textLength)
                                     .arg(GetParam().detections)
                                     .arg(state)
                                     .arg(tab));
        }
    }

    std::unique_ptr<TestTranslations> translations;
    QTemporaryDir folder;
};

TEST_P(WindowLayoutTest, EveryTabFitsLivePausedAndRecordingAndLongTextsKeepTheWidth)
{
    const int shortWidth = connectAtOwnSize("M1");
    const int width = connectAtOwnSize(std::string(GetParam().textLength, 'W'));
    EXPECT_EQ(width, shortWidth);
    pushDetections();
    EXPECT_EQ(window->width(), shortWidth);

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

const LayoutRun kRuns[] = {{"en", 10, 3}, {"en", 5000, 3}, {"fr", 5000, 3}, {"en", 5000, 120}};

INSTANTIATE_TEST_SUITE_P(Languages, WindowLayoutTest, ::testing::ValuesIn(kRuns),
                         [](const auto &info) {
                             return std::string(info.param.language) + "_" + std::to_string(info.param.textLength) + "_"
                                    + std::to_string(info.param.detections);
                         });

} // namespace
