// The HTTP servers the sensor pushes its messages to, one editor per server it reports.
#pragma once

#include "Dialog_Settings.h"

#include <QList>

#include <memory>

namespace Ui {
class DialogHttpPushSettings;
}

class WidgetHttpPushServerSettings;

class DialogHttpPushSettings : public Dialog_Settings
{
    Q_OBJECT

public:
    explicit DialogHttpPushSettings(QWidget *parent);
    ~DialogHttpPushSettings() override;

    void displayConfig();

private slots:
    void on_buttonBox_accepted();

private:
    void addEditor(quint32 id, PXRMsgElement *server);

    std::unique_ptr<Ui::DialogHttpPushSettings> ui;
    // In the configuration's order, which the request keeps.
    QList<WidgetHttpPushServerSettings *> editors;
};
