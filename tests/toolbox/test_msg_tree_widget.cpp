// Message tree viewer and editor: rows mirror a real message, and edits change the message first.
#include "DlgEditAttribute.h"
#include "DlgPXRShowBinaryContent.h"
#include "PXRMsgTreeWidget.h"
#include "PXRQt.h"
#include "TestPictures.h"
#include "ZyLabel.h"
#include "ZyZoomImage.h"

#include <QBuffer>
#include <QPainter>
#include <QFileDialog>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray jpegBytes()
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor(30, 120, 200));
    QPainter painter(&image);
    painter.fillRect(4, 4, 24, 10, Qt::white);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

// setConfig (name=S1) > device (ip, city), imageJPEG (a picture), notes (plain bytes), empty.
PXRMsg *sampleMessage()
{
    PXRMsg *psMsg = PXRMsgCreate();
    PXRMsgElement *psRoot = PXRMsgElementCreate("setConfig");
    PXRMsgSetChild(psMsg, psRoot);
    PXRMsgElementSetAttribute(psRoot, "name", "S1");
    PXRMsgElement *psDevice = PXRMsgElementCreate("device");
    PXRMsgElementSetAttribute(psDevice, "ip", "10.0.0.5");
    PXRMsgElementSetAttribute(psDevice, "city", "Qu\xc3\xa9" "bec");
    PXRMsgElementAddChild(psRoot, psDevice);
    PXRMsgElement *psImage = PXRMsgElementCreate("imageJPEG");
    const QByteArray jpeg = jpegBytes();
    PXRMsgElementSetContentBinary(psImage, jpeg.constData(), uint32_t(jpeg.size()));
    PXRMsgElementAddChild(psRoot, psImage);
    PXRMsgElement *psNotes = PXRMsgElementCreate("notes");
    PXRMsgElementSetContentBinary(psNotes, "1234567890123", 13);
    PXRMsgElementAddChild(psRoot, psNotes);
    PXRMsgElementAddChild(psRoot, PXRMsgElementCreate("empty"));
    return psMsg;
}

QString attributeOf(PXRMsgElement *psElement, const char *name)
{
    const char *value = PXRMsgElementAttributeValue(psElement, name);
    return value ? QString::fromUtf8(value) : QStringLiteral("<none>");
}

class MsgTreeWidgetTest : public ToolboxTest
{
protected:
    static void SetUpTestSuite() { ASSERT_EQ(PXR_initLibrary(), 1); }
    static void TearDownTestSuite() { PXR_releaseLibrary(); }

    void SetUp() override
    {
        ToolboxTest::SetUp();
        msg = sampleMessage();
        tree.resize(600, 400);
        tree.show();
    }
    void TearDown() override
    {
        tree.setMessage(nullptr, false);
        PXRMsgDestroy(msg);
        ToolboxTest::TearDown();
    }

    PXRMsgElement *root() { return PXRMsgChild(msg); }
    PXRMsgElement *child(const char *name) { return PXRMsgElementFirstChild(root(), name); }
    QTreeWidgetItem *rootRow() { return tree.topLevelItem(0); }

    // The row under parent whose column-0 text is given.
    QTreeWidgetItem *row(QTreeWidgetItem *parent, const QString &text)
    {
        for (int i = 0; i < parent->childCount(); ++i) {
            if (parent->child(i)->text(0) == text)
                return parent->child(i);
        }
        return nullptr;
    }

    QStringList childTexts(QTreeWidgetItem *parent)
    {
        QStringList texts;
        for (int i = 0; i < parent->childCount(); ++i)
            texts.append(parent->child(i)->text(0));
        return texts;
    }

    QString contentLine(QTreeWidgetItem *item) { return static_cast<QLabel *>(tree.itemWidget(item, 1))->text(); }

    void followLink(QTreeWidgetItem *item, const QString &link)
    {
        emit static_cast<ZyLabel *>(tree.itemWidget(item, 1))->linkActivated(link);
    }

    // A press dxPress pixels right of the row's left edge and a release dxRelease pixels right of it.
    void click(QTreeWidgetItem *item, int dxPress, int dxRelease)
    {
        tree.scrollToItem(item);
        const QRect rect = tree.visualItemRect(item);
        QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, QPoint(rect.left() + dxPress, rect.center().y()));
        QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, QPoint(rect.left() + dxRelease, rect.center().y()));
    }

    PXRMsg *msg = nullptr;
    PXRMsgTreeWidget tree;
};

// Answers a text input with the given text, or cancels it when the text is null.
ZyModalRunner::Handler answerText(const QString &text, QString *title = nullptr)
{
    return [text, title](QDialog *dialog) {
        auto *input = qobject_cast<QInputDialog *>(dialog);
        EXPECT_NE(input, nullptr);
        if (title)
            *title = input->windowTitle();
        if (text.isNull())
            return int(QDialog::Rejected);
        input->setTextValue(text);
        return int(QDialog::Accepted);
    };
}

// Fills the attribute dialog and presses OK; message boxes it raises are recorded and closed.
ZyModalRunner::Handler answerAttribute(const QString &name, const QString &value, QStringList *boxes = nullptr)
{
    return [=](QDialog *dialog) {
        if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
            if (boxes)
                boxes->append(box->windowTitle() + ": " + box->text());
            return int(QMessageBox::Ok);
        }
        auto *edit = qobject_cast<DlgEditAttribute *>(dialog);
        EXPECT_NE(edit, nullptr);
        edit->findChild<QLineEdit *>("edtName")->setText(name);
        edit->findChild<QLineEdit *>("edtValue")->setText(value);
        edit->findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok)->click();
        return edit->result();
    };
}

TEST_F(MsgTreeWidgetTest, ReadOnlyMessageShowsElementsAttributesAndContentLinesOnly)
{
    PXRMsgSetReadOnly(msg, 1);
    tree.setMessage(msg, true);
    EXPECT_FALSE(tree.isEditable());
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    EXPECT_EQ(tree.headerItem()->text(0), "Element");
    EXPECT_EQ(tree.headerItem()->text(1), "Attribute");
    EXPECT_EQ(childTexts(rootRow()), QStringList({"name", "device", "imageJPEG", "notes", "empty"}));
    QTreeWidgetItem *device = row(rootRow(), "device");
    EXPECT_EQ(childTexts(device), QStringList({"ip", "city"}));
    EXPECT_EQ(row(device, "city")->text(1), QString::fromUtf8("Qu\xc3\xa9" "bec"));
    EXPECT_EQ(row(device, "city")->foreground(1).color(), QColor(0, 120, 0));
    EXPECT_EQ(PXRMsgTreeWidget::kind(row(device, "ip")), int(PXRMsgTreeWidget::AttributeRow));
    EXPECT_EQ(PXRMsgTreeWidget::element(device), child("device"));
    EXPECT_TRUE(device->icon(0).isNull());
    EXPECT_TRUE(device->isExpanded());
    EXPECT_EQ(contentLine(row(rootRow(), "notes")),
              "Data (13 bytes) <a href=\"view\">View</a> ,&nbsp;<a href=\"save\">Save</a>  ");
    EXPECT_EQ(contentLine(device), "No data");
}

TEST_F(MsgTreeWidgetTest, EditableMessageOffersRemoveIconsAddRowsAndContentEditing)
{
    tree.setMessage(msg, true);
    ASSERT_TRUE(tree.isEditable());
    EXPECT_TRUE(rootRow()->icon(0).isNull());
    EXPECT_EQ(childTexts(rootRow()), QStringList({"name", "Add new attribute...", "device", "imageJPEG", "notes",
                                                  "empty", "Add new element..."}));
    QTreeWidgetItem *device = row(rootRow(), "device");
    EXPECT_FALSE(device->icon(0).isNull());
    EXPECT_EQ(device->toolTip(0), "Remove");
    QTreeWidgetItem *addElement = row(rootRow(), "Add new element...");
    EXPECT_EQ(PXRMsgTreeWidget::kind(addElement), int(PXRMsgTreeWidget::AddElementRow));
    EXPECT_TRUE(addElement->font(0).italic());
    EXPECT_EQ(contentLine(row(rootRow(), "notes")),
              "Data (13 bytes) <a href=\"view\">View</a> ,&nbsp;<a href=\"save\">Save</a> ,&nbsp;"
              "<a href=\"load\">Load</a> ,&nbsp;<a href=\"clear\">Clear</a> ");
    EXPECT_EQ(contentLine(device), "No data <a href=\"load\">Load</a>");
}

TEST_F(MsgTreeWidgetTest, NullMessageOrMessageWithoutRootLeavesTheTreeEmpty)
{
    tree.setMessage(msg, false);
    tree.setMessage(nullptr, true);
    EXPECT_EQ(tree.topLevelItemCount(), 0);
    PXRMsg *psEmpty = PXRMsgCreate();
    tree.setMessage(psEmpty, true);
    EXPECT_EQ(tree.topLevelItemCount(), 0);
    tree.setMessage(nullptr, false);
    PXRMsgDestroy(psEmpty);
}

TEST_F(MsgTreeWidgetTest, IconClickRemovesWhatThePressHitWhereverTheButtonIsReleased)
{
    tree.setMessage(msg, true);
    tree.setColumnWidth(0, 250);
    QSignalSpy changed(&tree, &PXRMsgTreeWidget::signalMsgChanged);
    QTreeWidgetItem *device = row(rootRow(), "device");
    click(row(device, "ip"), 25, 25);
    EXPECT_EQ(attributeOf(child("device"), "ip"), "10.0.0.5");
    click(row(device, "ip"), 40, 8); // pressed off the icon, released on it
    EXPECT_EQ(attributeOf(child("device"), "ip"), "10.0.0.5");
    EXPECT_EQ(changed.count(), 0);
    click(row(device, "ip"), 3, 60); // pressed on the icon, released further along the row
    EXPECT_EQ(attributeOf(child("device"), "ip"), "<none>");
    EXPECT_EQ(childTexts(device), QStringList({"city", "Add new attribute...", "Add new element..."}));
    click(row(rootRow(), "empty"), 0, 0);
    EXPECT_EQ(PXRMsgElementFirstChild(root(), "empty"), nullptr);
    EXPECT_EQ(row(rootRow(), "empty"), nullptr);
    click(rootRow(), 2, 2); // the root has no parent row and stays
    EXPECT_EQ(tree.topLevelItemCount(), 1);
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(MsgTreeWidgetTest, AddingAnElementAsksItsNameAndCancelOrEmptyAddsNothing)
{
    tree.setMessage(msg, true);
    QSignalSpy changed(&tree, &PXRMsgTreeWidget::signalMsgChanged);
    QString title;
    for (const QString &answer : {QString(), QString("")}) {
        ZyModalRunner::setHandler(answerText(answer, &title));
        click(row(rootRow(), "Add new element..."), 5, 5);
    }
    EXPECT_EQ(title, "Element");
    EXPECT_EQ(PXRMsgElementChildCount(root(), nullptr), 4u);
    ZyModalRunner::setHandler(answerText("camera"));
    click(row(rootRow(), "Add new element..."), 5, 5);
    EXPECT_NE(PXRMsgElementFirstChild(root(), "camera"), nullptr);
    const QStringList texts = childTexts(rootRow());
    EXPECT_EQ(texts.mid(texts.size() - 2), QStringList({"camera", "Add new element..."}));
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(MsgTreeWidgetTest, AddingAnAttributeNeedsANameAndAnExistingNameReplacesItsValue)
{
    tree.setMessage(msg, true);
    QTreeWidgetItem *device = row(rootRow(), "device");
    QStringList boxes;
    ZyModalRunner::setHandler([&](QDialog *dialog) {
        if (qobject_cast<QMessageBox *>(dialog))
            return answerAttribute("", "", &boxes)(dialog);
        // The first OK is refused for the empty name; the dialog is then cancelled.
        auto *edit = qobject_cast<DlgEditAttribute *>(dialog);
        edit->findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Ok)->click();
        EXPECT_EQ(edit->result(), 0);
        edit->findChild<QDialogButtonBox *>("buttonBox")->button(QDialogButtonBox::Cancel)->click();
        return edit->result();
    });
    click(row(device, "Add new attribute..."), 5, 5);
    EXPECT_EQ(boxes, QStringList({"Error: Name can't be empty"}));
    EXPECT_EQ(PXRMsgElementAttributeCount(child("device")), 2u);

    ZyModalRunner::setHandler(answerAttribute("port", "10001"));
    click(row(device, "Add new attribute..."), 5, 5);
    EXPECT_EQ(attributeOf(child("device"), "port"), "10001");
    EXPECT_EQ(childTexts(device).mid(0, 4), QStringList({"ip", "city", "port", "Add new attribute..."}));

    ZyModalRunner::setHandler(answerAttribute("IP", "10.0.0.6"));
    click(row(device, "Add new attribute..."), 5, 5);
    EXPECT_EQ(attributeOf(child("device"), "ip"), "10.0.0.6");
    EXPECT_EQ(row(device, "ip")->text(1), "10.0.0.6");
    EXPECT_EQ(PXRMsgElementAttributeCount(child("device")), 3u);
}

TEST_F(MsgTreeWidgetTest, DoubleClickRenamesAttributesAndElementsTheRootIncluded)
{
    tree.setMessage(msg, true);
    QSignalSpy changed(&tree, &PXRMsgTreeWidget::signalMsgChanged);
    QTreeWidgetItem *device = row(rootRow(), "device");
    ZyModalRunner::setHandler(answerAttribute("town", QString::fromUtf8("Montr\xc3\xa9" "al")));
    tree.onItemDoubleClicked(row(device, "city"));
    EXPECT_EQ(attributeOf(child("device"), "city"), "<none>");
    EXPECT_EQ(attributeOf(child("device"), "town"), QString::fromUtf8("Montr\xc3\xa9" "al"));
    EXPECT_STREQ(PXRMsgElementAttributeName(child("device"), 1), "town");
    EXPECT_EQ(childTexts(device).mid(0, 2), QStringList({"ip", "town"}));

    QString title;
    ZyModalRunner::setHandler(answerText("getConfig", &title));
    tree.onItemDoubleClicked(rootRow());
    EXPECT_EQ(title, "Element name");
    EXPECT_STREQ(PXRMsgElementName(root()), "getConfig");
    EXPECT_EQ(rootRow()->text(0), "getConfig");
    EXPECT_TRUE(row(rootRow(), "device")->isExpanded());
    ZyModalRunner::setHandler(answerText(QString()));
    tree.onItemDoubleClicked(rootRow());
    EXPECT_STREQ(PXRMsgElementName(root()), "getConfig");
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(MsgTreeWidgetTest, ReadOnlyTreeIgnoresClicksAndDoubleClicks)
{
    tree.setMessage(msg, false);
    bool asked = false;
    ZyModalRunner::setHandler([&](QDialog *) {
        asked = true;
        return int(QDialog::Rejected);
    });
    click(row(row(rootRow(), "device"), "ip"), 3, 3);
    tree.onItemDoubleClicked(rootRow());
    EXPECT_FALSE(asked);
    EXPECT_EQ(attributeOf(child("device"), "ip"), "10.0.0.5");
}

TEST_F(MsgTreeWidgetTest, ViewShowsPicturesAndRefusesOtherContent)
{
    tree.setMessage(msg, false);
    QStringList shown;
    ZyModalRunner::setHandler([&](QDialog *dialog) {
        if (auto *box = qobject_cast<QMessageBox *>(dialog))
            shown.append(box->windowTitle() + ": " + box->text());
        else if (auto *viewer = qobject_cast<DlgPXRShowBinaryContent *>(dialog)) {
            const QImage shot = viewer->image()->grab().toImage();
            const QColor centre = shot.pixelColor(shot.width() / 2, shot.height() / 2);
            shown.append(centre.blue() > 150 && centre.red() < 80 ? "picture" : "no picture");
        }
        return int(QDialog::Accepted);
    });
    followLink(row(rootRow(), "imageJPEG"), "view");
    followLink(row(rootRow(), "notes"), "view");
    EXPECT_EQ(shown, QStringList({"picture", "Binary content: Unknown content"}));

    DlgPXRShowBinaryContent viewer;
    ZyModalRunner::setHandler([&](QDialog *dialog) {
        shown.append(static_cast<QMessageBox *>(dialog)->text());
        return int(QMessageBox::Ok);
    });
    EXPECT_EQ(viewer.showContent(child("empty")), 0);
    EXPECT_EQ(shown.last(), "There is no binary data in this element");
}

TEST_F(MsgTreeWidgetTest, SaveWritesTheContentBytesAndOffersPicturesForJpegElements)
{
    tree.setMessage(msg, false);
    QTemporaryDir folder;
    QStringList filters;
    QString target;
    ZyModalRunner::setHandler([&](QDialog *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        filters.append(files->nameFilters().join(";;"));
        files->selectFile(target);
        return int(QDialog::Accepted);
    });
    target = folder.filePath("picture.jpg");
    followLink(row(rootRow(), "imageJPEG"), "save");
    target = folder.filePath("notes.bin");
    followLink(row(rootRow(), "notes"), "save");
    EXPECT_EQ(filters, QStringList({"Image (*.jpg);;All files (*.*)", "All files (*.*)"}));
    QFile picture(folder.filePath("picture.jpg"));
    ASSERT_TRUE(picture.open(QIODevice::ReadOnly));
    EXPECT_EQ(picture.readAll(), jpegBytes());
    QFile notes(folder.filePath("notes.bin"));
    ASSERT_TRUE(notes.open(QIODevice::ReadOnly));
    EXPECT_EQ(notes.readAll(), QByteArray("1234567890123"));
}

TEST_F(MsgTreeWidgetTest, LoadAndClearReplaceTheContentAndMissingFilesAreReported)
{
    tree.setMessage(msg, true);
    QSignalSpy changed(&tree, &PXRMsgTreeWidget::signalMsgChanged);
    QTemporaryDir folder;
    QSettings().setValue("LastDataSave", folder.path());
    QFile source(folder.filePath("data.bin"));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly));
    source.write(QByteArray(1500, 'x'));
    source.close();
    QString file = source.fileName(), startFolder;
    QStringList boxes;
    ZyModalRunner::setHandler([&](QDialog *dialog) {
        if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
            boxes.append(box->windowTitle() + ": " + box->text());
            return int(QMessageBox::Ok);
        }
        auto *files = qobject_cast<QFileDialog *>(dialog);
        startFolder = files->directory().absolutePath();
        files->selectFile(file);
        return int(QDialog::Accepted);
    });
    followLink(row(rootRow(), "device"), "load");
    EXPECT_EQ(startFolder, folder.path());
    EXPECT_EQ(PXRMsgElementContentSize(child("device")), 1500u);
    EXPECT_TRUE(contentLine(row(rootRow(), "device")).startsWith("Data (1500 bytes)"));
    EXPECT_EQ(childTexts(row(rootRow(), "device")).first(), "ip");

    file = folder.filePath("missing.bin");
    followLink(row(rootRow(), "notes"), "load");
    EXPECT_EQ(boxes, QStringList({"Error: Unable to open file"}));
    EXPECT_EQ(PXRMsgElementContentSize(child("notes")), 13u);

    followLink(row(rootRow(), "notes"), "clear");
    EXPECT_EQ(PXRMsgElementContentSize(child("notes")), 0u);
    EXPECT_EQ(contentLine(row(rootRow(), "notes")), "No data <a href=\"load\">Load</a>");
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(MsgTreeWidgetTest, PicturesOfTheTreeAndItsDialogs)
{
    tree.setMessage(msg, true);
    tree.setColumnWidth(0, 220);
    EXPECT_FALSE(keepPicture(tree, "PXRMsgTreeWidget").isNull());
    DlgEditAttribute edit;
    edit.findChild<QLineEdit *>("edtName")->setText("city");
    edit.findChild<QLineEdit *>("edtValue")->setText(QString::fromUtf8("Qu\xc3\xa9" "bec"));
    EXPECT_FALSE(keepPicture(edit, "DlgEditAttribute").isNull());
    DlgPXRShowBinaryContent viewer;
    const QByteArray jpeg = jpegBytes();
    QPixmap picture;
    picture.loadFromData(jpeg);
    viewer.image()->setPixmap(picture);
    EXPECT_FALSE(keepPicture(viewer, "DlgPXRShowBinaryContent").isNull());
}

} // namespace
