// The editor of one FTP server of the sensor's FTP output, with the connection test the
// sensor runs on the values on screen.
#pragma once

#include "SettingsBinding.h"

#include <QDateTime>
#include <QWidget>

#include <memory>

#include "PXR.h"

class ConfigElement;

namespace Ui {
class WidgetFTPServerSettings;
}

class WidgetFTPServerSettings : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetFTPServerSettings(QWidget *parent = nullptr);
    ~WidgetFTPServerSettings() override;

    // Shows the server's attributes; a missing one disables its control.
    void readConfig(PXRMsgElement *server);
    // Sets on the target the attributes of the usable controls: none inside an unchecked group.
    void writeConfig(const ConfigElement &server) const;
    // The connection settings of the test, the file name with its tokens replaced.
    void fillTestRequest(const ConfigElement &test) const;

    // The pattern with its tokens replaced for the current instant.
    static QString expandFileSyntax(const QString &pattern);
    void showExample(const QString &pattern);

private slots:
    void on_btnTest_clicked();
    void on_labelFileExample_linkActivated(const QString &link);
    void on_labelContextExample_linkActivated(const QString &link);

private:
    std::unique_ptr<Ui::WidgetFTPServerSettings> ui;
    SettingsBinding binding;
};
