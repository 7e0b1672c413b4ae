// Chooses the client certificate and private key that secured connections present.
#pragma once

#include <QDialog>
#include <QSettings>

class QLineEdit;

namespace Ui {
class DialogCertificate;
}

class DialogCertificate : public QDialog
{
    Q_OBJECT

public:
    explicit DialogCertificate(QWidget *parent = nullptr);
    ~DialogCertificate() override;

private slots:
    void on_btnCert_clicked();
    void on_btnPrivate_clicked();
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    // Lets the operator pick a file for the field; a cancelled choice leaves it as it was.
    void chooseFile(const QString &caption, QLineEdit *field);

    Ui::DialogCertificate *ui;
    QSettings m_settings;
};
