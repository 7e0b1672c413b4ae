// How one recognition module of one camera exports its results on the serial output.
#include "DialogRS232Settings.h"
#include "ui_DialogRS232Settings.h"

#include "ConfigRequest.h"
#include "Model.h"

namespace {

// The link's child of the request's serial element, made only when it gets an attribute.
void writeLink(const SettingsBinding &link, const ConfigElement &serial, const char *name)
{
    if (link.writesAny())
        link.write(serial.path({{name}}));
}

} // namespace

DialogRS232Settings::DialogRS232Settings(QWidget *parent, const QString &cameraId, const QString &module)
    : Dialog_Settings(parent), ui(new Ui::DialogRS232Settings), m_feature(cameraId, module, "serial")
{
    ui->setupUi(this);
    docPath = m_feature.schemaPath();
    const QStringList wiegandPath = docPath + QStringList{"wiegand"};
    ui->cboWiegandProtocol->fill(wiegandPath, "protocol");
    ui->cboWiegandTimeOnBus->fill(wiegandPath, "bitDuration_us");
    ui->cboWiegandInactiveVoltage->fill(wiegandPath, "inactiveStateVoltage_V");
    PXRMsgElement *serial = m_feature.find(model->config());
    bind(serial);
    displayConfig(serial);
}

DialogRS232Settings::~DialogRS232Settings() = default;

// Older sensors name the mode rs232Export; without either name the mode combo stays empty.
void DialogRS232Settings::bind(PXRMsgElement *serial)
{
    const bool older = PXRMsgElementAttributeValue(serial, "rs232Export") != nullptr;
    m_exportAttribute = older ? "rs232Export" : "export";
    if (PXRMsgElementAttributeValue(serial, m_exportAttribute.constData()) != nullptr)
        ui->cboMode->fill(docPath, QString::fromLatin1(m_exportAttribute));
    binding.choice(ui->cboMode, m_exportAttribute.constData()).with(ui->labelMode);
    m_osdp.number(ui->spinOsdpAddress, "address").with(ui->labelOsdpAddress);
    m_wiegand.choice(ui->cboWiegandProtocol, "protocol").with(ui->labelWiegandProtocol);
    m_wiegand.choice(ui->cboWiegandTimeOnBus, "bitDuration_us").with(ui->labelWiegandTimeOnBus);
    m_wiegand.choice(ui->cboWiegandInactiveVoltage, "inactiveStateVoltage_V").with(ui->labelWiegandInactiveVoltage);
}

void DialogRS232Settings::displayConfig(PXRMsgElement *serial)
{
    showElement(serial);
    m_osdp.load(PXRMsgElementFirstChild(serial, "osdp"));
    m_wiegand.load(PXRMsgElementFirstChild(serial, "wiegand"));
    on_cboMode_currentIndexChanged(0);
}

void DialogRS232Settings::on_cboMode_currentIndexChanged(int)
{
    const QByteArray mode = ui->cboMode->currentValue();
    ui->groupBoxOSDP->setVisible(mode == "osdp");
    ui->groupBoxWiegand->setVisible(mode == "wiegand");
}

void DialogRS232Settings::on_buttonBox_accepted()
{
    ConfigRequest request("setConfig");
    const ConfigElement serial = m_feature.in(request);
    binding.write(serial);
    if (!ui->groupBoxOSDP->isHidden())
        writeLink(m_osdp, serial, "osdp");
    else if (!ui->groupBoxWiegand->isHidden())
        writeLink(m_wiegand, serial, "wiegand");
    sendRequest(request, tr("Configuration"));
}

void DialogRS232Settings::on_buttonBox_rejected()
{
    reject();
}
