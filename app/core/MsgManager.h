// The synchronous request road of the application: requests sent to the master sensor on a
// worker thread, the sensor's status answers judged, and the time stamps of messages read.
#pragma once

#include <QDateTime>
#include <QString>

#include "PXR.h"

class QWidget;
class Sensor;

class MsgManager
{
public:
    MsgManager() = delete;

    // Logs the request, makes it read-only and waits for its answer (owned by the caller), or
    // null when none came. The request stays the caller's. GUI thread only.
    static PXRMsg *sendRequest(PXRMsg *request);
    // True for "ok" and "warning" (after the warning box); false, after an error box, for no
    // answer, "failed", and anything that is not a status answer with a known status.
    static bool checkAnswer(QWidget *parent, const QString &title, PXRMsg *answer);
    // The root's "date" (milliseconds since the epoch) in local time; invalid when there is
    // no root, no "date" or no number in it.
    static QDateTime getDate(PXRMsg *message);

    // The sensor requests go to; the model registers its master sensor when it is built, and
    // null when it goes. Without one a request gets no answer, as without a connection.
    static void setMasterSensor(Sensor *sensor);
    static Sensor *masterSensor();
    // The master sensor's handle, or null.
    static PXR *masterHandle();

    // Requests whose answer is being awaited now, nested ones included; MsgManagerNotifier
    // tells when the count is back to 0. GUI thread.
    static int runningRequests();

private:
    static bool unexpectedAnswer(QWidget *parent, const QString &title, PXRMsgElement *root);
    static QString warningDetails(PXRMsgElement *root);
};
