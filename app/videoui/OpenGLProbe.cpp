// Whether this machine can paint through OpenGL at all, asked once: without it the video panel
// builds software views from the start.
#include "OpenGLProbe.h"

#include "MainWindowInterface.h"

#include <QOpenGLContext>

namespace {

std::optional<bool> g_answer;

} // namespace

bool OpenGLProbe::available()
{
    if (!g_answer) {
        QOpenGLContext context;
        g_answer = context.create();
        if (!*g_answer)
            MainWindowInterface::logApp(5, QStringLiteral("No OpenGL on this machine: software rendering"));
    }
    return *g_answer;
}

void OpenGLProbe::assume(std::optional<bool> answer)
{
    g_answer = answer;
}
