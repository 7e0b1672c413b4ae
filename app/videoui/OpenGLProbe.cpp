// Whether this machine should paint video through OpenGL, asked once: without OpenGL, or with a
// renderer that draws on the processor, the video panel builds software views from the start.
#include "OpenGLProbe.h"

#include "MainWindowInterface.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QRegularExpression>

namespace {

std::optional<bool> g_answer;

QString probeRenderer()
{
    QOpenGLContext context;
    if (!context.create())
        return QString();
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!context.makeCurrent(&surface))
        return QString();
    const auto *name = reinterpret_cast<const char *>(context.functions()->glGetString(GL_RENDERER));
    const QString renderer = name ? QString::fromUtf8(name) : QString();
    context.doneCurrent();
    return renderer;
}

bool decide()
{
    const QString renderer = probeRenderer();
    if (renderer.isEmpty()) {
        MainWindowInterface::logApp(5, QStringLiteral("No OpenGL on this machine: software rendering"));
        return false;
    }
    if (OpenGLProbe::isSoftwareRenderer(renderer)) {
        MainWindowInterface::logApp(
            5, QStringLiteral("OpenGL renderer \"%1\" draws in software: software rendering").arg(renderer));
        return false;
    }
    MainWindowInterface::logApp(5, QStringLiteral("OpenGL renderer \"%1\"").arg(renderer));
    return true;
}

} // namespace

bool OpenGLProbe::available()
{
    if (!g_answer)
        g_answer = decide();
    return *g_answer;
}

void OpenGLProbe::assume(std::optional<bool> answer)
{
    g_answer = answer;
}

bool OpenGLProbe::isSoftwareRenderer(const QString &renderer)
{
    // Mesa's llvmpipe, softpipe, swrast ("Software Rasterizer"), OpenSWR, its X11 and off-screen
    // drivers, Windows' own GDI renderer and WARP, Apple's fallback. A zink or virgl renderer
    // running over one of these names it in brackets and is matched too.
    static const QRegularExpression software(
        QStringLiteral("\\b(llvmpipe|softpipe|software rasterizer|swr|mesa x11|mesa offscreen|gdi generic"
                       "|microsoft basic render driver|apple software renderer)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return software.match(renderer).hasMatch();
}
