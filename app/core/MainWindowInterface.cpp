// The process-wide link to the main window: its log units, plate decryptor, discovery object,
// video view and operations, and the log entry points that any thread may call.
#include "MainWindowInterface.h"

#include "ZyLogsUnit.h"

#include <QReadWriteLock>

#include <atomic>

namespace {

enum Unit { AppUnit, SensorUnit, LibraryUnit, UnitCount };

// Writers of lines hold the lock for reading; the window holds it alone while it clears the
// units, so a unit is never deleted under a line being written. Qt's lock lets a waiting window
// in ahead of new lines, so busy logging threads cannot hold it off.
QReadWriteLock g_lock;
std::atomic<MainWindowInterface *> g_window = nullptr;
ZyLogsUnit *g_units[UnitCount] = {};
std::atomic_bool g_hardwareRendering = true;

void logTo(Unit unit, int level, const QString &text)
{
    if (g_window.load() == nullptr)
        return;
    QReadLocker lock(&g_lock);
    if (g_window.load() != nullptr && g_units[unit] != nullptr)
        g_units[unit]->log(quint8(qBound(0, level, 255)), text);
}

ZyLogsUnit *unitOf(Unit unit)
{
    QReadLocker lock(&g_lock);
    return g_units[unit];
}

} // namespace

MainWindowInterface::~MainWindowInterface()
{
    // A window that forgot to unregister must not stay reachable once it is gone.
    MainWindowInterface *self = this;
    if (g_window.load() == self)
        unregisterWindow();
}

MainWindowInterface *MainWindowInterface::instance()
{
    return g_window.load();
}

void MainWindowInterface::logApp(int level, const QString &text)
{
    logTo(AppUnit, level, text);
}

void MainWindowInterface::logSensor(int level, const QString &text)
{
    logTo(SensorUnit, level, text);
}

void MainWindowInterface::logLibrary(int level, const QString &text)
{
    logTo(LibraryUnit, level, text);
}

ZyLogsUnit *MainWindowInterface::appLog()
{
    return unitOf(AppUnit);
}

ZyLogsUnit *MainWindowInterface::sensorLog()
{
    return unitOf(SensorUnit);
}

ZyLogsUnit *MainWindowInterface::libraryLog()
{
    return unitOf(LibraryUnit);
}

bool MainWindowInterface::hardwareRendering()
{
    return g_hardwareRendering.load();
}

void MainWindowInterface::setHardwareRendering(bool enabled)
{
    g_hardwareRendering.store(enabled);
}

void MainWindowInterface::registerWindow()
{
    QWriteLocker lock(&g_lock);
    g_window.store(this);
}

void MainWindowInterface::setLogUnits(ZyLogsUnit *app, ZyLogsUnit *sensor, ZyLogsUnit *library)
{
    QWriteLocker lock(&g_lock);
    g_units[AppUnit] = app;
    g_units[SensorUnit] = sensor;
    g_units[LibraryUnit] = library;
}

void MainWindowInterface::unregisterWindow()
{
    QWriteLocker lock(&g_lock);
    MainWindowInterface *self = this;
    if (!g_window.compare_exchange_strong(self, nullptr))
        return;
    for (ZyLogsUnit *&unit : g_units)
        unit = nullptr;
}
