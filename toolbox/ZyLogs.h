// The application's log facade: static access to the one global log unit.
#pragma once

#include <QString>

class QObject;
class QPlainTextEdit;
class ZyLogsUnit;

class ZyLogs
{
public:
    ZyLogs() = delete;

    static void init(QObject *parent);
    static void log(quint8 level, const QString &text);
    static void setLevel(quint8 level);
    static void initFile(bool toFile, const QString &folder, const QString &name, quint8 daysToKeep);
    static void setConsole(bool console);
    static void setTextBrowser(QPlainTextEdit *view);

    // The global unit, or null before init and after its owner destroyed it.
    static ZyLogsUnit *globalUnit();

private:
    friend class ZyLogsUnit;
    // Called by a unit being destroyed, so the facade never reaches a dead unit.
    static void forget(ZyLogsUnit *unit);
};
