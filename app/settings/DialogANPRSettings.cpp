// The licence-plate reading settings of one camera.
#include "DialogANPRSettings.h"
#include "ui_DialogANPRSettings.h"

#include "ConfigRequest.h"
#include "DialogContext6.h"
#include "Model.h"
#include "ZyDialogs.h"
#include "ZyModalRunner.h"

namespace {

const QStringList kDocPath = {"config", "cameras", "camera", "anpr"};
// A context of this many characters or more does not fit the sensor.
constexpr int kContextLimit = 64;
// What the sensor keeps as timeout while repeated decisions are off.
constexpr const char *kReemitOffTimeout = "5000";

// The context as sent: no blank anywhere.
QString cleanContext(const QString &text)
{
    return text.trimmed().remove(QLatin1Char(' '));
}

} // namespace

DialogANPRSettings::DialogANPRSettings(QWidget *parent, const QString &cameraId)
    : Dialog_Settings(parent), ui(new Ui::DialogANPRSettings), m_cameraId(cameraId)
{
    ui->setupUi(this);
    docPath = kDocPath;
    ui->comboDirection->fill(docPath, "direction");
    ui->comboContextPosition->fill(docPath, "platePosition");
    bind();
    displayConfig();
}

DialogANPRSettings::~DialogANPRSettings() = default;

void DialogANPRSettings::bind()
{
    binding.text(ui->txtContext, "context").with(ui->btnEditContext).sends([this](const SettingsBinding::Entry &) {
        return std::optional<QByteArray>(cleanContext(ui->txtContext->text()).toUtf8());
    });
    binding.choice(ui->comboDirection, "direction").with(ui->label);
    binding.choice(ui->comboContextPosition, "platePosition", SettingsBinding::EnableAndShow)
        .with(ui->labelContextPosition);
    binding.flag(ui->checkDuplicateFilter, "duplicateFilter");
    binding.flag(ui->checkSquarePlates, "squarePlates");
    binding.flag(ui->checkReemit, "reemitDecision", SettingsBinding::EnableAndShow);
    binding.number(ui->spinReemit, "reemitDecisionTimeout", SettingsBinding::Show)
        .alsoNeeds("reemitDecision")
        .sentWhen(ui->checkReemit)
        .sends([this](const SettingsBinding::Entry &entry) {
            return ui->checkReemit->isChecked() ? entry.controlValue()
                                                : std::optional<QByteArray>(kReemitOffTimeout);
        });
    binding.flag(ui->checkTrailerPlates, "trailerPlates");
    binding.flag(ui->checkMultiPlate, "multiPlate");
    binding.flag(ui->checkCounting, "counting");
    binding.flag(ui->checkVehicleDetection, "vehicleDetection");
    binding.flag(ui->checkRecognitionStorage, "recognitionStorage");
}

void DialogANPRSettings::displayConfig()
{
    PXRMsgElement *camera = findCamera(model->config(), m_cameraId);
    showElement(PXRMsgElementFirstChild(camera, "anpr"));
    on_checkReemit_toggled(ui->checkReemit->isChecked());
    // Where the main camera counts without reading, counting is not this dialog's to change,
    // whatever camera it edits.
    const QStringList algorithms = model->enabledAlgorithms(QStringLiteral("0"));
    if (algorithms.contains(QLatin1String("counting")) && !algorithms.contains(QLatin1String("anpr")))
        ui->checkCounting->setEnabled(false);
}

void DialogANPRSettings::on_btnEditContext_clicked()
{
    DialogContext6 chooser(this);
    QStringList codes = model->possibleContexts().split(QLatin1Char('|'), Qt::SkipEmptyParts);
    chooser.setContexts(codes);
    chooser.setEdition(model->productVersion());
    chooser.setSentence(ui->txtContext->text());
    if (ZyModalRunner::exec(&chooser) == QDialog::Accepted)
        ui->txtContext->setText(chooser.sentence());
}

void DialogANPRSettings::on_checkReemit_toggled(bool checked)
{
    ui->spinReemit->setEnabled(checked);
}

bool DialogANPRSettings::countingChosen() const
{
    return ui->checkCounting->isEnabled() && ui->checkCounting->isChecked();
}

bool DialogANPRSettings::freeFlow() const
{
    PXRMsgElement *enslavement = PXRMsgElementFirstChild(findCamera(model->config(), m_cameraId), "enslavement");
    const char *enabled = PXRMsgElementAttributeValue(enslavement, "enabled");
    const char *mode = PXRMsgElementAttributeValue(enslavement, "mode");
    return enabled != nullptr && PXRMsgStrToBool(enabled) && mode != nullptr && qstricmp(mode, "freeFlow") == 0;
}

bool DialogANPRSettings::refuse()
{
    // A sensor without contexts gets none, so there is nothing to check.
    if (binding.present("context")) {
        const QString context = cleanContext(ui->txtContext->text());
        if (context.isEmpty()) {
            ZyDialogs::critical(this, windowTitle(), tr("This context is invalid."));
            return true;
        }
        if (context.size() >= kContextLimit) {
            ZyDialogs::critical(this, windowTitle(), tr("This context is too long."));
            return true;
        }
    }
    if (countingChosen() && ui->checkVehicleDetection->isEnabled() && ui->checkVehicleDetection->isChecked()) {
        ZyDialogs::critical(this, tr("Error"), tr("Counting and VehicleDetection cannot be enabled at the same time"));
        return true;
    }
    if (countingChosen() && freeFlow()) {
        ZyDialogs::critical(this, tr("Error"), tr("Counting cannot be enabled in Free flow"));
        return true;
    }
    return false;
}

void DialogANPRSettings::on_buttonBox_accepted()
{
    if (refuse())
        return;
    ConfigRequest request("setConfig");
    binding.write(cameraFeature(request, m_cameraId, "anpr"));
    sendRequest(request, tr("Set configuration"));
}

void DialogANPRSettings::on_buttonBox_rejected()
{
    reject();
}
