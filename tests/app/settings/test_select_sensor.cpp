// Picking a slave among the sensors announced on loopback: the sensor being configured, the
// models that can only be masters and the sensors without the required algorithm are refused
// with their reason in that order; the chosen MAC fills the slave's field, a cancel leaves it,
// and the dialog's size comes back at the next opening.
#include "ConfigSections.h"
#include "MainWindowTestSupport.h"

#include <QLineEdit>
#include <QToolButton>

#include <gtest/gtest.h>

namespace
{

using namespace settingstest;
using fybsim::Announcer;
using fybsim::Element;

const char kOwnMacOtherCase[] = "00:0a:0b:0c:0d:0e"; // the test sensor's own, "00:0A:0B:0C:0D:0E"

struct Announced {
    const char *from;
    const char *mac; // none when null
    const char *equipment;
    std::vector<const char *> algorithms; // no enabledAlgorithms element when empty
};

// Each one a step further down the checks than the one before.
const Announced kSensors[] = {
    {"127.0.0.21", kOwnMacOtherCase, "Lumatek4", {}},
    {"127.0.0.22", "00:22:00:00:00:01", "Lumatek4", {}},
    {"127.0.0.23", "00:22:00:00:00:02", "Lumatek3 (primary)", {}},
    {"127.0.0.24", "00:22:00:00:00:03", "Lumatek3 (secondary)", {"streaming"}},
    {"127.0.0.25", "00:22:00:00:00:04", "FybSim", {"streaming", "anprBDXSimu"}},
    {"127.0.0.26", "00:22:00:00:00:05", "FybSim", {}},
    {"127.0.0.27", nullptr, "FybSim", {"anpr", "streaming"}},
};

Element announcementOf(const Announced &sensor)
{
    Element made = Announcer::announcement(10001);
    std::erase_if(made.attributes, [](const auto &attribute) { return attribute.first == "macAddress"; });
    if (sensor.mac != nullptr)
        made.set("macAddress", sensor.mac);
    made.set("equipment", sensor.equipment);
    if (!sensor.algorithms.empty()) {
        Element algorithms("enabledAlgorithms");
        for (const char *name : sensor.algorithms)
            algorithms.add(Element(name));
        made.add(algorithms);
    }
    return made;
}

class SelectSensorTest : public SettingsTest
{
protected:
    using Selection = std::function<int(QDialog &select, PXRDiscoverTreeWidget *list)>;

    void SetUp() override
    {
        SettingsTest::SetUp();
        discoveryPort = Announcer::unusedPort();
        DiscoveryFactory::setCreator([port = discoveryPort] {
            PXRDiscover *discover = PXRDiscoverCreate();
            if (discover != nullptr)
                discover->u16Port = port;
            return discover;
        });
        ASSERT_NO_FATAL_FAILURE(start(configWith(
            "slaves", Element("slaves")
                          .set("mode", "configured")
                          .add(element("slaveAnpr", {{"macAddress", "00:11:22:33:44:55"}, {"position", "left"}}))
                          .add(element("slaveContext", {{"macAddress", "00:11:22:33:44:66"}})))));
    }
    void TearDown() override
    {
        DiscoveryFactory::setCreator({});
        SettingsTest::TearDown();
    }

    // The row of the sensor once its list shows it.
    QTreeWidgetItem *listed(PXRDiscoverTreeWidget *list, const Announced &sensor)
    {
        Announcer announcer(discoveryPort, sensor.from, "127.255.255.255");
        const Element announcement = announcementOf(sensor);
        return announceUntilListed(
            list, [&] { announcer.announce(announcement); }, QString::fromLatin1(sensor.from));
    }

    // Opens the master/slave dialog, presses the slave's "..." and lets the selection run on the
    // dialog it opens; the slave's MAC field afterwards, the master dialog cancelled.
    QString pick(const char *button, const char *field, const Selection &selection)
    {
        QString mac;
        open("slaves", [&](QDialog &dialog) {
            answers.push_back([&](QDialog *select) {
                EXPECT_STREQ(select->metaObject()->className(), "DialogSelectSensor");
                return selection(*select, select->findChild<PXRDiscoverTreeWidget *>("treeDiscover"));
            });
            child<QToolButton>(dialog, button)->click();
            mac = child<QLineEdit>(dialog, field)->text();
            dialog.reject();
        });
        return mac;
    }

    // The boxes shown while the action ran.
    std::vector<SeenDialog> boxesDuring(const std::function<void()> &action)
    {
        const std::size_t mark = seen.size();
        action();
        return {seen.begin() + qsizetype(mark), seen.end()};
    }

    uint16_t discoveryPort = 0;
};

struct PickCase {
    const char *button;
    const char *field;
    std::vector<const char *> refusals; // for each announced sensor, empty when it qualifies
};

TEST_F(SelectSensorTest, RefusesInOrderAndFillsTheChosenMac)
{
    const PickCase cases[] = {
        {"btnSlaveAnprSelection",
         "txtAnprMac",
         {"This is the sensor you are configuring.\nYou must select another one.", "A Lumatek4 cannot be slave.",
          "A primary Lumatek3 cannot be slave.", "You must select a anpr sensor.", "", "You must select a anpr sensor.",
          ""}},
        {"btnSlaveContextSelection",
         "txtContextMac",
         {"This is the sensor you are configuring.\nYou must select another one.", "A Lumatek4 cannot be slave.",
          "A primary Lumatek3 cannot be slave.", "", "", "You must select a streaming sensor.", ""}},
    };
    for (const PickCase &c : cases) {
        SCOPED_TRACE(c.button);
        ASSERT_EQ(c.refusals.size(), std::size(kSensors));
        const QString chosen = pick(c.button, c.field, [&](QDialog &select, PXRDiscoverTreeWidget *list) -> int {
            EXPECT_EQ(select.windowTitle(), "Select a Sensor");
            std::vector<SeenDialog> boxes = boxesDuring([&] { okButton(select)->click(); });
            EXPECT_EQ(boxes.size(), 1u);
            if (!boxes.empty())
                EXPECT_EQ(boxes[0].text, "You must select a sensor in the list.");
            for (std::size_t i = 0; i < std::size(kSensors); ++i) {
                SCOPED_TRACE(kSensors[i].from);
                QTreeWidgetItem *row = listed(list, kSensors[i]);
                if (row == nullptr) {
                    ADD_FAILURE() << "not listed";
                    continue;
                }
                list->setCurrentItem(row);
                boxes = boxesDuring([&] { okButton(select)->click(); });
                if (*c.refusals[i] == '\0') {
                    EXPECT_TRUE(boxes.empty());
                    EXPECT_EQ(select.result(), QDialog::Accepted);
                    select.setResult(QDialog::Rejected);
                    continue;
                }
                if (boxes.size() != 1u) {
                    ADD_FAILURE() << boxes.size() << " boxes";
                    continue;
                }
                EXPECT_EQ(boxes[0].kind, "QMessageBox");
                EXPECT_EQ(boxes[0].title, "Select a Sensor");
                EXPECT_EQ(boxes[0].text, c.refusals[i]);
                EXPECT_NE(select.result(), QDialog::Accepted);
            }
            // Chosen by a double-click.
            QTreeWidgetItem *row = listed(list, kSensors[4]);
            EXPECT_NE(row, nullptr);
            emit list->itemDoubleClicked(row, 2);
            return select.result();
        });
        EXPECT_EQ(chosen, kSensors[4].mac);
    }
}

// Kept as the dialog decides: a sensor that announces no MAC gives an empty address, which the
// master dialog then refuses.
TEST_F(SelectSensorTest, SensorWithoutMacGivesAnEmptyAddress)
{
    const QString chosen =
        pick("btnSlaveAnprSelection", "txtAnprMac", [&](QDialog &select, PXRDiscoverTreeWidget *list) -> int {
            list->setCurrentItem(listed(list, kSensors[6]));
            okButton(select)->click();
            return select.result();
        });
    EXPECT_EQ(chosen, "");
}

TEST_F(SelectSensorTest, CancelLeavesTheAddressAndTheSizeComesBack)
{
    const QSize resized(700, 430);
    const QString kept =
        pick("btnSlaveContextSelection", "txtContextMac", [&](QDialog &select, PXRDiscoverTreeWidget *list) -> int {
            EXPECT_EQ(select.size(), QSize(642, 384));
            list->setCurrentItem(listed(list, kSensors[4]));
            select.resize(resized);
            child<QDialogButtonBox>(select, "buttonBox")->button(QDialogButtonBox::Cancel)->click();
            return select.result();
        });
    EXPECT_EQ(kept, "00:11:22:33:44:66");
    QSize reopened;
    pick("btnSlaveContextSelection", "txtContextMac", [&](QDialog &select, PXRDiscoverTreeWidget *) {
        reopened = select.size();
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(reopened, resized);
}

TEST_F(SelectSensorTest, WithoutTheOwnMacNothingOpens)
{
    Element infos = panelsfixture::fullInfos();
    for (Element &section : infos.children)
        if (section.name == "sensor")
            std::erase_if(section.attributes, [](const auto &attribute) { return attribute.first == "macAddress"; });
    ASSERT_NO_FATAL_FAILURE(
        start(configWith("slaves", Element("slaves")
                                       .set("mode", "configured")
                                       .add(element("slaveAnpr", {{"macAddress", "00:11:22:33:44:55"}}))),
              infos));
    std::vector<SeenDialog> opened;
    open("slaves", [&](QDialog &dialog) {
        opened = boxesDuring([&] { child<QToolButton>(dialog, "btnSlaveAnprSelection")->click(); });
        dialog.reject();
    });
    EXPECT_TRUE(opened.empty());
}

TEST_F(SelectSensorTest, PictureListingAnnouncedSensors)
{
    pick("btnSlaveAnprSelection", "txtAnprMac", [&](QDialog &select, PXRDiscoverTreeWidget *list) -> int {
        // On screen before the sensors arrive, as the operator meets it.
        select.show();
        for (const Announced &sensor : kSensors)
            EXPECT_NE(listed(list, sensor), nullptr) << sensor.from;
        keepPicture(select, "settings-select-sensor");
        return int(QDialog::Rejected);
    });
}

} // namespace
