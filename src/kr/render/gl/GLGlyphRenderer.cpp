#include "kr/render/gl/GLGlyphRenderer.h"

#include "platform/gl/GLFunctions.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace KR
{
namespace
{

// A glyph that did not fit the atlas: it measures, but has nothing to draw.
constexpr std::uint16_t kNotPacked = 0xFFFF;

std::int32_t PowerOfTwoAtLeast(std::int32_t n)
{
    std::int32_t power = 1;
    while (power < n && power < (1 << 30))
    {
        power *= 2;
    }
    return power;
}

// The smallest rectangle holding both; an empty one counts as a point.
RectT<float> Union(const RectT<float>& a, const RectT<float>& b)
{
    const float left = std::min(a.x, b.x);
    const float top = std::min(a.y, b.y);
    const float right = std::max(a.x + a.width, b.x + b.width);
    const float bottom = std::max(a.y + a.height, b.y + b.height);
    return RectT<float>{left, top, right - left, bottom - top};
}

} // namespace

RCPtr<LGLGlyphRenderer::LCachedFont> LGLGlyphRenderer::LCachedFont::Create(const ConstRCPtr<LFont>& font)
{
    return RCPtr<LCachedFont>(new LCachedFont(font));
}

LGLGlyphRenderer::LCachedFont::LCachedFont(const ConstRCPtr<LFont>& font) : mFont(font)
{
    const float size = font ? font->GetSize() : 0.0f;
    const auto rows =
        size >= 1.0f && size < static_cast<float>(kMaxAtlasHeight) ? static_cast<std::int32_t>(size) : 1;
    ReserveSpace(0, rows);
}

bool LGLGlyphRenderer::LCachedFont::ReserveSpace(std::int32_t width, std::int32_t height)
{
    if (width > kAtlasWidth || height > kMaxAtlasHeight)
    {
        return false;
    }
    const std::int32_t shelfTop = mCursorX + width >= kAtlasWidth ? mShelfTop + mShelfHeight : mShelfTop;
    if (shelfTop + height > kMaxAtlasHeight)
    {
        return false;
    }
    if (shelfTop != mShelfTop)
    {
        mShelfTop = shelfTop;
        mCursorX = 0;
        mShelfHeight = 0;
    }
    mShelfHeight = std::max(mShelfHeight, height);
    if (!mAtlas)
    {
        mAtlas = LPixelBuffer<unsigned char>::Create(kAtlasWidth, static_cast<std::uint32_t>(mShelfHeight),
                                                     kAtlasWidth, nullptr);
    }
    const std::int32_t needed = mShelfTop + height;
    if (needed >= static_cast<std::int32_t>(mAtlas->GetHeight()))
    {
        const std::int32_t grown = std::min(PowerOfTwoAtLeast(needed), kMaxAtlasHeight);
        mAtlas->SetHeight(static_cast<std::uint32_t>(grown));
        mDirty = RectT<float>{0.0f, 0.0f, static_cast<float>(kAtlasWidth), static_cast<float>(grown)};
    }
    return true;
}

void LGLGlyphRenderer::LCachedFont::CopyGlyphBitmap(const LPixelBuffer<unsigned char>& bitmap, std::int32_t x,
                                                    std::int32_t y)
{
    const auto width = static_cast<std::int32_t>(bitmap.GetWidth());
    const auto height = static_cast<std::int32_t>(bitmap.GetHeight());
    const auto atlasHeight = static_cast<std::int32_t>(mAtlas->GetHeight());
    const std::int32_t copied = std::min(width, kAtlasWidth - x);
    for (std::int32_t row = 0; row < height && x >= 0 && y >= 0 && copied > 0 && y + row < atlasHeight; ++row)
    {
        const unsigned char* from = bitmap.GetPixels(0, static_cast<std::uint32_t>(row));
        unsigned char* to =
            mAtlas->GetPixels(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y + row));
        if (from == nullptr || to == nullptr)
        {
            break;
        }
        std::memcpy(to, from, static_cast<std::size_t>(copied));
    }
    mDirty = Union(mDirty, RectT<float>{static_cast<float>(x - 1), static_cast<float>(y - 1),
                                        static_cast<float>(width + 2), static_cast<float>(height + 2)});
}

void LGLGlyphRenderer::LCachedFont::UpdateTexture()
{
    constexpr float kEpsilon = std::numeric_limits<float>::epsilon();
    if (!(mDirty.width > kEpsilon && mDirty.height > kEpsilon) || !mAtlas)
    {
        return;
    }
    GLPixelImage image;
    image.Set(mAtlas->GetPixels(0, 0), kAtlasWidth, 1, kAtlasWidth,
              static_cast<std::int32_t>(mAtlas->GetHeight()), Platform::GLc::kAlpha,
              Platform::GLc::kUnsignedByte);
    Upload(image, static_cast<std::int32_t>(Platform::GLc::kAlpha), kNearest, 1.0f);
    mDirty = RectT<float>{};
}

const LGlyphProcessor::SCachedGlyph* LGLGlyphRenderer::LCachedFont::FindGlyph(std::uint32_t character) const
{
    const auto found = mGlyphs.find(character);
    return found == mGlyphs.end() ? nullptr : &found->second;
}

RCPtr<LGLGlyphRenderer> LGLGlyphRenderer::Create()
{
    return RCPtr<LGLGlyphRenderer>(new LGLGlyphRenderer);
}

void LGLGlyphRenderer::BeginText(const ConstRCPtr<LFont>& font, std::uint32_t flags)
{
    mFlags = flags;
    mLeft = mTop = mRight = mBottom = 0.0f;
    if (!font)
    {
        mCurrentFont = nullptr;
        return;
    }
    RCPtr<LCachedFont>& slot = mFonts.GetEntry(font, false);
    if (!slot)
    {
        slot = LCachedFont::Create(font);
    }
    mCurrentFont = slot;
    if ((flags & kUpdateTexture) != 0)
    {
        mCurrentFont->UpdateTexture();
    }
}

void LGLGlyphRenderer::EndText()
{
    mCurrentFont = nullptr;
}

std::uint16_t LGLGlyphRenderer::QueryGlyph(SGlyphRecord& record)
{
    if (!mCurrentFont)
    {
        return 0;
    }
    const SCachedGlyph* glyph = mCurrentFont->FindGlyph(record.character);
    mCurrentGlyph = glyph != nullptr ? *glyph : SCachedGlyph{};
    if (glyph == nullptr)
    {
        return kRequestLoad | kRequestBox | kRequestBitmap;
    }
    record.left = glyph->left;
    record.top = glyph->top;
    record.right = glyph->right;
    record.bottom = glyph->bottom;
    record.advanceX = glyph->advanceX;
    record.advanceY = glyph->advanceY;
    record.glyphIndex = glyph->glyphIndex;
    return 0;
}

void LGLGlyphRenderer::ProcessGlyph(SGlyphRecord& record)
{
    if (!mCurrentFont)
    {
        return;
    }
    if (mCurrentGlyph.character == 0)
    {
        mCurrentGlyph = SCachedGlyph{record.character, record.glyphIndex, record.left,     record.top,
                                     record.right,     record.bottom,     record.advanceX, record.advanceY};
        AddGlyphBitmap(record.bitmap.Get());
        mCurrentFont->AddGlyph(mCurrentGlyph);
    }
    if ((mFlags & (kCollectBounds | kDraw)) == 0)
    {
        return;
    }
    const SCachedGlyph& glyph = mCurrentGlyph;
    const float ascent = static_cast<float>(mCurrentFont->GetFont()->GetAscent());
    const float l = glyph.left;
    const float t = glyph.top;
    const float r = glyph.right;
    const float b = glyph.bottom;
    if ((mFlags & kDraw) != 0 && glyph.atlasX != kNotPacked)
    {
        const float ax = glyph.atlasX;
        const float ay = glyph.atlasY;
        mCurrentFont->DrawRegion(RectT<float>{ax, ay, ax + r - l, ay + b - t},
                                 RectT<float>{record.penX + l, t - ascent - record.penY, record.penX + r,
                                              b - ascent - record.penY});
    }
    if ((mFlags & kCollectBounds) != 0)
    {
        const RectT<float> bounds =
            Union(RectT<float>{mLeft, mTop, mRight - mLeft, mBottom - mTop},
                  RectT<float>{record.penX, t + record.penY, static_cast<float>(glyph.advanceX >> 6), b - t});
        mLeft = bounds.x;
        mTop = bounds.y;
        mRight = bounds.x + bounds.width;
        mBottom = bounds.y + bounds.height;
    }
}

void LGLGlyphRenderer::AddGlyphBitmap(const LPixelBuffer<unsigned char>* bitmap)
{
    const auto width = bitmap != nullptr ? static_cast<std::int32_t>(bitmap->GetWidth()) : 0;
    const auto height = bitmap != nullptr ? static_cast<std::int32_t>(bitmap->GetHeight()) : 0;
    if (!mCurrentFont->ReserveSpace(width + 2, height + 2))
    {
        mCurrentGlyph.atlasX = kNotPacked;
        mCurrentGlyph.atlasY = kNotPacked;
        return;
    }
    mCurrentGlyph.atlasX = static_cast<std::uint16_t>(mCurrentFont->GetCursorX() + 1);
    mCurrentGlyph.atlasY = static_cast<std::uint16_t>(mCurrentFont->GetShelfTop() + 1);
    if (bitmap != nullptr)
    {
        mCurrentFont->CopyGlyphBitmap(*bitmap, mCurrentGlyph.atlasX, mCurrentGlyph.atlasY);
    }
    mCurrentFont->AdvanceCursor(width + 2);
    if ((mFlags & kUpdateTexture) != 0)
    {
        mCurrentFont->UpdateTexture();
    }
}

void LGLGlyphRenderer::GetBounds(float& left, float& top, float& right, float& bottom) const
{
    left = mLeft;
    top = mTop;
    right = mRight;
    bottom = mBottom;
}

} // namespace KR
