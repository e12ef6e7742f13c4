#include "kr/ui/Look.h"

#include "LookTestSupport.h"
#include "support/FrameworkAppStandIn.h"
#include "support/RecordingRenderer.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using namespace KR::LookTest;
using KR::LDockedPart;
using KR::LLook;
using KR::LLookDescriptor;
using KR::RCPtr;
using KR::RectI;

constexpr std::uint32_t kCorner = 0xFFE02020;
constexpr std::uint32_t kFace = 0xFF20A040;

RCPtr<LDockedPart> Docked(const RCPtr<KR::LVisualPartDescriptor>& part, std::int32_t mask, std::int32_t left,
                          std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    RCPtr<LDockedPart> docked(new LDockedPart);
    docked->part = part;
    docked->edgeMask = mask;
    docked->left = left;
    docked->top = top;
    docked->right = right;
    docked->bottom = bottom;
    return docked;
}

// A client part inside offsets (1, 1, -5, -6); a 10 x 6 corner at the top right, the same part
// with no offsets, a bar along the top; text 8 in from either side, from 15 % to 85 % down.
RCPtr<LLookDescriptor> Skin(const RCPtr<KR::LVisualPartDescriptor>& foreground)
{
    RCPtr<LLookDescriptor> look(new LLookDescriptor(u"normal"));
    look->clientPart =
        Docked(ColourPart(1, 1, kFace, KR::kResizeStretch, 1.0f), KR::kDockAllEdges, 1, 1, -5, -6);
    const RCPtr<KR::LVisualPartDescriptor> corner = ColourPart(10, 6, kCorner, KR::kResizeStretch, 1.0f);
    look->nonClientParts.AddItem(Docked(corner, KR::kDockTop | KR::kDockRight, 0, 0, 0, 0));
    look->nonClientParts.AddItem(Docked(corner, 0, 0, 0, 0, 0));
    look->nonClientParts.AddItem(Docked(corner, KR::kDockLeft | KR::kDockTop | KR::kDockRight, 2, 0, -2, 0));
    KR::LTextProperties& text = look->text;
    text.hasTextProperties = true;
    text.leftAbsolute = 8;
    text.rightRelative = 1.0f;
    text.rightAbsolute = -8;
    text.topRelative = 0.15f;
    text.bottomRelative = 0.85f;
    text.horizontalAlignment = 0.5f;
    text.foregroundPart = foreground;
    return look;
}

TEST(Look, PartsDockAroundTheEdgesAndTheClientAndTextSitInsideTheirOffsets)
{
    struct Case
    {
        std::int32_t width, height;
        RectI client;
        std::vector<RectI> parts;
        RectI text;
    };
    const Case cases[] = {
        {100, 50, {1, 1, 94, 43}, {{90, 0, 10, 6}, {45, 22, 10, 6}, {2, 0, 96, 6}}, {8, 7, 84, 35}},
        {3, 3, {1, 1, 0, 0}, {{-7, 0, 10, 6}, {-3, -1, 10, 6}, {2, 0, -1, 6}}, {8, 0, -13, 2}},
        {100, 20, {1, 1, 94, 13}, {{90, 0, 10, 6}, {45, 7, 10, 6}, {2, 0, 96, 6}}, {8, 3, 84, 14}},
    };
    const RCPtr<LLook> look = LLook::Create(Skin(nullptr), false);
    for (const Case& c : cases)
    {
        look->ClearLayoutChanged();
        EXPECT_TRUE(look->SetSize(c.width, c.height));
        EXPECT_TRUE(look->GetLayoutChanged()) << c.width;
        EXPECT_EQ(look->GetClientRect(), c.client) << c.width;
        EXPECT_EQ(look->GetPartRects(), c.parts) << c.width;
        EXPECT_EQ(look->GetTextRect(), c.text) << c.width;
    }
    look->ClearLayoutChanged();
    look->SetSize(100, 20);
    EXPECT_FALSE(look->GetLayoutChanged());

    EXPECT_EQ(look->GetColorAtPoint({95, 2}), kCorner);
    EXPECT_EQ(look->GetColorAtPoint({30, 12}), kFace);
    EXPECT_EQ(look->SetText(u"A b"), 1);
    look->GetFontText()->GetLineCount();
    EXPECT_EQ(look->SetText(u"A b"), 0);
    EXPECT_NE(look->GetFontText()->GetLines().GetCount(), 0u);
}

TEST(Look, EachPartIsDrawnOncePerDirtyRectangleClippedToIt)
{
    RCPtr<KR::TestSupport::LRecordingRenderer> renderer(new KR::TestSupport::LRecordingRenderer);
    const auto context = renderer->MakeContext({0, 0, 200, 100});
    const RCPtr<LLook> look = LLook::Create(Skin(nullptr), false);
    look->SetSize(100, 20);
    KR::LRegion dirty;
    dirty.AddRect({0, 0, 50, 10});
    dirty.AddRect({60, 0, 100, 10});
    struct Case
    {
        const char* name;
        KR::EdgesI ownRegion; // empty: none
        std::vector<KR::RectD> clips;
    };
    const Case cases[] = {
        {"whole look", {}, {{53, 0, 40, 5}, {0, 0, 43, 5}}},
        {"own region", {0, 0, 20, 20}, {{0, 0, 18, 5}}},
    };
    for (const Case& c : cases)
    {
        look->GetRegion().SetRect(c.ownRegion);
        renderer->RenderStart(context);
        renderer->PushClip({5, 5, 200, 100}, {0, 0, 200, 100}, nullptr, true);
        renderer->ClearRecord();
        look->DrawNonClientParts(*renderer, dirty);
        renderer->RestoreState();
        renderer->RenderFinish(context);
        std::vector<KR::RectD> clips;
        for (const auto& call : renderer->calls)
        {
            clips.insert(clips.end(), call.rect.width == 96 ? 1 : 0, call.clip);
        }
        EXPECT_EQ(clips, c.clips) << c.name;
    }
}

TEST(Look, LabelsInkOnlyTheTextAreaInTheForegroundColour)
{
    KR::TestSupport::LStandInFrameworkApp app;
    RCPtr<KR::LVisualPartDescriptor> image(new KR::LVisualPartDescriptor);
    image->visualPart = RCPtr<KR::LVisualPart>(
        new KR::LVisualPart(u"image", PositionBitmap(2, 2, {}), 0, nullptr, 0, 0, 1.0f, nullptr));
    struct Case
    {
        const char* name;
        RCPtr<KR::LVisualPartDescriptor> foreground;
        bool inked;
        std::string thrown;
    };
    const Case cases[] = {
        {"colour part", ColourPart(0, 0, kInk, 0, 1.0f), true, ""},
        {"no colorizer", RCPtr<KR::LVisualPartDescriptor>(new KR::LVisualPartDescriptor), false, ""},
        {"image", image, false,
         "Domain Error : Bitmap fill for text foreground part not yet implemented. : KR::LLook::"
         "DrawLabelText : ControlBase\\Look : Line 293"},
    };
    for (const Case& c : cases)
    {
        KR::Test::RendererFrame frame(100, 20);
        app.measurementRenderer = frame.renderer;
        const RCPtr<LLook> look = LLook::Create(Skin(c.foreground), false);
        look->SetSize(100, 20);
        look->SetText(u"Hg Hg Hg Hg Hg Hg Hg Hg Hg");
        look->SetFont(KR::LFont::GetFont(u"DejaVu Sans", 9.0f, 0));
        KR::LRegion dirty;
        dirty.AddRect({0, 0, 100, 20});
        frame.Start();
        EXPECT_EQ(ThrownText([&] { look->DrawLabelText(*frame.renderer, dirty, {}); }), c.thrown) << c.name;
        frame.Finish();
        const Ink ink = FindInk(frame, 100, 20, kInk);
        EXPECT_EQ(ink.solid > 10, c.inked) << c.name;
        if (c.inked)
        {
            const RectI& b = ink.bounds;
            EXPECT_TRUE(b.x >= 8 && b.y >= 3 && b.x + b.width <= 92 && b.y + b.height <= 17) << c.name;
        }
    }
}

} // namespace
