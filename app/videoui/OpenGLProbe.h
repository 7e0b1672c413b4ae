// Whether this machine can paint through OpenGL at all, asked once: without it the video panel
// builds software views from the start.
#pragma once

#include <optional>

class OpenGLProbe
{
public:
    OpenGLProbe() = delete;

    // Made a context once, on the first call (GUI thread); later calls repeat that answer.
    static bool available();
    // Replaces the answer (tests that need OpenGL views where the platform has none); nullopt
    // probes again at the next call.
    static void assume(std::optional<bool> answer);
};
