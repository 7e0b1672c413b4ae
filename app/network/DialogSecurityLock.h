// The password that locks the sensor's configuration, and its hint.
#pragma once

#include "DialogSecurityBase.h"

#include <memory>

namespace Ui {
class DialogSecurityLock;
}

class DialogSecurityLock : public DialogSecurityBase
{
    Q_OBJECT

public:
    explicit DialogSecurityLock(QWidget *parent);
    ~DialogSecurityLock() override;

    std::optional<ConfigRequest> buildRequest() override;

private:
    std::unique_ptr<Ui::DialogSecurityLock> ui;
};
