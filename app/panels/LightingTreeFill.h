// The configuration tree's lighting sources: LED boards with their live power sliders and
// external projectors with their pulse rows, and the sending of a slider's change.
#pragma once

#include "TreeFill.h"

class WidgetSlider;

class LightingTreeFill : public TreeFill
{
    Q_DECLARE_TR_FUNCTIONS(LightingTreeFill)

public:
    explicit LightingTreeFill(WidgetGeneralSettings &tree);

    // Never sends anything; the sliders are enabled only while the sensor is locked through us.
    void fill(PXRMsgElement *config);

    // Sends the power the slider's row stands for, and says how the sensor took it.
    static void sendPower(WidgetGeneralSettings *tree, WidgetSlider *slider, int value);

private:
    void led(QTreeWidgetItem *section, PXRMsgElement *led, bool bracketing);
    // The row with its slider, made on the first fill and reused by the later ones.
    void powerRow(QTreeWidgetItem *section, PXRMsgElement *led, const QString &caption, const char *attribute,
                  int minimum, int maximum);
    void projector(QTreeWidgetItem *section, PXRMsgElement *projector, bool bracketing);
};
