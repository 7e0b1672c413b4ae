// Reads the sensor's event history by asking for its entries one by one, newest first, under a
// progress dialog with a Stop button, and lists what it collected.
#pragma once

#include <QCoreApplication>
#include <QList>

#include <cstdint>

#include "PXR.h"

class QProgressDialog;
class QWidget;

class HistoryWalk
{
    Q_DECLARE_TR_FUNCTIONS(OBK)

public:
    explicit HistoryWalk(QWidget *window) : m_window(window) {}
    ~HistoryWalk();

    void run();

private:
    // Asks for the entries until the walk ends; the collected entries stay in m_entries.
    void collect(QProgressDialog &progress);
    // Files an entry; false when it ends the walk. *id becomes the next id to ask for.
    bool take(PXRMsg *entry, uint32_t *id);

    QWidget *m_window;
    QList<PXRMsg *> m_entries;
};
