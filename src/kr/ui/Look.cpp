#include "kr/ui/Look.h"

#include "kr/render/MeasurementRenderer.h"

#include <algorithm>
#include <utility>

namespace KR
{
namespace
{

LLook::Maker& InstalledMaker()
{
    static LLook::Maker maker;
    return maker;
}

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

LLook::LLook(const ConstRCPtr<LLookDescriptor>& descriptor, bool wrap)
    : mDescriptor(descriptor), mHasText(descriptor && descriptor->text.hasTextProperties), mWrap(wrap)
{
}

bool LLook::SetSize(std::int32_t width, std::int32_t height)
{
    if (width == mWidth && height == mHeight)
    {
        return true;
    }
    mWidth = width;
    mHeight = height;
    mClientRect = RectI{0, 0, width, height};
    if (mWrap)
    {
        mLinesValid = false;
    }
    return true;
}

Result LLook::SetText(const String& text)
{
    if (!mHasText)
    {
        return 1;
    }
    if (text.SharesBufferWith(mText) || text == mText)
    {
        return 0;
    }
    mText = text;
    mLinesValid = false;
    return 1;
}

Result LLook::SetFont(const RCPtr<LFont>& font)
{
    if (!mHasText)
    {
        return 1;
    }
    if (!LFont::IsDifferent(font, mFont))
    {
        return 0;
    }
    mFont = font;
    mLinesValid = false;
    return 1;
}

std::uint32_t LLook::GetColorAtPoint(const PointI&) const
{
    return 0x00FFFFFF;
}

Result LLook::DrawNonClientParts(LRenderer&, const LRegion&)
{
    return 0;
}

Result LLook::DrawClientPart(LRenderer&, const LRegion&)
{
    return 0;
}

Result LLook::DrawLabelText(LRenderer&, const LRegion&, const PointD&)
{
    return mHasText ? 0 : 1;
}

void LLook::LayOutLines()
{
    if (mLinesValid)
    {
        return;
    }
    mLineWidths.clear();
    if (mHasText && !mText.IsEmpty())
    {
        const RCPtr<LMeasurementRenderer> renderer = GetMeasurementRenderer();
        const std::u16string_view text = mText.GetView();
        std::size_t start = 0;
        while (start <= text.size())
        {
            const std::size_t end = std::min(text.find(u'\n', start), text.size());
            RectT<float> box{};
            if (renderer && mFont)
            {
                // A line ending in CR LF is measured without the CR.
                std::size_t length = end - start;
                if (length > 0 && text[start + length - 1] == u'\r')
                {
                    --length;
                }
                renderer->MeasureText(box, String(text.substr(start, length)), mFont);
            }
            mLineWidths.push_back(box.width);
            start = end + 1;
        }
    }
    mLinesValid = true;
}

std::uint32_t LLook::GetLineCount()
{
    LayOutLines();
    return static_cast<std::uint32_t>(mLineWidths.size());
}

float LLook::GetLineWidth(std::uint32_t index)
{
    LayOutLines();
    return index < mLineWidths.size() ? mLineWidths[index] : 0.0f;
}

} // namespace KR
