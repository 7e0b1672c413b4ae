// The messages that the sensor sent about one event (a vehicle passage, a trigger or a change of
// its I/O state) with the local time each arrived; a value whose copies share the messages.
#include "RecognitionGroup.h"

#include "DateTimeOrder.h"
#include "MsgManager.h"
#include "PXRPrivateToolBox.h"

#include <algorithm>
#include <atomic>
#include <climits>

using DateTimeOrder::before;
using DateTimeOrder::notAfter;

namespace {

std::atomic<quint32> g_lastId = 0;

const char *rootAttribute(PXRMsg *message, const char *name)
{
    return PXRMsgElementAttributeValue(PXRMsgChild(message), name);
}

bool hasName(PXRMsgElement *element, const char *name)
{
    return element && PXRMsgStringEqual(PXRMsgElementName(element), name);
}

} // namespace

RecognitionGroup::RecognitionGroup(quint16 plateFrom, const QDateTime &creationTime)
    : m_id(++g_lastId), m_creationTime(creationTime), m_plateFrom(plateFrom)
{
}

qint32 RecognitionGroup::rootNumber(PXRMsg *message, const char *name)
{
    return qint32(std::clamp<int64_t>(PXRPToolAtoi64(rootAttribute(message, name)), INT_MIN, INT_MAX));
}

RecognitionGroup::Kind RecognitionGroup::kindOf(PXRMsg *message)
{
    PXRMsgElement *root = PXRMsgChild(message);
    PXRMsgElement *first = PXRMsgElementFirstChild(root, nullptr);
    if (hasName(first, "new"))
        return Kind::Start;
    if (hasName(first, "end"))
        return Kind::End;
    if (hasName(first, "speed"))
        return Kind::Speed;
    if (hasName(root, "triggerAnswer"))
        return Kind::TriggerAnswer;
    if (hasName(root, "triggerResult"))
        return Kind::TriggerResult;
    if (hasName(root, "ioState"))
        return Kind::IoState;
    return Kind::Decision;
}

bool RecognitionGroup::addMessage(PXRMsg *message, const QDateTime &receiveTime)
{
    if (!PXRMsgChild(message))
        return false;
    const bool carriesSession = rootAttribute(message, "session") != nullptr;
    const qint32 session = rootNumber(message, "session");
    if (carriesSession && m_session >= 0 && session != m_session)
        return false;

    const Held held{SharedMsg(message), receiveTime};
    switch (kindOf(message)) {
    case Kind::Start:
        return addStart(held, carriesSession ? session : 0);
    case Kind::End:
        return fillEmpty(m_end, held);
    case Kind::Speed:
        return fillEmpty(m_speed, held);
    case Kind::TriggerAnswer:
        addTriggerAnswer(held);
        return true;
    case Kind::TriggerResult:
        m_triggerResult = held;
        m_triggerId = rootNumber(message, "triggerId");
        m_triggered = true;
        return true;
    case Kind::IoState:
        m_ioState = held;
        m_hasIoState = true;
        return true;
    case Kind::Decision:
        if (m_end.message)
            return false;
        m_decisions.push_back(held);
        takePlateFrom(message);
        return true;
    }
    return false;
}

bool RecognitionGroup::fillEmpty(Held &slot, const Held &held)
{
    if (slot.message)
        return false;
    slot = held;
    return true;
}

bool RecognitionGroup::addStart(const Held &held, qint32 session)
{
    if (m_new.message || !m_decisions.empty() || m_end.message)
        return false;
    m_new = held;
    takePlateFrom(held.message.get());
    m_session = session;
    return true;
}

void RecognitionGroup::addTriggerAnswer(const Held &held)
{
    // The first answer is the trigger-on; any later one is the trigger-off, the newest kept.
    if (m_triggerAnswer.message) {
        m_secondTriggerAnswer = held;
        return;
    }
    m_triggerAnswer = held;
    m_triggerId = rootNumber(held.message.get(), "triggerId");
    m_triggered = true;
}

void RecognitionGroup::takePlateFrom(PXRMsg *message)
{
    if (const char *from = rootAttribute(message, "plateFrom"))
        m_plateFrom = PXRMsgStringEqual(from, "slave") ? PlateFromSlave : PlateFromMaster;
}

QList<PXRMsg *> RecognitionGroup::decisions() const
{
    QList<PXRMsg *> messages;
    messages.reserve(qsizetype(m_decisions.size()));
    for (const Held &held : m_decisions)
        messages.append(held.message.get());
    return messages;
}

PXRMsg *RecognitionGroup::lastDecision() const
{
    return m_decisions.empty() ? nullptr : m_decisions.back().message.get();
}

const RecognitionGroup::Held *RecognitionGroup::firstOfPassage() const
{
    if (!m_decisions.empty())
        return &m_decisions.front();
    for (const Held *held : {&m_triggerResult, &m_new, &m_end}) {
        if (held->message)
            return held;
    }
    return nullptr;
}

QDateTime RecognitionGroup::firstTime() const
{
    const Held *first = firstOfPassage();
    return first ? first->time : QDateTime();
}

qint64 RecognitionGroup::sensorDateMs() const
{
    const Held *first = firstOfPassage();
    return first ? PXRPToolAtoi64(rootAttribute(first->message.get(), "date")) : 0;
}

QDateTime RecognitionGroup::timeOf(PXRMsg *message) const
{
    if (!message)
        return QDateTime();
    for (const Held &held : m_decisions) {
        if (held.message.get() == message)
            return held.time;
    }
    for (const Held *held :
         {&m_new, &m_end, &m_speed, &m_triggerAnswer, &m_triggerResult, &m_secondTriggerAnswer, &m_ioState}) {
        if (held->message.get() == message)
            return held->time;
    }
    return QDateTime();
}

QList<PXRMsg *> RecognitionGroup::allMessages() const
{
    QList<PXRMsg *> messages;
    for (const Held *held : {&m_triggerAnswer, &m_triggerResult, &m_secondTriggerAnswer, &m_new}) {
        if (held->message)
            messages.append(held->message.get());
    }
    messages += decisions();
    if (m_end.message)
        messages.append(m_end.message.get());
    return messages;
}

QList<PXRMsg *> RecognitionGroup::messagesBetween(const QDateTime &from, const QDateTime &to) const
{
    QList<PXRMsg *> candidates{m_new.message.get()};
    candidates += decisions();
    candidates << m_speed.message.get() << m_end.message.get();
    QList<PXRMsg *> messages;
    for (PXRMsg *message : candidates) {
        const QDateTime date = MsgManager::getDate(message);
        if (date.isValid() && !before(date, from) && before(date, to))
            messages.append(message);
    }
    return messages;
}

PXRMsg *RecognitionGroup::decisionAt(const QDateTime &time) const
{
    if (m_decisions.empty())
        return nullptr;
    PXRMsg *first = m_new.message ? m_new.message.get() : m_decisions.front().message.get();
    PXRMsg *last = m_end.message ? m_end.message.get() : m_decisions.back().message.get();
    const QDateTime start = MsgManager::getDate(first);
    const QDateTime end = MsgManager::getDate(last);
    return notAfter(start, time) && notAfter(time, end) ? m_decisions.front().message.get() : nullptr;
}

bool RecognitionGroup::operator<(const RecognitionGroup &other) const
{
    return before(m_creationTime, other.m_creationTime);
}
