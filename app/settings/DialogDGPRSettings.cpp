// The dangerous-goods panel reading settings of one camera.
#include "DialogDGPRSettings.h"
#include "ui_DialogDGPRSettings.h"

#include "ConfigRequest.h"
#include "Model.h"

DialogDGPRSettings::DialogDGPRSettings(QWidget *parent, const QString &cameraId)
    : Dialog_Settings(parent), ui(new Ui::DialogDGPRSettings), m_cameraId(cameraId)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "cameras", "camera", "dgpr"};
    ui->comboDirection->fill(docPath, "direction");
    ui->comboInstallation->fill(docPath, "installation");
    ui->comboDetectionRatio->fill(docPath, "emptyPlatesDetectionRatio");
    bind();
    displayConfig();
}

DialogDGPRSettings::~DialogDGPRSettings() = default;

// A setting the sensor lacks takes its row away.
void DialogDGPRSettings::bind()
{
    using Binding = SettingsBinding;
    binding.choice(ui->comboDirection, "direction", Binding::EnableAndShow).with(ui->labelDirection);
    binding.choice(ui->comboInstallation, "installation", Binding::EnableAndShow).with(ui->labelInstallation);
    binding.flag(ui->checkDuplicateFilter, "emptyPlatesDetection", Binding::EnableAndShow);
    binding.choice(ui->comboDetectionRatio, "emptyPlatesDetectionRatio", Binding::EnableAndShow)
        .with(ui->labelDetectionRatio);
    binding.flag(ui->checkRecognitionStorage, "recognitionStorage", Binding::EnableAndShow);
}

void DialogDGPRSettings::displayConfig()
{
    showElement(PXRMsgElementFirstChild(findCamera(model->config(), m_cameraId), "dgpr"));
}

void DialogDGPRSettings::on_buttonBox_accepted()
{
    ConfigRequest request("setConfig");
    binding.write(cameraFeature(request, m_cameraId, "dgpr"));
    sendRequest(request, tr("Set configuration"));
}

void DialogDGPRSettings::on_buttonBox_rejected()
{
    reject();
}
