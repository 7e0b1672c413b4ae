// Reading the fields of a recognition message: its root, its first element, texts, numbers and
// binary children, with every missing piece read as empty.
#pragma once

#include "PXR.h"

#include <QByteArray>
#include <QString>

class RecognitionFields
{
public:
    RecognitionFields() = delete;

    static PXRMsgElement *root(PXRMsg *message);
    // The root's first child element, whatever its name.
    static PXRMsgElement *first(PXRMsg *message);
    static QString name(PXRMsgElement *element);
    static bool has(PXRMsgElement *element, const char *attribute);
    // The attribute as UTF-8 text; empty when absent.
    static QString text(PXRMsgElement *element, const char *attribute);
    // The attribute as a decimal integer; 0 when absent or not a number.
    static int number(PXRMsgElement *element, const char *attribute);
    static qint64 number64(PXRMsgElement *element, const char *attribute);
    // The binary content of the first child of that name; null when there is none.
    static QByteArray content(PXRMsgElement *element, const char *child);
    // The plate's turn, from a sinus held to [-1, 1] so that a sensor's rounding cannot give NaN;
    // 0 without sinus.
    static float angleRadians(PXRMsgElement *element);
    // The same as an unsigned angle in degrees.
    static float angleDegrees(PXRMsgElement *element);
};
