// The sensor's Nedap GenericBadge client: server address, port and retries.
#pragma once

#include "DialogSectionSettings.h"

#include <memory>

namespace Ui {
class DialogNedapSettings;
}

class DialogNedapSettings : public DialogSectionSettings
{
    Q_OBJECT

public:
    explicit DialogNedapSettings(QWidget *parent);
    ~DialogNedapSettings() override;

protected:
    bool inputAccepted() override;

private:
    std::unique_ptr<Ui::DialogNedapSettings> ui;
};
