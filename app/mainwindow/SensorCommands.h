// The menu commands that send one request to the master sensor and deal with its answer:
// checked, shown in the message viewer, or filed as a recognition for the trigger answers.
#pragma once

#include <QCoreApplication>
#include <QString>

#include <optional>

#include "PXRMessage.h"

class Model;
class QWidget;

class SensorCommands
{
    Q_DECLARE_TR_FUNCTIONS(OBK)

public:
    explicit SensorCommands(QWidget *window);

    void getCurrentLog() { show("getCurrentLog"); }
    void openBarrier() { show("openBarrier"); }
    void recalibrateOptics() { show("calibrateZoomFocus"); }
    void resetCounters();
    void reboot();
    void forbidSetConfig();
    void testNtp();
    void updateFirmwareFromUrl();
    // Unlocks a sensor locked from here, otherwise locks it; false when nothing was sent.
    bool lockOrUnlock();
    void triggerOn();
    void triggerTimeout();
    void triggerAdvanced();
    void triggerOff();
    // Asks for the SIM PIN or APN (an empty one removes it) and sends it.
    void setSimPin();
    void setSimApn();

private:
    static PXRMsgElement *root(const PXRMessage &msg) { return PXRMsgChild(msg.get()); }
    // Sends and judges the answer with the title; false for no answer or a refusal.
    bool sendChecked(const PXRMessage &request, const QString &title);
    void show(const char *requestRoot);
    void showAnswer(const PXRMessage &answer);
    // The text input remembered under the settings key; empty when cancelled or left empty.
    QString askRemembered(const QString &title, const QString &label, const char *key);
    bool lock();
    bool unlock();
    // Adds the chosen camera's id; false when the choice was cancelled.
    bool chooseCamera(const PXRMessage &request);
    void trigger(const PXRMessage &request, std::optional<int> timeout = std::nullopt);
    void errorBox(const QString &text);
    void setSimConfig(const QString &title, const QString &label, bool hidden, const char *attribute);

    QWidget *m_window;
    Model *m_model;
};
