// The settings dialogs' base: the documentation panel shown first when the operator wants it,
// glued to the dialog's right edge, brought back by Help and F1; the lookups of cameras and
// lightings; the schema's bounds; and a dialog whose element the sensor lacks.
#include "AppSettings.h"
#include "CoreTestSupport.h"
#include "DialogDoc.h"
#include "Dialog_Settings.h"
#include "Model.h"
#include "PXRMessage.h"
#include "ZyModalRunner.h"

#include <QDialogButtonBox>
#include <QTest>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QWhatsThis>

#include <optional>

namespace {

const char kSchema[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">
  <xs:element name="config"><xs:complexType><xs:all>
    <xs:element name="feature">
      <xs:annotation><xs:documentation>Feature settings.</xs:documentation></xs:annotation>
      <xs:complexType>
        <xs:attribute name="count">
          <xs:annotation><xs:documentation>How many.</xs:documentation></xs:annotation>
          <xs:simpleType><xs:restriction base="xs:int"><xs:minInclusive value="0"/><xs:maxInclusive value="50"/></xs:restriction></xs:simpleType>
        </xs:attribute>
        <xs:attribute name="limit">
          <xs:simpleType><xs:restriction base="xs:int"><xs:maxInclusive value="900"/></xs:restriction></xs:simpleType>
        </xs:attribute>
      </xs:complexType>
    </xs:element>
    <xs:element name="extra">
      <xs:annotation><xs:documentation>Extra notes.</xs:documentation></xs:annotation>
    </xs:element>
    <xs:element name="bare"/>
  </xs:all></xs:complexType></xs:element>
</xs:schema>)";

// The smallest settings dialog: a number, OK and Cancel.
class TestSettingsDialog : public Dialog_Settings
{
public:
    explicit TestSettingsDialog(QWidget *parent, QStringList path = {"config", "feature"}) : Dialog_Settings(parent)
    {
        auto *layout = new QVBoxLayout(this);
        spin->setRange(-5, 5);
        layout->addWidget(spin);
        buttons->setObjectName("buttonBox");
        buttons->setStandardButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        layout->addWidget(buttons);
        docPath = std::move(path);
        binding.number(spin, "count");
        resize(300, 200);
    }
    using Dialog_Settings::binding;
    using Dialog_Settings::extraDocPaths;
    using Dialog_Settings::showElement;
    using Dialog_Settings::takeSchemaRange;

    bool openingAllowed() override { return allowed; }

    QSpinBox *spin = new QSpinBox;
    QDialogButtonBox *buttons = new QDialogButtonBox;
    bool allowed = true;
};

class DialogSettingsTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        ASSERT_TRUE(Model::instance()->schemaDoc().load(kSchema, int(sizeof kSchema) - 1));
    }

    // Runs the dialog through the seam; the handler sees it as the operator would, then cancels.
    static std::optional<bool> panelShownWhenRun(TestSettingsDialog &dialog)
    {
        std::optional<bool> shown;
        ZyModalRunner::setHandler([&](QDialog *) {
            shown = dialog.documentationPanel() != nullptr && dialog.documentationPanel()->isVisible();
            return int(QDialog::Rejected);
        });
        EXPECT_EQ(dialog.exec(), int(QDialog::Rejected));
        ZyModalRunner::setHandler({});
        return shown;
    }

    static void expectGlued(const TestSettingsDialog &dialog)
    {
        const DialogDoc *panel = dialog.documentationPanel();
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->pos(), QPoint(dialog.frameGeometry().right() + 1, dialog.geometry().y()));
        EXPECT_EQ(panel->height(), dialog.height());
    }

    static PXRMessage config(const char *name)
    {
        PXRMessage msg = pxrMsgWithRoot("config");
        PXRMsgElement *section = PXRMsgElementCreate(name);
        PXRMsgElementAddChild(PXRMsgChild(msg.get()), section);
        return msg;
    }
    static PXRMsgElement *addChild(PXRMsgElement *parent, const char *name, const char *id)
    {
        PXRMsgElement *child = PXRMsgElementCreate(name);
        PXRMsgElementSetAttribute(child, "id", id);
        PXRMsgElementAddChild(parent, child);
        return child;
    }
};

} // namespace

TEST_F(DialogSettingsTest, DocumentationComesFirstUnlessTheOperatorClosedItAndHelpBringsItBack)
{
    {
        TestSettingsDialog dialog(nullptr);
        EXPECT_EQ(panelShownWhenRun(dialog), true);
        // Closing the panel is the operator's choice for the next dialogs.
        dialog.documentationPanel()->close();
        EXPECT_FALSE(dialog.documentationPanel()->isVisible());
        EXPECT_FALSE(AppSettings().showDialogDoc());
    }
    TestSettingsDialog next(nullptr);
    EXPECT_EQ(panelShownWhenRun(next), false);
    EXPECT_EQ(next.documentationPanel(), nullptr);
    next.show();
    QPushButton *help = next.buttons->button(QDialogButtonBox::Help);
    ASSERT_NE(help, nullptr);
    help->click();
    ASSERT_NE(next.documentationPanel(), nullptr);
    EXPECT_TRUE(next.documentationPanel()->isVisible());
    EXPECT_TRUE(AppSettings().showDialogDoc());

    next.documentationPanel()->close();
    next.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&next));
    QTest::keyClick(&next, Qt::Key_F1);
    EXPECT_TRUE(next.documentationPanel()->isVisible());
    next.documentationPanel()->close();
    QEvent whatsThis(QEvent::EnterWhatsThisMode);
    QCoreApplication::sendEvent(&next, &whatsThis);
    EXPECT_TRUE(next.documentationPanel()->isVisible());
    EXPECT_FALSE(QWhatsThis::inWhatsThisMode());
}

TEST_F(DialogSettingsTest, ADialogThatCannotOpenEndsRejectedUnseenAndWithoutDocumentation)
{
    TestSettingsDialog dialog(nullptr);
    dialog.allowed = false;
    bool seen = false;
    ZyModalRunner::setHandler([&](QDialog *) {
        seen = true;
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(dialog.exec(), int(QDialog::Rejected));
    EXPECT_FALSE(seen);
    EXPECT_EQ(dialog.documentationPanel(), nullptr);
}

TEST_F(DialogSettingsTest, ThePanelStaysGluedToTheRightEdgeThroughMovesAndResizes)
{
    TestSettingsDialog dialog(nullptr);
    dialog.move(40, 30);
    dialog.show();
    dialog.showDoc();
    expectGlued(dialog);
    const int width = dialog.documentationPanel()->width();
    dialog.move(200, 120);
    expectGlued(dialog);
    dialog.resize(420, 380);
    expectGlued(dialog);
    EXPECT_EQ(dialog.documentationPanel()->width(), width);
}

TEST_F(DialogSettingsTest, NoDocumentationMeansNoPanelAndTheChoiceUnchanged)
{
    AppSettings().setShowDialogDoc(true);
    TestSettingsDialog bare(nullptr, {"config", "bare"});
    EXPECT_EQ(panelShownWhenRun(bare), false);
    EXPECT_EQ(bare.documentationPanel(), nullptr);
    TestSettingsDialog unknown(nullptr, {"config", "nothing"});
    unknown.showDoc();
    EXPECT_EQ(unknown.documentationPanel(), nullptr);
    EXPECT_TRUE(AppSettings().showDialogDoc());
}

TEST_F(DialogSettingsTest, ExtraPathsFollowTheElementsDocumentation)
{
    TestSettingsDialog dialog(nullptr);
    dialog.extraDocPaths = {{"config", "bare"}, {"config", "extra"}};
    dialog.showDoc();
    ASSERT_NE(dialog.documentationPanel(), nullptr);
    const QString text = dialog.documentationPanel()->findChild<QLabel *>("labelDoc")->text();
    EXPECT_TRUE(text.startsWith("Feature settings.")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("<br><br><br><br>Extra notes.")) << text.toStdString();
}

TEST_F(DialogSettingsTest, SchemaBoundsReplaceOnlyTheBoundsTheSchemaGives)
{
    TestSettingsDialog dialog(nullptr);
    QSpinBox limit;
    limit.setRange(10, 20);
    dialog.takeSchemaRange(&limit, "limit");
    EXPECT_EQ(limit.minimum(), 10);
    EXPECT_EQ(limit.maximum(), 900);
    dialog.takeSchemaRange(dialog.spin, "count");
    EXPECT_EQ(dialog.spin->minimum(), 0);
    EXPECT_EQ(dialog.spin->maximum(), 50);
    QSpinBox none;
    none.setRange(3, 7);
    dialog.takeSchemaRange(&none, "unknown");
    EXPECT_EQ(none.minimum(), 3);
    EXPECT_EQ(none.maximum(), 7);
}

TEST_F(DialogSettingsTest, AMissingElementDisablesEverythingWithANote)
{
    TestSettingsDialog dialog(nullptr);
    dialog.showElement(nullptr);
    auto *note = dialog.findChild<QLabel *>("labelMissingSettings");
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text(), "The sensor does not have these settings.");
    EXPECT_FALSE(dialog.spin->isEnabled());
    EXPECT_FALSE(dialog.buttons->button(QDialogButtonBox::Ok)->isEnabled());
    EXPECT_TRUE(dialog.buttons->button(QDialogButtonBox::Cancel)->isEnabled());
}

TEST_F(DialogSettingsTest, CamerasAndLightingsAreFoundByIdWithoutRegardToCase)
{
    PXRMessage msg = config("cameras");
    PXRMsgElement *cameras = PXRMsgElementFirstChild(PXRMsgChild(msg.get()), "cameras");
    addChild(cameras, "camera", "0");
    PXRMsgElement *second = addChild(cameras, "Camera", "Rear");
    PXRMsgElement *lightings = PXRMsgElementCreate("lightings");
    PXRMsgElementAddChild(PXRMsgChild(msg.get()), lightings);
    addChild(lightings, "projector", "1");
    PXRMsgElement *led = addChild(lightings, "led", "1");

    EXPECT_EQ(Dialog_Settings::findCamera(msg.get(), "rear"), second);
    EXPECT_EQ(Dialog_Settings::findCamera(msg.get(), "2"), nullptr);
    EXPECT_EQ(Dialog_Settings::findCamera(nullptr, "0"), nullptr);
    EXPECT_EQ(Dialog_Settings::findLighting(msg.get(), "LED=1"), led);
    EXPECT_EQ(Dialog_Settings::findLighting(msg.get(), "led"), nullptr);
    EXPECT_EQ(Dialog_Settings::findLighting(msg.get(), "led=2"), nullptr);
    EXPECT_EQ(Dialog_Settings::findLighting(config("cameras").get(), "led=1"), nullptr);
}
