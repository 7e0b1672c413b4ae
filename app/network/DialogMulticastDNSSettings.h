// The sensor's multicast DNS announcement and the host name it announces.
#pragma once

#include "DialogSectionSettings.h"

#include <memory>

namespace Ui {
class DialogMulticastDNSSettings;
}

class DialogMulticastDNSSettings : public DialogSectionSettings
{
    Q_OBJECT

public:
    explicit DialogMulticastDNSSettings(QWidget *parent);
    ~DialogMulticastDNSSettings() override;

protected:
    bool inputAccepted() override;

private:
    std::unique_ptr<Ui::DialogMulticastDNSSettings> ui;
};
