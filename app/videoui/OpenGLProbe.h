// Whether this machine should paint video through OpenGL, asked once: without OpenGL, or with a
// renderer that draws on the processor, the video panel builds software views from the start.
#pragma once

#include <QString>

#include <optional>

class OpenGLProbe
{
public:
    OpenGLProbe() = delete;

    // Made a context once, on the first call (GUI thread), and read its renderer; later calls
    // repeat that answer. False without a context or with a software renderer.
    static bool available();
    // Replaces the answer (tests that need OpenGL views where the platform has none); nullopt
    // probes again at the next call.
    static void assume(std::optional<bool> answer);
    // Whether an OpenGL renderer name is one of the renderers that draw on the processor.
    static bool isSoftwareRenderer(const QString &renderer);
};
