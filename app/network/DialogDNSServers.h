// The editor of the sensor's DNS servers.
#pragma once

#include "ServerListEditor.h"

#include <memory>

namespace Ui {
class DialogDNSServers;
}

class DialogDNSServers : public ServerListEditor
{
    Q_OBJECT

public:
    explicit DialogDNSServers(QWidget *parent);
    ~DialogDNSServers() override;

private:
    std::unique_ptr<Ui::DialogDNSServers> ui;
};
