// The sensor's IEEE 802.1X client: its authentication method and, for EAP-TLS, the certificate
// material, its password and the identity the sensor presents.
#pragma once

#include "DialogSecurityBase.h"

#include <memory>

namespace Ui {
class DialogSecurity8021X;
}

class DialogSecurity8021X : public DialogSecurityBase
{
    Q_OBJECT

public:
    explicit DialogSecurity8021X(QWidget *parent);
    ~DialogSecurity8021X() override;

    std::optional<ConfigRequest> buildRequest() override;

private slots:
    void on_cboAuthentication_currentIndexChanged(int index);
    void on_radioPFX_toggled(bool checked);
    void on_btnPFX_clicked();
    void on_btnCert_clicked();
    void on_btnPrivate_clicked();
    void on_btnAuthority_clicked();

private:
    void showCurrent();
    bool addFiles(PXRMsgElement *dot1x);

    std::unique_ptr<Ui::DialogSecurity8021X> ui;
};
