// The small dialog of both waits: for the sensor connection, where TLS problems may be accepted
// or the wait cancelled, and for a slow request, which it only shows.
#include "DialogWait.h"
#include "ui_DialogWait.h"

#include "Sensor.h"
#include "ZyModalRunner.h"

#include <QCloseEvent>

namespace {
const int kPollMs = 100;
const quint32 kKnownErrors = 0x1FF;
const quint32 kOtherError = 0x100;
} // namespace

DialogWait::DialogWait(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::DialogWait)
{
    ui->setupUi(this);
    ui->labelMessage->clear();
    ui->btnIgnoreSSLErrors->hide();
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_timer.setInterval(kPollMs);
    connect(&m_timer, &QTimer::timeout, this, &DialogWait::onTimerTimeout);
}

DialogWait::~DialogWait()
{
    delete ui;
}

int DialogWait::execConnecting(Sensor *sensor)
{
    m_sensor = sensor;
    ui->labelMessage->setText(tr("Connecting to sensor %1:%2.").arg(sensor->address()).arg(sensor->port()));
    if (parentWidget() != nullptr)
        setWindowTitle(parentWidget()->windowTitle());
    showWaitingLook(true);
    if (sensor->isConnected())
        return 1;
    m_timer.start();
    const int result = ZyModalRunner::exec(this);
    // Escape ends the run without passing through Cancel.
    m_timer.stop();
    return result == QDialog::Accepted ? 1 : 0;
}

void DialogWait::showSendingRequest()
{
    ui->labelMessage->setText(tr("Sending request, please wait..."));
    showWaitingLook(false);
    // Without its buttons the dialog needs no more height than its text and bar.
    resize(width(), sizeHint().height());
    show();
}

QString DialogWait::sslErrorText(quint32 errors)
{
    const QString lines[] = {
        tr("\n   Unable to get Certificate revocation list (CRL)"),
        tr("\n   Certificate is not yet valid"),
        tr("\n   Certificate has expired"),
        tr("\n   One certification in the certification chain is auto signed"),
        tr("\n   Certification chain is too long"),
        tr("\n   Certificate has been revoked"),
        tr("\n   Invalid Certificate Authority"),
        tr("\n   Certificate was not issued for this address"),
        tr("\n   Certificate could not be verified"),
    };
    if ((errors & ~kKnownErrors) != 0)
        errors |= kOtherError;
    QString text = tr("Unable to connect : SSL errors");
    for (int bit = 0; bit < int(std::size(lines)); ++bit) {
        if ((errors & (1u << bit)) != 0)
            text += lines[bit];
    }
    return text;
}

void DialogWait::onTimerTimeout()
{
    PXR *handle = m_sensor != nullptr ? m_sensor->handle() : nullptr;
    // A sensor disconnected under the wait can never connect: the wait ends as cancelled.
    if (m_sensor != nullptr && handle == nullptr) {
        m_timer.stop();
        reject();
        return;
    }
    if (handle != nullptr) {
        const quint32 errors = PXRGetSSLErrors(handle);
        if (errors != 0 && PXRGetIgnoreSSLErrors(handle) != PXR_SSL_ERROR_ALL) {
            ui->labelMessage->setText(sslErrorText(errors));
            ui->labelPleaseWait->hide();
            ui->progressBar->hide();
            ui->btnIgnoreSSLErrors->show();
        }
    }
    if (m_sensor != nullptr && m_sensor->isConnected()) {
        m_timer.stop();
        accept();
    }
}

void DialogWait::on_buttonBox_rejected()
{
    m_timer.stop();
    reject();
}

void DialogWait::setMessage(QString strMessage)
{
    ui->labelMessage->setText(strMessage);
}

void DialogWait::on_btnIgnoreSSLErrors_clicked()
{
    if (m_sensor != nullptr && m_sensor->handle() != nullptr)
        PXRSetIgnoreSSLErrors(m_sensor->handle(), PXR_SSL_ERROR_ALL);
    showWaitingLook(true);
}

void DialogWait::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

void DialogWait::showWaitingLook(bool withCancel)
{
    ui->labelPleaseWait->show();
    ui->progressBar->show();
    ui->lineBeforeButtonBox->setVisible(withCancel);
    ui->buttonBox->setVisible(withCancel);
    ui->btnIgnoreSSLErrors->hide();
}
