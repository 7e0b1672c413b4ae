// The lighting sources of the configuration tree: LED power rows with their sliders, projector
// pulse rows, and a slider's change sent to the test sensor and judged from its answer.
#include "SettingsPageTest.h"
#include "WidgetSlider.h"

#include <QMessageBox>
#include <QPointer>
#include <QSlider>
#include <QSpinBox>
#include <QTest>

namespace {

using fybsim::Element;
using fybsim::Reply;

Element led(const char *id, std::initializer_list<std::pair<const char *, const char *>> attributes)
{
    Element element("led");
    element.set("id", id);
    for (const auto &[key, value] : attributes)
        element.set(key, value);
    return element;
}

Element lightings(std::initializer_list<Element> children)
{
    Element element("lightings");
    element.set("shutterSynchronization", "outOfPhase");
    for (const Element &child : children)
        element.add(child);
    return Element("config").add(element);
}

// LED 1 drives 10 to 200 mA; LED 2 says nothing of its range.
Element infos()
{
    return Element("infos")
        .add(Element("cameras").add(Element("camera").set("id", "0").set("cameraModel", "IMX-1")))
        .add(Element("lightings")
                 .add(Element("led").set("id", "1").add(Element("currentValues").set("min", "10").set("max", "200")))
                 .add(Element("led").set("id", "2"))
                 .add(Element("projector").set("id", "3")));
}

const Element kBracketing =
    lightings({led("1", {{"bracketing", "1"}, {"power", "120"}, {"powerLowBracketing", "40"}})});

class LightingSourcesTest : public SettingsPageTest
{
protected:
    void SetUp() override
    {
        SettingsPageTest::SetUp();
        server.setInfos(infos());
    }

    QTreeWidgetItem *ledRow(const char *id, const QString &caption) const
    {
        return rowAt(tree(), {"Lighting sources", QString("[led=%1] Internal LED board").arg(id), caption});
    }
    WidgetSlider *sliderOf(QTreeWidgetItem *row) const
    {
        return row != nullptr ? qobject_cast<WidgetSlider *>(tree().itemWidget(row, 1)) : nullptr;
    }
    WidgetSlider *ledSlider(const char *id, const QString &caption) const { return sliderOf(ledRow(id, caption)); }

    // The operator types the value into the slider's spin box.
    static void enter(WidgetSlider *slider, int value)
    {
        QSpinBox *spin = slider->findChild<QSpinBox *>("spinBox");
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, QString::number(value));
        QTest::keyClick(spin, Qt::Key_Return);
    }

    // The setConfig requests the sensor received since the mark.
    std::vector<Element> setConfigsSince(const fybsim::FybSensor::Mark &mark) const
    {
        std::vector<Element> requests;
        const std::vector<fybsim::Received> received = server.received();
        for (std::size_t i = mark.received; i < received.size(); ++i) {
            if (received[i].rootName() == "setConfig")
                requests.push_back(*received[i].message.root);
        }
        return requests;
    }

    static Element powerRequest(const char *id, const char *attribute, const char *value)
    {
        return Element("setConfig").add(
            Element("config").add(Element("lightings").add(Element("led").set("id", id).set(attribute, value))));
    }

};

TEST_F(LightingSourcesTest, SourcesShowTheirRowsAndLedsTheirSlidersOverTheirRange)
{
    Element projector("projector");
    projector.set("id", "3")
        .set("enabled", "1")
        .set("synchronizedWithCamera", "0")
        .set("bracketing", "1")
        .set("delay", "100")
        .set("delayLowBracketing", "40")
        .set("width", "20");
    ASSERT_NO_FATAL_FAILURE(start(
        lightings({led("1", {{"ecoMode", "1"}, {"power", "50"}}), led("2", {{"power", "30"}}), projector,
                   Element("projector").set("id", "4").set("enabled", "0").set("delay", "5"),
                   Element("laser").set("id", "5").set("power", "9")})));
    const QStringList expected = {
        "# Lighting sources {lightings} @config/lightings",
        "  Shutter synchronization = Out of phase @config/lightings:shutterSynchronization",
        "  # [led=1] Internal LED board {led=1:led} @config/lightings/led",
        "    Eco mode = On @config/lightings/led:ecoMode",
        "    Power =   @config/lightings/led:power",
        "  # [led=2] Internal LED board {led=2:led} @config/lightings/led",
        "    Power =   @config/lightings/led:power",
        "  # [projector=3] External projector {projector=3:projector} @config/lightings/projector",
        "    Enabled = Yes @config/lightings/projector:enabled",
        "    Synchronize with = [0] IMX-1 @config/lightings/projector:synchronizedWithCamera",
        "    Bracketing = On @config/lightings/projector:bracketing",
        QString::fromUtf8("    Pulse delay high value = 100 µs @config/lightings/projector:delay"),
        "    Pulse delay low value = 40 @config/lightings/projector:delayLowBracketing",
        QString::fromUtf8("    Pulse width = 20 µs @config/lightings/projector:width"),
        "  # [projector=4]  {projector=4:projector} @config/lightings/projector",
        "    Enabled = No @config/lightings/projector:enabled",
    };
    EXPECT_EQ(dump(tree()), expected) << dump(tree()).join('\n').toStdString();

    const struct
    {
        const char *id;
        int minimum, maximum, value;
    } sliders[] = {{"1", 10, 200, 50}, {"2", 0, 0, 0}};
    for (const auto &s : sliders) {
        SCOPED_TRACE(s.id);
        WidgetSlider *slider = ledSlider(s.id, "Power");
        ASSERT_NE(slider, nullptr);
        QSlider *handle = slider->findChild<QSlider *>("slider");
        EXPECT_EQ(handle->minimum(), s.minimum);
        EXPECT_EQ(handle->maximum(), s.maximum);
        EXPECT_EQ(handle->value(), s.value);
        EXPECT_FALSE(slider->isListMode());
        EXPECT_FALSE(slider->isEnabled()) << "not locked";
        QTreeWidgetItem *row = ledRow(s.id, "Power");
        EXPECT_EQ(row->data(0, WidgetGeneralSettings::LightingIdRole).toString(), QString(s.id));
        EXPECT_EQ(row->data(0, WidgetGeneralSettings::LightingAttributeRole).toString(), QString("power"));
        EXPECT_EQ(row->data(0, WidgetGeneralSettings::LightingElementRole).toString(), QString("led"));
    }
}

// Only the current sensors pulse a bracketing projector twice.
TEST_F(LightingSourcesTest, BracketingProjectorOfALegacySensorHasOnePulseDelay)
{
    server.setHello(fybsim::FybSensor::legacyBytes());
    ASSERT_TRUE(sensor().connect("127.0.0.1", server.port(), QString(), false, false, false, {}, {}));
    ASSERT_TRUE(waitUntil([] { return sensor().detectedProtocol() == "KGV"; }));
    Element config = lightings({Element("projector").set("id", "3").set("bracketing", "1").set("delay", "100")});
    PXRMsg *message = PXRMsgCreate();
    const std::string bytes = fybsim::wireOf(config);
    ASSERT_EQ(PXRMsgImportFromBinaryArray(message, bytes.data(), uint32_t(bytes.size())), 1);
    emit sensor().signalMsgReceived(message);
    WidgetSettings settings;
    settings.reload();
    EXPECT_NE(rowAt(*settings.tree(), {"Lighting sources", "[projector=3] ", "Pulse delay"}), nullptr)
        << dump(*settings.tree()).join('\n').toStdString();
    EXPECT_EQ(rowAt(*settings.tree(), {"Lighting sources", "[projector=3] ", "Pulse delay high value"}), nullptr);
}

TEST_F(LightingSourcesTest, BracketingSplitsThePowerIntoHighAndLowSlidersUntilItIsSwitchedOff)
{
    ASSERT_NO_FATAL_FAILURE(start(kBracketing, true));
    WidgetSlider *high = ledSlider("1", "Power high value");
    WidgetSlider *low = ledSlider("1", "Power low value");
    ASSERT_NE(high, nullptr);
    ASSERT_NE(low, nullptr);
    EXPECT_EQ(high->findChild<QSlider *>("slider")->value(), 120);
    EXPECT_EQ(low->findChild<QSlider *>("slider")->value(), 40);
    EXPECT_EQ(ledRow("1", "Power low value")->data(0, WidgetGeneralSettings::LightingAttributeRole).toString(),
              QString("powerLowBracketing"));
    EXPECT_EQ(ledRow("1", "Power"), nullptr);

    push(lightings({led("1", {{"bracketing", "0"}})}));
    EXPECT_EQ(ledRow("1", "Power low value"), nullptr);
    EXPECT_EQ(ledRow("1", "Power high value"), nullptr);
    WidgetSlider *power = ledSlider("1", "Power");
    ASSERT_NE(power, nullptr);
    EXPECT_EQ(power->findChild<QSlider *>("slider")->value(), 120);
    EXPECT_TRUE(power->isEnabled());
}

TEST_F(LightingSourcesTest, SlidersAreEnabledOnlyWhileLockedAndAreKeptAsPictures)
{
    ASSERT_NO_FATAL_FAILURE(start(kBracketing));
    page->resize(520, 220);
    for (bool locked : {false, true}) {
        SCOPED_TRACE(locked);
        sensor().setLocked(locked);
        page->clear();
        page->reload();
        for (const QString &caption : {QString("Power high value"), QString("Power low value")}) {
            WidgetSlider *slider = ledSlider("1", caption);
            ASSERT_NE(slider, nullptr);
            EXPECT_EQ(slider->isEnabled(), locked);
        }
        page->show();
        QCoreApplication::processEvents();
        tree().setColumnWidth(0, 230);
        keepPicture(*page, locked ? "lighting_sources_locked" : "lighting_sources_unlocked");
    }
}

TEST_F(LightingSourcesTest, FillingSendsNothingAndAMoveTo75SendsThatPower)
{
    ASSERT_NO_FATAL_FAILURE(start(lightings({led("1", {{"power", "50"}})}), true));
    const fybsim::FybSensor::Mark before = server.mark();
    page->reload();
    push(lightings({led("1", {{"power", "60"}})}));
    EXPECT_EQ(ledSlider("1", "Power")->findChild<QSlider *>("slider")->value(), 60);
    const fybsim::FybSensor::Mark moved = server.mark();
    EXPECT_TRUE(setConfigsSince(before).empty());

    QSignalSpy refreshed(model(), &Model::signalConfigReceived);
    BoxRecorder boxes;
    enter(ledSlider("1", "Power"), 75);
    ASSERT_TRUE(waitUntil([&] { return !setConfigsSince(moved).empty(); }));
    EXPECT_EQ(setConfigsSince(moved), std::vector<Element>({powerRequest("1", "power", "75")}));
    // The sensor's push of its changed configuration brings the tree to it.
    ASSERT_TRUE(refreshed.wait(5000));
    EXPECT_EQ(ledSlider("1", "Power")->findChild<QSlider *>("slider")->value(), 75);
    EXPECT_TRUE(boxes.boxes.isEmpty());
}

struct AnswerCase
{
    const char *name;
    Reply reply;
    QMessageBox::Icon icon; // NoIcon: no box
    const char *text;
    const char *details;
};

void PrintTo(const AnswerCase &c, std::ostream *out)
{
    *out << c.name;
}

class LightingAnswerTest : public LightingSourcesTest, public ::testing::WithParamInterface<AnswerCase>
{
};

TEST_P(LightingAnswerTest, AnswerReachesTheOperatorAsTheCheckSays)
{
    const AnswerCase &c = GetParam();
    ASSERT_NO_FATAL_FAILURE(start(kBracketing, true));
    server.setReply("setConfig", c.reply);
    BoxRecorder boxes;
    const fybsim::FybSensor::Mark mark = server.mark();
    enter(ledSlider("1", "Power low value"), 30);
    ASSERT_TRUE(waitUntil([&] { return !setConfigsSince(mark).empty(); }));
    EXPECT_EQ(setConfigsSince(mark), std::vector<Element>({powerRequest("1", "powerLowBracketing", "30")}));
    ASSERT_TRUE(waitUntil([] { return MsgManager::runningRequests() == 0; }));
    if (c.icon == QMessageBox::NoIcon) {
        EXPECT_TRUE(boxes.boxes.isEmpty());
        return;
    }
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_EQ(boxes.boxes[0].icon, c.icon);
    EXPECT_EQ(boxes.boxes[0].title, QString("Configuration"));
    EXPECT_EQ(boxes.boxes[0].text, QString(c.text));
    if (c.details != nullptr) {
        EXPECT_EQ(boxes.boxes[0].details, QString(c.details));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, LightingAnswerTest,
    ::testing::Values(AnswerCase{"Ok", Reply::ok(), QMessageBox::NoIcon, "", ""},
                      AnswerCase{"Failed", Reply::failed("Current too high"), QMessageBox::Critical,
                                 "Error : action failed", "Current too high"},
                      AnswerCase{"Warning", Reply::warning({{"Clipped", "config/lightings/led", "led.c:12"}}),
                                 QMessageBox::Warning, "Warning : some parts of the message have failed",
                                 "Clipped in config/lightings/led (led.c:12)"},
                      AnswerCase{"NoAnswer", Reply::close(), QMessageBox::Critical,
                                 "Error : no answer from equipment", nullptr}),
    [](const ::testing::TestParamInfo<AnswerCase> &info) { return std::string(info.param.name); });

// The sensor pushes a change while the slider's own request waits: the tree is filled again
// under the slider whose signal is still running, which must survive it.
TEST_F(LightingSourcesTest, PushDuringTheRequestRefillsTheTreeUnderTheSlidersStillRunningSignal)
{
    ASSERT_NO_FATAL_FAILURE(start(kBracketing, true));
    server.setResponder([this](const fybsim::WireMessage &request) -> std::optional<Reply> {
        if (request.rootName() != "setConfig")
            return std::nullopt;
        const Element changed =
            lightings({led("1", {{"bracketing", "1"}, {"power", "90"}, {"powerLowBracketing", "33"}})});
        server.setConfig(changed);
        server.push(changed);
        return Reply::ok().after(1200ms);
    });
    QPointer<WidgetSlider> low = ledSlider("1", "Power low value");
    QPointer<WidgetSlider> high = ledSlider("1", "Power high value");
    ASSERT_FALSE(low.isNull());
    const fybsim::FybSensor::Mark mark = server.mark();
    enter(low, 25);
    ASSERT_TRUE(waitUntil([&] { return !setConfigsSince(mark).empty(); }));
    ASSERT_TRUE(waitUntil([] { return MsgManager::runningRequests() == 0; }));
    EXPECT_GE(refillsDuringRequests, 1) << "the push came while the request waited";
    ASSERT_FALSE(low.isNull());
    EXPECT_EQ(ledSlider("1", "Power low value"), low.data());
    EXPECT_EQ(ledSlider("1", "Power high value"), high.data());
    // Then the sensor's push of the accepted change.
    ASSERT_TRUE(waitUntil([&] { return low->findChild<QSlider *>("slider")->value() == 25; }));
    EXPECT_EQ(high->findChild<QSlider *>("slider")->value(), 90);
    EXPECT_EQ(setConfigsSince(mark).size(), 1u);
}

// The lock lost while the slider's request waits: the main window empties the tree and fills it
// again, taking every slider away, the one whose report is still running included.
TEST_F(LightingSourcesTest, LockChangeDuringTheRequestTakesTheSliderAwayOnlyAfterItsReport)
{
    ASSERT_NO_FATAL_FAILURE(start(kBracketing, true));
    server.setResponder([this](const fybsim::WireMessage &request) -> std::optional<Reply> {
        if (request.rootName() != "setConfig")
            return std::nullopt;
        server.push(Element("infos"));
        return Reply::ok().after(600ms);
    });
    // The information pushed while the request waits stands for the lock change.
    int rebuiltDuringRequest = 0;
    QObject::connect(model(), &Model::signalInfosReceived, page.get(), [&] {
        if (MsgManager::runningRequests() == 0)
            return;
        ++rebuiltDuringRequest;
        sensor().setLocked(false);
        page->clear();
        page->reload();
    });
    QPointer<WidgetSlider> low = ledSlider("1", "Power low value");
    int requestsWhenDestroyed = -1;
    QObject::connect(low, &QObject::destroyed, [&] { requestsWhenDestroyed = MsgManager::runningRequests(); });
    const fybsim::FybSensor::Mark mark = server.mark();
    enter(low, 25);
    ASSERT_TRUE(waitUntil([&] { return !setConfigsSince(mark).empty(); }));
    ASSERT_TRUE(waitUntil([&] { return low.isNull(); }));
    EXPECT_EQ(rebuiltDuringRequest, 1);
    EXPECT_EQ(requestsWhenDestroyed, 0) << "taken away while its request was still waiting";
    WidgetSlider *rebuilt = ledSlider("1", "Power low value");
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_FALSE(rebuilt->isEnabled());
}

} // namespace
