// The binding of settings controls to an element's attributes, with plain widgets: what loading
// shows, and what writing sends — only attributes read and usable, untouched values as read.
#include "ConfigElement.h"
#include "CoreTestSupport.h"
#include "Model.h"
#include "PXRMessage.h"
#include "SettingsBinding.h"
#include "WidgetComboDoc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include <functional>
#include <optional>
#include <string>

namespace {

const char kSchema[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">
  <xs:element name="config"><xs:complexType><xs:all>
    <xs:element name="feature"><xs:complexType>
      <xs:attribute name="mode"><xs:simpleType><xs:restriction base="xs:string">
        <xs:enumeration value="auto"/><xs:enumeration value="manual"/>
      </xs:restriction></xs:simpleType></xs:attribute>
    </xs:complexType></xs:element>
  </xs:all></xs:complexType></xs:element>
</xs:schema>)";

// One control of each kind, the way a form holds them.
struct Controls
{
    Controls()
    {
        spin->setRange(0, 100);
        combo->fill({"config", "feature"}, "mode");
        group->setCheckable(true);
        items->addItem("First", "a");
        items->addItem("Second", "b");
        auto *layout = new QVBoxLayout(&form);
        for (QWidget *w : {static_cast<QWidget *>(check), static_cast<QWidget *>(group), static_cast<QWidget *>(spin),
                           static_cast<QWidget *>(combo), static_cast<QWidget *>(edit), static_cast<QWidget *>(label),
                           static_cast<QWidget *>(items)})
            layout->addWidget(w);
    }
    QWidget form;
    QCheckBox *check = new QCheckBox("check");
    QGroupBox *group = new QGroupBox("group");
    QSpinBox *spin = new QSpinBox;
    WidgetComboDoc *combo = new WidgetComboDoc;
    QLineEdit *edit = new QLineEdit;
    QLabel *label = new QLabel("label");
    QComboBox *items = new QComboBox;
};

enum class Control { Check, Group, Spin, Combo, Edit, Items };

struct BindCase
{
    const char *name;
    Control control;
    std::optional<std::string> read; // the attribute's text in the configuration, or absent
    std::function<void(Controls &)> act;
    bool usable;
    std::optional<std::string> sent;
};

void PrintTo(const BindCase &c, std::ostream *out)
{
    *out << c.name;
}

class SettingsBindingTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        ASSERT_TRUE(Model::instance()->schemaDoc().load(kSchema, int(sizeof kSchema) - 1));
    }

    static SettingsBinding::Entry &bind(SettingsBinding &binding, Controls &c, Control control, const char *attribute)
    {
        switch (control) {
        case Control::Check:
            return binding.flag(c.check, attribute);
        case Control::Group:
            return binding.flag(c.group, attribute);
        case Control::Spin:
            return binding.number(c.spin, attribute);
        case Control::Combo:
            return binding.choice(c.combo, attribute);
        case Control::Items:
            return binding.item(c.items, attribute);
        case Control::Edit:
            break;
        }
        return binding.text(c.edit, attribute);
    }

    static PXRMessage element(std::initializer_list<std::pair<const char *, const char *>> attributes)
    {
        PXRMessage msg = pxrMsgWithRoot("feature");
        for (const auto &[name, value] : attributes)
            PXRMsgElementSetAttribute(PXRMsgChild(msg.get()), name, value);
        return msg;
    }

    // name=value pairs the binding writes, in order.
    static QStringList written(const SettingsBinding &binding)
    {
        PXRMessage target = pxrMsgWithRoot("feature");
        PXRMsgElement *root = PXRMsgChild(target.get());
        binding.write(ConfigElement(root));
        QStringList out;
        for (uint32_t i = 0; i < PXRMsgElementAttributeCount(root); ++i) {
            const char *name = PXRMsgElementAttributeName(root, i);
            out << QString::fromUtf8(name) + '=' + QString::fromUtf8(PXRMsgElementAttributeValue(root, name));
        }
        return out;
    }
};

class BindingCases : public SettingsBindingTest, public ::testing::WithParamInterface<BindCase>
{
};

void select(WidgetComboDoc *combo, int index)
{
    combo->findChild<QComboBox *>()->setCurrentIndex(index);
}

} // namespace

TEST_P(BindingCases, LoadsTheValueAndSendsItOnlyWhenReadAndUsable)
{
    const BindCase &c = GetParam();
    Controls controls;
    SettingsBinding binding;
    bind(binding, controls, c.control, "value");
    const PXRMessage config = c.read ? element({{"other", "x"}, {"value", c.read->c_str()}}) : element({{"other", "x"}});
    binding.load(PXRMsgChild(config.get()));
    if (c.act)
        c.act(controls);
    EXPECT_EQ(binding.entry("value")->present(), c.read.has_value());
    const QStringList expected = c.sent ? QStringList{QString::fromStdString("value=" + *c.sent)} : QStringList{};
    EXPECT_EQ(written(binding), expected);
    EXPECT_EQ(binding.writesAny(), c.sent.has_value());
    const bool usable = c.control == Control::Combo ? controls.combo->isEnabled()
                        : c.control == Control::Check ? controls.check->isEnabled()
                        : c.control == Control::Group ? controls.group->isEnabled()
                        : c.control == Control::Spin  ? controls.spin->isEnabled()
                        : c.control == Control::Items ? controls.items->isEnabled()
                                                      : controls.edit->isEnabled();
    EXPECT_EQ(usable, c.usable);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BindingCases,
    ::testing::Values(
        BindCase{"FlagTrue", Control::Check, "true", nullptr, true, "1"},
        BindCase{"FlagOne", Control::Check, "1", nullptr, true, "1"},
        BindCase{"FlagOtherTextIsFalse", Control::Check, "yes", nullptr, true, "0"},
        BindCase{"FlagAbsent", Control::Check, std::nullopt, [](Controls &c) { c.check->setChecked(true); }, false,
                 std::nullopt},
        BindCase{"FlagUnchecked", Control::Check, "1", [](Controls &c) { c.check->setChecked(false); }, true, "0"},
        BindCase{"GroupSwitch", Control::Group, "0", nullptr, true, "0"},
        BindCase{"Number", Control::Spin, "42", nullptr, true, "42"},
        // Out of range, trailing text, below the minimum: kept as read while untouched.
        BindCase{"NumberAboveRangeUntouched", Control::Spin, "250", nullptr, true, "250"},
        BindCase{"NumberTrailingTextUntouched", Control::Spin, "12abc", nullptr, true, "12abc"},
        BindCase{"NumberBelowRangeUntouched", Control::Spin, "-5", nullptr, true, "-5"},
        BindCase{"NumberChanged", Control::Spin, "250", [](Controls &c) { c.spin->setValue(7); }, true, "7"},
        BindCase{"NumberWithoutDigits", Control::Spin, "abc", [](Controls &c) { c.spin->setValue(3); }, true, "3"},
        BindCase{"NumberAbsent", Control::Spin, std::nullopt, [](Controls &c) { c.spin->setValue(9); }, false,
                 std::nullopt},
        BindCase{"Choice", Control::Combo, "manual", nullptr, true, "manual"},
        BindCase{"ChoiceChanged", Control::Combo, "manual", [](Controls &c) { select(c.combo, 0); }, true, "auto"},
        // A value the schema does not list selects nothing, and nothing is sent.
        BindCase{"ChoiceUnknown", Control::Combo, "Manual", nullptr, true, std::nullopt},
        BindCase{"ChoiceAbsent", Control::Combo, std::nullopt, nullptr, false, std::nullopt},
        BindCase{"Text", Control::Edit, "h\xC3\xA9llo", nullptr, true, "h\xC3\xA9llo"},
        BindCase{"TextEdited", Control::Edit, "a", [](Controls &c) { c.edit->setText("b\xC3\xA9"); }, true,
                 "b\xC3\xA9"},
        BindCase{"TextEmpty", Control::Edit, "", nullptr, true, ""},
        BindCase{"TextAbsent", Control::Edit, std::nullopt, [](Controls &c) { c.edit->setText("x"); }, false,
                 std::nullopt},
        // A plain combo's item is found by its data, exactly.
        BindCase{"Item", Control::Items, "b", nullptr, true, "b"},
        BindCase{"ItemChanged", Control::Items, "b", [](Controls &c) { c.items->setCurrentIndex(0); }, true, "a"},
        BindCase{"ItemUnknown", Control::Items, "B", nullptr, true, std::nullopt},
        BindCase{"ItemAbsent", Control::Items, std::nullopt, nullptr, false, std::nullopt}),
    [](const ::testing::TestParamInfo<BindCase> &info) { return std::string(info.param.name); });

TEST_F(SettingsBindingTest, WritesInBindOrderOnlyWhatIsUsableAndCompanionsFollowPresence)
{
    Controls c;
    SettingsBinding binding;
    binding.text(c.edit, "name");
    binding.choice(c.combo, "mode", SettingsBinding::EnableAndShow).with(c.label);
    binding.number(c.spin, "count");
    binding.flag(c.check, "on");
    c.form.show();

    const PXRMessage all = element({{"on", "1"}, {"count", "5"}, {"mode", "auto"}, {"name", "n"}});
    binding.load(PXRMsgChild(all.get()));
    EXPECT_EQ(written(binding), QStringList({"name=n", "mode=auto", "count=5", "on=1"}));
    EXPECT_TRUE(c.label->isVisible());
    // The dialog's own rules may take a control away after loading: it is not sent then.
    c.spin->setEnabled(false);
    EXPECT_EQ(written(binding), QStringList({"name=n", "mode=auto", "on=1"}));

    const PXRMessage some = element({{"on", "0"}});
    binding.load(PXRMsgChild(some.get()));
    EXPECT_FALSE(c.label->isVisible());
    EXPECT_FALSE(c.label->isEnabled());
    EXPECT_FALSE(c.combo->isVisible());
    EXPECT_EQ(written(binding), QStringList({"on=0"}));
}

TEST_F(SettingsBindingTest, AControlInsideAnUncheckedSwitchIsNotSent)
{
    Controls c;
    auto *inside = new QSpinBox(c.group);
    SettingsBinding binding;
    binding.flag(c.group, "enabled");
    binding.number(inside, "port");
    const PXRMessage config = element({{"enabled", "1"}, {"port", "80"}});
    binding.load(PXRMsgChild(config.get()));
    EXPECT_EQ(written(binding), QStringList({"enabled=1", "port=80"}));
    c.group->setChecked(false);
    EXPECT_EQ(written(binding), QStringList({"enabled=0"}));
}

TEST_F(SettingsBindingTest, AnEntryMayNeedASecondAttributeAndSendItsOwnValueWhenAnotherWidgetSaysSo)
{
    Controls c;
    SettingsBinding binding;
    binding.flag(c.check, "repeat");
    binding.number(c.spin, "period", SettingsBinding::Show)
        .alsoNeeds("repeat")
        .sentWhen(c.check)
        .sends([&c](const SettingsBinding::Entry &e) {
            return c.check->isChecked() ? e.controlValue() : std::optional<QByteArray>("5000");
        });
    c.form.show();

    const PXRMessage both = element({{"repeat", "1"}, {"period", "300"}});
    binding.load(PXRMsgChild(both.get()));
    EXPECT_TRUE(c.spin->isVisible());
    EXPECT_EQ(written(binding), QStringList({"repeat=1", "period=300"}));
    c.check->setChecked(false);
    c.spin->setEnabled(false); // the form's own rule: no period while not repeating
    EXPECT_EQ(written(binding), QStringList({"repeat=0", "period=5000"}));

    const PXRMessage periodOnly = element({{"period", "300"}});
    binding.load(PXRMsgChild(periodOnly.get()));
    EXPECT_FALSE(c.spin->isVisible());
    EXPECT_EQ(written(binding), QStringList());
}

TEST_F(SettingsBindingTest, NoElementOrEverythingDisabledSendsNothing)
{
    Controls c;
    SettingsBinding binding;
    binding.flag(c.check, "on").with(c.label);
    binding.choice(c.combo, "mode");
    binding.load(nullptr);
    EXPECT_FALSE(c.check->isEnabled());
    EXPECT_FALSE(c.label->isEnabled());
    EXPECT_EQ(written(binding), QStringList());

    const PXRMessage config = element({{"on", "1"}, {"mode", "auto"}});
    binding.load(PXRMsgChild(config.get()));
    binding.disableAll();
    EXPECT_FALSE(c.combo->isEnabled());
    EXPECT_FALSE(c.label->isEnabled());
    EXPECT_EQ(written(binding), QStringList());
}

// A control the operator may set though the sensor gave no value: usable as the form has it, and
// sent only once changed.
TEST_F(SettingsBindingTest, AControlSettableWithoutAValueIsSentOnlyOnceSet)
{
    Controls c;
    SettingsBinding binding;
    binding.flag(c.group, "enabled").settableWhenAbsent();
    binding.number(c.spin, "delay").settableWhenAbsent();
    c.group->setChecked(true);
    c.spin->setValue(0);
    const PXRMessage none = element({{"other", "x"}});
    binding.load(PXRMsgChild(none.get()));
    EXPECT_TRUE(c.group->isEnabled());
    EXPECT_TRUE(c.group->isChecked());
    EXPECT_TRUE(c.spin->isEnabled());
    EXPECT_EQ(written(binding), QStringList());
    c.spin->setValue(30);
    c.group->setChecked(false);
    EXPECT_EQ(written(binding), QStringList({"enabled=0", "delay=30"}));
    c.spin->setValue(0);
    c.group->setChecked(true);
    EXPECT_EQ(written(binding), QStringList());

    const PXRMessage both = element({{"enabled", "0"}, {"delay", "700"}});
    binding.load(PXRMsgChild(both.get()));
    EXPECT_EQ(written(binding), QStringList({"enabled=0", "delay=700"}));
}

// Loaded switched off, the switch's controls stay off, and come back with it.
TEST_F(SettingsBindingTest, ControlsOfASwitchReadOffStayDisabledUntilItIsOn)
{
    Controls c;
    auto *inside = new QSpinBox(c.group);
    auto *absent = new QCheckBox(c.group);
    SettingsBinding binding;
    binding.flag(c.group, "enabled");
    binding.number(inside, "port");
    binding.flag(absent, "secure");
    const PXRMessage config = element({{"enabled", "0"}, {"port", "80"}});
    binding.load(PXRMsgChild(config.get()));
    EXPECT_FALSE(inside->isEnabled());
    EXPECT_EQ(written(binding), QStringList({"enabled=0"}));
    c.group->setChecked(true);
    EXPECT_TRUE(inside->isEnabled());
    EXPECT_FALSE(absent->isEnabled());
    EXPECT_EQ(written(binding), QStringList({"enabled=1", "port=80"}));
}

// A number kept in larger units: shown divided, sent back exactly as read until changed, then
// multiplied back.
TEST_F(SettingsBindingTest, AScaledNumberKeepsWhatItReadUntilChanged)
{
    const struct
    {
        const char *read;
        std::optional<int> changedTo;
        int shown;
        const char *sent;
    } cases[] = {
        {"4000000", std::nullopt, 4000, "4000000"},
        {"2500", std::nullopt, 2, "2500"},
        {"2500", 3, 2, "3000"},
        {"999", std::nullopt, 0, "999"},
        {"6000000000", std::nullopt, 100000, "6000000000"}, // clamped to the spin box on show
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.read);
        Controls controls;
        controls.spin->setRange(0, 100000);
        SettingsBinding binding;
        binding.number(controls.spin, "bitrate").scaled(1000);
        const PXRMessage config = element({{"bitrate", c.read}});
        binding.load(PXRMsgChild(config.get()));
        EXPECT_EQ(controls.spin->value(), c.shown);
        if (c.changedTo)
            controls.spin->setValue(*c.changedTo);
        EXPECT_EQ(written(binding), QStringList{QString("bitrate=") + c.sent});
    }
}

// A switch the sensor lacks: its group loses the check box and is retitled, what it holds stays
// usable and is sent, the switch is not.
TEST_F(SettingsBindingTest, ASwitchGroupTheSensorLacksBecomesAPlainGroup)
{
    Controls c;
    c.group->setTitle("Enable output");
    c.group->setChecked(false);
    auto *inside = new QSpinBox(c.group);
    SettingsBinding binding;
    binding.flag(c.group, "enabled").plainWhenAbsent("Output");
    binding.number(inside, "port");
    const PXRMessage config = element({{"port", "80"}});
    binding.load(PXRMsgChild(config.get()));
    EXPECT_FALSE(c.group->isCheckable());
    EXPECT_EQ(c.group->title(), "Output");
    EXPECT_TRUE(c.group->isEnabled());
    EXPECT_TRUE(inside->isEnabled());
    EXPECT_EQ(written(binding), QStringList({"port=80"}));

    Controls other;
    auto *held = new QSpinBox(other.group);
    SettingsBinding present;
    present.flag(other.group, "enabled").plainWhenAbsent("Output");
    present.number(held, "port");
    const PXRMessage both = element({{"enabled", "0"}, {"port", "80"}});
    present.load(PXRMsgChild(both.get()));
    EXPECT_TRUE(other.group->isCheckable());
    EXPECT_EQ(other.group->title(), "group");
    EXPECT_EQ(written(present), QStringList({"enabled=0"}));
}
