#pragma once
// KR::LLook: one appearance of a control, the skin's Look made for one size: a client
// part, parts placed around it, and the label text with its font. A control holds one
// look per look slot of its skin and draws the active one in three steps (non-client
// parts, client part, label text).
//
// Placing parts, text layout and drawing come with the renderers. Until then a look
// draws nothing, its client rectangle is its whole size, every point of it is
// transparent, and its text is split into lines at line breaks, each measured through the
// installed measurement renderer (0 wide without one).
//
// Tests make LLook::Create hand out stand-ins (SetLookMaker) whose client rectangle,
// colour and text width they set.

#include "kr/core/Point.h"
#include "kr/core/RCPtr.h"
#include "kr/core/Rect.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/render/Font.h"
#include "kr/render/Region.h"
#include "kr/ui/LookDescriptor.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace KR
{

class LRenderer;

class LLook : public virtual LRefCountedObject
{
public:
    using Maker = std::function<RCPtr<LLook>(const ConstRCPtr<LLookDescriptor>& descriptor, bool wrap)>;

    // A look made from the descriptor; `wrap` when the control's X text overflow is
    // "Wrap". Null for a null descriptor.
    static RCPtr<LLook> Create(const ConstRCPtr<LLookDescriptor>& descriptor, bool wrap);
    // Who Create asks; an empty maker brings back the looks of this class. UI thread.
    static void SetLookMaker(Maker maker);

    LLook(const ConstRCPtr<LLookDescriptor>& descriptor, bool wrap);

    // Places the look for the size; true. The same size changes nothing.
    virtual bool SetSize(std::int32_t width, std::int32_t height);
    // 1 when the look shows no text; else 1 when the text changed, 0 when it was equal.
    virtual Result SetText(const String& text);
    // 1 when the look shows no text; else 1 when the font differs (the lines are laid out
    // anew), 0 when it was alike.
    virtual Result SetFont(const RCPtr<LFont>& font);
    // Packed 0xAARRGGBB at a point of the look; alpha 0 is transparent.
    virtual std::uint32_t GetColorAtPoint(const PointI& point) const;

    // The three drawing steps, limited to the dirty region.
    virtual Result DrawNonClientParts(LRenderer& renderer, const LRegion& dirty);
    virtual Result DrawClientPart(LRenderer& renderer, const LRegion& dirty);
    // 1 when the look shows no text.
    virtual Result DrawLabelText(LRenderer& renderer, const LRegion& dirty, const PointD& scroll);

    // The label text's lines, laid out on demand; widths in pixels, 0 past the end.
    virtual std::uint32_t GetLineCount();
    virtual float GetLineWidth(std::uint32_t index);

    // x, y, width, height inside the look: the control's client area.
    virtual RectI GetClientRect() const { return mClientRect; }
    // When not empty, drawing is limited to it.
    LRegion& GetRegion() { return mRegion; }
    const LRegion& GetRegion() const { return mRegion; }

    const ConstRCPtr<LLookDescriptor>& GetDescriptor() const { return mDescriptor; }
    bool HasText() const { return mHasText; }
    bool GetWrap() const { return mWrap; }
    std::int32_t GetWidth() const { return mWidth; }
    std::int32_t GetHeight() const { return mHeight; }
    const String& GetText() const { return mText; }
    const RCPtr<LFont>& GetFont() const { return mFont; }

protected:
    RectI mClientRect{};

private:
    void LayOutLines();

    ConstRCPtr<LLookDescriptor> mDescriptor;
    bool mHasText;
    bool mWrap;
    std::int32_t mWidth = 0;
    std::int32_t mHeight = 0;
    LRegion mRegion;
    String mText;
    RCPtr<LFont> mFont;
    bool mLinesValid = false;
    std::vector<float> mLineWidths;
};

} // namespace KR
