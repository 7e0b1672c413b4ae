// The "Cameras" page of the sensor dock: the optics of one camera of the master sensor as live
// controls, built from the camera's capabilities, loaded from its configuration and sent at once.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <memory>

class Model;
class QLabel;
class QProgressDialog;
class WidgetSlider;
struct PXRMsgElement;

namespace Ui {
class WidgetCameraSettings;
}

class WidgetCameraSettings : public QWidget
{
    Q_OBJECT

public:
    // How long the focus detection is given: a fixed wait for the models that never report its
    // end, else until the configuration reports it over. Tests shorten them.
    struct AutofocusTiming
    {
        int fixedWaitMs = 10000;
        int pollLimitMs = 60000;
    };
    static AutofocusTiming &autofocusTiming();

    explicit WidgetCameraSettings(QWidget *parent = nullptr);
    ~WidgetCameraSettings() override;

    // Hides every optics control; with clear, also empties the camera list.
    void hideControls(bool clear);
    // Brings the camera list in line with the information and applies the current camera.
    void fillCameras();
    // Loads the current camera's configuration into the controls; nothing is sent meanwhile.
    void loadConfig();
    // Every control but the camera choice.
    void setEditable(bool editable);

    // One setConfig for the current camera's optics; true when the sensor accepted it.
    bool sendOptics(const QStringList &names, const QStringList &values);
    bool sendOpticsAttribute(const QString &name, const QString &value);
    // Reloads the focus for the configured IR-cut state.
    void updateFocusSlider();

signals:
    // "<camera id>:<dialog key>" for the main window's dialog dispatcher.
    void openDialog(QString strTagKey);

private slots:
    void on_cboCamera_currentIndexChanged(int index);
    void on_checkFlip_stateChanged(int state);
    void on_checkEnhancedContrast_stateChanged();
    void on_checkMacroMode_stateChanged(int state);
    void on_radioColor_toggled(bool checked);
    void on_sliderZoom_valueChanged(int value);
    void on_sliderFocus_valueChanged(int value);
    void on_sliderExpComp_valueChanged(int value);
    void on_sliderShutter_textChanged(const QString &text);
    void on_sliderIrisGain_textChanged(const QString &text);
    void on_sliderIrisGain_valueChanged(int value);
    void on_sliderBrightness_valueChanged(int value);
    void on_sliderSharpness_valueChanged(int value);
    void on_sliderContrast_valueChanged(int value);
    void on_sliderISO_textChanged(const QString &text);
    void on_sliderSaturation_valueChanged(int value);
    void on_sliderExposure_textChanged(const QString &text);
    void on_sliderWhiteBalance_textChanged(const QString &text);
    void on_sliderMetering_textChanged(const QString &text);
    void on_labelAutofocus_linkActivated();
    void on_btnAutofocus_clicked();
    void on_labelIRCutAuto_linkActivated(const QString &link);
    void on_labelEnslavementSettings_linkActivated(const QString &link);

private:
    // The current camera's id, kept in its combo item; empty when none is current.
    QString currentCameraId() const;
    // Looked up at each use: the kept trees are replaced at every connection.
    PXRMsgElement *cameraInfo(const QString &id) const;
    PXRMsgElement *cameraConfig(const QString &id) const;

    void sendEnableStreams();
    void applyCapabilities(PXRMsgElement *camera);
    void applyIrCutCapability(PXRMsgElement *camera);
    void applyIrisGainCapability(PXRMsgElement *camera);
    // A slider row from a capability element: shown with its range or list when present; a range
    // lacking a bound counts as absent.
    bool applyRange(PXRMsgElement *camera, const char *capability, WidgetSlider *slider, QLabel *caption);
    void applyList(PXRMsgElement *camera, const char *capability, WidgetSlider *slider, QLabel *caption);

    // The IR-cut state of the configuration: "on", "off", another text, or empty for none.
    static QString irCutState(PXRMsgElement *optics);
    void setColorRadios(bool color, bool blackAndWhite);
    void loadColorMode(PXRMsgElement *camera, PXRMsgElement *optics, const QString &state);
    void loadColorModeControl(PXRMsgElement *control, const char *freeAttribute, const QString &text);
    void loadFocus(PXRMsgElement *camera, PXRMsgElement *optics, const QString &state);
    void loadSliders(PXRMsgElement *optics);
    void loadIrisGain(PXRMsgElement *optics);
    void loadAutomaticExposure(PXRMsgElement *camera);
    void updateZoomLabel(unsigned zoom);
    void setRowVisible(QLabel *caption, WidgetSlider *slider, bool visible);

    // The focus detection's wait; false when it must end without taking autofocus back.
    bool waitFixed(QProgressDialog &dialog);
    bool waitForFocusEnd(QProgressDialog &dialog, const QString &cameraId);
    // The link of a note as the key of the dialog it opens.
    void emitDialogLink(const QString &link);

    std::unique_ptr<Ui::WidgetCameraSettings> ui;
    Model *m_model;
    bool m_loaded = true;
    int m_zoomThreshold = -1;
    QString m_lastIrisText;
    QString m_zeroGainText;
    // The iris list ends with the open iris joined to each gain.
    bool m_irisWithGains = false;
};
