// The sensor's link to the RVD service: the default server with a zone, or an own server.
#pragma once

#include "DialogSectionSettings.h"

#include <memory>

namespace Ui {
class DialogRVDSettings;
}

class DialogRVDSettings : public DialogSectionSettings
{
    Q_OBJECT

public:
    explicit DialogRVDSettings(QWidget *parent);
    ~DialogRVDSettings() override;

protected:
    bool inputAccepted() override;

private slots:
    void on_checkRVDLocal_stateChanged(int state);

private:
    std::unique_ptr<Ui::DialogRVDSettings> ui;
};
