// The schema combo: its items read from a small schema in schema order, the configured value
// chosen or refused, values taken out, the documentation box of the attribute and the chosen
// value, and its state inside a disabled container.
#include "Model.h"
#include "TestPictures.h"
#include "ToolboxTestSupport.h"
#include "WidgetComboDoc.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QToolButton>
#include <QVBoxLayout>

#include <ostream>
#include <vector>

namespace {

// config/cameras/camera/anpr with three enumerations: "direction" documented with one value
// documented, "side" with only a value documented, "speed" without any documentation; and
// "threshold", documented but not an enumeration.
const char kSchema[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">
  <xs:element name="config">
    <xs:complexType>
      <xs:all>
        <xs:element name="cameras">
          <xs:complexType>
            <xs:sequence>
              <xs:element name="camera">
                <xs:complexType>
                  <xs:all>
                    <xs:element name="anpr">
                      <xs:complexType>
                        <xs:attribute name="direction">
                          <xs:annotation><xs:documentation>Plates <i>read</i>.</xs:documentation></xs:annotation>
                          <xs:simpleType>
                            <xs:restriction base="xs:string">
                              <xs:enumeration value="front">
                                <xs:annotation><xs:documentation>Seen coming.</xs:documentation></xs:annotation>
                              </xs:enumeration>
                              <xs:enumeration value="rear"/>
                              <xs:enumeration value="both"/>
                              <xs:enumeration value="tollGate"/>
                            </xs:restriction>
                          </xs:simpleType>
                        </xs:attribute>
                        <xs:attribute name="side">
                          <xs:simpleType>
                            <xs:restriction base="xs:string">
                              <xs:enumeration value="gantry"/>
                              <xs:enumeration value="lateral">
                                <xs:annotation><xs:documentation>Beside the lane.</xs:documentation></xs:annotation>
                              </xs:enumeration>
                            </xs:restriction>
                          </xs:simpleType>
                        </xs:attribute>
                        <xs:attribute name="speed">
                          <xs:simpleType>
                            <xs:restriction base="xs:string">
                              <xs:enumeration value="slow"/>
                              <xs:enumeration value="fast"/>
                            </xs:restriction>
                          </xs:simpleType>
                        </xs:attribute>
                        <xs:attribute name="threshold" type="xs:int">
                          <xs:annotation><xs:documentation>Lowest score kept.</xs:documentation></xs:annotation>
                        </xs:attribute>
                      </xs:complexType>
                    </xs:element>
                  </xs:all>
                </xs:complexType>
              </xs:element>
            </xs:sequence>
          </xs:complexType>
        </xs:element>
      </xs:all>
    </xs:complexType>
  </xs:element>
</xs:schema>
)";

const QStringList kAnpr = {"config", "cameras", "camera", "anpr"};

class ComboDocTest : public ToolboxTest
{
protected:
    void SetUp() override
    {
        ToolboxTest::SetUp();
        ASSERT_TRUE(Model::instance()->schemaDoc().load(kSchema, int(sizeof(kSchema) - 1)));
    }

    QComboBox *inner() const { return combo.findChild<QComboBox *>("comboBox"); }
    QToolButton *helpButton() const { return combo.findChild<QToolButton *>("btnDoc"); }
    QWidget *docBox() const { return combo.findChild<QWidget *>("widgetDoc"); }
    QString docText() const { return combo.findChild<QLabel *>("labelDoc")->text(); }

    QStringList column(int role) const
    {
        QStringList cells;
        for (int i = 0; i < inner()->count(); ++i)
            cells << inner()->itemData(i, role).toString();
        return cells;
    }

    WidgetComboDoc combo;
};

TEST_F(ComboDocTest, FillListsTheSchemaValuesInOrderUnderTheirLabelsAndChoosesTheFirst)
{
    EXPECT_TRUE(combo.isEnabled());
    QSignalSpy changes(&combo, &WidgetComboDoc::currentIndexChanged);
    combo.fill(kAnpr, "direction");

    EXPECT_EQ(combo.count(), 4);
    EXPECT_EQ(column(Qt::DisplayRole), QStringList({"Front", "Rear", "Both", "tollGate"}));
    EXPECT_EQ(column(Qt::UserRole), QStringList({"front", "rear", "both", "tollGate"}));
    EXPECT_EQ(column(Qt::UserRole + 1), QStringList({"Seen coming.", "", "", ""}));
    EXPECT_EQ(combo.currentValue(), "front");
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toInt(), 0);

    combo.fill(kAnpr, "side");
    EXPECT_EQ(column(Qt::UserRole), QStringList({"gantry", "lateral"}));
    EXPECT_EQ(column(Qt::DisplayRole), QStringList({"Gantry", "Lateral"}));
}

TEST_F(ComboDocTest, AnAttributeWithoutEnumerationLeavesTheComboEmpty)
{
    for (const char *attribute : {"threshold", "colour"}) {
        combo.fill(kAnpr, "direction");
        combo.fill(kAnpr, attribute);
        EXPECT_EQ(combo.count(), 0) << attribute;
        EXPECT_TRUE(combo.currentValue().isEmpty()) << attribute;
    }
    combo.fill({"config", "lightings"}, "direction");
    EXPECT_EQ(combo.count(), 0);
}

TEST_F(ComboDocTest, TheOperatorsChoiceIsRelayed)
{
    combo.fill(kAnpr, "direction");
    QSignalSpy changes(&combo, &WidgetComboDoc::currentIndexChanged);
    inner()->setCurrentIndex(2);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toInt(), 2);
    EXPECT_EQ(combo.currentValue(), "both");
}

struct SetValueCase
{
    const char *name;
    std::vector<const char *> values; // given in turn after filling
    bool enabled;
    int index;
    const char *current;
};

void PrintTo(const SetValueCase &c, std::ostream *out)
{
    *out << c.name;
}

class ComboSetValueTest : public ComboDocTest, public ::testing::WithParamInterface<SetValueCase>
{
};

TEST_P(ComboSetValueTest, ChoosesExactlyTheGivenValueOrDisablesForNone)
{
    const SetValueCase &c = GetParam();
    combo.fill(kAnpr, "direction");
    for (const char *value : c.values)
        combo.setValue(value);
    EXPECT_EQ(combo.isEnabled(), c.enabled);
    EXPECT_EQ(inner()->currentIndex(), c.index);
    EXPECT_EQ(combo.currentValue(), QByteArray(c.current));
}

INSTANTIATE_TEST_SUITE_P(
    Values, ComboSetValueTest,
    ::testing::Values(SetValueCase{"NoneKeepsTheFirstItem", {nullptr}, false, 0, "front"},
                      SetValueCase{"NoneKeepsTheChosenItem", {"both", nullptr}, false, 2, "both"},
                      SetValueCase{"ListedValueEnables", {nullptr, "rear"}, true, 1, "rear"},
                      SetValueCase{"OtherLetterCaseChoosesNothing", {nullptr, "Rear"}, true, -1, ""},
                      SetValueCase{"UnlistedValueChoosesNothing", {"both", "sideways"}, true, -1, ""},
                      SetValueCase{"EmptyValueChoosesNothing", {""}, true, -1, ""}),
    [](const ::testing::TestParamInfo<SetValueCase> &info) { return std::string(info.param.name); });

TEST_F(ComboDocTest, RemovesOnlyTheExactValue)
{
    combo.fill(kAnpr, "direction");
    combo.removeValue("rear");
    combo.removeValue("Both");
    combo.removeValue("sideways");
    EXPECT_EQ(combo.count(), 3);
    EXPECT_EQ(column(Qt::UserRole), QStringList({"front", "both", "tollGate"}));
    EXPECT_EQ(column(Qt::DisplayRole), QStringList({"Front", "Both", "tollGate"}));
}

struct DocCase
{
    const char *attribute;
    const char *value;
    const char *text; // empty: no help at all
};

void PrintTo(const DocCase &c, std::ostream *out)
{
    *out << c.attribute << "=" << c.value;
}

class ComboDocBoxTest : public ComboDocTest, public ::testing::WithParamInterface<DocCase>
{
};

TEST_P(ComboDocBoxTest, ShowsTheAttributeAndValueDocumentationBehindTheHelpButton)
{
    const DocCase &c = GetParam();
    combo.fill(kAnpr, c.attribute);
    combo.setValue(c.value);
    const QString expected = QString::fromUtf8(c.text);
    EXPECT_TRUE(docBox()->isHidden()) << "closed until asked for";
    if (expected.isEmpty()) {
        EXPECT_TRUE(helpButton()->isHidden());
        return;
    }
    EXPECT_FALSE(helpButton()->isHidden());
    EXPECT_EQ(docText(), expected);
    helpButton()->click();
    EXPECT_FALSE(docBox()->isHidden());
    helpButton()->click();
    EXPECT_TRUE(docBox()->isHidden());
}

INSTANTIATE_TEST_SUITE_P(
    Documentation, ComboDocBoxTest,
    ::testing::Values(DocCase{"direction", "rear", "Plates <i>read</i>."},
                      DocCase{"direction", "front", "Plates <i>read</i>.<br/><b>Current value: </b>Seen coming."},
                      DocCase{"direction", "sideways", "Plates <i>read</i>."},
                      DocCase{"side", "lateral", "<b>Current value: </b>Beside the lane."},
                      DocCase{"side", "gantry", ""}, DocCase{"speed", "fast", ""}));

TEST_F(ComboDocTest, TheOpenBoxFollowsTheOperatorsChoice)
{
    combo.fill(kAnpr, "side");
    combo.setValue("lateral");
    helpButton()->click();
    ASSERT_FALSE(docBox()->isHidden());

    inner()->setCurrentIndex(0); // "gantry": nothing to say
    EXPECT_TRUE(helpButton()->isHidden());
    EXPECT_TRUE(docBox()->isHidden());

    inner()->setCurrentIndex(1);
    EXPECT_FALSE(helpButton()->isHidden());
    EXPECT_FALSE(docBox()->isHidden()) << "the button is still checked";
    EXPECT_EQ(docText(), "<b>Current value: </b>Beside the lane.");
}

TEST_F(ComboDocTest, IsDisabledWhileItsContainerIs)
{
    QGroupBox group;
    group.setCheckable(true);
    auto *layout = new QVBoxLayout(&group);
    auto *inside = new WidgetComboDoc(&group);
    layout->addWidget(inside);
    inside->fill(kAnpr, "direction");
    inside->setValue("rear");
    ASSERT_TRUE(inside->isEnabled());

    group.setChecked(false);
    EXPECT_FALSE(inside->isEnabled());
    group.setChecked(true);
    EXPECT_TRUE(inside->isEnabled());
    EXPECT_EQ(inside->currentValue(), "rear");
}

TEST_F(ComboDocTest, PictureWithTheDocumentationOpen)
{
    EXPECT_FALSE(QPixmap(":/OBK/Resources/help2.png").isNull());
    EXPECT_FALSE(QPixmap(":/OBK/Resources/help2-sel.png").isNull());
    combo.fill(kAnpr, "direction");
    combo.setValue("front");
    helpButton()->click();
    keepPicture(combo, "widget-combo-doc");
}

} // namespace
