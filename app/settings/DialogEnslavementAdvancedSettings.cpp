// The tuning values of one camera's enslavement.
#include "DialogEnslavementAdvancedSettings.h"
#include "ui_DialogEnslavementAdvancedSettings.h"

#include "ConfigRequest.h"
#include "Model.h"

#include <QPushButton>

DialogEnslavementAdvancedSettings::DialogEnslavementAdvancedSettings(QWidget *parent, const QString &cameraId)
    : Dialog_Settings(parent), ui(new Ui::DialogEnslavementAdvancedSettings), m_cameraId(cameraId)
{
    ui->setupUi(this);
    // No documentation of its own: the enslavement dialog beneath shows it.
    const QStringList schemaPath{"config", "cameras", "camera", "enslavement"};
    const struct
    {
        QSpinBox *spin;
        QLabel *label;
        const char *attribute;
    } rows[] = {
        {ui->spinMaxTime, ui->labelMaxTime, "maxTimeWithoutDecisionBeforeReinit_s"},
        {ui->spinTimeToWait, ui->labelTimeToWait, "timeToWaitBeforeElection_s"},
        {ui->spinPlateHys, ui->labelPlateHys, "plateHysteresis"},
        {ui->spinMaxGain, ui->labelMaxGain, "gainMax"},
    };
    for (const auto &row : rows) {
        takeSchemaRange(row.spin, schemaPath, QString::fromLatin1(row.attribute));
        binding.number(row.spin, row.attribute).with(row.label);
    }
    displayConfig();
}

DialogEnslavementAdvancedSettings::~DialogEnslavementAdvancedSettings() = default;

void DialogEnslavementAdvancedSettings::displayConfig()
{
    showElement(PXRMsgElementFirstChild(findCamera(model->config(), m_cameraId), "enslavement"));
    if (QPushButton *help = ui->buttonBox->button(QDialogButtonBox::Help))
        help->hide();
}

void DialogEnslavementAdvancedSettings::on_buttonBox_accepted()
{
    ConfigRequest request("setConfig");
    binding.write(cameraFeature(request, m_cameraId, "enslavement"));
    sendRequest(request, tr("Configuration"));
}

void DialogEnslavementAdvancedSettings::on_buttonBox_rejected()
{
    reject();
}
