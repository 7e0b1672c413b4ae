// Asks the sensor for one picture, the last one or one from the past, and shows it with when it
// was asked for and when it was taken.
#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

#include "PXR.h"

class QWidget;

class PictureRequest
{
    Q_DECLARE_TR_FUNCTIONS(OBK)

public:
    PictureRequest() = delete;

    static void run(QWidget *window);
    // The request time, then the asked and received picture times with their difference, as far
    // as the request and the answer carry a "date".
    static QString timingComment(const QDateTime &requestedAt, PXRMsg *request, PXRMsg *answer);
};
