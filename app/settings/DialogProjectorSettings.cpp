// One external projector of the sensor.
#include "DialogProjectorSettings.h"
#include "ui_DialogProjectorSettings.h"

#include "ConfigRequest.h"
#include "Model.h"
#include "ZyLumatrekTr.h"

#include <QSignalBlocker>
#include <QTimer>

#include <initializer_list>
#include <optional>

namespace {

struct Preset
{
    int mode;
    int delay;
    int width;
};

// The timings of a projector lighting for an ANPR sensor and for a context sensor.
constexpr Preset kPresets[] = {{0, 9700, 100}, {1, 1600, 100}};
constexpr int kCustomMode = -1;

int modeOf(int delay, int width)
{
    for (const Preset &preset : kPresets)
        if (preset.delay == delay && preset.width == width)
            return preset.mode;
    return kCustomMode;
}

std::optional<int> numberAttribute(PXRMsgElement *element, const char *name)
{
    bool ok = false;
    const int value = QByteArray(PXRMsgElementAttributeValue(element, name)).toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// A row the sensor's protocol hides is never sent.
SettingsBinding::Entry::Sender unlessHidden(QWidget *control)
{
    return [control](const SettingsBinding::Entry &entry) {
        return control->isHidden() ? std::nullopt : entry.controlValue();
    };
}

} // namespace

DialogProjectorSettings::DialogProjectorSettings(QWidget *parent, const QString &lightingKey)
    : Dialog_Settings(parent), ui(new Ui::DialogProjectorSettings), m_id(lightingKey)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "lightings", "projector"};
    fillCameras();
    fillModes();
    takeDelayRange();
    bind();
    // Nothing to send until loaded.
    ui->groupBox->setEnabled(false);
    QTimer::singleShot(0, this, &DialogProjectorSettings::displayConfig);
}

DialogProjectorSettings::~DialogProjectorSettings() = default;

void DialogProjectorSettings::fillCameras()
{
    for (int i = 0; i < model->cameraCount(); ++i) {
        const QString id = model->cameraId(i);
        ui->cboCamera->addItem(model->cameraLabel(id), id);
    }
}

void DialogProjectorSettings::fillModes()
{
    // Filling is not the operator choosing a preset.
    const QSignalBlocker blocker(ui->cboMode);
    for (const Preset &preset : kPresets)
        ui->cboMode->addItem(ZyLumatrekTr::sensorTypeLabel(preset.mode), preset.mode);
    ui->cboMode->addItem(tr("Custom"), kCustomMode);
}

// The delays this projector allows; a bound the information lacks stays the form's.
void DialogProjectorSettings::takeDelayRange()
{
    PXRMsgElement *values = PXRMsgElementFirstChild(findLighting(model->infos(), m_id), "delayValues");
    if (const std::optional<int> min = numberAttribute(values, "min"))
        ui->spinDelay->setMinimum(*min);
    if (const std::optional<int> max = numberAttribute(values, "max"))
        ui->spinDelay->setMaximum(*max);
}

// In the order the request carries them, after the id.
void DialogProjectorSettings::bind()
{
    binding.flag(ui->groupBox, "enabled").settableWhenAbsent();
    binding.item(ui->cboCamera, "synchronizedWithCamera").with(ui->labelCamera).sends(unlessHidden(ui->cboCamera));
    binding.number(ui->spinDelay, "delay").with(ui->labelDelay);
    binding.number(ui->spinLowDelay, "delayLowBracketing").settableWhenAbsent().sends(unlessHidden(ui->spinLowDelay));
    binding.number(ui->spinWidth, "width").with(ui->labelWidth).sends(unlessHidden(ui->spinWidth));
    binding.flag(ui->checkBracketing, "bracketing").with(ui->labelBracketing);
}

void DialogProjectorSettings::showRowsOfProtocol()
{
    const bool fyb = model->masterSensor().detectedProtocol() == QLatin1String("FYB");
    using Row = std::initializer_list<QWidget *>;
    for (QWidget *widget : Row{ui->labelMode, ui->cboMode, ui->labelWidth, ui->spinWidth})
        widget->setVisible(!fyb);
    for (QWidget *widget : Row{ui->labelCamera, ui->cboCamera, ui->labelLowDelay, ui->spinLowDelay})
        widget->setVisible(fyb);
}

void DialogProjectorSettings::displayConfig()
{
    showRowsOfProtocol();
    PXRMsgElement *projector = findLighting(model->config(), m_id);
    if (projector == nullptr) {
        showElement(nullptr);
        return;
    }
    m_id = m_id.mid(m_id.indexOf(QLatin1Char('=')) + 1);
    // What an absent attribute leaves.
    ui->cboCamera->setCurrentIndex(-1);
    ui->spinDelay->setValue(0);
    ui->spinWidth->setValue(0);
    ui->checkBracketing->setChecked(false);
    ui->spinLowDelay->setValue(0);
    showElement(projector);
    if (ui->cboMode->isVisibleTo(this))
        deriveMode();
    on_checkBracketing_toggled(ui->checkBracketing->isChecked());
    ui->groupBox->setEnabled(true);
}

void DialogProjectorSettings::deriveMode()
{
    ui->cboMode->setCurrentIndex(ui->cboMode->findData(modeOf(ui->spinDelay->value(), ui->spinWidth->value())));
}

void DialogProjectorSettings::on_cboMode_currentIndexChanged(int index)
{
    const int mode = ui->cboMode->itemData(index).toInt();
    for (const Preset &preset : kPresets) {
        if (preset.mode == mode) {
            ui->spinDelay->setValue(preset.delay);
            ui->spinWidth->setValue(preset.width);
        }
    }
}

void DialogProjectorSettings::on_spinDelay_valueChanged(int)
{
    deriveMode();
}

void DialogProjectorSettings::on_spinWidth_valueChanged(int)
{
    deriveMode();
}

void DialogProjectorSettings::on_checkBracketing_toggled(bool checked)
{
    ui->labelLowDelay->setEnabled(checked);
    ui->spinLowDelay->setEnabled(checked);
}

void DialogProjectorSettings::on_buttonBox_accepted()
{
    if (!ui->groupBox->isEnabled())
        return;
    ConfigRequest request("setConfig");
    binding.write(request.path({{"config"}, {"lightings"}, {"projector", m_id.toLatin1()}}));
    sendRequest(request, tr("Configuration"));
}

void DialogProjectorSettings::on_buttonBox_rejected()
{
    reject();
}
