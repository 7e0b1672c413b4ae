// The sensor's TLS certificate: reset it, or set a new one from a PFX file or from separate
// certificate, key and authority files.
#pragma once

#include "DialogSecurityBase.h"

#include <memory>

namespace Ui {
class DialogSecurity;
}

class DialogSecurity : public DialogSecurityBase
{
    Q_OBJECT

public:
    explicit DialogSecurity(QWidget *parent);
    ~DialogSecurity() override;

    std::optional<ConfigRequest> buildRequest() override;

private slots:
    void on_radioPFX_toggled(bool checked);
    void on_radioSetNew_toggled(bool checked);
    void on_btnPFX_clicked();
    void on_btnCert_clicked();
    void on_btnPrivate_clicked();
    void on_btnAuthority_clicked();

private:
    bool addFiles(PXRMsgElement *root);

    std::unique_ptr<Ui::DialogSecurity> ui;
};
