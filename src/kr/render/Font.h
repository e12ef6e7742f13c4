#pragma once
// KR::LFont: a font by face name, size and style, shared through one process-wide cache
// so that equal descriptions give one object for as long as anyone holds it. A font holds
// no system object; renderers turn it into their own when they draw or measure, keyed by
// its unique id. The cache never keeps a font alive by itself: when the last outside
// holder lets go, the font leaves the cache, and asking again makes a new one with a new
// id.
//
//     KR::RCPtr<KR::LFont> font = KR::LFont::GetFont(u"Arial", 12.0f, KR::kFontStyleBold);
//     std::int32_t height = font->GetLineHeight();   // measured once, through the
//                                                     // installed measurement renderer
//
// Fonts and the cache belong to the user-interface thread.

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"

#include <cstdint>

namespace KR
{

enum FontStyle : std::int32_t
{
    kFontStyleRegular = 0,
    kFontStyleBold = 1,
    kFontStyleItalic = 2,
    kFontStyleBoldItalic = 3,
};

class LFont : public virtual LRefCountedObject
{
public:
    // The cached font of this face (case ignored), size (compared exactly) and style, or
    // a new one.
    static RCPtr<LFont> GetFont(const String& faceName, float size, std::int32_t style);

    // Whether the two describe different fonts, the face compared with case: the test by
    // which a holder decides to take a new font. Two nulls are alike; a NaN size always
    // differs.
    static bool IsDifferent(const ConstRCPtr<LFont>& a, const ConstRCPtr<LFont>& b);

    static std::int32_t GetUniqueID(const ConstRCPtr<LFont>& font) { return font ? font->mUniqueID : 0; }

    const String& GetFaceName() const { return mFaceName; }
    float GetSize() const { return mSize; }
    std::int32_t GetStyle() const { return mStyle; }
    std::int32_t GetUniqueID() const { return mUniqueID; }

    // Pixels, measured on first use through the installed measurement renderer and kept.
    // Without a renderer they read 0 and are not kept, so a later call measures.
    std::int32_t GetLineHeight() const;
    std::int32_t GetAscent() const;
    std::int32_t GetDescent() const;

    // Leaves the cache once only the cache's reference is left beside the caller's.
    Result ReleaseInternalReferences() override;

    // The number of fonts in the cache, for tests and diagnostics.
    static std::uint32_t GetCacheCount();

private:
    LFont(const String& faceName, float size, std::int32_t style, std::int32_t uniqueID);

    // False when there was nothing to measure with.
    bool Measure() const;

    String mFaceName;
    float mSize;
    std::int32_t mStyle;
    mutable std::int32_t mLineHeight = -1;
    mutable std::int32_t mAscent = 0;
    mutable std::int32_t mDescent = 0;
    std::int32_t mUniqueID;
};

} // namespace KR
