// The still picture one camera attaches to its recognitions.
#include "DialogStillPictureSettings.h"
#include "ui_DialogStillPictureSettings.h"

#include "ConfigRequest.h"
#include "Model.h"
#include "ZyDialogs.h"
#include "ZyLumatrekTr.h"

DialogStillPictureSettings::DialogStillPictureSettings(QWidget *parent, const QString &cameraId)
    : Dialog_Settings(parent), ui(new Ui::DialogStillPictureSettings), m_cameraId(cameraId)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "cameras", "camera", "stillPicture"};
    ui->cboSize->fill(docPath, "size");
    takeSchemaRange(ui->spinQuality, "quality");
    fillPlateCropped();

    binding.flag(ui->groupStill, "enabled").plainWhenAbsent(tr("Still picture"));
    binding.choice(ui->cboSize, "size").with(ui->labelImageSize);
    binding.number(ui->spinQuality, "quality").with(ui->labelQuality);
    binding.item(ui->cboPlateCropped, "plateCropped").with(ui->labelPlateCropped);
    displayConfig();
    if (ui->cboSize->count() == 0)
        dropChoice(ui->cboSize, ui->labelImageSize);
    if (ui->cboPlateCropped->count() == 0)
        dropChoice(ui->cboPlateCropped, ui->labelPlateCropped);
}

// A schema without the list leaves nothing to choose from.
void DialogStillPictureSettings::dropChoice(QWidget *combo, QWidget *label)
{
    combo->setEnabled(false);
    combo->hide();
    label->hide();
}

DialogStillPictureSettings::~DialogStillPictureSettings() = default;

bool DialogStillPictureSettings::openingAllowed()
{
    if (!model->enabledAlgorithms(m_cameraId).contains(QLatin1String("plateFingerprint")))
        return true;
    ZyDialogs::warning(parentWidget(), tr("Still picture"),
                       tr("'Still picture' cannot be changed when the plateFingerprint algorithm is activated"));
    return false;
}

void DialogStillPictureSettings::fillPlateCropped()
{
    // Values and their documentation alternate.
    const QStringList pairs = model->schemaDoc().enumValues(docPath, "plateCropped");
    for (qsizetype i = 0; i < pairs.size(); i += 2)
        ui->cboPlateCropped->addItem(ZyLumatrekTr::imageSizeLabel(pairs[i].toUtf8().constData()), pairs[i]);
}

void DialogStillPictureSettings::displayConfig()
{
    showElement(PXRMsgElementFirstChild(findCamera(model->config(), m_cameraId), "stillPicture"));
}

void DialogStillPictureSettings::on_buttonBox_accepted()
{
    ConfigRequest request("setConfig");
    binding.write(cameraFeature(request, m_cameraId, "stillPicture"));
    sendRequest(request, tr("Configuration"));
}

void DialogStillPictureSettings::on_buttonBox_rejected()
{
    reject();
}
