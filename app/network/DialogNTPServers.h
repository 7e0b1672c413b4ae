// The editor of the sensor's NTP servers.
#pragma once

#include "ServerListEditor.h"

#include <memory>

namespace Ui {
class DialogNTPServers;
}

class DialogNTPServers : public ServerListEditor
{
    Q_OBJECT

public:
    explicit DialogNTPServers(QWidget *parent);
    ~DialogNTPServers() override;

private:
    std::unique_ptr<Ui::DialogNTPServers> ui;
};
