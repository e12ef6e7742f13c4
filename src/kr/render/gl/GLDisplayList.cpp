#include "kr/render/gl/GLDisplayList.h"

#include "platform/gl/GLFunctions.h"

namespace KR
{

using Platform::GetGL;

RCPtr<LGLDisplayList> LGLDisplayList::Create(std::uint32_t count)
{
    return count == 0 ? RCPtr<LGLDisplayList>() : RCPtr<LGLDisplayList>(new LGLDisplayList(count));
}

LGLDisplayList::~LGLDisplayList()
{
    if (mFirst != kNoList && GetGL().glIsList(mFirst))
    {
        GetGL().glDeleteLists(mFirst, static_cast<Platform::GLsizei>(mCount));
        Platform::DrainGLErrors();
    }
    mFirst = kNoList;
}

Result LGLDisplayList::BeginList(std::uint32_t index)
{
    const Platform::GLFunctions& gl = GetGL();
    if (mFirst == kNoList)
    {
        const Platform::GLuint first = gl.glGenLists(static_cast<Platform::GLsizei>(mCount));
        mFirst = first == 0 ? kNoList : first;
    }
    if (mFirst == kNoList || !gl.glIsList(mFirst))
    {
        return kFail;
    }
    gl.glNewList(mFirst + index, Platform::GLc::kCompile);
    Platform::DrainGLErrors();
    return kOk;
}

void LGLDisplayList::EndList()
{
    if (mFirst != kNoList && GetGL().glIsList(mFirst))
    {
        GetGL().glEndList();
        Platform::DrainGLErrors();
    }
}

Result LGLDisplayList::CallLists(std::uint32_t first, std::uint32_t number)
{
    if (mFirst == kNoList)
    {
        return kFail;
    }
    if (static_cast<std::uint64_t>(first) + number > mCount)
    {
        return kInvalidArg;
    }
    const Platform::GLFunctions& gl = GetGL();
    for (std::uint32_t index = first; index < first + number; ++index)
    {
        if (!gl.glIsList(mFirst + index))
        {
            return kFail;
        }
        gl.glCallList(mFirst + index);
        Platform::DrainGLErrors();
    }
    return kOk;
}

} // namespace KR
