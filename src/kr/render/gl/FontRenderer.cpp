#include "kr/render/gl/FontRenderer.h"

#include <algorithm>

namespace KR
{

RectT<float> LFontRenderer::MeasureText(RectT<float>& box, const String& text, const ConstRCPtr<LFont>& font)
{
    box = RectT<float>{};
    // Without a layout the processor would still hold the previous text's bounds.
    if (text.IsEmpty() || !font || ProcessText(text, font, mSecondProcessor, 0, 0.0f, kMeasureFlags) == 0)
    {
        return box;
    }
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
    GetTextBounds(left, top, right, bottom);
    top = std::min(top, static_cast<float>(font->GetAscent()));
    bottom = std::max(bottom, static_cast<float>(font->GetDescent()));
    box = RectT<float>{left, top, right + 1.0f - left, bottom - top};
    return box;
}

void LFontRenderer::GetTextBounds(float& left, float& top, float& right, float& bottom) const
{
    left = top = right = bottom = 0.0f;
    if (mSecondProcessor)
    {
        mSecondProcessor->GetBounds(left, top, right, bottom);
    }
}

} // namespace KR
