// The RSA public key with which the sensor encrypts the plates it reads, its password and hint;
// an empty key asks for no encryption.
#pragma once

#include "DialogSecurityBase.h"

#include <memory>

namespace Ui {
class DialogSecurityRSA;
}

class DialogSecurityRSA : public DialogSecurityBase
{
    Q_OBJECT

public:
    explicit DialogSecurityRSA(QWidget *parent);
    ~DialogSecurityRSA() override;

    std::optional<ConfigRequest> buildRequest() override;

private slots:
    void on_btnRSAFile_clicked();
    void on_labelPrivateKey_linkActivated(const QString &link);

private:
    std::unique_ptr<Ui::DialogSecurityRSA> ui;
};
