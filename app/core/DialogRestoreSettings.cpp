// Sends a configuration saved earlier in a message file back to the connected sensor as a
// setConfig request, under a progress window.
#include "DialogRestoreSettings.h"
#include "ui_DialogRestoreSettings.h"

#include "ConfigRequest.h"
#include "ZyDialogs.h"
#include "ZyModalRunner.h"

#include <QFile>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSettings>

#include <climits>

namespace {

const char *const kLastConfigFilePath = "LastConfigFilePath";

// Feeds the message reader from the open file.
int32_t readFromFile(void *destination, uint32_t maxLength, void *user)
{
    const qint64 wanted = qMin<qint64>(maxLength, INT32_MAX);
    const qint64 count = static_cast<QFile *>(user)->read(static_cast<char *>(destination), wanted);
    return count < 0 ? -1 : int32_t(count);
}

// The file's message, or null after the error box.
PXRMessage importFile(QFile &file, QWidget *boxParent)
{
    PXRMessage message(PXRMsgCreate());
    if (message && PXRMsgImport(message.get(), &readFromFile, &file) == 1)
        return message;
    ZyDialogs::critical(boxParent, DialogRestoreSettings::tr("Error"), DialogRestoreSettings::tr("Unable to import message"),
                        QString::fromUtf8(PXRGetLastError(message.get())));
    return nullptr;
}

} // namespace

DialogRestoreSettings::DialogRestoreSettings(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DialogRestoreSettings)
{
    ui->setupUi(this);
    ui->txtFile->setText(QSettings().value(kLastConfigFilePath).toString());
}

DialogRestoreSettings::~DialogRestoreSettings()
{
    delete ui;
}

void DialogRestoreSettings::on_btnBrowseFile_clicked()
{
    const QString path = ZyDialogs::getOpenFileName(this, tr("Select a file to restore the configuration of this sensor"),
                                                    QSettings().value(kLastConfigFilePath).toString(),
                                                    QStringLiteral("*.pxrmsg"));
    if (path.isEmpty())
        return;
    QSettings().setValue(kLastConfigFilePath, path);
    ui->txtFile->setText(path.trimmed());
}

void DialogRestoreSettings::on_buttonBox_accepted()
{
    auto *progress = new QProgressDialog(QStringLiteral("Restoring the configuration of the sensor...\nIt can take a few minutes."),
                                         QString(), 0, 100, this);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(0);
    progress->setValue(1);
    progress->show();
    const bool restored = restore(progress);
    progress->close();
    delete progress;
    if (restored)
        accept();
}

void DialogRestoreSettings::on_buttonBox_rejected()
{
    reject();
}

bool DialogRestoreSettings::restore(QProgressDialog *progress)
{
    QFile file(ui->txtFile->text());
    if (!file.open(QIODevice::ReadOnly)) {
        QMessageBox box(QMessageBox::Critical, tr("Error"), tr("File does not exist"), QMessageBox::Ok, progress);
        ZyModalRunner::exec(&box);
        return false;
    }
    const PXRMessage imported = importFile(file, progress);
    if (!imported)
        return false;
    file.close();
    // The imported root goes whole, whatever it is: the sensor judges it.
    ConfigRequest request("setConfig");
    request.root().addCopy(PXRMsgChild(imported.get()));
    return request.send(progress, tr("Configuration"));
}
