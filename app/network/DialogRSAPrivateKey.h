// The private key with which this program decrypts the plates a sensor encrypts: given to the
// window's plate decryptor, remembered for the next starts when asked, or erased.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class DialogRSAPrivateKey;
}

class DialogRSAPrivateKey : public QDialog
{
    Q_OBJECT

public:
    explicit DialogRSAPrivateKey(QWidget *parent);
    ~DialogRSAPrivateKey() override;

private slots:
    void on_btnRSAFile_clicked();
    void on_labelConfiguredKey_linkActivated(const QString &link);
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();

private:
    std::unique_ptr<Ui::DialogRSAPrivateKey> ui;
};
