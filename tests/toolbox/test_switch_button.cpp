// The drawn on/off switch: knob and pictures by state, presses that only report, signals.
#include "ToolboxTestSupport.h"
#include "ZySwitchButton.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QColor kKnobEdge(120, 120, 120);
const QColor kTrackOn(194, 67, 50);
const QColor kTrackOff(210, 210, 210);
const QColor kOnPicture(0, 200, 0);
const QColor kOffPicture(0, 0, 200);

QPixmap filled(const QColor &colour)
{
    QPixmap picture(30, 30);
    picture.fill(colour);
    return picture;
}

// The main window's lock switch.
ZySwitchButton::Style lockStyle(bool showImages = true)
{
    ZySwitchButton::Style style;
    style.showImages = showImages;
    style.offImage = filled(kOffPicture);
    style.onImage = filled(kOnPicture);
    style.value = false;
    style.enabled = true;
    style.integer = 200;
    style.height = 24;
    style.widthRatio = 2.2f;
    style.offTooltip = "Lock";
    style.onTooltip = "Unlock";
    return style;
}

class SwitchButtonTest : public ToolboxTest
{
protected:
    void SetUp() override
    {
        ToolboxTest::SetUp();
        host.resize(100, 40);
        host.show();
    }

    QWidget host;
};

TEST_F(SwitchButtonTest, OffShowsTheKnobLeftAndTheUnlockPictureRight)
{
    ZySwitchButton button(&host, lockStyle());
    EXPECT_EQ(button.size(), QSize(52, 24));
    const QImage image = render(button);
    EXPECT_EQ(image.pixelColor(0, 12), kKnobEdge);
    EXPECT_EQ(image.pixelColor(23, 12), kKnobEdge);
    EXPECT_EQ(image.pixelColor(26, 12), kTrackOff);
    EXPECT_EQ(image.pixelColor(35, 12), kOffPicture);
    EXPECT_EQ(button.toolTip(), QString("Lock"));
}

TEST_F(SwitchButtonTest, OnShowsTheKnobRightAndTheLockPictureLeft)
{
    ZySwitchButton button(&host, lockStyle());
    button.setValue(true);
    const QImage image = render(button);
    EXPECT_EQ(image.pixelColor(28, 12), kKnobEdge);
    EXPECT_EQ(image.pixelColor(51, 12), kKnobEdge);
    EXPECT_EQ(image.pixelColor(2, 12), kTrackOn);
    EXPECT_EQ(image.pixelColor(10, 12), kOnPicture);
    EXPECT_NE(image.pixelColor(35, 12), kOffPicture);
    EXPECT_EQ(button.toolTip(), QString("Unlock"));
}

TEST_F(SwitchButtonTest, WithoutPicturesOnlyTheTrackShowsAndTooltipsStillChange)
{
    ZySwitchButton button(&host, lockStyle(false));
    EXPECT_EQ(render(button).pixelColor(35, 12), kTrackOff);
    button.setValue(true);
    EXPECT_EQ(render(button).pixelColor(10, 12), kTrackOn);
    EXPECT_EQ(button.toolTip(), QString("Unlock"));
}

TEST_F(SwitchButtonTest, PressReportsAClickAndLeavesTheStateToItsOwner)
{
    ZySwitchButton button(&host, lockStyle());
    QSignalSpy clicked(&button, &ZySwitchButton::clicked);
    QSignalSpy changed(&button, &ZySwitchButton::valueChanged);
    QTest::mousePress(&button, Qt::RightButton, {}, QPoint(40, 12));
    QTest::mouseRelease(&button, Qt::RightButton, {}, QPoint(40, 12));
    EXPECT_EQ(clicked.size(), 1);
    EXPECT_EQ(changed.size(), 0);
    EXPECT_FALSE(button.value());
    EXPECT_EQ(render(button).pixelColor(0, 12), kKnobEdge);
}

TEST_F(SwitchButtonTest, EverySetValueIsReportedEvenWithoutChange)
{
    ZySwitchButton button(&host, lockStyle());
    QSignalSpy changed(&button, &ZySwitchButton::valueChanged);
    button.setValue(true);
    button.setValue(true);
    ASSERT_EQ(changed.size(), 2);
    EXPECT_TRUE(changed.at(1).at(0).toBool());
}

TEST_F(SwitchButtonTest, NextValueRestoresTheStylesEnabledState)
{
    ZySwitchButton button(&host, lockStyle());
    button.setEnabled(false);
    button.setValue(false);
    EXPECT_TRUE(button.isEnabled());

    ZySwitchButton::Style disabled = lockStyle();
    disabled.enabled = false;
    ZySwitchButton greyed(&host, disabled);
    EXPECT_FALSE(greyed.isEnabled());
    // The knob's face ends in a greyer blue while disabled.
    EXPECT_NE(render(greyed).pixelColor(12, 20), render(button).pixelColor(12, 20));
}

} // namespace
