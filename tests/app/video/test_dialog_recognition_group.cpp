// The detail window of a passage: its rows and columns, which pictures and panels a row shows,
// every link with its proposed name and error boxes, and the group vanishing or changing under it.
#include "DialogRecognitionGroup.h"
#include "DlgMsg.h"
#include "PXRQt.h"
#include "RecognitionPageSupport.h"
#include "TestPictures.h"
#include "WidgetImageRecognitionGroup.h"

#include <QCheckBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace recotest;

namespace {

enum { ColDate, ColTime, ColType, ColDecision, ColContext, ColReliability, ColDirection, ColPlateSize, ColPlateAngle,
       ColOccurrence, ColBackground, ColMsg, ColSaveImage };

constexpr qint64 Date = 1700000000000;  // 2023-11-14 22:13:20 UTC

QString dateName(qint64 ms)
{
    return QDateTime::fromMSecsSinceEpoch(ms).toString("yyyyMMdd_hhmmss");
}

Node anpr(const char *child, qint64 date)
{
    return Node("anpr").set("session", "3").set("date", std::to_string(date)).add(Node(child));
}

Node plateRead(const char *plate, qint64 date, bool withContext = true)
{
    Node d("decision");
    d.set("plate", plate).set("context", "F").set("reliability", "97").set("x", "133").set("y", "66");
    d.set("width", "100").set("height", "25").set("sinus", "-0.5").set("direction", "front");
    d.set("plateOccurences", "6").set("plateBackground", "white");
    d.add(Node("reliabilityPerCharacter")
              .add(Node("char").set("reliability", "99"))
              .add(Node("char").set("reliability", "98"))
              .add(Node("char")));
    d.add(Node("jpeg").bytes(jpegPicture(400, 200)));
    if (withContext)
        d.add(Node("contextJpeg").bytes(jpegPicture(320, 240, Qt::darkGreen)));
    return Node("anpr").set("session", "3").set("date", std::to_string(date)).add(d);
}

Node speed(qint64 date)
{
    return Node("anpr").set("session", "3").set("date", std::to_string(date)).add(
        Node("speed").set("instantSpeed_km_h", "87").set("interdistance_m", "12").set("interdistance_ms", "480")
            .set("reliability_speed", "90"));
}

class DetailDialogTest : public RecognitionPageTest
{
protected:
    // A passage: start, a decision, end, speed; its id.
    quint32 passage(const char *plate = "AB123CD", bool withContext = true)
    {
        const quint32 id = feed(anpr("new", Date));
        feed(plateRead(plate, Date + 40, withContext));
        feed(anpr("end", Date + 80));
        feed(speed(Date + 90));
        return id;
    }
    QTreeWidget *tree() const { return dialog.findChild<QTreeWidget *>("treeReco"); }
    QString cell(int row, int column) const { return tree()->topLevelItem(row)->text(column); }
    QLabel *link(int row, int column) const
    {
        return qobject_cast<QLabel *>(tree()->itemWidget(tree()->topLevelItem(row), column));
    }
    template <typename T> T *child(const char *name) const { return dialog.findChild<T *>(name); }
    void clickLink(int row, int column, const QString &target) { emit link(row, column)->linkActivated(target); }

    DialogRecognitionGroup dialog;
    QTemporaryDir folder;
};

TEST_F(DetailDialogTest, PassageRowsShowTypesValuesAndTheDecisionSelected)
{
    dialog.resize(900, 560);
    dialog.setRecognitionGroup(passage());
    ASSERT_EQ(tree()->topLevelItemCount(), 4);
    const QStringList types{cell(0, ColType), cell(1, ColType), cell(2, ColType), cell(3, ColType)};
    EXPECT_EQ(types, QStringList({"New", "ANPR Decision", "End", "Speed"}));
    EXPECT_EQ(cell(1, ColDate), QDateTime::fromMSecsSinceEpoch(Date + 40).toString("dd/MM/yyyy"));
    EXPECT_EQ(cell(1, ColTime), QDateTime::fromMSecsSinceEpoch(Date + 40).toString("HH:mm:ss.zzz"));
    const QStringList values{cell(1, ColDecision), cell(1, ColContext), cell(1, ColReliability),
                             cell(1, ColDirection), cell(1, ColPlateSize), cell(1, ColPlateAngle),
                             cell(1, ColOccurrence), cell(1, ColBackground)};
    EXPECT_EQ(values, QStringList({"AB123CD", "F", "97% ( 99% 98% ? )", "front", "100x25", "30.0", "6", "white"}));
    EXPECT_EQ(cell(3, ColDecision), "87 km/h");
    EXPECT_EQ(cell(3, ColReliability), "90 %");
    EXPECT_TRUE(cell(3, ColDate).isEmpty());
    EXPECT_EQ(link(1, ColSaveImage)->text(), "<a href='1-reco'>Recognition</a>, <a href='1-context'>Context</a>");
    EXPECT_EQ(link(0, ColSaveImage), nullptr);
    EXPECT_EQ(link(3, ColMsg)->text(), "<a href='SPEED-pxrmsg'>Save...</a>");
    EXPECT_EQ(child<QLabel>("labelSpeed")->text(), "87 km/h - interdistance : 12 m - interdistance : 480 ms");
    EXPECT_EQ(tree()->currentItem(), tree()->topLevelItem(1));
    EXPECT_TRUE(tree()->isColumnHidden(ColDate));
    keepPicture(dialog, "recognition_detail_dialog");
    EXPECT_TRUE(child<QWidget>("widgetImageContext")->isVisible());
    EXPECT_FALSE(child<WidgetImageRecognitionGroup>("widgetImage")->shownPicture().isNull());
}

TEST_F(DetailDialogTest, RowSelectionShowsOrHidesPicturesCheckBoxAndCaptions)
{
    const quint32 withContext = passage();
    dialog.show();
    dialog.setRecognitionGroup(withContext);
    auto *image = child<WidgetImageRecognitionGroup>("widgetImage");
    const auto visible = [this] {
        return QList<bool>{child<QWidget>("checkDrawPlateRect")->isVisible(),
                           child<QWidget>("widgetImageContext")->isVisible(), child<QWidget>("labelReco")->isVisible(),
                           child<QWidget>("labelContext")->isVisible()};
    };
    EXPECT_EQ(visible(), QList<bool>({true, true, true, true}));
    tree()->setCurrentItem(tree()->topLevelItem(3));  // speed
    EXPECT_TRUE(image->shownPicture().isNull());
    EXPECT_EQ(visible(), QList<bool>({false, false, false, false}));
    tree()->setCurrentItem(tree()->topLevelItem(1));
    EXPECT_FALSE(image->shownPicture().isNull());
    EXPECT_EQ(visible(), QList<bool>({true, true, true, true}));
    child<QCheckBox>("checkDrawPlateRect")->setChecked(false);
    EXPECT_FALSE(image->drawPlateRect());

    now = now.addSecs(10);
    dialog.setRecognitionGroup(passage("XY99", false));
    EXPECT_EQ(visible(), QList<bool>({true, false, false, false}));
    EXPECT_EQ(link(1, ColSaveImage)->text(), "<a href='1-reco'>Recognition</a>");
}

TEST_F(DetailDialogTest, TriggerResultAndSignatureAreSelectedFirstAndTheSignaturePanelFollowsTheGroup)
{
    Node result("triggerResult");
    result.set("triggerId", "5").set("date", std::to_string(Date)).add(
        Node("decision").set("plate", "TR1").set("reliability", "80"));
    dialog.show();
    const quint32 trigger = feed(result);
    dialog.setRecognitionGroup(trigger);
    EXPECT_EQ(cell(0, ColType), "Trigger result");
    EXPECT_EQ(cell(0, ColDecision), "TR1");
    EXPECT_EQ(link(0, ColSaveImage)->text(), "<a href='0-reco'>Recognition</a>");
    EXPECT_EQ(tree()->currentItem(), tree()->topLevelItem(0));

    const quint32 signature = feed(Node("signature").set("session", "8").add(
        Node("decision").set("plate", "SG1").add(Node("signatureData").bytes("SIG"))));
    dialog.setRecognitionGroup(signature);
    EXPECT_EQ(cell(0, ColType), "Signature Decision");
    EXPECT_EQ(cell(0, ColDecision), "SG1");
    EXPECT_TRUE(child<QWidget>("widgetSignature")->isVisible());
    EXPECT_EQ(child<QLabel>("labelSaveSignature")->text(), "<a href=\"0\">Save signature...</a>");
    dialog.setRecognitionGroup(trigger);
    EXPECT_FALSE(child<QWidget>("widgetSignature")->isVisible());
}

TEST_F(DetailDialogTest, SavesWriteTheirBytesUnderProposedNamesWithoutLeavingTheFolder)
{
    const quint32 id = passage("../up/AB");
    dialog.setRecognitionGroup(id);
    const QList<PXRMsg *> messages = master().groupById(id)->allMessages();
    PXRMsgElement *decision = PXRMsgElementFirstChild(PXRMsgChild(messages.at(1)), nullptr);
    const auto bytesOf = [decision](const char *child) {
        PXRMsgElement *e = PXRMsgElementFirstChild(decision, child);
        return QByteArray(static_cast<const char *>(PXRMsgElementContent(e)), PXRMsgElementContentSize(e));
    };
    const struct {
        int row, column;
        QString target, name, caption;
        QByteArray bytes;
    } saves[] = {
        {1, ColMsg, "1-pxrmsg", dateName(Date + 40) + "_decision", "Save a PXRMsg", pxrMsgToByteArray(messages.at(1))},
        {3, ColMsg, "SPEED-pxrmsg", dateName(Date + 90) + "_speed", "Save a PXRMsg",
         pxrMsgToByteArray(master().groupById(id)->speed())},
        {1, ColSaveImage, "1-reco", dateName(Date + 40) + "_.._up_AB_decision", "Save an image", bytesOf("jpeg")},
        {1, ColSaveImage, "1-context", dateName(Date + 40) + "_.._up_AB_context", "Save an image",
         bytesOf("contextJpeg")},
    };
    bool first = true;
    for (const auto &save : saves) {
        Answerer answers(folder.filePath(save.target));
        clickLink(save.row, save.column, save.target);
        ASSERT_EQ(answers.asked.size(), 1) << save.target.toStdString();
        EXPECT_EQ(answers.asked[0].title, save.caption);
        // The first save has no folder to propose: the bare name, not one at the root.
        EXPECT_EQ(answers.asked[0].text,
                  first ? QDir(answers.proposedFolder).filePath(save.name) : folder.filePath(save.name));
        EXPECT_NE(answers.proposedFolder, "/");
        QFile written(folder.filePath(save.target));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll(), save.bytes);
        first = false;
    }
    EXPECT_EQ(AppSettings().lastSaveRecoDir(), folder.path());
}

TEST_F(DetailDialogTest, MissingContentAndUnwritableFilesAreToldAndViewOpensTheMessage)
{
    dialog.setRecognitionGroup(passage("AB", false));
    {
        Answerer answers(folder.filePath("never"));
        clickLink(1, ColSaveImage, "1-context");
        clickLink(1, ColSaveImage, "1-signature");
        ASSERT_EQ(answers.asked.size(), 1);
        EXPECT_EQ(answers.asked[0].text, "There is no context image in this decision");
        EXPECT_EQ(answers.asked[0].title, "Error");
    }
    {
        Answerer answers(folder.filePath("no/such/folder/file.jpg"));
        clickLink(1, ColSaveImage, "1-reco");
        ASSERT_EQ(answers.asked.size(), 2);
        EXPECT_EQ(answers.asked[1].text, "Unable to open file for writing");
    }
    {
        Answerer cancel;
        clickLink(1, ColMsg, "1-pxrmsg");
        clickLink(1, ColMsg, "1-view");
        ASSERT_EQ(cancel.asked.size(), 2);
        EXPECT_EQ(cancel.asked[1].kind, "DlgMsg");
    }
    const quint32 signature = feed(Node("signature").set("session", "8").add(Node("decision").set("plate", "S/1")));
    dialog.setRecognitionGroup(signature);
    Answerer answers(folder.filePath("sig"));
    emit child<QLabel>("labelSaveSignature")->linkActivated("0");
    clickLink(0, ColSaveImage, "0-reco");
    ASSERT_EQ(answers.asked.size(), 2);
    EXPECT_EQ(answers.asked[0].text, "There is no signature data");
    EXPECT_EQ(answers.asked[1].text, "There is no image in this decision");
}

TEST_F(DetailDialogTest, ShortWriteIsToldLikeAFileThatCannotBeOpened)
{
    if (!QFileInfo::exists("/dev/full"))
        GTEST_SKIP() << "no full device";
    dialog.setRecognitionGroup(passage());
    Answerer answers("/dev/full");
    clickLink(1, ColSaveImage, "1-reco");
    ASSERT_EQ(answers.asked.size(), 2);
    EXPECT_EQ(answers.asked[1].text, "Unable to open file for writing");
}

TEST_F(DetailDialogTest, DeletedGroupEmptiesTheWindowAndItsLinksDoNothing)
{
    dialog.setRecognitionGroup(passage());
    master().purgeBefore(now.addSecs(1));
    EXPECT_EQ(tree()->topLevelItemCount(), 0);
    EXPECT_EQ(dialog.groupId(), 0u);

    // A clearing on connection deletes groups without a word.
    dialog.setRecognitionGroup(passage());
    QLabel *view = link(1, ColMsg);
    master().clear();
    Answerer answers(folder.filePath("x"));
    emit view->linkActivated("1-view");
    EXPECT_TRUE(answers.asked.isEmpty());
    EXPECT_EQ(tree()->topLevelItemCount(), 0);

    dialog.setRecognitionGroup(12345);
    EXPECT_EQ(tree()->topLevelItemCount(), 0);
}

TEST_F(DetailDialogTest, TriggerAnswerJoiningInFrontRefillsSoLinksNameTheirMessage)
{
    Node result("triggerResult");
    result.set("triggerId", "6").set("date", std::to_string(Date)).add(Node("decision").set("plate", "TR6"));
    const quint32 id = feed(result);
    dialog.setRecognitionGroup(id);
    ASSERT_EQ(cell(0, ColType), "Trigger result");
    feed(Node("triggerAnswer").set("triggerId", "6").set("status", "ok"));
    ASSERT_EQ(tree()->topLevelItemCount(), 2);
    EXPECT_EQ(cell(0, ColType), "triggerAnswer");
    EXPECT_EQ(cell(1, ColType), "Trigger result");
    EXPECT_EQ(tree()->currentItem(), tree()->topLevelItem(1));
    Answerer answers(folder.filePath("result.pxrmsg"));
    clickLink(1, ColMsg, "1-pxrmsg");
    QFile written(folder.filePath("result.pxrmsg"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), pxrMsgToByteArray(master().groupById(id)->triggerResult()));
}

TEST_F(DetailDialogTest, ClosingHidesAndKeepsTheLayout)
{
    dialog.show();
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(AppSettings().dialogGeometry("DialogRecognitionGroup").isEmpty());
    EXPECT_FALSE(AppSettings().splitterRecognitionGroupState().isEmpty());
}

} // namespace
