#pragma once
// Shared by the GL renderer tests: Mesa's software rasteriser on the surfaceless EGL
// platform, a renderer with one offscreen pbuffer context, pixels read back top-down, and
// counting wrappers for entries of the GL function table.

#include "kr/render/gl/GLRenderer.h"
#include "platform/gl/GLFunctions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace KR::Test
{

// Set before the first EGL call of the process.
inline const bool kGLEnvironment = []
{
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    setenv("EGL_PLATFORM", "surfaceless", 1);
    return true;
}();

// One table entry replaced by a wrapper that counts its calls, for the life of the object.
template <auto Member>
struct CountedCall;

template <typename R, typename... A, R (*Platform::GLFunctions::*Member)(A...)>
struct CountedCall<Member>
{
    CountedCall()
    {
        original = Platform::GetGL().*Member;
        Platform::GetGL().*Member = &Call;
        count = 0;
    }
    ~CountedCall() { Platform::GetGL().*Member = original; }
    CountedCall(const CountedCall&) = delete;
    CountedCall& operator=(const CountedCall&) = delete;

    static R Call(A... args)
    {
        ++count;
        return original(args...);
    }

    static inline R (*original)(A...) = nullptr;
    static inline int count = 0;
};

// The EGL platform once per process; null when no EGL display starts here.
inline std::shared_ptr<Platform::IGLPlatform> EglPlatform()
{
    static std::shared_ptr<Platform::IGLPlatform> platform = Platform::MakeEglPlatform();
    return platform;
}

#define KR_REQUIRE_EGL()                                                                                     \
    if (!KR::Test::EglPlatform())                                                                            \
    {                                                                                                        \
        GTEST_SKIP() << "no EGL display starts on this machine";                                             \
    }

struct GLFrame
{
    explicit GLFrame(std::int32_t width = 64, std::int32_t height = 64, LGLRenderer::Clock clock = {})
        : width(width), height(height),
          renderer(new LGLRenderer(nullptr, EglPlatform(), LGLRenderer::Services{std::move(clock), {}, {}}))
    {
        renderer->InitRenderContextInfo(RectI{0, 0, width, height}, nullptr, true, context);
        // A new pbuffer holds whatever its memory held.
        Start();
        renderer->FillRect(RectI{0, 0, width, height}, ColorF{}, false);
        Finish();
    }

    void Start() { renderer->RenderStart(context); }
    void Finish() { renderer->RenderFinish(context); }

    // The context's pixels as 0xAARRGGBB, top row first; read inside a frame.
    std::vector<std::uint32_t> Read() const
    {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));
        std::vector<std::uint32_t> rows(pixels.size());
        Platform::GetGL().glFinish();
        Platform::GetGL().glReadPixels(0, 0, width, height, Platform::GLc::kBGRA,
                                       Platform::GLc::kUnsignedByte, rows.data());
        for (std::int32_t y = 0; y < height; ++y)
        {
            std::copy_n(rows.begin() + (height - 1 - y) * width, width, pixels.begin() + y * width);
        }
        return pixels;
    }

    std::int32_t width;
    std::int32_t height;
    RCPtr<LGLRenderer> renderer;
    RCPtr<LRenderContextInfo> context;
};

constexpr std::uint32_t kRed = 0xFFFF0000;

// Channel by channel within the tolerance.
inline bool NearColor(std::uint32_t a, std::uint32_t b, int tolerance = 2)
{
    for (int shift = 0; shift < 32; shift += 8)
    {
        const int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (difference > tolerance || difference < -tolerance)
        {
            return false;
        }
    }
    return true;
}

} // namespace KR::Test
