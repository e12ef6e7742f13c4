#include "platform/gl/FakeGLPlatform.h"

#include <algorithm>

namespace KR::Platform
{

GLDrawable FakeGLPlatform::GetDrawable(void* window, std::int32_t, std::int32_t)
{
    calls.push_back("GetDrawable");
    return window;
}

void FakeGLPlatform::ReleaseDrawable(GLDrawable)
{
    calls.push_back("ReleaseDrawable");
}

GLDrawable FakeGLPlatform::CreateTemporaryDrawable()
{
    calls.push_back("CreateTemporaryDrawable");
    return script.temporaryDrawable ? &mTemporary : nullptr;
}

void FakeGLPlatform::DestroyTemporaryDrawable(GLDrawable drawable)
{
    calls.push_back("DestroyTemporaryDrawable");
    drawableFormats.erase(drawable);
}

std::int32_t FakeGLPlatform::ChoosePixelFormat(GLDrawable, std::uint32_t flags)
{
    calls.push_back("ChoosePixelFormat " + std::to_string(flags));
    return script.chosenFormat;
}

bool FakeGLPlatform::DescribePixelFormat(GLDrawable, std::int32_t format, std::uint32_t& flags)
{
    calls.push_back("DescribePixelFormat " + std::to_string(format));
    const auto found = script.formats.find(format);
    if (found == script.formats.end())
    {
        return false;
    }
    flags = found->second;
    return true;
}

bool FakeGLPlatform::SetPixelFormat(GLDrawable drawable, std::int32_t format)
{
    calls.push_back("SetPixelFormat " + std::to_string(format));
    if (std::find(script.refusedFormats.begin(), script.refusedFormats.end(), format) !=
        script.refusedFormats.end())
    {
        return false;
    }
    const auto [at, added] = drawableFormats.emplace(drawable, format);
    return added || at->second == format;
}

bool FakeGLPlatform::ChoosePixelFormatExtended(GLDrawable, const std::int32_t*,
                                               std::vector<std::int32_t>& formats, std::uint32_t maxFormats)
{
    calls.push_back("ChoosePixelFormatExtended");
    formats.assign(script.extendedFormats.begin(),
                   script.extendedFormats.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(
                                                        maxFormats, script.extendedFormats.size())));
    return !formats.empty();
}

GLContext FakeGLPlatform::CreateContext(GLDrawable)
{
    calls.push_back("CreateContext");
    const bool gives = mContextCalls >= script.contexts.size() || script.contexts[mContextCalls];
    ++mContextCalls;
    if (!gives)
    {
        return nullptr;
    }
    ++liveContexts;
    return reinterpret_cast<GLContext>(mNextContext++);
}

bool FakeGLPlatform::DeleteContext(GLContext)
{
    calls.push_back("DeleteContext");
    --liveContexts;
    return true;
}

bool FakeGLPlatform::MakeCurrent(GLDrawable, GLContext context)
{
    calls.push_back(context != nullptr ? "MakeCurrent" : "MakeCurrent none");
    return context == nullptr || script.makeCurrent;
}

bool FakeGLPlatform::SwapBuffers(GLDrawable)
{
    calls.push_back("SwapBuffers");
    return true;
}

bool FakeGLPlatform::HasEntryPoint(const char* name)
{
    calls.push_back(std::string("HasEntryPoint ") + name);
    const std::string wanted = name;
    if (wanted == "wglGetExtensionsStringARB")
    {
        return script.extensions.has_value();
    }
    return wanted == "wglChoosePixelFormatARB" && script.extendedChoiceEntry;
}

std::string FakeGLPlatform::GetExtensionsString(GLDrawable)
{
    calls.push_back("GetExtensionsString");
    return script.extensions.value_or("");
}

} // namespace KR::Platform
