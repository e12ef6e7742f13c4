#include "kr/render/Font.h"

#include "kr/core/StringFunctions.h"
#include "kr/render/MeasurementRenderer.h"

#include <algorithm>
#include <vector>

namespace KR
{
namespace
{

// Made on first use and never destroyed: a font released during static destruction
// still finds the cache it leaves.
std::vector<RCPtr<LFont>>& Cache()
{
    static auto* cache = new std::vector<RCPtr<LFont>>;
    return *cache;
}

std::int32_t gLastUniqueID = 0;

} // namespace

LFont::LFont(const String& faceName, float size, std::int32_t style, std::int32_t uniqueID)
    : mFaceName(faceName), mSize(size), mStyle(style), mUniqueID(uniqueID)
{
}

RCPtr<LFont> LFont::GetFont(const String& faceName, float size, std::int32_t style)
{
    std::vector<RCPtr<LFont>>& cache = Cache();
    // Newest first, so that of two entries alike but for the face's case the later wins.
    for (auto it = cache.rbegin(); it != cache.rend(); ++it)
    {
        const LFont& font = **it;
        if (EqualsNoCase(font.mFaceName, faceName) && font.mSize == size && font.mStyle == style)
        {
            return *it;
        }
    }
    RCPtr<LFont> font(new LFont(faceName, size, style, ++gLastUniqueID));
    cache.push_back(font);
    font->AdjustInternalRefCount(1);
    return font;
}

bool LFont::IsDifferent(const ConstRCPtr<LFont>& a, const ConstRCPtr<LFont>& b)
{
    if (!a || !b)
    {
        return a.Get() != b.Get();
    }
    const bool sameFace = a->mFaceName.SharesBufferWith(b->mFaceName) || a->mFaceName == b->mFaceName;
    return !(sameFace && a->mSize == b->mSize && a->mStyle == b->mStyle);
}

Result LFont::ReleaseInternalReferences()
{
    std::vector<RCPtr<LFont>>& cache = Cache();
    const auto entry =
        std::find_if(cache.begin(), cache.end(), [this](const RCPtr<LFont>& f) { return f.Get() == this; });
    if (entry == cache.end())
    {
        return kFail;
    }
    AdjustInternalRefCount(-1);
    // The entry's reference is released here; the caller's keeps the font alive until
    // its own release.
    cache.erase(entry);
    return kOk;
}

std::uint32_t LFont::GetCacheCount()
{
    return static_cast<std::uint32_t>(Cache().size());
}

bool LFont::Measure() const
{
    if (mLineHeight >= 0)
    {
        return true;
    }
    const RCPtr<LMeasurementRenderer> renderer = GetMeasurementRenderer();
    if (!renderer)
    {
        return false;
    }
    std::int32_t lineHeight = -1;
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    renderer->GetFontMetrics(RCPtr<LFont>(const_cast<LFont*>(this)), lineHeight, ascent, descent);
    mLineHeight = lineHeight;
    mAscent = ascent;
    mDescent = descent;
    return mLineHeight >= 0;
}

std::int32_t LFont::GetLineHeight() const
{
    return Measure() ? mLineHeight : 0;
}

std::int32_t LFont::GetAscent() const
{
    return Measure() ? mAscent : 0;
}

std::int32_t LFont::GetDescent() const
{
    return Measure() ? mDescent : 0;
}

} // namespace KR
