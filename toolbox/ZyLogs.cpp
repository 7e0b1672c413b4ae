// The application's log facade: static access to the one global log unit.
#include "ZyLogs.h"

#include "ZyLogsUnit.h"

#include <QDebug>
#include <QMutex>
#include <QMutexLocker>

namespace {

// Guards the pointer and keeps the unit alive while a call through the facade runs on it.
QMutex g_lock;
ZyLogsUnit *g_unit = nullptr;

template <typename Call>
void withUnit(Call call)
{
    QMutexLocker locker(&g_lock);
    if (!g_unit) {
        qDebug() << "ZyLogs ERROR : init has not been called";
        return;
    }
    call(g_unit);
}

} // namespace

void ZyLogs::init(QObject *parent)
{
    ZyLogsUnit *old = nullptr;
    {
        QMutexLocker locker(&g_lock);
        old = g_unit;
        g_unit = nullptr;
    }
    delete old;
    auto *unit = new ZyLogsUnit(parent);
    QMutexLocker locker(&g_lock);
    g_unit = unit;
}

void ZyLogs::forget(ZyLogsUnit *unit)
{
    QMutexLocker locker(&g_lock);
    if (g_unit == unit)
        g_unit = nullptr;
}

ZyLogsUnit *ZyLogs::globalUnit()
{
    QMutexLocker locker(&g_lock);
    return g_unit;
}

void ZyLogs::log(quint8 level, const QString &text)
{
    QMutexLocker locker(&g_lock);
    if (g_unit)
        g_unit->log(level, text);
}

void ZyLogs::setLevel(quint8 level)
{
    withUnit([&](ZyLogsUnit *unit) { unit->setLevel(level); });
}

void ZyLogs::initFile(bool toFile, const QString &folder, const QString &name, quint8 daysToKeep)
{
    withUnit([&](ZyLogsUnit *unit) { unit->initFile(toFile, folder, name, daysToKeep); });
}

void ZyLogs::setConsole(bool console)
{
    withUnit([&](ZyLogsUnit *unit) { unit->setConsole(console); });
}

void ZyLogs::setTextBrowser(QPlainTextEdit *view)
{
    withUnit([&](ZyLogsUnit *unit) { unit->setTextBrowser(view); });
}
