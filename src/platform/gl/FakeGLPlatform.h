#pragma once
// A GL platform that follows a script and records what it was asked, for the set-up rules
// of the renderer: no GL at all stands behind it. Drawables are the window handles given
// (the temporary one is its own), and each keeps the first format set on it.

#include "platform/gl/GLPlatform.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace KR::Platform
{

struct FakeGLScript
{
    std::int32_t chosenFormat = 1;
    // Flags by format number; an unknown format cannot be described.
    std::map<std::int32_t, std::uint32_t> formats{
        {1, GLFormatFlags::kDoubleBuffer | GLFormatFlags::kSwapCopy | GLFormatFlags::kSupportOpenGL}};
    bool temporaryDrawable = true;
    // Formats every SetPixelFormat refuses.
    std::vector<std::int32_t> refusedFormats;
    // One entry per CreateContext call in turn: whether it gives a context (true past the end).
    std::vector<bool> contexts;
    bool makeCurrent = true;
    // Null: the extension-string entry point is missing.
    std::optional<std::string> extensions = std::string("WGL_ARB_pixel_format");
    bool extendedChoiceEntry = true;
    std::vector<std::int32_t> extendedFormats;
    GLError error{2, "No such file or directory"};
};

class FakeGLPlatform final : public IGLPlatform
{
public:
    explicit FakeGLPlatform(FakeGLScript script = {}) : script(std::move(script)) {}

    GLDrawable GetDrawable(void* window, std::int32_t width, std::int32_t height) override;
    void ReleaseDrawable(GLDrawable drawable) override;
    GLDrawable CreateTemporaryDrawable() override;
    void DestroyTemporaryDrawable(GLDrawable drawable) override;
    std::int32_t ChoosePixelFormat(GLDrawable drawable, std::uint32_t flags) override;
    bool DescribePixelFormat(GLDrawable drawable, std::int32_t format, std::uint32_t& flags) override;
    bool SetPixelFormat(GLDrawable drawable, std::int32_t format) override;
    bool ChoosePixelFormatExtended(GLDrawable drawable, const std::int32_t* attributes,
                                   std::vector<std::int32_t>& formats, std::uint32_t maxFormats) override;
    GLContext CreateContext(GLDrawable drawable) override;
    bool DeleteContext(GLContext context) override;
    bool MakeCurrent(GLDrawable drawable, GLContext context) override;
    bool SwapBuffers(GLDrawable drawable) override;
    bool HasEntryPoint(const char* name) override;
    std::string GetExtensionsString(GLDrawable drawable) override;
    GLError GetLastError() override { return script.error; }

    // Calls as "Name" or "Name arg", in order.
    std::vector<std::string> calls;
    std::map<GLDrawable, std::int32_t> drawableFormats;
    std::int32_t liveContexts = 0;
    FakeGLScript script;

private:
    std::size_t mContextCalls = 0;
    std::intptr_t mNextContext = 0x100;
    char mTemporary = 0;
};

} // namespace KR::Platform
