// The "Settings" tab of the sensor dock: the configuration tree, whose edit links it passes on.
#pragma once

#include <QWidget>

class WidgetGeneralSettings;

namespace Ui {
class WidgetSettings;
}

class WidgetSettings : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetSettings(QWidget *parent = nullptr);
    ~WidgetSettings() override;

    WidgetGeneralSettings *tree() const;
    void clear();
    void reload();

signals:
    // The tag of an "Edit" link, for the main window's dialog dispatcher.
    void openDialog(QString strTagKey);

private:
    Ui::WidgetSettings *ui;
};
