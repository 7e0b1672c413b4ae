// The main window's send actions: a message file sent to the master sensor as a request, as an
// asynchronous message, or as an application package to install.
#pragma once

#include <QCoreApplication>
#include <QString>

#include "PXR.h"

class QWidget;

class MessageFileSender
{
    Q_DECLARE_TR_FUNCTIONS(OBK)

public:
    explicit MessageFileSender(QWidget *window) : m_window(window) {}

    // Largest files accepted, in bytes (a file of exactly that size is sent).
    static constexpr qint64 kMessageLimit = 10000000;
    static constexpr qint64 kPackageLimit = 100000000;

    void sendSynchronous();
    // The handle of the master sensor, or null when there is none.
    void sendAsynchronous(PXR *handle);
    void installApplication();

private:
    // The chosen file's message (the caller's), its path then remembered under the key; null
    // after the error box, or when the operator cancelled.
    PXRMsg *readMessageFile(const char *key, const QString &filter, qint64 limit) const;
    void sendRequest(PXRMsg *message) const;
    void errorBox(const QString &text, const QString &details = QString()) const;

    QWidget *m_window;
};
