// The process-wide link to the main window: its log units, plate decryptor, discovery object,
// video view and operations, and the log entry points that any thread may call.
#pragma once

#include <QString>
#include <QStringList>

class QAction;
class WidgetVideoPlayer;
class ZyLogsUnit;
struct PXRDiscover;
struct PXRPToolPlateDecryptor;

// The main window implements this interface, so these statics are its OBK::logApp and
// OBK::logSensor; tests register their own implementation.
class MainWindowInterface
{
public:
    MainWindowInterface() = default;
    MainWindowInterface(const MainWindowInterface &) = delete;
    MainWindowInterface &operator=(const MainWindowInterface &) = delete;
    virtual ~MainWindowInterface();

    // The registered window, or null before one registers and after it unregisters.
    static MainWindowInterface *instance();

    // A line into the application, sensor-traces or library-traces unit; dropped while no
    // window or no such unit is set. Any thread.
    static void logApp(int level, const QString &text);
    static void logSensor(int level, const QString &text);
    static void logLibrary(int level, const QString &text);

    // The units themselves, for the views that show them (GUI thread); null while unset.
    static ZyLogsUnit *appLog();
    static ZyLogsUnit *sensorLog();
    static ZyLogsUnit *libraryLog();

    // Whether the video view may render with the graphics hardware; true until a window clears it.
    static bool hardwareRendering();
    static void setHardwareRendering(bool enabled);

    virtual PXRPToolPlateDecryptor *plateDecryptor() = 0;
    virtual PXRDiscover *discover() = 0;
    // Takes over a started discovery object in place of the current one, which the caller destroyed.
    virtual void setDiscover(PXRDiscover *discover) = 0;
    virtual WidgetVideoPlayer *videoPlayer() = 0;
    virtual QAction *actionStartRecording() = 0;
    virtual QAction *actionSaveVideoBuffer() = 0;
    virtual void prepareForDisconnect() = 0;
    // Undoes prepareForDisconnect when the expected loss did not come: drops are followed again,
    // the periodic work runs again, and a loss that came meanwhile is handled at once.
    virtual void undoPrepareForDisconnect() = 0;
    // The schema's documentation of the attribute (element path from the root) in the window's
    // documentation pane, which hides when there is none.
    virtual void showDocumentation(const QStringList &elementPath, const QString &attribute) = 0;
    virtual void toggleFullScreen() = 0;

protected:
    // The first step of the window's construction.
    void registerWindow();
    void setLogUnits(ZyLogsUnit *app, ZyLogsUnit *sensor, ZyLogsUnit *library);
    // The first step of the window's destruction: once it returns no thread is inside a unit,
    // so the window may delete them.
    void unregisterWindow();
};
