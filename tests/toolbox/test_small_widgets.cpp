// Small widgets: the folding group box, the zoomable picture, the row label and the busy cursor.
#include "ToolboxTestSupport.h"
#include "ZyAutoCursor.h"
#include "ZyHideableGroupBox.h"
#include "ZyLabel.h"
#include "ZyZoomImage.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidgetItem>
#include <QVBoxLayout>

namespace {

const QColor kBackground(208, 208, 208);

class GroupBoxTest : public ToolboxTest
{
protected:
    void SetUp() override
    {
        ToolboxTest::SetUp();
        auto *outer = new QVBoxLayout(&window);
        box = new ZyHideableGroupBox(&window);
        box->setTitle("Options");
        box->setCheckable(true);
        box->setChecked(true);
        auto *inner = new QVBoxLayout(box);
        for (int i = 0; i < 4; ++i)
            inner->addWidget(new QLineEdit(box));
        outer->addWidget(box);
        outer->addStretch();
        window.resize(300, 400);
        window.show();
        QCoreApplication::processEvents();
        openHeight = box->sizeHint().height();
        ASSERT_GT(openHeight, 60);
    }

    void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    QWidget window;
    ZyHideableGroupBox *box = nullptr;
    int openHeight = 0;
};

TEST_F(GroupBoxTest, UncheckingFoldsToTheTitleBarAndCheckingUnfolds)
{
    const QSizePolicy::Policy original = box->sizePolicy().verticalPolicy();
    box->setChecked(false);
    EXPECT_EQ(box->height(), 20);
    settle();
    EXPECT_EQ(box->height(), 20);
    EXPECT_EQ(box->sizeHint().height(), 20);
    EXPECT_EQ(box->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);
    EXPECT_EQ(render(*box).height(), 20);

    box->setChecked(true);
    settle();
    EXPECT_EQ(box->height(), openHeight);
    EXPECT_TRUE(box->isExpanded());
    EXPECT_EQ(box->sizePolicy().verticalPolicy(), original);
}

TEST_F(GroupBoxTest, FlatBoxFoldsToFifteenPixels)
{
    box->setFlat(true);
    box->setChecked(false);
    settle();
    EXPECT_EQ(box->height(), 15);
}

TEST_F(GroupBoxTest, CollapseFoldsACheckedBoxAndUnchecksIt)
{
    box->collapse();
    settle();
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(box->isExpanded());
    EXPECT_EQ(box->height(), 20);
}

class ZoomImageTest : public ToolboxTest
{
protected:
    static QPixmap picture(int width, int height, const QColor &left, const QColor &right)
    {
        QPixmap pixmap(width, height);
        pixmap.fill(left);
        QPainter painter(&pixmap);
        painter.fillRect(width / 2, 0, width - width / 2, height, right);
        return pixmap;
    }

    ZyZoomImage view;
};

TEST_F(ZoomImageTest, PicturesAreFittedAndCentredWithGreyBands)
{
    view.resize(720, 576);
    view.setPixmap(picture(720, 288, Qt::red, Qt::red));
    QImage image = render(view);
    EXPECT_EQ(view.targetRect(), QRect(0, 0, 720, 576));
    EXPECT_EQ(image.pixelColor(360, 2), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(360, 573), QColor(Qt::red));

    view.setPixmap(picture(1920, 1080, Qt::red, Qt::red));
    image = render(view);
    EXPECT_EQ(view.targetRect(), QRect(0, 85, 720, 405));
    EXPECT_EQ(image.pixelColor(360, 40), kBackground);
    EXPECT_EQ(image.pixelColor(360, 300), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(360, 530), kBackground);

    view.resize(1000, 100);
    view.setPixmap(picture(200, 100, Qt::red, Qt::red));
    image = render(view);
    EXPECT_EQ(view.targetRect(), QRect(400, 0, 200, 100));
    EXPECT_EQ(image.pixelColor(300, 50), kBackground);
}

TEST_F(ZoomImageTest, WithoutPictureOnlyTheBackgroundIsPainted)
{
    view.resize(50, 40);
    const QImage image = render(view);
    EXPECT_EQ(image.pixelColor(0, 0), kBackground);
    EXPECT_EQ(image.pixelColor(49, 39), kBackground);
}

TEST_F(ZoomImageTest, HoldingTheLeftButtonMagnifiesAroundThePressedPoint)
{
    view.resize(200, 100);
    view.setPixmap(picture(200, 100, Qt::red, Qt::blue));
    view.show();
    EXPECT_EQ(render(view).pixelColor(150, 50), QColor(Qt::blue));

    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(view.isZooming());
    EXPECT_EQ(view.cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(render(view).pixelColor(150, 50), QColor(Qt::red));

    QTest::mouseMove(&view, QPoint(199, 99));
    EXPECT_EQ(render(view).pixelColor(10, 50), QColor(Qt::blue));

    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(199, 99));
    EXPECT_FALSE(view.isZooming());
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(render(view).pixelColor(10, 50), QColor(Qt::red));
}

TEST_F(ZoomImageTest, SmallPictureInALargeViewIsShownUnscaledWhileZooming)
{
    view.resize(500, 500);
    view.setPixmap(picture(100, 100, Qt::red, Qt::red));
    view.show();
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(250, 250));
    const QImage image = render(view);
    EXPECT_EQ(image.pixelColor(50, 50), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(150, 150), kBackground);
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(250, 250));
}

TEST_F(ZoomImageTest, ForbiddenZoomOnlyChangesTheCursor)
{
    view.resize(200, 100);
    view.setPixmap(picture(200, 100, Qt::red, Qt::blue));
    view.setZoomEnabled(false);
    view.show();
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(view.isZooming());
    EXPECT_EQ(view.cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(render(view).pixelColor(150, 50), QColor(Qt::blue));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ZoomImageTest, SavingWritesThePictureAndRemembersItsFolder)
{
    QTemporaryDir dir;
    view.setPixmap(picture(64, 32, Qt::red, Qt::blue));
    QString target = dir.filePath("shot.jpg");
    QString boxText;
    ZyModalRunner::setHandler([&](QDialog *dialog) {
        if (auto *files = qobject_cast<QFileDialog *>(dialog)) {
            files->setDirectory(dir.path());
            files->selectFile(target);
            return int(QDialog::Accepted);
        }
        boxText = static_cast<QMessageBox *>(dialog)->text();
        return int(QMessageBox::Ok);
    });
    view.onSaveImage();
    EXPECT_EQ(QImage(target).size(), QSize(64, 32));
    EXPECT_EQ(QSettings().value("Image_LastSaved").toString(), dir.path());
    EXPECT_TRUE(boxText.isEmpty());

    target = dir.filePath("missing/shot.jpg");
    view.onSaveImage();
    EXPECT_EQ(boxText, QString("Unable to open file for writing"));
}

TEST(SmallWidgets, LabelRemembersItsRow)
{
    QTreeWidgetItem row;
    ZyLabel label(nullptr, &row);
    EXPECT_EQ(label.item(), &row);
}

TEST(SmallWidgets, BusyCursorLastsForItsScope)
{
    QWidget window;
    QWidget widget(&window);
    {
        ZyAutoCursor busy(&widget, Qt::WaitCursor);
        EXPECT_TRUE(widget.testAttribute(Qt::WA_SetCursor));
        EXPECT_EQ(widget.cursor().shape(), Qt::WaitCursor);
    }
    EXPECT_FALSE(widget.testAttribute(Qt::WA_SetCursor));
}

} // namespace
