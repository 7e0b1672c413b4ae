// Files one sensor's recognition messages into recognition groups, keeps the groups bounded in
// number and age, and answers which decision belongs to a time.
#include "RecognitionManager.h"

#include "DateTimeOrder.h"
#include "MainWindowInterface.h"
#include "PXRPrivateToolBox.h"

#include <cstring>

using DateTimeOrder::before;
using DateTimeOrder::notAfter;

namespace {

QDateTime epoch()
{
    return QDateTime::fromMSecsSinceEpoch(0, Qt::UTC);
}

} // namespace

RecognitionManager::RecognitionManager(QObject *parent) : QObject(parent), m_clock(&QDateTime::currentDateTime)
{
    qRegisterMetaType<RecognitionGroup>();
    qRegisterMetaType<QList<quint32>>();
}

RecognitionManager::~RecognitionManager() = default;

void RecognitionManager::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(&QDateTime::currentDateTime);
}

void RecognitionManager::onMessage(PXRMsg *message, const QDateTime &receiveTime)
{
    PXRMsgElement *root = PXRMsgChild(message);
    if (!root)
        return;
    decryptPlate(message);
    const char *name = PXRMsgElementName(root);
    RecognitionGroup *group = nullptr;
    if (std::strncmp(name, "trigger", 7) == 0) {
        if (!PXRMsgElementAttributeValue(root, "triggerId"))
            return;
        group = triggerGroup(RecognitionGroup::rootNumber(message, "triggerId"));
        if (group)
            group->addMessage(message, receiveTime);
    } else if (std::strcmp(name, "ioState") != 0) {
        group = passageGroup(message, receiveTime);
    }
    if (!group)
        group = appendGroup(message, receiveTime);
    // A copy of its own: a receiver may purge the group while the signal is still being delivered.
    const RecognitionGroup copy = *group;
    emit recognitionGroupChanged(copy);
}

void RecognitionManager::decryptPlate(PXRMsg *message)
{
    MainWindowInterface *window = MainWindowInterface::instance();
    PXRPToolPlateDecryptor *decryptor = window ? window->plateDecryptor() : nullptr;
    if (decryptor)
        PXRPToolPlateDecryptorDecrypt(decryptor, message, tr("[Crypted]").toUtf8().constData());
}

RecognitionGroup *RecognitionManager::triggerGroup(qint32 triggerId)
{
    for (auto it = m_groups.rbegin(); it != m_groups.rend(); ++it) {
        if ((*it)->isTriggered() && (*it)->triggerId() == triggerId)
            return it->get();
    }
    return nullptr;
}

// Groups of a trigger or of an I/O change take no passage message: the list line of such a
// group shows only the trigger or the I/O change, so a plate read filed there would be lost.
RecognitionGroup *RecognitionManager::passageGroup(PXRMsg *message, const QDateTime &receiveTime)
{
    for (auto it = m_groups.rbegin(); it != m_groups.rend(); ++it) {
        RecognitionGroup &group = **it;
        if (!group.isTriggered() && !group.hasIoState() && group.addMessage(message, receiveTime))
            return &group;
    }
    return nullptr;
}

RecognitionGroup *RecognitionManager::appendGroup(PXRMsg *message, const QDateTime &receiveTime)
{
    m_groups.push_back(std::make_unique<RecognitionGroup>(RecognitionGroup::PlateFromUnknown, now()));
    RecognitionGroup *group = m_groups.back().get();
    group->addMessage(message, receiveTime);
    return group;
}

QList<RecognitionGroup> RecognitionManager::groups() const
{
    QList<RecognitionGroup> copies;
    copies.reserve(qsizetype(m_groups.size()));
    for (const auto &group : m_groups)
        copies.append(*group);
    return copies;
}

void RecognitionManager::clear()
{
    m_groups.clear();
    clearProtectedRange();
}

bool RecognitionManager::isProtected(const RecognitionGroup &group) const
{
    // An unset end is earlier than any time, so an unset range protects nothing.
    const QDateTime created = group.creationTime();
    return m_protectedTo.isValid() && notAfter(m_protectedFrom, created) && notAfter(created, m_protectedTo);
}

void RecognitionManager::purgeBefore(const QDateTime &limit)
{
    QList<quint32> deleted;
    for (auto it = m_groups.end(); it != m_groups.begin();) {
        --it;
        if (before((*it)->creationTime(), limit) && !isProtected(**it)) {
            deleted.append((*it)->id());
            it = m_groups.erase(it);
        }
    }
    emit recognitionGroupsdeleted(deleted);
}

void RecognitionManager::limitCount()
{
    QList<quint32> deleted;
    const size_t excess = m_groups.size() > size_t(MaxGroups) ? m_groups.size() - size_t(MaxGroups) : 0;
    for (size_t i = 0; i < excess; ++i)
        deleted.append(m_groups[i]->id());
    m_groups.erase(m_groups.begin(), m_groups.begin() + qsizetype(excess));
    emit recognitionGroupsdeleted(deleted);
}

void RecognitionManager::accumulateStats(const std::function<void(PXRMsg *)> &add) const
{
    for (const auto &group : m_groups) {
        for (PXRMsg *decision : group->decisions())
            add(decision);
    }
}

QList<PXRMsg *> RecognitionManager::messagesBetween(const QDateTime &from, const QDateTime &to) const
{
    QList<PXRMsg *> messages;
    for (const auto &group : m_groups)
        messages += group->messagesBetween(from, to);
    return messages;
}

const RecognitionGroup *RecognitionManager::groupById(quint32 id) const
{
    for (const auto &group : m_groups) {
        if (group->id() == id)
            return group.get();
    }
    return nullptr;
}

PXRMsg *RecognitionManager::decisionAt(const QDateTime &time, PXRMsg **speed) const
{
    for (const auto &group : m_groups) {
        if (PXRMsg *decision = group->decisionAt(time)) {
            if (speed && group->hasSpeed())
                *speed = group->speed();
            return decision;
        }
    }
    return nullptr;
}

PXRMsg *RecognitionManager::lastDecision(PXRMsg **speed) const
{
    const QDateTime limit = now().addSecs(-LastDecisionSeconds);
    for (auto it = m_groups.rbegin(); it != m_groups.rend() && !before((*it)->creationTime(), limit); ++it) {
        if (PXRMsg *decision = (*it)->lastDecision()) {
            if (speed && (*it)->hasSpeed())
                *speed = (*it)->speed();
            return decision;
        }
    }
    return nullptr;
}

void RecognitionManager::setProtectedRange(const QDateTime &from, const QDateTime &to)
{
    m_protectedFrom = from;
    m_protectedTo = to;
}

void RecognitionManager::clearProtectedRange()
{
    setProtectedRange(epoch(), epoch());
}
