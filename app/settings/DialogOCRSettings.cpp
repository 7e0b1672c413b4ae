// The character-reading limits of one recognition module of one camera.
#include "DialogOCRSettings.h"
#include "ui_DialogOCRSettings.h"

#include "ConfigRequest.h"
#include "Model.h"
#include "ZyDialogs.h"

DialogOCRSettings::DialogOCRSettings(QWidget *parent, const QString &cameraId, const QString &module)
    : Dialog_Settings(parent), ui(new Ui::DialogOCRSettings), m_feature(cameraId, module, "ocr")
{
    ui->setupUi(this);
    docPath = m_feature.schemaPath();
    m_limits = {
        {"maxPlateWidth", ui->spinMaxPlateWidth, ui->labelMaxPlateWidth, ui->labelDefaultMaxPlateWidth},
        {"maxPlateHeight", ui->spinMaxPlateHeight, ui->labelMaxPlateHeight, ui->labelDefaultMaxPlateHeight},
        {"minPlateWidth", ui->spinMinPlateWidth, ui->labelMinPlateWidth, ui->labelDefaultMinPlateWidth},
        {"minPlateHeight", ui->spinMinPlateHeight, ui->labelMinPlateHeight, ui->labelDefaultMinPlateHeight},
        {"zoomPlateWidth", ui->spinZoomPlateWidth, ui->labelZoomPlateWidth, ui->labelDefaultZoomPlateWidth},
        {"minReliability", ui->spinMinReliability, ui->labelMinReliability, ui->labelDefaultMinReliability},
        {"minCharWidthStatic", ui->spinMinCharWidthStatic, ui->labelMinCharWidthStatic,
         ui->labelDefaultMinCharWidthStatic},
        {"minPlateWidthStatic8Char", ui->spinMinPlateWidthStatic, ui->labelMinPlateWidthStatic,
         ui->labelDefaultMinPlateWidthStatic},
        {"minRecognitionStatic", ui->spinMinRecognitionsStatic, ui->labelMinRecognitionsStatic,
         ui->labelDefaultMinRecognitionsStatic},
        {"minRecognition", ui->spinMinToRecognize, ui->labelMinToRecognize, ui->labelDefaultMinToRecognize},
        {"maxNoPlateBeforeDecision", ui->spinMaxNoPlateBeforeDecision, ui->labelMaxNoPlateBeforeDecision,
         ui->labelDefaultMaxNoPlateBeforeDecision},
    };
    for (const Limit &limit : m_limits) {
        takeSchemaRange(limit.spin, limit.attribute);
        binding.number(limit.spin, limit.attribute, SettingsBinding::EnableAndShow).with(limit.caption);
    }
    displayConfig();
}

DialogOCRSettings::~DialogOCRSettings() = default;

void DialogOCRSettings::displayConfig()
{
    PXRMsgElement *ocr = m_feature.find(model->config());
    showElement(ocr);
    showDefaults(ocr);
}

// A default is shown only beside a value that differs from it, compared as texts.
void DialogOCRSettings::showDefaults(PXRMsgElement *ocr)
{
    ui->btnReset->hide();
    PXRMsgElement *factory = defaults();
    for (const Limit &limit : m_limits) {
        limit.defaultLabel->hide();
        const char *configured = PXRMsgElementAttributeValue(ocr, limit.attribute);
        const char *fallback = PXRMsgElementAttributeValue(factory, limit.attribute);
        if (configured == nullptr || fallback == nullptr || qstrcmp(configured, fallback) == 0)
            continue;
        limit.defaultLabel->setText(tr("Default : %1").arg(QString::fromUtf8(fallback)));
        limit.defaultLabel->show();
        ui->btnReset->show();
    }
}

// One set of defaults per module for the whole sensor, in its information.
PXRMsgElement *DialogOCRSettings::defaults() const
{
    const QByteArray name = m_feature.moduleName().toLatin1();
    PXRMsgElement *module = PXRMsgElementFirstChild(PXRMsgChild(model->infos()), name.constData());
    return PXRMsgElementFirstChild(module, "ocrDefault");
}

void DialogOCRSettings::on_btnReset_clicked()
{
    PXRMsgElement *factory = defaults();
    if (factory == nullptr)
        return;
    for (const Limit &limit : m_limits)
        if (const char *value = PXRMsgElementAttributeValue(factory, limit.attribute))
            limit.spin->setValue(QByteArray(value).toInt());
    on_buttonBox_accepted();
}

// Only the plate widths the sensor has bound the zoom width.
bool DialogOCRSettings::zoomWithinPlateWidths() const
{
    if (!binding.present("zoomPlateWidth"))
        return true;
    const int zoom = ui->spinZoomPlateWidth->value();
    if (binding.present("minPlateWidth") && zoom < ui->spinMinPlateWidth->value())
        return false;
    return !(binding.present("maxPlateWidth") && zoom > ui->spinMaxPlateWidth->value());
}

void DialogOCRSettings::on_buttonBox_accepted()
{
    if (!zoomWithinPlateWidths()) {
        ZyDialogs::information(this, windowTitle(),
                               tr("The zoom plate width must be between min plate width and max plate width."));
        return;
    }
    ConfigRequest request("setConfig");
    binding.write(m_feature.in(request));
    sendRequest(request, tr("Configuration"));
}

void DialogOCRSettings::on_buttonBox_rejected()
{
    reject();
}
