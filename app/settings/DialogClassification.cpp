// Loads a vehicle-classification file into one camera.
#include "DialogClassification.h"
#include "ui_DialogClassification.h"

#include "AppSettings.h"
#include "ConfigRequest.h"
#include "ZyDialogs.h"

#include <QFile>

DialogClassification::DialogClassification(QWidget *parent, const QString &cameraId)
    : Dialog_Settings(parent), ui(new Ui::DialogClassification), m_cameraId(cameraId)
{
    ui->setupUi(this);
    docPath = QStringList{"config", "cameras", "camera", "classification"};
}

DialogClassification::~DialogClassification() = default;

void DialogClassification::on_btnLoad_clicked()
{
    AppSettings settings;
    // Names without a dot are common on Linux: "*.*" would hide them.
    const QString path = ZyDialogs::getOpenFileName(this, tr("Select configuration file"), settings.classifFile(),
                                                    tr("All files (*)"));
    if (path.isEmpty())
        return;
    settings.setClassifFile(path);
    const std::optional<QByteArray> bytes = readFile(path);
    if (!bytes)
        return;
    ConfigRequest request("setConfig");
    const ConfigElement data = cameraFeature(request, m_cameraId, "classification").path({{"data"}});
    PXRMsgElementSetContentBinary(data.get(), bytes->constData(), uint32_t(bytes->size()));
    sendRequest(request, tr("Configuration"));
}

// At most one byte past the limit is read, so a device that never ends cannot hold us; a read
// that fails or stops short of the file's size sends nothing.
std::optional<QByteArray> DialogClassification::readFile(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.read(MaxFileSize + 1);
        if (bytes.size() > MaxFileSize) {
            ZyDialogs::critical(this, tr("Error"), tr("Invalid file (too big)"));
            return std::nullopt;
        }
        const bool whole = file.error() == QFileDevice::NoError && (file.isSequential() || bytes.size() >= file.size());
        if (whole)
            return bytes;
    }
    ZyDialogs::critical(this, tr("Error"), tr("Unable to open file!"));
    return std::nullopt;
}

void DialogClassification::on_buttonBox_rejected()
{
    reject();
}
