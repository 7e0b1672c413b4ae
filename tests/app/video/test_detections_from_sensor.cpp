// Passages, trigger results, signatures and I/O state changes pushed by the test sensor reach the
// "Detections" page through the application model, and the detail window shows their pictures.
#include "DialogRecognitionGroup.h"
#include "Model.h"
#include "RecognitionManager.h"
#include "RecognitionPushes.h"
#include "RecognitionViewSupport.h"
#include "FybSensor.h"
#include "RecognitionPageSupport.h"
#include "TestPictures.h"
#include "WidgetRecognitionPreview.h"
#include "WidgetRecognitions.h"

#include <QLabel>
#include <QLayout>
#include <QScrollArea>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace recotest;

namespace {

using namespace std::chrono_literals;

class DetectionsFromSensorTest : public RecognitionPageTest
{
protected:
    void SetUp() override
    {
        RecognitionPageTest::SetUp();
        for (RecognitionManager *manager : {&model->masterRecognitions(), &model->slaveRecognitions()}) {
            QObject::connect(manager, &RecognitionManager::recognitionGroupChanged, &page,
                             &WidgetRecognitions::onRecognitionGroupChanged);
            QObject::connect(manager, &RecognitionManager::recognitionGroupsdeleted, &page,
                             &WidgetRecognitions::onRecognitionGroupsdeleted);
        }
    }
    void TearDown() override
    {
        model->masterSensor().disconnect();
        model->clear();
        RecognitionPageTest::TearDown();
    }

    QStringList descriptions() const
    {
        QStringList texts;
        QLayout *layout = page.findChild<QScrollArea *>("scrollArea")->widget()->layout();
        for (int i = 0; i < layout->count(); ++i) {
            if (QWidget *line = layout->itemAt(i)->widget())
                texts.append(line->findChild<QLabel *>("labelDescription")->text());
        }
        return texts;
    }

    FakeMainWindow window;
    Model *model = Model::instance();
    WidgetRecognitions page;
};

TEST_F(DetectionsFromSensorTest, PushedRecognitionsAreListedNewestFirstAndDetailed)
{
    fybsim::FybSensor server;
    const fybsim::FybSensor::Mark since = server.mark();
    ASSERT_TRUE(model->masterSensor().connect("127.0.0.1", server.port(), QString(), false, false, false, {}, {}));
    ASSERT_TRUE(server.waitForConnections(since, fybsim::Role::Asynchronous, 1, 5s));

    const qint64 date = QDateTime::currentMSecsSinceEpoch();
    const std::string picture = jpegPicture(400, 200).toStdString();
    const fybsim::PlateRead read{"AB-123-CD", "F", "97", 133, 66, 100, 25, "0.5", {"99", "98", ""},
                                 picture, jpegPicture(320, 240, Qt::darkGreen).toStdString(), "master"};
    const fybsim::PlateRead triggered{"TR-7", "D", "88", 133, 66, 100, 25, "", {}, picture, "", ""};
    server.push(fybsim::passageStart(1, date));
    server.push(fybsim::passageDecision(1, date + 40, read));
    server.push(fybsim::passageSpeed(1, date + 60, {"87", "12", "480", "90"}));
    server.push(fybsim::passageEnd(1, date + 80, "left"));
    server.push(fybsim::triggerResult("7", date + 100, &triggered));
    server.push(fybsim::signatureDecision(2, date + 120, "SG-1", "signature bytes"));
    server.push(fybsim::ioState(date + 140, true));
    ASSERT_TRUE(waitUntil([&] { return descriptions().size() == 4 && descriptions().at(0).contains("IO state"); }))
        << descriptions().join('\n').toStdString();

    const QStringList lines = descriptions();
    EXPECT_TRUE(lines.at(1).contains("signature / decision"));
    EXPECT_TRUE(lines.at(2).contains("TriggerResult (ID=7) : TR-7 (D) - 88% - 100x25"));
    EXPECT_TRUE(lines.at(3).contains("[1] End - left<br/>"));
    EXPECT_TRUE(lines.at(3).contains("[1] AB-123-CD (F) - 97% - 100x25"));
    QLayout *layout = page.findChild<QScrollArea *>("scrollArea")->widget()->layout();
    QWidget *passageLine = layout->itemAt(3)->widget();
    EXPECT_EQ(passageLine->findChild<QLabel *>("labelFrom")->text(), "(master)");
    EXPECT_EQ(passageLine->findChild<QLabel *>("labelSpeed")->text(), "87 km/h");
    page.resize(460, 420);
    page.updateStats();
    keepPicture(page, "detections_tab");

    const quint32 passage = model->masterRecognitions().groups().at(0).id();
    page.dialog()->resize(900, 560);
    emit passageLine->findChild<QLabel *>("labelViewInPlayer")->linkActivated(QString::number(passage));
    ASSERT_TRUE(page.dialog()->isVisible());
    auto *tree = page.dialog()->findChild<QTreeWidget *>("treeReco");
    ASSERT_EQ(tree->topLevelItemCount(), 4);
    EXPECT_EQ(tree->currentItem()->text(5), "97% ( 99% 98% ? )");
    keepPicture(*page.dialog(), "detections_detail_window");
}

} // namespace
