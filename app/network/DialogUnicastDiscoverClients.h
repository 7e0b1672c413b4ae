// The editor of the sensor's unicast discovery clients, each an address with or without its port.
#pragma once

#include "ServerListEditor.h"

#include <memory>

namespace Ui {
class DialogUnicastDiscoverClients;
}

class DialogUnicastDiscoverClients : public ServerListEditor
{
    Q_OBJECT

public:
    explicit DialogUnicastDiscoverClients(QWidget *parent);
    ~DialogUnicastDiscoverClients() override;

private:
    std::unique_ptr<Ui::DialogUnicastDiscoverClients> ui;
};
