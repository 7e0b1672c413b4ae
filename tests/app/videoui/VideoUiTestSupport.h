// Helpers shared by the video page's tests: a main window with the recording actions and a
// full-screen count, the model emptied around each test, messages made from the test sensor's
// scenes, frames made from pictures, and mouse events for the views.
#pragma once

#include "AppSettings.h"
#include "CoreTestSupport.h"
#include "Model.h"
#include "OpenGLProbe.h"
#include "PXRQt.h"
#include "SensorScenes.h"
#include "TestPictures.h"
#include "VideoFrame.h"
#include "WireBytes.h"

#include <QAction>
#include <QMouseEvent>
#include <QPlainTextEdit>

#include <memory>

namespace videouitest {

struct MsgDeleter {
    void operator()(PXRMsg *msg) const { PXRMsgDestroy(msg); }
};
using MsgPtr = std::unique_ptr<PXRMsg, MsgDeleter>;

constexpr qint64 BaseDate = 1700000000000;

// The message a sensor would send for the tree, read-only as received ones are.
inline MsgPtr toMsg(const fybsim::Element &element)
{
    const std::string wire = fybsim::wireOf(element);
    MsgPtr msg(pxrMsgFromByteArray(QByteArray(wire.data(), qsizetype(wire.size()))));
    EXPECT_NE(msg, nullptr) << "the test sensor's bytes were not read back";
    if (msg)
        PXRMsgSetReadOnly(msg.get(), 1);
    return msg;
}

// Hands the message to the model as the master sensor's pump does; the model takes it over.
inline void receive(const fybsim::Element &element)
{
    MsgPtr msg = toMsg(element);
    emit Model::instance()->masterSensor().signalMsgReceived(msg.release());
}

// Information listing cameras 0 (and 1 when asked) of that size.
inline void receiveInfos(const char *size, int cameras = 1)
{
    fybsim::Element list("cameras");
    for (int i = 0; i < cameras; ++i)
        list.add(fybsim::Element("camera").set("id", std::to_string(i)).set("size", size).set("cameraModel", "sim"));
    receive(fybsim::Element("infos").add(list));
    Model::instance()->parseInfos();
}

// A frame holding the picture in the player's byte order.
inline VideoFrame frameOf(const QImage &image, const QString &cameraId = QString(), qint64 date = BaseDate,
                          bool live = true, float position = 1.0f)
{
    const QImage bgra = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    VideoFrame frame;
    frame.pixels = QByteArray(reinterpret_cast<const char *>(bgra.constBits()), bgra.sizeInBytes());
    frame.width = bgra.width();
    frame.height = bgra.height();
    frame.time = QDateTime::fromMSecsSinceEpoch(date);
    frame.cameraId = cameraId;
    frame.live = live;
    frame.position = position;
    return frame;
}

inline QImage filled(int width, int height, const QColor &colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Sends one mouse event of that kind to the widget at the point.
inline void mouse(QWidget &widget, QEvent::Type type, Qt::MouseButton button, const QPoint &at)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), type == QEvent::MouseMove ? Qt::NoButton : button,
                      held, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

// A main window with the two recording actions, counting its full-screen switches.
class PanelWindow : public FakeMainWindow
{
public:
    QAction *actionStartRecording() override { return &record; }
    QAction *actionSaveVideoBuffer() override { return &save; }
    void toggleFullScreen() override { ++fullScreenToggles; }

    QAction record;
    QAction save;
    int fullScreenToggles = 0;
};

// Every test starts with a new model, the master player on camera 0, the window's application
// log shown in a text view, and the machine's own OpenGL answer.
class VideoUiTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        window = std::make_unique<PanelWindow>();
        window->app.setLevel(7);
        window->app.setTextBrowser(&appLog);
        Model::instance()->masterPlayer().setCameraId(0);
    }
    void TearDown() override
    {
        Model::deleteInstance();
        OpenGLProbe::assume(std::nullopt);
        MainWindowInterface::setHardwareRendering(true);
        window.reset();
        CoreTest::TearDown();
    }

    // Lines of the application log holding the text, once delivered to the view.
    int logLines(const QString &text)
    {
        QCoreApplication::processEvents();
        return int(appLog.toPlainText().count(text));
    }

    QPlainTextEdit appLog;
    std::unique_ptr<PanelWindow> window;
};

} // namespace videouitest
