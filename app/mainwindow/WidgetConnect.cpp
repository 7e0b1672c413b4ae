// The page shown while no sensor is connected: the sensors heard on the network, the address,
// port, options and secured choices, and the Connect button that hands them to the main window.
#include "WidgetConnect.h"
#include "ui_WidgetConnect.h"

#include "AppSettings.h"
#include "CommandLineSensor.h"
#include "DialogCertificate.h"
#include "DiscoveryFactory.h"
#include "MainWindowInterface.h"
#include "MainWindowResources.h"
#include "ZyDialogs.h"
#include "PXRDiscoverTreeWidget.h"
#include "PXRQt.h"
#include "ZyModalRunner.h"
#include "ZyStylesheet.h"

#include <QHeaderView>
#include <QMessageBox>
#include <QSettings>

namespace {

const char *const kUseCertificateKey = "GUI/useCertificateConnect";
const char *const kCertificateKey = "GUI/certificateConnect";
const char *const kKeyKey = "GUI/keyConnect";
// Legacy sensors' own ports, which need no option when a sensor announces them.
constexpr uint kLegacyCommandPort = 11011;
constexpr uint kLegacyTimePort = 10000;

// The attribute's text, or null when the element does not carry it.
const char *attribute(PXRMsgElement *element, const char *name)
{
    return PXRMsgElementAttributeValue(element, name);
}

uint decimal(const char *text)
{
    return QByteArray(text).trimmed().toUInt();
}

} // namespace

WidgetConnect::WidgetConnect(QWidget *parent) : QWidget(parent), ui(new Ui::WidgetConnect)
{
    loadMainWindowResources();
    ui->setupUi(this);
    initDiscoveryList();
    QObject::connect(ui->txtSensorAddress, &QLineEdit::returnPressed, this, &WidgetConnect::on_btnConnect_clicked);
    ui->spinPort->setStyleSheet(ZyStylesheet::spinBox());
    ui->btnConnectReadOnly->hide();

    AppSettings settings;
    ui->checkSecured->setChecked(settings.securedConnection());
    ui->checkIgnoreSSLErrors->setChecked(settings.ignoreSSLErrors());
    // The box may not have changed, so its slot may not have run.
    on_checkSecured_stateChanged(ui->checkSecured->checkState());
}

WidgetConnect::~WidgetConnect()
{
    AppSettings().setLastSensorSecured(ui->checkSecured->isChecked());
    delete ui;
}

void WidgetConnect::initDiscoveryList()
{
    MainWindowInterface *window = MainWindowInterface::instance();
    ui->treeDiscover->init(window != nullptr ? window->discover() : nullptr);
    ui->treeDiscover->setAlternatingRowColors(false);
    ui->treeDiscover->header()->setStretchLastSection(true);
}

void WidgetConnect::showPortOfMode()
{
    ui->spinPort->setValue(ui->checkSecured->isChecked() ? uSecuredPort : uPlainPort);
}

void WidgetConnect::refreshCertificateField()
{
    const QSettings settings;
    ui->txtCertificate->setText(settings.value(kUseCertificateKey, false).toBool()
                                    ? settings.value(kCertificateKey).toString()
                                    : QString());
}

void WidgetConnect::setLastSensor(const QString &address, quint16 port, quint16 portSSL, const QString &options)
{
    uPlainPort = port;
    uSecuredPort = portSSL;
    ui->txtSensorAddress->setText(address.trimmed());
    showPortOfMode();
    ui->txtOptions->setText(options.trimmed());
}

void WidgetConnect::connectToSensor()
{
    const QString address = ui->txtSensorAddress->text().trimmed();
    const QString options = ui->txtOptions->text().trimmed();
    const quint16 port = quint16(ui->spinPort->value());
    const bool secured = ui->checkSecured->isChecked();
    const bool ignore = ui->checkIgnoreSSLErrors->isChecked();
    const QSettings certificates;
    const bool useCertificate = certificates.value(kUseCertificateKey, false).toBool();
    const QString certificate = certificates.value(kCertificateKey).toString();
    const QString key = certificates.value(kKeyKey).toString();

    AppSettings settings;
    settings.setSecuredConnection(secured);
    settings.setIgnoreSSLErrors(ignore);
    if (address.isEmpty()) {
        ZyDialogs::information(this, tr("Please enter an IP address to connect to"));
        return;
    }
    if (secured)
        settings.setLastSensor(address, uPlainPort, port, options);
    else
        settings.setLastSensor(address, port, uSecuredPort, options);
    emit connect(address, port, options, secured, ignore, useCertificate, certificate, key);
}

void WidgetConnect::restartDiscovery()
{
    MainWindowInterface *window = MainWindowInterface::instance();
    if (window == nullptr)
        return;
    PXRDiscoverDestroy(window->discover());
    window->setDiscover(DiscoveryFactory::createStarted());
    ui->treeDiscover->clear();
    initDiscoveryList();
}

void WidgetConnect::on_btnConnect_clicked()
{
    connectToSensor();
}

void WidgetConnect::on_btnConnectReadOnly_clicked()
{
    connectToSensor();
}

void WidgetConnect::on_treeDiscover_itemClicked(QTreeWidgetItem *current, int)
{
    if (!isVisible())
        return;
    ui->txtSensorAddress->clear();
    ui->txtOptions->clear();
    uPlainPort = CommandLineSensor::kDefaultPort;
    uSecuredPort = CommandLineSensor::kDefaultSecuredPort;
    showPortOfMode();

    PXRMsg *message = PXRDiscoverTreeWidget::sensorMessage(current);
    if (message == nullptr)
        return;
    pxrMsgLog(message, nullptr);
    PXRMsgElement *root = PXRMsgChild(message);
    if (const char *address = attribute(root, "ipAddress"))
        ui->txtSensorAddress->setText(QString::fromUtf8(address));
    if (const char *port = attribute(root, "port"))
        uPlainPort = decimal(port) == 0 ? CommandLineSensor::kDefaultPort : quint16(decimal(port));
    if (const char *portSSL = attribute(root, "portSSL"))
        uSecuredPort = quint16(decimal(portSSL));
    QString options;
    if (const char *commandPort = attribute(root, "commandPort"); commandPort && decimal(commandPort) != kLegacyCommandPort)
        options += QStringLiteral("commandPort=") + QString::fromUtf8(commandPort);
    if (const char *timePort = attribute(root, "timePort"); timePort && decimal(timePort) != kLegacyTimePort)
        options += (options.isEmpty() ? QString() : QStringLiteral(";")) + QStringLiteral("timePort=")
                   + QString::fromUtf8(timePort);
    ui->txtOptions->setText(options);
    showPortOfMode();
}

void WidgetConnect::on_treeDiscover_itemDoubleClicked(QTreeWidgetItem *, int)
{
    connectToSensor();
}

void WidgetConnect::on_btnOptionHelp_clicked()
{
    QMessageBox box(QMessageBox::Information, tr("Options"),
                    tr("Enter here the connect options you need. You can for example set specific ports for KGV "
                       "sensors.\nExample:\ncommandPort=11011;timePort=10000"),
                    QMessageBox::Ok, this);
    ZyModalRunner::exec(&box);
}

void WidgetConnect::on_checkSecured_stateChanged(int)
{
    const bool secured = ui->checkSecured->isChecked();
    showPortOfMode();
    ui->checkIgnoreSSLErrors->setEnabled(secured);
    ui->txtCertificate->setEnabled(secured);
    ui->btnCertificate->setEnabled(secured);
    if (secured)
        refreshCertificateField();
    else
        ui->txtCertificate->clear();
}

void WidgetConnect::on_btnCertificate_clicked()
{
    DialogCertificate dialog(this);
    ZyModalRunner::exec(&dialog);
    refreshCertificateField();
}
