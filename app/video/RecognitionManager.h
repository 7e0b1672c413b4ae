// Files one sensor's recognition messages into recognition groups, keeps the groups bounded in
// number and age, and answers which decision belongs to a time.
#pragma once

#include "RecognitionGroup.h"

#include <QDateTime>
#include <QList>
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

class RecognitionManager : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;

    // Bounds the periodic task keeps the groups within.
    static constexpr int MaxGroups = 100;
    static constexpr int GroupLifetimeSeconds = 1800;
    // lastDecision looks no further back than this.
    static constexpr int LastDecisionSeconds = 30;

    explicit RecognitionManager(QObject *parent = nullptr);
    ~RecognitionManager() override;

    // Source of "now" for new groups and for the ages measured from now; tests put their own here.
    void setClock(Clock clock);
    QDateTime now() const { return m_clock(); }

    // Decrypts the plate, files the message into a group and announces that group. The caller
    // keeps its own reference; the groups take theirs.
    void onMessage(PXRMsg *message, const QDateTime &receiveTime);

    QList<RecognitionGroup> groups() const;
    // Deletes every group without announcing it and unprotects every group.
    void clear();
    // Deletes the groups created before the limit, except those inside the protected range.
    void purgeBefore(const QDateTime &limit);
    // Deletes the oldest groups beyond MaxGroups.
    void limitCount();
    // Every decision held, groups oldest first, decisions in arrival order.
    void accumulateStats(const std::function<void(PXRMsg *)> &add) const;
    QList<PXRMsg *> messagesBetween(const QDateTime &from, const QDateTime &to) const;
    // The held group, or null; valid until the group is deleted.
    const RecognitionGroup *groupById(quint32 id) const;
    // The decision of the oldest group whose passage spans the time, or null; a speed held by that
    // group is written to *speed, which is otherwise left alone.
    PXRMsg *decisionAt(const QDateTime &time, PXRMsg **speed = nullptr) const;
    // The last decision of the newest group with one created within the last 30 s, or null.
    PXRMsg *lastDecision(PXRMsg **speed = nullptr) const;
    void setProtectedRange(const QDateTime &from, const QDateTime &to);
    void clearProtectedRange();

signals:
    void recognitionGroupChanged(const RecognitionGroup &group);
    void recognitionGroupsdeleted(const QList<quint32> &listGroupId);

private:
    void decryptPlate(PXRMsg *message);
    RecognitionGroup *triggerGroup(qint32 triggerId);
    RecognitionGroup *passageGroup(PXRMsg *message, const QDateTime &receiveTime);
    RecognitionGroup *appendGroup(PXRMsg *message, const QDateTime &receiveTime);
    bool isProtected(const RecognitionGroup &group) const;

    std::vector<std::unique_ptr<RecognitionGroup>> m_groups;
    QDateTime m_protectedFrom;
    QDateTime m_protectedTo;
    Clock m_clock;
};
