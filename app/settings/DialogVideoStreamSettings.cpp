// One camera's live video stream.
#include "DialogVideoStreamSettings.h"
#include "ui_DialogVideoStreamSettings.h"

#include "ConfigRequest.h"
#include "Model.h"

namespace {
// The sensor counts the bit rate in bits per second, the operator in kilobits.
constexpr int kBitrateUnit = 1000;
} // namespace

DialogVideoStreamSettings::DialogVideoStreamSettings(QWidget *parent, const QString &cameraId)
    : Dialog_Settings(parent), ui(new Ui::DialogVideoStreamSettings), m_cameraId(cameraId)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "cameras", "camera", "stream"};
    const bool restricted = restrictedCamera();
    ui->cboCodec->fill(docPath, "codec");
    if (restricted)
        ui->cboCodec->removeValue("mpeg");
    ui->cboSize->fill(docPath, "size");
    if (restricted)
        ui->cboSize->removeValue("720x288");
    on_cboSize_currentIndexChanged();
    takeSchemaRange(ui->spinQuality, "quality");
    takeBitrateRange();

    binding.flag(ui->groupEnabled, "enabled").plainWhenAbsent(tr("Video stream"));
    binding.choice(ui->cboCodec, "codec").with(ui->labelCodec);
    binding.choice(ui->cboFPS, "fps").with(ui->labelFPS);
    binding.choice(ui->cboSize, "size").with(ui->labelSize);
    // Kept by the sensor whether the stream runs or not, so sent in both states.
    binding.number(ui->spinQuality, "quality", SettingsBinding::Show)
        .with(ui->labelQuality)
        .sentWhen(ui->groupEnabled);
    binding.number(ui->spinBitrate, "bitrate", SettingsBinding::Show)
        .with(ui->labelBitrate)
        .sentWhen(ui->groupEnabled)
        .scaled(kBitrateUnit);
    displayConfig();
}

DialogVideoStreamSettings::~DialogVideoStreamSettings() = default;

void DialogVideoStreamSettings::displayConfig()
{
    showElement(PXRMsgElementFirstChild(findCamera(model->config(), m_cameraId), "stream"));
}

bool DialogVideoStreamSettings::legacySensor() const
{
    return model->masterSensor().detectedProtocol() == QLatin1String("KGV");
}

bool DialogVideoStreamSettings::restrictedCamera() const
{
    if (!legacySensor())
        return false;
    const QStringList algorithms = model->enabledAlgorithms(m_cameraId);
    for (const char *name : {"anpr", "dgpr", "signature"})
        if (algorithms.contains(QLatin1String(name)))
            return true;
    return false;
}

void DialogVideoStreamSettings::takeBitrateRange()
{
    const SchemaDoc::Bounds bounds = model->schemaDoc().bounds(docPath, "bitrate");
    if (bounds.min)
        ui->spinBitrate->setMinimum(*bounds.min / kBitrateUnit);
    if (bounds.max)
        ui->spinBitrate->setMaximum(*bounds.max / kBitrateUnit);
}

// The rates offered depend on the size; the chosen rate stays when still offered. A rate the
// sensor does not have stays off whatever the size.
void DialogVideoStreamSettings::on_cboSize_currentIndexChanged()
{
    const bool noFifty = legacySensor() && ui->cboSize->currentValue() == "352x288";
    const QByteArray chosen = ui->cboFPS->currentValue();
    ui->cboFPS->fill(docPath, "fps");
    if (noFifty)
        ui->cboFPS->removeValue("50");
    ui->cboFPS->setValue(binding.present("fps") ? chosen.constData() : nullptr);
}

void DialogVideoStreamSettings::on_buttonBox_accepted()
{
    ConfigRequest request("setConfig");
    binding.write(cameraFeature(request, m_cameraId, "stream"));
    sendRequest(request, tr("Configuration"));
}

void DialogVideoStreamSettings::on_buttonBox_rejected()
{
    reject();
}
