// Which OpenGL renderers the probe counts as drawing on the processor, where the video panel is
// better served by its software views.
#include "OpenGLProbe.h"

#include <gtest/gtest.h>

TEST(OpenGLProbe, SoftwareRenderersAreToldFromGraphicsCards)
{
    const struct
    {
        const char *renderer;
        bool software;
    } cases[] = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", true},
        {"LLVMPIPE", true},
        {"softpipe", true},
        {"Software Rasterizer", true},
        {"SWR (LLVM 12.0.0, 256 bits)", true},
        {"Mesa X11", true},
        {"Mesa OffScreen", true},
        {"GDI Generic", true},
        {"D3D12 (Microsoft Basic Render Driver)", true},
        {"zink (llvmpipe (LLVM 15.0.6, 256 bits))", true},
        {"Apple Software Renderer", true},
        {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
        {"NVIDIA GeForce RTX 3060/PCIe/SSE2", false},
        {"AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0)", false},
        {"virgl (NVIDIA GeForce GTX 1080/PCIe/SSE2)", false},
        {"ANGLE (Intel, Intel(R) UHD Graphics 630 Direct3D11 vs_5_0 ps_5_0, D3D11)", false},
        {"Apple M1", false},
        {"Mali-G78 MC24", false},
        {"SWRX 9000", false},
        {"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(OpenGLProbe::isSoftwareRenderer(QString::fromLatin1(c.renderer)), c.software) << c.renderer;
}
