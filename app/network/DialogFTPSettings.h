// The sensor's export of its results to up to four FTP servers.
#pragma once

#include "Dialog_Settings.h"

#include <array>
#include <memory>

namespace Ui {
class DialogFTPSettings;
}

class WidgetFTPServerSettings;
class ZyHideableGroupBox;

class DialogFTPSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    explicit DialogFTPSettings(QWidget *parent);
    ~DialogFTPSettings() override;

    void displayConfig();

private slots:
    void on_buttonBox_accepted();
    void on_buttonBox_rejected();
    void on_checkEnabled_stateChanged(int state);

private:
    struct Server
    {
        const char *name;
        ZyHideableGroupBox *group;
        WidgetFTPServerSettings *editor;
    };
    std::array<Server, 4> servers() const;

    std::unique_ptr<Ui::DialogFTPSettings> ui;
};
