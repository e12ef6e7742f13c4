#include "kr/ui/Look.h"

#include "kr/core/Exception.h"
#include "kr/render/Renderer.h"
#include "kr/ui/DockedPart.h"
#include "kr/ui/VisualPartDescriptor.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace KR
{
namespace
{

constexpr float kMaxExtent = 8388608.0f;

LLook::Maker& InstalledMaker()
{
    static LLook::Maker maker;
    return maker;
}

std::int32_t ClampToInt32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

std::int32_t TruncToInt32(float value)
{
    const double clamped = std::clamp(static_cast<double>(value), -2147483648.0, 2147483647.0);
    return std::isnan(clamped) ? 0 : static_cast<std::int32_t>(clamped);
}

float ExtentOf(std::int32_t size)
{
    return std::clamp(static_cast<float>(size), -kMaxExtent, kMaxExtent);
}

// A docked part's rectangle in a look of W x H: the given offsets pin edges, a missing
// edge follows from the other one and the part's own size, and a part pinned on neither
// side of an axis is centred on it.
RectI PlaceDockedPart(const LDockedPart& docked, const LVisualPart* part, std::int32_t W, std::int32_t H)
{
    const std::int64_t width = docked.widthSet ? docked.width
                               : part          ? part->GetWidth()
                               : docked.part   ? docked.part->width
                                               : 0;
    const std::int64_t height = docked.heightSet ? docked.height
                                : part           ? part->GetHeight()
                                : docked.part    ? docked.part->height
                                                 : 0;
    const bool hasLeft = (docked.edgeMask & kDockLeft) != 0;
    const bool hasTop = (docked.edgeMask & kDockTop) != 0;
    const bool hasRight = (docked.edgeMask & kDockRight) != 0;
    const bool hasBottom = (docked.edgeMask & kDockBottom) != 0;
    std::int64_t left = hasLeft ? docked.left : 0;
    std::int64_t top = hasTop ? docked.top : 0;
    std::int64_t right = hasRight ? std::int64_t{W} + docked.right : W;
    std::int64_t bottom = hasBottom ? std::int64_t{H} + docked.bottom : H;
    if (!hasLeft)
    {
        left = right - width;
    }
    if (!hasTop)
    {
        top = bottom - height;
    }
    if (!hasRight)
    {
        right = left + width;
    }
    if (!hasBottom)
    {
        bottom = top + height;
    }
    if (!hasLeft && !hasRight)
    {
        left = (W - width) / 2;
        right = left + width;
    }
    if (!hasTop && !hasBottom)
    {
        top = (H - height) / 2;
        bottom = top + height;
    }
    return RectI{ClampToInt32(left), ClampToInt32(top), ClampToInt32(right - left),
                 ClampToInt32(bottom - top)};
}

// Pops the state a push made, also when the drawing throws.
struct StatePop
{
    LRenderer& renderer;
    ~StatePop() { renderer.RestoreState(); }
};

} // namespace

RCPtr<LLook> LLook::Create(const ConstRCPtr<LLookDescriptor>& descriptor, bool wrap)
{
    if (!descriptor)
    {
        return nullptr;
    }
    if (const Maker& maker = InstalledMaker())
    {
        return maker(descriptor, wrap);
    }
    return RCPtr<LLook>(new LLook(descriptor, wrap));
}

void LLook::SetLookMaker(Maker maker)
{
    InstalledMaker() = std::move(maker);
}

LLook::LLook(const ConstRCPtr<LLookDescriptor>& descriptor, bool wrap) : mDescriptor(descriptor)
{
    if (!descriptor)
    {
        return;
    }
    const LTextProperties& text = descriptor->text;
    if (text.foregroundPart)
    {
        mTextPart = text.foregroundPart->GetVisualPart();
    }
    if (text.hasTextProperties)
    {
        mFontText = RCPtr<LFontText>(new LFontText(String(), nullptr));
        mFontText->SetWrap(wrap);
        mFontText->SetAlignment(text.horizontalAlignment, text.verticalAlignment);
    }
    if (descriptor->clientPart)
    {
        mClientPart = descriptor->clientPart->GetVisualPart();
    }
    mPartRects.resize(descriptor->nonClientParts.GetCount());
    mParts.resize(descriptor->nonClientParts.GetCount());
}

LLook::~LLook() = default;

bool LLook::SetSize(std::int32_t width, std::int32_t height)
{
    if (width == mWidth && height == mHeight)
    {
        return true;
    }
    mWidth = width;
    mHeight = height;
    const std::int32_t W = std::max(width, 0);
    const std::int32_t H = std::max(height, 0);
    const LDockedPart* client = mDescriptor ? mDescriptor->clientPart.Get() : nullptr;
    const std::int32_t x = client ? std::clamp(client->left, 0, W) : 0;
    const std::int32_t y = client ? std::clamp(client->top, 0, H) : 0;
    const std::int64_t right = client ? client->right : 0;
    const std::int64_t bottom = client ? client->bottom : 0;
    mClientRect = RectI{x, y, static_cast<std::int32_t>(std::clamp<std::int64_t>(W - x + right, 0, W - x)),
                        static_cast<std::int32_t>(std::clamp<std::int64_t>(H - y + bottom, 0, H - y))};

    for (std::uint32_t i = 0; i < mParts.size(); ++i)
    {
        const RCPtr<LDockedPart>& docked = mDescriptor->nonClientParts.GetAt(i);
        mParts[i] = docked ? docked->GetVisualPart() : nullptr;
        mPartRects[i] = docked ? PlaceDockedPart(*docked, mParts[i].Get(), width, height) : RectI{};
    }

    if (mFontText)
    {
        const TextRect area =
            mDescriptor->text.GetTextRect(static_cast<float>(width), static_cast<float>(height));
        mFontText->SetBoxSize(RoundToInt32(area.width), RoundToInt32(area.height));
        mTextX = TruncToInt32(area.x);
        mTextY = TruncToInt32(area.y);
    }
    mLastClientRect = mClientRect;
    mLayoutChanged = true;
    mStencil = nullptr;
    return true;
}

Result LLook::SetText(const String& text)
{
    if (!mFontText)
    {
        return 1;
    }
    return mFontText->SetText(text) ? 1 : 0;
}

Result LLook::SetFont(const RCPtr<LFont>& font)
{
    if (!mFontText)
    {
        return 1;
    }
    return mFontText->SetFont(font) ? 1 : 0;
}

void LLook::SetOverlayPart(const RCPtr<LVisualPart>& part, bool replacesClient)
{
    mOverlayPart = part;
    mOverlayReplacesClient = replacesClient;
}

RectI LLook::GetTextRect() const
{
    const PointI box = mFontText ? mFontText->GetBoxSize() : PointI{};
    return RectI{mTextX, mTextY, box.x, box.y};
}

std::uint32_t LLook::GetColorAtPoint(const PointI& point) const
{
    std::uint32_t color = LVisualPart::kTransparent;
    const auto shows = [&color] { return (color >> 24) != 0; };
    for (std::size_t i = 0; i < mParts.size() && !shows(); ++i)
    {
        if (mParts[i])
        {
            const RectI& rect = mPartRects[i];
            color = mParts[i]->GetColorAtPoint(static_cast<float>(std::int64_t{point.x} - rect.x),
                                               static_cast<float>(std::int64_t{point.y} - rect.y),
                                               ExtentOf(rect.width), ExtentOf(rect.height));
        }
    }
    const float x = static_cast<float>(std::int64_t{point.x} - mClientRect.x);
    const float y = static_cast<float>(std::int64_t{point.y} - mClientRect.y);
    for (const RCPtr<LVisualPart>* part : {&mOverlayPart, &mClientPart})
    {
        if (!shows() && *part)
        {
            color = (*part)->GetColorAtPoint(x, y, ExtentOf(mClientRect.width), ExtentOf(mClientRect.height));
        }
    }
    return color;
}

const LRegion& LLook::EffectiveRegion(const LRenderer& renderer, const LRegion& dirty, LRegion& scratch) const
{
    if (mRegion.IsEmpty())
    {
        return dirty;
    }
    scratch = mRegion;
    if (const RenderState* state = renderer.GetCurrentState())
    {
        scratch.Offset(TruncToInt32(static_cast<float>(state->offset.x)),
                       TruncToInt32(static_cast<float>(state->offset.y)));
    }
    scratch.Intersect(dirty);
    scratch.Coalesce();
    return scratch;
}

template <typename Draw>
bool LLook::ForEachClip(LRenderer& renderer, const LRegion& region, const RectD& target, const RectD& bounds,
                        Draw&& draw)
{
    bool drew = false;
    for (const RegionNode* node = region.GetFirst(); node; node = node->next)
    {
        const RenderState* state = renderer.GetCurrentState();
        const PointD offset = state ? state->offset : PointD{};
        const RectD clip = state ? state->clip : RenderState::kNoClip;
        const RectD dirtyRect{static_cast<double>(node->rect.left) - offset.x,
                              static_cast<double>(node->rect.top) - offset.y,
                              static_cast<double>(std::int64_t{node->rect.right} - node->rect.left),
                              static_cast<double>(std::int64_t{node->rect.bottom} - node->rect.top)};
        RectD area{};
        IntersectRects(dirtyRect, target, area);
        RectD visible{};
        if (!(area.width > kWholeUnitEpsilon && area.height > kWholeUnitEpsilon) ||
            !IntersectRects(area, clip, visible))
        {
            continue;
        }
        // A clip that is the one in force already (a client part filling a wholly
        // visible look) is not pushed.
        if (!mStencil && renderer.IsBoundsClipInForce(bounds, area))
        {
            drew = draw() || drew;
            continue;
        }
        renderer.PushClip(bounds, area, mStencil, true);
        const StatePop pop{renderer};
        drew = draw() || drew;
    }
    return drew;
}

Result LLook::DrawNonClientParts(LRenderer& renderer, const LRegion& dirty)
{
    // Most looks have none: a paint asks every control's looks.
    if (mParts.empty())
    {
        return 0;
    }
    LRegion scratch;
    const LRegion& region = EffectiveRegion(renderer, dirty, scratch);
    bool drew = false;
    for (std::size_t i = 0; i < mParts.size(); ++i)
    {
        const RCPtr<LVisualPart>& part = mParts[i];
        if (!part)
        {
            continue;
        }
        const RectI& rect = mPartRects[i];
        const RectD target = IntRectToDouble(rect);
        drew = ForEachClip(
                   renderer, region, target, target,
                   [&] { return part->Draw(renderer, ExtentOf(rect.width), ExtentOf(rect.height)) != 0; }) ||
               drew;
    }
    return drew ? 1 : 0;
}

Result LLook::DrawClientPart(LRenderer& renderer, const LRegion& dirty)
{
    LRegion scratch;
    const LRegion& region = EffectiveRegion(renderer, dirty, scratch);
    const RectD target = IntRectToDouble(mClientRect);
    const float width = ExtentOf(mClientRect.width);
    const float height = ExtentOf(mClientRect.height);
    const bool drew = ForEachClip(renderer, region, target, target,
                                  [&]
                                  {
                                      bool result = false;
                                      if (mClientPart && !(mOverlayPart && mOverlayReplacesClient))
                                      {
                                          result = mClientPart->Draw(renderer, width, height) != 0;
                                      }
                                      if (mOverlayPart)
                                      {
                                          result =
                                              (mOverlayPart->Draw(renderer, width, height) != 0) || result;
                                      }
                                      return result;
                                  });
    return drew ? 1 : 0;
}

Result LLook::DrawLabelText(LRenderer& renderer, const LRegion& dirty, const PointD& scroll)
{
    if (!mFontText)
    {
        return 1;
    }
    if (!mTextPart)
    {
        return 0;
    }
    LRegion scratch;
    const LRegion& region = EffectiveRegion(renderer, dirty, scratch);
    const RectD area = IntRectToDouble(GetTextRect());
    const RectD bounds{0.0, 0.0, static_cast<double>(mWidth), static_cast<double>(mHeight)};
    ForEachClip(renderer, region, area, bounds,
                [&]
                {
                    DrawLines(renderer, scroll);
                    return false;
                });
    return 0;
}

void LLook::DrawLines(LRenderer& renderer, const PointD& scroll)
{
    if (mTextPart->GetBitmap())
    {
        Throw<std::domain_error>(kBitmapTextFillText);
    }
    const ConstRCPtr<LColorizer>& colorizer = mTextPart->GetColorizer();
    if (!colorizer)
    {
        return;
    }
    if (colorizer->colorType != kColorSolidFill)
    {
        Throw<std::domain_error>(kGradientTextFillText);
    }
    const RectD area = IntRectToDouble(GetTextRect());
    renderer.PushClip(area, area, nullptr, true);
    const StatePop pop{renderer};
    // Packed and unpacked, as the part's pixel would be; a fill part without a skin size
    // has no pixel (0, 0) but still its colour.
    const ColorF color = ColorF::FromARGB(mTextPart->GetFillColor().GetARGB());
    mFontText->GetLineCount();
    const StringArray& lines = mFontText->GetLines();
    const std::vector<RectT<float>>& rects = mFontText->GetLineRects();
    for (std::uint32_t i = 0; i < lines.GetCount(); ++i)
    {
        const PointD origin = i < rects.size() ? PointD{rects[i].x, rects[i].y} : PointD{};
        renderer.DrawText(lines.ElementAt(i), mFontText->GetFont(),
                          RoundPointToInt(PointD{origin.x - scroll.x, origin.y - scroll.y}), color);
    }
}

} // namespace KR
