// The connect page: its start state, the secured toggle, a click on an announced sensor, and what
// Connect checks, remembers and emits.
#include "MainWindowTestSupport.h"
#include "TestPictures.h"
#include "WidgetConnect.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

using fybsim::Announcer;

class WidgetConnectTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        window = std::make_unique<FakeMainWindow>();
        window->discoverer = DiscoveryFactory::createStarted();
    }
    void TearDown() override
    {
        page.reset();
        PXRDiscoverDestroy(window->discoverer);
        window.reset();
        MainWindowTest::TearDown();
    }

    WidgetConnect &makePage()
    {
        page = std::make_unique<WidgetConnect>();
        page->resize(900, 500);
        return *page;
    }
    template <typename T> T *field(const char *name) { return page->findChild<T *>(name); }
    QString address() { return field<QLineEdit>("txtSensorAddress")->text(); }
    int port() { return field<QSpinBox>("spinPort")->value(); }
    QString options() { return field<QLineEdit>("txtOptions")->text(); }
    void setSecured(bool secured) { field<QCheckBox>("checkSecured")->setChecked(secured); }
    void pressConnect() { QTest::mouseClick(field<QPushButton>("btnConnect"), Qt::LeftButton); }

    std::unique_ptr<FakeMainWindow> window;
    std::unique_ptr<WidgetConnect> page;
};

TEST_F(WidgetConnectTest, FreshInstallationStartsUnsecuredOnThePlainPort)
{
    makePage();
    EXPECT_FALSE(field<QCheckBox>("checkSecured")->isChecked());
    EXPECT_EQ(port(), 10001);
    EXPECT_FALSE(field<QCheckBox>("checkIgnoreSSLErrors")->isEnabled());
    EXPECT_FALSE(field<QLineEdit>("txtCertificate")->isEnabled());
    EXPECT_FALSE(field<QToolButton>("btnCertificate")->isEnabled());
    EXPECT_TRUE(address().isEmpty());
    EXPECT_TRUE(options().isEmpty());
    page->show();
    EXPECT_FALSE(field<QPushButton>("btnConnectReadOnly")->isVisible());
}

TEST_F(WidgetConnectTest, SecuredToggleShowsEachModesPortAndLosesATypedOne)
{
    makePage().setLastSensor(" 10.0.0.7 ", 10005, 12005, " a=1 ");
    EXPECT_EQ(address(), "10.0.0.7");
    EXPECT_EQ(options(), "a=1");
    EXPECT_EQ(port(), 10005);
    setSecured(true);
    EXPECT_EQ(port(), 12005);
    EXPECT_TRUE(field<QCheckBox>("checkIgnoreSSLErrors")->isEnabled());
    field<QSpinBox>("spinPort")->setValue(999);
    setSecured(false);
    EXPECT_EQ(port(), 10005);
    setSecured(true);
    EXPECT_EQ(port(), 12005);
}

TEST_F(WidgetConnectTest, ClickOnAnAnnouncedSensorFillsAddressPortsAndOptions)
{
    struct Case
    {
        const char *from;
        std::string datagram;
        int plainPort;
        int securedPort;
        const char *options;
    };
    fybsim::LegacySensorInfo legacyDefaults;
    fybsim::LegacySensorInfo legacyOwnPorts;
    legacyOwnPorts.mac = {0, 1, 2, 3, 4, 6};
    legacyOwnPorts.commandPort = 11012;
    legacyOwnPorts.timePort = 10005;
    fybsim::LegacySensorInfo legacyTimePort;
    legacyTimePort.mac = {0, 1, 2, 3, 4, 7};
    legacyTimePort.timePort = 10005;
    fybsim::LegacySensorInfo legacyHugePorts;
    legacyHugePorts.mac = {0, 1, 2, 3, 4, 8};
    legacyHugePorts.commandPort = legacyHugePorts.timePort = 0xFFFFFFFF;
    const Case cases[] = {
        {"127.0.0.2", fybsim::wireOf(Announcer::announcement(0)), 10001, 12001, ""},
        {"127.0.0.3", fybsim::wireOf(Announcer::announcement(10005, 12005)), 10005, 12005, ""},
        {"127.0.0.4", Announcer::legacySensor(legacyDefaults), 10001, 12001, ""},
        {"127.0.0.5", Announcer::legacySensor(legacyOwnPorts), 10001, 12001, "commandPort=11012;timePort=10005"},
        {"127.0.0.6", Announcer::legacySensor(legacyTimePort), 10001, 12001, "timePort=10005"},
        {"127.0.0.7", Announcer::legacySensor(legacyHugePorts), 10001, 12001,
         "commandPort=4294967295;timePort=4294967295"},
    };
    makePage().show();
    auto *list = field<PXRDiscoverTreeWidget>("treeDiscover");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.from);
        Announcer announcer(discoveryPort, c.from);
        QTreeWidgetItem *row = announceUntilListed(list, [&] { announcer.send(c.datagram); }, c.from);
        ASSERT_NE(row, nullptr);
        page->setLastSensor("stale", 1, 2, "stale=1");
        setSecured(false);
        list->scrollToItem(row);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, (list->visualItemRect(row) & list->viewport()->rect()).center());
        EXPECT_EQ(address(), c.from);
        EXPECT_EQ(options(), c.options);
        EXPECT_EQ(port(), c.plainPort);
        setSecured(true);
        EXPECT_EQ(port(), c.securedPort);
    }
    setSecured(false);
    keepPicture(*page, "WidgetConnect");
}

TEST_F(WidgetConnectTest, BlankAddressIsRefusedButTheSecuredChoicesAreStored)
{
    BoxRecorder boxes;
    makePage().setLastSensor("   ", 10001, 12001, "");
    setSecured(true);
    field<QCheckBox>("checkIgnoreSSLErrors")->setChecked(true);
    QSignalSpy connects(page.get(), &WidgetConnect::connect);
    pressConnect();
    EXPECT_EQ(connects.count(), 0);
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_EQ(boxes.boxes[0].title, "WidgetConnect");
    EXPECT_EQ(boxes.boxes[0].text, "Please enter an IP address to connect to");
    AppSettings settings;
    EXPECT_TRUE(settings.securedConnection());
    EXPECT_TRUE(settings.ignoreSSLErrors());
    EXPECT_TRUE(settings.lastSensorAddress().isEmpty());
}

TEST_F(WidgetConnectTest, ConnectStoresTheShownPortForItsModeAndThePagesPortForTheOther)
{
    for (bool secured : {false, true}) {
        SCOPED_TRACE(secured);
        makePage().setLastSensor("10.0.0.8", 10005, 12005, "");
        setSecured(secured);
        field<QSpinBox>("spinPort")->setValue(12345);
        QSignalSpy connects(page.get(), &WidgetConnect::connect);
        pressConnect();
        ASSERT_EQ(connects.count(), 1);
        EXPECT_EQ(connects[0][1].value<uint16_t>(), 12345);
        EXPECT_EQ(connects[0][3].toBool(), secured);
        AppSettings settings;
        EXPECT_EQ(settings.lastSensorAddress(), "10.0.0.8");
        EXPECT_EQ(settings.lastSensorPort(), secured ? 10005 : 12345);
        EXPECT_EQ(settings.lastSensorPortSSL(), secured ? 12345 : 12005);
    }
}

TEST_F(WidgetConnectTest, ConnectCarriesTheCertificateChoiceAlsoForAPlainConnection)
{
    QSettings settings;
    settings.setValue("GUI/useCertificateConnect", true);
    settings.setValue("GUI/certificateConnect", "/keys/client.pem");
    settings.setValue("GUI/keyConnect", "/keys/client.key");
    makePage().setLastSensor(" 10.0.0.9 ", 10001, 12001, " timePort=10005 ");
    QSignalSpy connects(page.get(), &WidgetConnect::connect);
    field<QLineEdit>("txtSensorAddress")->setFocus();
    QTest::keyClick(field<QLineEdit>("txtSensorAddress"), Qt::Key_Return);
    ASSERT_EQ(connects.count(), 1);
    const QList<QVariant> &arguments = connects[0];
    EXPECT_EQ(arguments[0].toString(), "10.0.0.9");
    EXPECT_EQ(arguments[2].toString(), "timePort=10005");
    EXPECT_FALSE(arguments[3].toBool());
    EXPECT_TRUE(arguments[5].toBool());
    EXPECT_EQ(arguments[6].toString(), "/keys/client.pem");
    EXPECT_EQ(arguments[7].toString(), "/keys/client.key");
}

TEST_F(WidgetConnectTest, CancelledCertificateDialogStillRefreshesTheField)
{
    makePage();
    setSecured(true);
    EXPECT_TRUE(field<QLineEdit>("txtCertificate")->text().isEmpty());
    ZyModalRunner::setHandler([](QDialog *) {
        QSettings settings;
        settings.setValue("GUI/useCertificateConnect", true);
        settings.setValue("GUI/certificateConnect", "/keys/other.pem");
        return int(QDialog::Rejected);
    });
    QTest::mouseClick(field<QToolButton>("btnCertificate"), Qt::LeftButton);
    EXPECT_EQ(field<QLineEdit>("txtCertificate")->text(), "/keys/other.pem");
    setSecured(false);
    EXPECT_TRUE(field<QLineEdit>("txtCertificate")->text().isEmpty());
}

TEST_F(WidgetConnectTest, RestartedDiscoveryReplacesTheWindowsObjectAndListsAgain)
{
    makePage().show();
    page->restartDiscovery();
    ASSERT_NE(window->discoverer, nullptr);
    Announcer announcer(discoveryPort, "127.0.0.9");
    EXPECT_NE(announceUntilListed(field<PXRDiscoverTreeWidget>("treeDiscover"),
                                  [&] { announcer.announce(Announcer::announcement(10001)); }, "127.0.0.9"),
              nullptr);
}

} // namespace
