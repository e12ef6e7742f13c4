#pragma once
// KR::LLook: one appearance of a control, the skin's Look made for one size: a client
// part inside the client part's offsets, non-client parts docked around the edges, and
// the label text laid out in the look's text area. A control holds one look per look slot
// of its skin and draws each look that weighs in three steps: client part, non-client
// parts, label text.
//
//     KR::RCPtr<KR::LLook> look = KR::LLook::Create(descriptor, false);
//     look->SetSize(120, 24);
//     look->SetText(u"Send");
//     look->DrawClientPart(renderer, dirty);
//     look->DrawNonClientParts(renderer, dirty);
//     look->DrawLabelText(renderer, dirty, {0.0, 0.0});
//
// Tests make LLook::Create hand out stand-ins (SetLookMaker).

#include "kr/core/Point.h"
#include "kr/core/RCPtr.h"
#include "kr/core/Rect.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/render/Font.h"
#include "kr/render/FontText.h"
#include "kr/render/Region.h"
#include "kr/render/RenderState.h"
#include "kr/ui/LookDescriptor.h"
#include "kr/ui/VisualPart.h"

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

    static constexpr char kBitmapTextFillText[] =
        "Domain Error : Bitmap fill for text foreground part not yet "
        "implemented. : KR::LLook::DrawLabelText : ControlBase\\Look "
        ": Line 293";
    static constexpr char kGradientTextFillText[] =
        "Domain Error : Gradient fill for text foreground part not "
        "yet implemented. : KR::LLook::DrawLabelText : "
        "ControlBase\\Look : Line 302";

    // A look made from the descriptor; `wrap` when the control's X text overflow is
    // "Wrap". Null for a null descriptor.
    static RCPtr<LLook> Create(const ConstRCPtr<LLookDescriptor>& descriptor, bool wrap);
    // Who Create asks; an empty maker brings back the looks of this class. UI thread.
    static void SetLookMaker(Maker maker);

    LLook(const ConstRCPtr<LLookDescriptor>& descriptor, bool wrap);
    ~LLook() override;

    // Places the parts and the text area for the size; true. The same size changes nothing.
    virtual bool SetSize(std::int32_t width, std::int32_t height);
    // 1 when the look shows no text; else 1 when the text changed, 0 when it was equal.
    virtual Result SetText(const String& text);
    // 1 when the look shows no text; else whether the lines were dropped (the font
    // differs).
    virtual Result SetFont(const RCPtr<LFont>& font);
    // Packed 0xAARRGGBB at a point of the look: the first non-client part that shows
    // there, else the overlay, else the client part; alpha 0 is transparent.
    virtual std::uint32_t GetColorAtPoint(const PointI& point) const;

    // The three drawing steps, limited to the dirty region (window coordinates) and to the
    // look's own region when it has one. Each part is drawn once per dirty rectangle it
    // overlaps, clipped to it.
    virtual Result DrawNonClientParts(LRenderer& renderer, const LRegion& dirty);
    virtual Result DrawClientPart(LRenderer& renderer, const LRegion& dirty);
    // 1 when the look shows no text. The text takes the colour of the foreground part's
    // first pixel; a foreground part that is an image or a gradient throws.
    virtual Result DrawLabelText(LRenderer& renderer, const LRegion& dirty, const PointD& scroll);

    // x, y, width, height inside the look: the control's client area.
    virtual RectI GetClientRect() const { return mClientRect; }
    // Starts loading what the drawing steps read of the look.
    void PrefetchForDrawing() const
    {
        __builtin_prefetch(this);
        __builtin_prefetch(&mParts);
    }
    // When not empty, drawing is limited to it (look coordinates).
    LRegion& GetRegion() { return mRegion; }
    const LRegion& GetRegion() const { return mRegion; }

    // The part drawn in the client area; code may put another in place of the skin's.
    const RCPtr<LVisualPart>& GetClientPart() const { return mClientPart; }
    void SetClientPart(const RCPtr<LVisualPart>& part) { mClientPart = part; }
    // Drawn over the client part, or instead of it when `replacesClient`; null for none.
    void SetOverlayPart(const RCPtr<LVisualPart>& part, bool replacesClient);
    const RCPtr<LVisualPart>& GetOverlayPart() const { return mOverlayPart; }

    const ConstRCPtr<LLookDescriptor>& GetDescriptor() const { return mDescriptor; }
    // The part whose colour the label text takes; code may give it another look's, so that a
    // text keeps the colour of the text beside it.
    const RCPtr<LVisualPart>& GetTextPart() const { return mTextPart; }
    void SetTextPart(const RCPtr<LVisualPart>& part) { mTextPart = part; }
    // The label's layout; null when the skin gives the look no text properties.
    const RCPtr<LFontText>& GetFontText() const { return mFontText; }
    bool HasText() const { return mFontText != nullptr; }
    bool GetWrap() const { return mFontText && mFontText->GetWrap(); }
    std::int32_t GetWidth() const { return mWidth; }
    std::int32_t GetHeight() const { return mHeight; }
    const String& GetText() const { return mFontText ? mFontText->GetText() : String::Empty(); }
    RCPtr<LFont> GetFont() const { return mFontText ? mFontText->GetFont() : nullptr; }
    // Where the text area starts and how large it is.
    RectI GetTextRect() const;
    const std::vector<RectI>& GetPartRects() const { return mPartRects; }
    // Set whenever the parts are placed anew; whoever caches what depends on them clears it.
    bool GetLayoutChanged() const { return mLayoutChanged; }
    void ClearLayoutChanged() { mLayoutChanged = false; }

protected:
    RectI mClientRect{};

private:
    // The region the drawing steps walk: the dirty region itself, or, with an own region,
    // that cut to the dirty region, made in `scratch`. No copy without an own region: three
    // of them per control were a good part of a full repaint's cost.
    const LRegion& EffectiveRegion(const LRenderer& renderer, const LRegion& dirty, LRegion& scratch) const;
    // Runs `draw` under a clip to each dirty rectangle that meets `target` (look
    // coordinates); `bounds` is where the pushed origin goes. True when a draw did.
    template <typename Draw>
    bool ForEachClip(LRenderer& renderer, const LRegion& dirty, const RectD& target, const RectD& bounds,
                     Draw&& draw);
    void DrawLines(LRenderer& renderer, const PointD& scroll);

    // What the drawing steps read, in the two cache lines after the client rectangle.
    LRegion mRegion;
    RCPtr<LFontText> mFontText;
    RCPtr<LVisualPart> mTextPart;
    RCPtr<LVisualPart> mClientPart;
    RCPtr<LVisualPart> mOverlayPart;
    std::vector<RCPtr<LVisualPart>> mParts;
    std::vector<RectI> mPartRects;
    bool mOverlayReplacesClient = false;
    bool mLayoutChanged = true;
    std::int32_t mWidth = 0;
    std::int32_t mHeight = 0;
    ConstRCPtr<LLookDescriptor> mDescriptor;
    RectI mLastClientRect{};
    RCPtr<LStencil> mStencil;
    std::int32_t mTextX = 0;
    std::int32_t mTextY = 0;
};

} // namespace KR
