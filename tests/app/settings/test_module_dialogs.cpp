// The dialogs of one recognition module of one camera (character-reading limits, trigger, serial
// output), opened by their tags as the window opens them, answered by the test, and the request
// the test sensor then received compared as a tree.
#include "SettingsTestSupport.h"

#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace {

using fybsim::Element;
using Attributes = std::vector<std::pair<std::string, std::string>>;
// What the operator does in a dialog the test opened.
using Action = std::function<void(QDialog &)>;
using settingstest::child;
using settingstest::okButton;

Element withAttributes(const std::string &name, const Attributes &attributes)
{
    Element element(name);
    for (const auto &[key, value] : attributes)
        element.set(key, value);
    return element;
}

Attributes without(Attributes attributes, const std::vector<std::string> &names)
{
    std::erase_if(attributes,
                  [&](const auto &a) { return std::find(names.begin(), names.end(), a.first) != names.end(); });
    return attributes;
}

Attributes replaced(Attributes attributes, const std::string &name, const std::string &value)
{
    for (auto &a : attributes)
        if (a.first == name)
            a.second = value;
    return attributes;
}

// The eleven limits as camera 0 has them in both modules, in the dialog's order.
const Attributes kLimits = {
    {"maxPlateWidth", "400"},       {"maxPlateHeight", "100"},       {"minPlateWidth", "100"},
    {"minPlateHeight", "20"},       {"zoomPlateWidth", "200"},       {"minReliability", "70"},
    {"minCharWidthStatic", "12"},   {"minPlateWidthStatic8Char", "150"}, {"minRecognitionStatic", "3"},
    {"minRecognition", "2"},        {"maxNoPlateBeforeDecision", "5"},
};
// The factory defaults: each module differs from camera 0 in one limit.
const Attributes kAnprDefaults = replaced(kLimits, "maxPlateWidth", "500");
const Attributes kDgprDefaults = replaced(kLimits, "minReliability", "80");
// Camera 1: its plate reading equals the defaults but lacks the max plate width; its panel
// reading lacks three limits and differs in one.
const Attributes kCamera1Anpr = without(kAnprDefaults, {"maxPlateWidth"});
const Attributes kCamera1Dgpr = replaced(without(kDgprDefaults, {"zoomPlateWidth", "minCharWidthStatic",
                                                                 "maxNoPlateBeforeDecision"}),
                                         "minReliability", "75");

const Attributes kTrigger0 = {{"reliabilityThreshold", "60"}, {"endPlateTimeout_ms", "2000"},
                              {"activateOnIOIn", "1"}, {"triggerIOTimeout", "500"},
                              {"triggerIOPulseMode", "falling"}};

Element config()
{
    const Element wiegand0 = withAttributes("wiegand", {{"protocol", "w34"}, {"bitDuration_us", "100"},
                                                        {"inactiveStateVoltage_V", "12"}});
    const Element anpr0 = Element("anpr")
                        .add(withAttributes("ocr", kLimits))
                        .add(withAttributes("trigger", kTrigger0))
                        .add(Element("serial").set("export", "osdp")
                                 .add(Element("osdp").set("address", "5")).add(wiegand0));
    const Element dgpr0 = Element("dgpr")
                        .add(withAttributes("ocr", kLimits))
                        .add(withAttributes("trigger", without(kTrigger0, {"activateOnIOIn"})))
                        .add(Element("serial").set("export", "osdp").add(Element("osdp").set("address", "5")));
    const Element anpr1 = Element("anpr")
                        .add(withAttributes("ocr", kCamera1Anpr))
                        .add(Element("trigger").set("activateOnIOIn", "0").set("triggerIOPulseMode", "rising"))
                        .add(Element("serial").set("rs232Export", "wiegand")
                                 .add(Element("wiegand").set("protocol", "w37").set("bitDuration_us", "200")));
    const Element dgpr1 = Element("dgpr")
                        .add(withAttributes("ocr", kCamera1Dgpr))
                        .add(withAttributes("trigger", replaced(kTrigger0, "activateOnIOIn", "0")))
                        .add(Element("serial").set("export", "osdp").add(Element("osdp").set("address", "200")));
    using settingstest::camera;
    return settingstest::configWithCameras(
        {camera("0", {anpr0, dgpr0}), camera("1", {anpr1, dgpr1}), camera("2", {Element("anpr")})});
}

// The full information with each module's factory defaults.
Element infos()
{
    Element infos = panelsfixture::fullInfos();
    std::erase_if(infos.children, [](const Element &e) { return e.name == "anpr" || e.name == "dgpr"; });
    infos.add(Element("anpr").add(withAttributes("ocrDefault", kAnprDefaults)));
    infos.add(Element("dgpr").add(withAttributes("ocrDefault", kDgprDefaults)));
    return infos;
}

// The setConfig tree that carries one feature of one module of one camera.
Element request(const std::string &cameraId, const std::string &module, Element feature)
{
    return Element("setConfig").add(Element("config").add(
        Element("cameras").add(Element("camera").set("id", cameraId).add(Element(module).add(std::move(feature))))));
}

void pressOk(QDialog &dialog)
{
    okButton(dialog)->click();
}

// The names of the widgets of that kind whose names start so and that the dialog shows (or hides).
template <typename T> QStringList shown(QDialog &dialog, const QString &prefix, bool visible = true)
{
    QStringList names;
    for (T *widget : dialog.findChildren<T *>())
        if (widget->objectName().startsWith(prefix) && settingstest::shown(widget) == visible)
            names << widget->objectName();
    names.sort();
    return names;
}

class ModuleDialogTest : public SettingsTest
{
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        ASSERT_NO_FATAL_FAILURE(start(config(), infos()));
    }

    // The boxes shown since the dialog opened, as title and text.
    std::vector<std::pair<QString, QString>> boxes() const
    {
        std::vector<std::pair<QString, QString>> out;
        for (const SeenDialog &d : seen)
            if (d.kind == "QMessageBox")
                out.emplace_back(d.title, d.text);
        return out;
    }
};

// One run of a dialog: the tag, what the operator does, and the feature element sent (none when
// nothing may be sent).
struct SentCase
{
    const char *name;
    const char *tag;
    Action action;
    std::optional<Element> sent;
};

void PrintTo(const SentCase &c, std::ostream *out)
{
    *out << c.name;
}

class ModuleDialogSends : public ModuleDialogTest, public testing::WithParamInterface<SentCase>
{
};

TEST_P(ModuleDialogSends, TheFeatureAsReadOrSetAndNothingRefused)
{
    const SentCase &c = GetParam();
    const fybsim::FybSensor::Mark mark = server.mark();
    const int result = open(QLatin1String(c.tag), c.action);
    const std::vector<Element> sent = requestsSince(mark);
    QString id;
    QString key;
    DialogDispatcher::splitTag(QLatin1String(c.tag), &id, &key);
    const std::string module = key.left(4).toStdString();
    if (c.sent) {
        EXPECT_EQ(sent.size(), 1u);
        expectRequest(mark, request(id.toStdString(), module, *c.sent));
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_TRUE(boxes().empty());
    } else {
        EXPECT_TRUE(sent.empty());
        EXPECT_NE(result, QDialog::Accepted);
    }
}

Action setSpin(const char *name, int value)
{
    return [=](QDialog &dialog) {
        child<QSpinBox>(dialog, name)->setValue(value);
        pressOk(dialog);
    };
}

Action chooseMode(const char *mode)
{
    return [=](QDialog &dialog) {
        ASSERT_TRUE(settingstest::choose(child<WidgetComboDoc>(dialog, "cboMode"), mode));
        pressOk(dialog);
    };
}

Action checkGroup(bool checked)
{
    return [=](QDialog &dialog) {
        child<QGroupBox>(dialog, "groupIOActivated")->setChecked(checked);
        pressOk(dialog);
    };
}

Action reset()
{
    return [](QDialog &dialog) { child<QPushButton>(dialog, "btnReset")->click(); };
}

const Element kWiegand0 =
    withAttributes("wiegand", {{"protocol", "w34"}, {"bitDuration_us", "100"}, {"inactiveStateVoltage_V", "12"}});

INSTANTIATE_TEST_SUITE_P(
    Ocr, ModuleDialogSends,
    testing::Values(
        SentCase{"UntouchedAsRead", "0:anprocr", pressOk, withAttributes("ocr", kLimits)},
        SentCase{"ZoomEqualToTheMin", "0:anprocr", setSpin("spinZoomPlateWidth", 100),
                 withAttributes("ocr", replaced(kLimits, "zoomPlateWidth", "100"))},
        SentCase{"ZoomEqualToTheMax", "0:dgprocr", setSpin("spinZoomPlateWidth", 400),
                 withAttributes("ocr", replaced(kLimits, "zoomPlateWidth", "400"))},
        SentCase{"ZoomBelowTheMin", "0:anprocr", setSpin("spinZoomPlateWidth", 99), std::nullopt},
        SentCase{"ZoomAboveTheMax", "0:anprocr", setSpin("spinZoomPlateWidth", 401), std::nullopt},
        SentCase{"ZoomAboveAMaxTheSensorLacks", "1:anprocr", setSpin("spinZoomPlateWidth", 900),
                 withAttributes("ocr", replaced(kCamera1Anpr, "zoomPlateWidth", "900"))},
        SentCase{"ResetToThePlateDefaults", "0:anprocr", reset(), withAttributes("ocr", kAnprDefaults)},
        SentCase{"ResetToThePanelDefaults", "0:dgprocr", reset(), withAttributes("ocr", kDgprDefaults)},
        SentCase{"ResetLeavesOutLimitsTheSensorLacks", "1:dgprocr", reset(),
                 withAttributes("ocr", replaced(kCamera1Dgpr, "minReliability", "80"))},
        SentCase{"AbsentCamera", "9:anprocr", pressOk, std::nullopt}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Trigger, ModuleDialogSends,
    testing::Values(
        SentCase{"UntouchedAsRead", "0:anprtrigger", pressOk, withAttributes("trigger", kTrigger0)},
        SentCase{"InputSwitchedOffSendsTheSwitchAlone", "0:anprtrigger", checkGroup(false),
                 withAttributes("trigger", without(kTrigger0, {"triggerIOTimeout", "triggerIOPulseMode"}))
                     .set("activateOnIOIn", "0")},
        SentCase{"WithoutTheSwitchNothingOfTheInput", "0:dgprtrigger", checkGroup(true),
                 withAttributes("trigger", {{"reliabilityThreshold", "60"}, {"endPlateTimeout_ms", "2000"}})},
        SentCase{"InputSwitchedOnWithoutATimeOut", "1:anprtrigger", checkGroup(true),
                 Element("trigger").set("activateOnIOIn", "1").set("triggerIOPulseMode", "rising")},
        SentCase{"InputOffAsReadSendsTheSwitchAlone", "1:dgprtrigger", pressOk,
                 withAttributes("trigger", without(kTrigger0, {"triggerIOTimeout", "triggerIOPulseMode"}))
                     .set("activateOnIOIn", "0")},
        SentCase{"AbsentTrigger", "2:anprtrigger", pressOk, std::nullopt}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Serial, ModuleDialogSends,
    testing::Values(
        SentCase{"OsdpWithItsAddress", "0:anprserial", pressOk,
                 Element("serial").set("export", "osdp").add(Element("osdp").set("address", "5"))},
        SentCase{"SwitchedToWiegand", "0:anprserial", chooseMode("wiegand"),
                 Element("serial").set("export", "wiegand").add(kWiegand0)},
        SentCase{"AnyOtherModeAlone", "0:anprserial", chooseMode("text"), Element("serial").set("export", "text")},
        SentCase{"PanelReadingUnderItsModule", "0:dgprserial", pressOk,
                 Element("serial").set("export", "osdp").add(Element("osdp").set("address", "5"))},
        SentCase{"OlderModeNameWithItsLink", "1:anprserial", pressOk,
                 Element("serial").set("rs232Export", "wiegand")
                     .add(Element("wiegand").set("protocol", "w37").set("bitDuration_us", "200"))},
        SentCase{"AddressAboveTheRangeAsRead", "1:dgprserial", pressOk,
                 Element("serial").set("export", "osdp").add(Element("osdp").set("address", "200"))},
        SentCase{"AbsentSerial", "2:anprserial", pressOk, std::nullopt}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ModuleDialogTest, OcrShowsTheDefaultsOfItsOwnModuleThatDiffer)
{
    struct Case
    {
        const char *tag;
        QStringList labels;
        QString text;
    };
    const Case cases[] = {
        {"0:anprocr", {"labelDefaultMaxPlateWidth", "btnReset"}, "Default : 500"},
        {"0:dgprocr", {"labelDefaultMinReliability", "btnReset"}, "Default : 80"},
        {"1:anprocr", {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tag);
        open(QLatin1String(c.tag), [&](QDialog &dialog) {
            const QStringList labels = shown<QLabel>(dialog, "labelDefault") + shown<QPushButton>(dialog, "btnReset");
            EXPECT_EQ(labels, c.labels);
            if (!c.labels.isEmpty()) {
                const QLabel *label = child<QLabel>(dialog, qPrintable(c.labels[0]));
                EXPECT_EQ(label->text(), c.text);
                EXPECT_EQ(label->textFormat(), Qt::PlainText); // the sensor's text, never markup
            }
        });
    }
}

TEST_F(ModuleDialogTest, OcrHidesTheLimitsTheSensorLacks)
{
    open("1:dgprocr", [](QDialog &dialog) {
        const QStringList lacked{"MaxNoPlateBeforeDecision", "MinCharWidthStatic", "ZoomPlateWidth"};
        const QStringList spins = QStringList(lacked).replaceInStrings(QRegularExpression("^"), "spin");
        EXPECT_EQ(shown<QSpinBox>(dialog, "spin", false), spins);
        EXPECT_EQ(shown<QLabel>(dialog, "labelDefault"), QStringList{"labelDefaultMinReliability"});
        for (const QString &name : lacked) {
            EXPECT_FALSE(settingstest::shown(child<QLabel>(dialog, qPrintable("label" + name)))) << name.toStdString();
        }
    });
}

TEST_F(ModuleDialogTest, OcrRefusesAZoomOutsideThePlateWidthsBeforeSending)
{
    open("0:anprocr", setSpin("spinZoomPlateWidth", 401));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].first, "OCR");
    EXPECT_EQ(boxes()[0].second, "The zoom plate width must be between min plate width and max plate width.");
}

TEST_F(ModuleDialogTest, OcrSpinBoxesTakeTheBoundsTheSchemaGives)
{
    struct Case
    {
        const char *spin;
        int min;
        int max;
    };
    const Case cases[] = {
        {"spinMaxPlateWidth", 10, 2000},          // both bounds
        {"spinMinCharWidthStatic", 1, 10000},     // a minimum only
        {"spinMinPlateWidthStatic", 0, 3000},     // a maximum only
        {"spinMaxNoPlateBeforeDecision", 0, 10000}, // none
    };
    open("0:anprocr", [&](QDialog &dialog) {
        for (const Case &c : cases) {
            SCOPED_TRACE(c.spin);
            const QSpinBox *spin = child<QSpinBox>(dialog, c.spin);
            EXPECT_EQ(spin->minimum(), c.min);
            EXPECT_EQ(spin->maximum(), c.max);
        }
    });
}

TEST_F(ModuleDialogTest, OcrRefusedResetStaysOpenWithTheDefaults)
{
    server.setReply("setConfig", fybsim::Reply::failed("read only"));
    const fybsim::FybSensor::Mark mark = server.mark();
    const int result = open("0:anprocr", [](QDialog &dialog) {
        child<QPushButton>(dialog, "btnReset")->click();
        EXPECT_EQ(child<QSpinBox>(dialog, "spinMaxPlateWidth")->value(), 500);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    ASSERT_EQ(requestsSince(mark).size(), 1u);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].first, "Configuration");
}

TEST_F(ModuleDialogTest, TriggerInputSettingsFollowTheirSwitch)
{
    open("0:anprtrigger", [](QDialog &dialog) {
        auto *group = child<QGroupBox>(dialog, "groupIOActivated");
        auto *timeout = child<QSpinBox>(dialog, "spinIOTriggerTimeout");
        auto *pulse = child<WidgetComboDoc>(dialog, "comboPulseMode");
        EXPECT_TRUE(group->isChecked());
        EXPECT_EQ(timeout->value(), 500);
        EXPECT_EQ(pulse->currentValue(), "falling");
        EXPECT_TRUE(timeout->isEnabled());
        EXPECT_TRUE(pulse->isEnabled());
        group->setChecked(false);
        EXPECT_FALSE(timeout->isEnabled());
        EXPECT_FALSE(pulse->isEnabled());
    });
    open("0:dgprtrigger", [](QDialog &dialog) {
        EXPECT_FALSE(child<QGroupBox>(dialog, "groupIOActivated")->isEnabled());
        EXPECT_FALSE(child<QSpinBox>(dialog, "spinIOTriggerTimeout")->isEnabled());
    });
}

// Each answer of the sensor as the request manager judges it: accepted on success or warning,
// otherwise a box under the title and the dialog left open.
TEST_F(ModuleDialogTest, TriggerAnswersAreJudgedUnderConfiguration)
{
    struct Case
    {
        const char *name;
        fybsim::Reply reply;
        bool accepted;
    };
    const Case cases[] = {
        {"ok", fybsim::Reply::ok(), true},
        {"warning", fybsim::Reply::warning({{"kept", "config/cameras", ""}}), true},
        {"failed", fybsim::Reply::failed("refused"), false},
        {"closed", fybsim::Reply::close(), false}, // last: the connection is gone
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        server.queueReply(c.reply);
        const fybsim::FybSensor::Mark mark = server.mark();
        const int result = open("1:anprtrigger", pressOk);
        EXPECT_EQ(result == QDialog::Accepted, c.accepted);
        EXPECT_EQ(requestsSince(mark).size(), 1u);
        if (!c.accepted) {
            ASSERT_FALSE(boxes().empty());
            EXPECT_EQ(boxes().back().first, "Configuration");
        }
    }
}

TEST_F(ModuleDialogTest, SerialShowsTheGroupOfTheModeExactly)
{
    struct Case
    {
        const char *mode;
        QStringList groups;
    };
    const Case cases[] = {
        {"osdp", {"groupBoxOSDP"}}, {"wiegand", {"groupBoxWiegand"}}, {"text", {}}, {"none", {}}};
    open("0:anprserial", [&](QDialog &dialog) {
        EXPECT_EQ(child<QSpinBox>(dialog, "spinOsdpAddress")->value(), 5);
        for (const Case &c : cases) {
            SCOPED_TRACE(c.mode);
            ASSERT_TRUE(settingstest::choose(child<WidgetComboDoc>(dialog, "cboMode"), c.mode));
            EXPECT_EQ(shown<QGroupBox>(dialog, "groupBox"), c.groups);
        }
    });
    open("1:dgprserial", [](QDialog &dialog) { EXPECT_EQ(child<QSpinBox>(dialog, "spinOsdpAddress")->value(), 126); });
}

TEST_F(ModuleDialogTest, AbsentSettingsDisableOkWithTheNote)
{
    for (const char *tag : {"9:anprocr", "2:anprocr", "2:dgprocr", "2:anprtrigger", "2:anprserial"}) {
        SCOPED_TRACE(tag);
        open(QLatin1String(tag), [](QDialog &dialog) {
            EXPECT_FALSE(child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok)->isEnabled());
            EXPECT_TRUE(settingstest::shown(child<QLabel>(dialog, "labelMissingSettings")));
        });
    }
}

TEST_F(ModuleDialogTest, Pictures)
{
    const std::pair<const char *, Action> pictures[] = {
        {"0:anprocr", [](QDialog &d) { keepPicture(d, "DialogOCRSettings-defaults"); }},
        {"0:anprtrigger", [](QDialog &d) { keepPicture(d, "DialogTriggerSettings"); }},
        {"0:anprserial", [](QDialog &d) { keepPicture(d, "DialogRS232Settings-osdp"); }},
        {"1:anprserial", [](QDialog &d) { keepPicture(d, "DialogRS232Settings-wiegand"); }},
        {"0:anprserial",
         [](QDialog &d) {
             settingstest::choose(child<WidgetComboDoc>(d, "cboMode"), "text");
             keepPicture(d, "DialogRS232Settings-text");
         }},
    };
    for (const auto &[tag, take] : pictures) {
        SCOPED_TRACE(tag);
        open(QLatin1String(tag), take);
    }
}

} // namespace
