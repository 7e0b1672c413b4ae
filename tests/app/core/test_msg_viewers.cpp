// The message viewers, the picture request dialog and the closable dock: what they show, which
// message they select, the files they save with the names they propose, and the request's date.
#include "CoreTestSupport.h"
#include "DlgGetImage.h"
#include "DlgMsg.h"
#include "DlgMsgs.h"
#include "DockWidgetWithCloseSignal.h"
#include "PXRMsgTreeWidget.h"
#include "PXRQt.h"
#include "TestPictures.h"
#include "ZyTreeWidget.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QLabel>
#include <QMainWindow>
#include <QRadioButton>
#include <QSpinBox>

#include <functional>

namespace {

// A message whose root has the attributes and, when named, one child with its own attributes.
PXRMsg *makeMessage(const char *root, std::initializer_list<std::pair<const char *, const char *>> attributes,
                    const char *child = nullptr,
                    std::initializer_list<std::pair<const char *, const char *>> childAttributes = {})
{
    PXRMsg *msg = PXRMsgCreate();
    PXRMsgElement *element = PXRMsgElementCreate(root);
    for (const auto &[name, value] : attributes)
        PXRMsgElementSetAttribute(element, name, value);
    if (child != nullptr) {
        PXRMsgElement *first = PXRMsgElementCreate(child);
        for (const auto &[name, value] : childAttributes)
            PXRMsgElementSetAttribute(first, name, value);
        PXRMsgElementAddChild(element, first);
    }
    PXRMsgSetChild(msg, element);
    return msg;
}

QByteArray localMs(int year, int month, int day, int hour, int minute, int second, int ms)
{
    return QByteArray::number(QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms)).toMSecsSinceEpoch());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class MsgViewersTest : public CoreTest
{
protected:
    void TearDown() override
    {
        for (PXRMsg *msg : messages)
            PXRMsgDestroy(msg);
        CoreTest::TearDown();
    }

    PXRMsg *keep(PXRMsg *msg)
    {
        messages.append(msg);
        return msg;
    }

    // Answers the viewer with the step, the save dialog with the chosen path (empty: cancel),
    // and message boxes with OK, keeping what they said.
    void answer(std::function<int(QDialog *)> viewerStep)
    {
        ZyModalRunner::setHandler([this, viewerStep](QDialog *dialog) {
            if (auto *files = qobject_cast<QFileDialog *>(dialog)) {
                proposed = files->selectedFiles().value(0);
                filters = files->nameFilters();
                caption = files->windowTitle();
                if (savePath.isEmpty())
                    return int(QDialog::Rejected);
                files->selectFile(savePath);
                return int(QDialog::Accepted);
            }
            if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
                boxes.append({box->icon(), box->windowTitle(), box->text(), box->detailedText()});
                return int(QMessageBox::Ok);
            }
            return viewerStep(dialog);
        });
    }

    static void click(QDialog *dialog, const char *button)
    {
        dialog->findChild<QAbstractButton *>(button)->click();
    }

    QList<PXRMsg *> messages;
    QTemporaryDir folder;
    QString savePath;
    QString proposed;
    QString caption;
    QStringList filters;
    QList<BoxRecorder::Box> boxes;
};

TEST_F(MsgViewersTest, SingleViewerShowsTheCommentOnlyWhenThereIsOne)
{
    PXRMsg *msg = keep(makeMessage("answer", {{"status", "ok"}, {"version", "7.2.1"}}, "log", {{"line", "boot"}}));
    for (const QString &comment : {QString("Request sent at 14:05:09.100\nPicture taken at 14:05:09.050\n"
                                           "Answer received at 14:05:09.320 (220 ms)"),
                                   QString()}) {
        DlgMsg dialog;
        answer([&](QDialog *shown) {
            auto *label = shown->findChild<QLabel *>("labelComment");
            EXPECT_EQ(label->isHidden(), comment.isEmpty());
            EXPECT_EQ(label->text(), comment);
            EXPECT_TRUE(label->textInteractionFlags() & Qt::TextSelectableByMouse);
            EXPECT_TRUE(label->textInteractionFlags() & Qt::LinksAccessibleByMouse);
            auto *tree = shown->findChild<PXRMsgTreeWidget *>("treeWidget");
            EXPECT_EQ(tree->message(), msg);
            EXPECT_FALSE(tree->isEditable());
            EXPECT_EQ(tree->topLevelItem(0)->text(0), QString("answer"));
            if (!comment.isEmpty())
                keepPicture(*shown, "DlgMsg");
            return int(QDialog::Rejected);
        });
        EXPECT_EQ(dialog.exec(msg, comment), int(QDialog::Rejected));
        EXPECT_EQ(dialog.windowTitle(), QString("Message"));
        EXPECT_EQ(dialog.size(), QSize(400, 300));
    }
}

TEST_F(MsgViewersTest, SingleViewerSavesTheMessageOrSaysWhyItCannot)
{
    PXRMsg *msg = keep(makeMessage("answer", {{"status", "ok"}}, "log", {{"line", "boot"}}));
    DlgMsg dialog;
    answer([&](QDialog *shown) {
        click(shown, "btnSave");
        return int(QDialog::Accepted);
    });

    savePath = folder.filePath("answer.pxrmsg");
    dialog.exec(msg, QString());
    EXPECT_EQ(caption, QString("Select file"));
    EXPECT_EQ(filters, QStringList({"PXRMsg (*.pxrmsg)"}));
    EXPECT_EQ(readFile(savePath), pxrMsgToByteArray(msg));
    EXPECT_TRUE(boxes.isEmpty());

    const struct
    {
        QString path;
        const char *text;
    } failures[] = {{folder.filePath("missing/answer.pxrmsg"), "Unable to open file"},
                    {"/dev/full", "Unable to write file"}};
    for (const auto &failure : failures) {
        boxes.clear();
        savePath = failure.path;
        dialog.exec(msg, QString());
        ASSERT_EQ(boxes.size(), 1) << failure.text;
        EXPECT_EQ(boxes[0].icon, QMessageBox::Critical);
        EXPECT_EQ(boxes[0].title, QString("Error"));
        EXPECT_EQ(boxes[0].text, QString(failure.text));
    }

    boxes.clear();
    savePath.clear();
    dialog.exec(msg, QString());
    EXPECT_TRUE(boxes.isEmpty()) << "a cancelled choice saves nothing and says nothing";
}

TEST_F(MsgViewersTest, HistoryListShowsEachEntryAndTheSelectedOne)
{
    const QByteArray date = localMs(2023, 12, 19, 14, 5, 9, 123);
    const QList<PXRMsg *> history = {
        keep(makeMessage("anpr", {{"id", "12"}, {"date", date.constData()}}, "decision",
                         {{"plate", "AB-123-\xc3\x89Z"}})),
        keep(makeMessage("trigger", {{"id", "9"}, {"date", "0"}})),
        keep(makeMessage("ioState", {}, "input", {{"state", "1"}})),
    };
    const QString epoch = QDateTime::fromMSecsSinceEpoch(0).toString("dd/MM/yyyy hh:mm:ss.zzz");
    const QStringList expectedRows[] = {{"12", "19/12/2023 14:05:09.123", "anpr/decision", QString::fromUtf8("AB-123-\xc3\x89Z")},
                                        {"9", epoch, "trigger", ""},
                                        {"", "", "ioState/input", ""}};
    DlgMsgs dialog;
    answer([&](QDialog *shown) {
        auto *list = shown->findChild<ZyTreeWidget *>("treeList");
        auto *tree = shown->findChild<PXRMsgTreeWidget *>("treeMsg");
        const QTreeWidgetItem *header = list->headerItem();
        EXPECT_EQ(QStringList({header->text(0), header->text(1), header->text(2), header->text(3)}),
                  QStringList({"ID", "Date", "Type", "Plate"}));
        EXPECT_EQ(list->topLevelItemCount(), 3);
        for (int row = 0; row < 3 && row < list->topLevelItemCount(); ++row) {
            const QTreeWidgetItem *item = list->topLevelItem(row);
            EXPECT_EQ(QStringList({item->text(0), item->text(1), item->text(2), item->text(3)}), expectedRows[row]);
            EXPECT_EQ(item->data(0, Qt::UserRole + 1).toInt(), row);
        }
        EXPECT_EQ(list->topLevelItem(0)->data(0, Qt::UserRole).typeId(), QMetaType::LongLong) << "ids sort as numbers";
        EXPECT_GE(list->columnWidth(1), list->fontMetrics().horizontalAdvance(expectedRows[0][1])) << "dates shown whole";
        EXPECT_EQ(list->currentItem(), list->topLevelItem(0));
        EXPECT_EQ(tree->message(), history[0]);
        EXPECT_FALSE(tree->isEditable());
        keepPicture(*shown, "DlgMsgs");
        list->setCurrentItem(list->topLevelItem(1));
        EXPECT_EQ(tree->message(), history[1]);
        list->setCurrentItem(list->topLevelItem(0));
        click(shown, "btnSave");
        return int(QDialog::Accepted);
    });
    savePath = folder.filePath("entry.pxrmsg");
    EXPECT_EQ(dialog.exec(history), int(QDialog::Accepted));
    EXPECT_EQ(dialog.windowTitle(), QString("Messages"));
    EXPECT_EQ(dialog.size(), QSize(453, 396));
    EXPECT_TRUE(proposed.endsWith("/2023-12-19_14-05-09-123_anpr_decision.pxrmsg")) << proposed.toStdString();
    EXPECT_EQ(readFile(savePath), pxrMsgToByteArray(history[0]));
}

TEST_F(MsgViewersTest, SavingWithNothingShownAsksForASelection)
{
    DlgMsgs dialog;
    answer([&](QDialog *shown) {
        EXPECT_EQ(shown->findChild<ZyTreeWidget *>("treeList")->topLevelItemCount(), 0);
        EXPECT_EQ(shown->findChild<PXRMsgTreeWidget *>("treeMsg")->topLevelItemCount(), 0);
        click(shown, "btnSave");
        return int(QDialog::Rejected);
    });
    savePath = folder.filePath("never.pxrmsg");
    dialog.exec({});
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].icon, QMessageBox::Critical);
    EXPECT_EQ(boxes[0].title, QString("Error"));
    EXPECT_EQ(boxes[0].text, QString("You must select a message"));
    EXPECT_TRUE(proposed.isEmpty()) << "no save dialog";
}

TEST_F(MsgViewersTest, ProposedNameIsDateRootAndFirstChild)
{
    const QByteArray date = localMs(2023, 12, 19, 14, 5, 9, 123);
    const struct
    {
        PXRMsg *msg;
        const char *name;
    } cases[] = {
        {keep(makeMessage("A", {{"date", date.constData()}}, "B")), "2023-12-19_14-05-09-123_A_B.pxrmsg"},
        {keep(makeMessage("anpr", {}, "decision")), "anpr_decision.pxrmsg"},
        {keep(makeMessage("trigger", {{"date", date.constData()}})), "2023-12-19_14-05-09-123_trigger.pxrmsg"},
        {keep(makeMessage("end", {})), "end.pxrmsg"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DlgMsgs::proposedFileName(c.msg), QString(c.name));
}

TEST_F(MsgViewersTest, PictureRequestGetsTheDateOfTheChosenAge)
{
    const struct
    {
        bool last;
        int ageMs;
        bool accept;
    } cases[] = {{true, 1500, true}, {false, 1500, true}, {false, 0, true}, {false, 800, false}};
    for (const auto &c : cases) {
        PXRMsg *request = keep(makeMessage("getImage", {}));
        DlgGetImage dialog;
        EXPECT_EQ(dialog.windowTitle(), QString("GetImage"));
        EXPECT_EQ(dialog.size(), QSize(366, 181));
        auto *spin = dialog.findChild<QSpinBox *>("spinMs");
        EXPECT_TRUE(dialog.findChild<QRadioButton *>("radioLast")->isChecked());
        EXPECT_FALSE(spin->isEnabled());
        EXPECT_EQ(spin->maximum(), 30000);
        EXPECT_EQ(spin->suffix(), QString(" ms"));
        answer([&](QDialog *shown) {
            if (c.last && c.accept)
                keepPicture(*shown, "DlgGetImage");
            shown->findChild<QRadioButton *>("radioMs")->setChecked(true);
            EXPECT_TRUE(spin->isEnabled());
            spin->setValue(c.ageMs);
            if (c.last) {
                shown->findChild<QRadioButton *>("radioLast")->setChecked(true);
                EXPECT_FALSE(spin->isEnabled());
            }
            press(*shown, "buttonBox", c.accept ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
            return shown->result();
        });
        const qint64 before = QDateTime::currentMSecsSinceEpoch();
        EXPECT_EQ(dialog.exec(request), c.accept ? 1 : 0);
        const qint64 after = QDateTime::currentMSecsSinceEpoch();
        const char *date = PXRMsgElementAttributeValue(PXRMsgChild(request), "date");
        if (c.last || !c.accept) {
            EXPECT_EQ(date, nullptr);
            continue;
        }
        ASSERT_NE(date, nullptr);
        const qint64 value = QByteArray(date).toLongLong();
        EXPECT_GE(value, before - c.ageMs);
        EXPECT_LE(value, after - c.ageMs);
    }
}

TEST_F(MsgViewersTest, DockCloseButtonTellsTheWindowAndKeepsTheDockOpen)
{
    QMainWindow window;
    auto *dock = new DockWidgetWithCloseSignal(&window);
    dock->setObjectName("dockTraces");
    window.addDockWidget(Qt::BottomDockWidgetArea, dock);
    int clicks = 0;
    QObject::connect(dock, &DockWidgetWithCloseSignal::closeButtonClicked, dock, [&] { ++clicks; });
    window.show();
    ASSERT_TRUE(dock->isVisible());
    dock->findChild<QAbstractButton *>("qt_dockwidget_closebutton")->click();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(dock->isVisible());
    EXPECT_FALSE(dock->close());
    EXPECT_EQ(clicks, 2);
}

} // namespace
