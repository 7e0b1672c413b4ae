// The messages that the sensor sent about one event (a vehicle passage, a trigger or a change of
// its I/O state) with the local time each arrived; a value whose copies share the messages.
#pragma once

#include "SharedMsg.h"

#include <QDateTime>
#include <QList>
#include <QMetaType>

#include <vector>

class RecognitionGroup
{
public:
    // plateFrom: 0 not stated, 1 slave sensor, 2 master sensor.
    enum PlateFrom : quint16 { PlateFromUnknown = 0, PlateFromSlave = 1, PlateFromMaster = 2 };

    // Takes the next id of the run (the first is 1).
    explicit RecognitionGroup(quint16 plateFrom = PlateFromUnknown,
                              const QDateTime &creationTime = QDateTime::currentDateTime());

    // Files the message into the group with its own reference, or refuses it (false) and stays
    // unchanged.
    bool addMessage(PXRMsg *message, const QDateTime &receiveTime);

    quint32 id() const { return m_id; }
    QDateTime creationTime() const { return m_creationTime; }
    quint16 plateFrom() const { return m_plateFrom; }
    bool isTriggered() const { return m_triggered; }
    qint32 triggerId() const { return m_triggerId; }
    bool hasIoState() const { return m_hasIoState; }

    // The messages held, or null; each lives as long as the group that returned it.
    PXRMsg *newMessage() const { return m_new.message.get(); }
    PXRMsg *endMessage() const { return m_end.message.get(); }
    PXRMsg *ioState() const { return m_ioState.message.get(); }
    PXRMsg *triggerAnswer() const { return m_triggerAnswer.message.get(); }
    PXRMsg *secondTriggerAnswer() const { return m_secondTriggerAnswer.message.get(); }
    PXRMsg *triggerResult() const { return m_triggerResult.message.get(); }
    PXRMsg *speed() const { return m_speed.message.get(); }
    bool hasSpeed() const { return bool(m_speed.message); }
    QDateTime triggerAnswerTime() const { return m_triggerAnswer.time; }
    QDateTime secondTriggerAnswerTime() const { return m_secondTriggerAnswer.time; }
    QList<PXRMsg *> decisions() const;
    PXRMsg *lastDecision() const;

    // Receive time of the first decision, else of the trigger result, of the start, of the end;
    // invalid when there is none of them.
    QDateTime firstTime() const;
    // The sensor's date of the same message; 0 when there is none or it carries no date.
    qint64 sensorDateMs() const;
    // The receive time of a message the group holds; invalid for any other.
    QDateTime timeOf(PXRMsg *message) const;
    // Trigger answer, trigger result, second answer, start, decisions, end: those present.
    QList<PXRMsg *> allMessages() const;
    // Start, decisions, speed and end whose sensor date lies in [from, to).
    QList<PXRMsg *> messagesBetween(const QDateTime &from, const QDateTime &to) const;
    // The first decision when the time lies in the passage's span of sensor dates, ends included.
    PXRMsg *decisionAt(const QDateTime &time) const;

    bool operator<(const RecognitionGroup &other) const;

    // A number of the message's root as groups read it: leading sign and digits, 0 when missing
    // or not numeric.
    static qint32 rootNumber(PXRMsg *message, const char *name);

private:
    struct Held {
        SharedMsg message;
        QDateTime time;
    };

    enum class Kind { Start, End, Speed, TriggerAnswer, TriggerResult, IoState, Decision };
    static Kind kindOf(PXRMsg *message);

    static bool fillEmpty(Held &slot, const Held &held);
    bool addStart(const Held &held, qint32 session);
    void addTriggerAnswer(const Held &held);
    void takePlateFrom(PXRMsg *message);
    const Held *firstOfPassage() const;

    quint32 m_id;
    QDateTime m_creationTime;
    quint16 m_plateFrom;
    Held m_new;
    Held m_end;
    // A plain vector, not an implicitly shared list: every copy of a group holds its own references.
    std::vector<Held> m_decisions;
    Held m_speed;
    bool m_triggered = false;
    qint32 m_triggerId = 0;
    Held m_triggerAnswer;
    Held m_triggerResult;
    Held m_secondTriggerAnswer;
    qint32 m_session = -1;
    bool m_hasIoState = false;
    Held m_ioState;
};

Q_DECLARE_METATYPE(RecognitionGroup)
