// The local display options of the video panel: live video, grid and covering zone, stored for
// this computer and applied to the panel at once.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class DialogDisplayConfig;
}
class WidgetVideoPlayer;

class DialogDisplayConfig : public QDialog
{
    Q_OBJECT

public:
    explicit DialogDisplayConfig(WidgetVideoPlayer *panel);
    ~DialogDisplayConfig() override;

private slots:
    void on_checkDisplayVideo_clicked(bool checked);
    void on_checkDisplayGrid_clicked(bool checked);
    void on_checkDisplayCoveringZone_clicked(bool checked);
    void on_checkDisplaySlaveVideo_clicked(bool checked);
    void on_buttonBox_rejected();

private:
    std::unique_ptr<Ui::DialogDisplayConfig> ui;
    WidgetVideoPlayer *m_panel;
};
