// One camera's enslavement.
#include "DialogEnslavementSettings.h"
#include "ui_DialogEnslavementSettings.h"

#include "ConfigRequest.h"
#include "DialogEnslavementAdvancedSettings.h"
#include "Model.h"

DialogEnslavementSettings::DialogEnslavementSettings(QWidget *parent, const QString &cameraId)
    : Dialog_Settings(parent), ui(new Ui::DialogEnslavementSettings), m_cameraId(cameraId)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "cameras", "camera", "enslavement"};
    ui->comboType->fill(docPath, "mode");
    ui->comboSwitch->fill(docPath, "switchType");
    // The combos sit in the group: switched off, they are not sent.
    binding.flag(ui->groupEnslavement, "enabled");
    binding.choice(ui->comboType, "mode").with(ui->labelType);
    binding.choice(ui->comboSwitch, "switchType").with(ui->labelSwitch);
    displayConfig();
}

DialogEnslavementSettings::~DialogEnslavementSettings() = default;

// Without its switch the rest cannot be told apart from enslavement switched off.
void DialogEnslavementSettings::displayConfig()
{
    PXRMsgElement *enslavement = PXRMsgElementFirstChild(findCamera(model->config(), m_cameraId), "enslavement");
    const bool hasSwitch = PXRMsgElementAttributeValue(enslavement, "enabled") != nullptr;
    showElement(hasSwitch ? enslavement : nullptr);
}

// The tuning goes in its own request; this dialog stays open whatever happens to it.
void DialogEnslavementSettings::on_btnAdvanced_clicked()
{
    DialogEnslavementAdvancedSettings advanced(this, m_cameraId);
    advanced.exec();
}

void DialogEnslavementSettings::on_buttonBox_accepted()
{
    ConfigRequest request("setConfig");
    binding.write(cameraFeature(request, m_cameraId, "enslavement"));
    sendRequest(request, tr("Configuration"));
}

void DialogEnslavementSettings::on_buttonBox_rejected()
{
    reject();
}
