#include "kr/ui/VisualPart.h"

#include "LookTestSupport.h"
#include "kr/ui/VisualPartDescriptor.h"
#include "support/BitmapSourceStandIn.h"

#include <gtest/gtest.h>

namespace
{

using namespace KR::LookTest;
using KR::LVisualPart;
using KR::LVisualPartDescriptor;
using KR::RCPtr;
using KR::TestSupport::SizedBitmapSource;

TEST(VisualPart, ImagePartsTakeTheBitmapsSizeAndNoBitmapMakesNoPart)
{
    SizedBitmapSource bitmaps({{u"::SHEET.PNG", {20, 30}}, {u"::MASK.PNG", {4, 4}}});
    const auto imagePart = [](const char16_t* path)
    {
        RCPtr<LVisualPartDescriptor> descriptor(new LVisualPartDescriptor);
        descriptor->image = KR::ImageReference{path, 10, 20, 0, 0};
        return descriptor;
    };
    const RCPtr<LVisualPartDescriptor> descriptor = imagePart(u"::SHEET.PNG");
    descriptor->mask = KR::ImageReference{u"::MASK.PNG", 0, 0, 0, 0};
    const RCPtr<LVisualPart> part = descriptor->GetVisualPart();
    ASSERT_TRUE(part);
    EXPECT_EQ(part->GetWidth(), 20);
    EXPECT_EQ(part->GetHeight(), 30);
    EXPECT_TRUE(part->GetMask());

    EXPECT_FALSE(imagePart(u"::MISSING.PNG")->GetVisualPart());
    EXPECT_FALSE(LVisualPart::Create(u"none", nullptr, 0, nullptr, 1.0f, nullptr));
    EXPECT_EQ(bitmaps.requests.size(), 3u);
}

TEST(VisualPart, TheCycleWithItsDescriptorBreaksWhenTheLastOutsideHolderLetsGo)
{
    RCPtr<LVisualPartDescriptor> descriptor(new LVisualPartDescriptor);
    descriptor->colorizer = KR::ConstRCPtr<KR::LColorizer>(new KR::LColorizer);
    RCPtr<LVisualPart> part = descriptor->GetVisualPart();
    EXPECT_EQ(part->GetInternalRefCount(), 1);
    part = nullptr;
    EXPECT_FALSE(descriptor->visualPart);
    EXPECT_EQ(descriptor->GetRefCount(), 1);
}

TEST(VisualPart, FillsDrawTheirColourWholeOrCentredAtTheirOwnSize)
{
    struct Case
    {
        const char* name;
        std::int32_t resizeType;
        float alpha;
        KR::RectI filled; // empty: nothing drawn
    };
    const Case cases[] = {
        {"centred", KR::kResizeCenter, 1.0f, {7, 7, 10, 10}},
        {"stretched", KR::kResizeStretch, 1.0f, {0, 0, 25, 25}},
        {"modulation 0", KR::kResizeCenter, 0.0f, {}},
    };
    for (const Case& c : cases)
    {
        KR::Test::RendererFrame frame(25, 25);
        frame.Start();
        ColourPart(10, 10, kInk, c.resizeType, c.alpha)->GetVisualPart()->Draw(*frame.renderer, 25.0f, 25.0f);
        frame.Finish();
        const Ink ink = FindInk(frame, 25, 25, kInk);
        EXPECT_EQ(ink.solid, c.filled.width * c.filled.height) << c.name;
        EXPECT_EQ(ink.bounds, c.filled) << c.name;
    }
    KR::Test::RendererFrame frame(4, 4);
    const LVisualPart bare(u"bare", 4, 4, nullptr, 0, 1.0f, nullptr);
    EXPECT_EQ(ThrownText([&] { bare.Draw(*frame.renderer, 4.0f, 4.0f); }),
              "Runtime Error : KR::LVisualPart::Draw : ControlBase\\VisualPart : Line 218");
}

TEST(VisualPart, ColourAtAPointFollowsHowThePartFillsItsDestination)
{
    // Each pixel tells where it is; (2, 0) and the block at (4..5, 4..5) are transparent.
    const KR::ConstRCPtr<KR::LBitmap> sheet = PositionBitmap(8, 8, {{2, 0}, {4, 4}, {4, 5}, {5, 4}, {5, 5}});
    const auto image = [&](std::int32_t type)
    { return RCPtr<LVisualPart>(new LVisualPart(u"i", sheet, type, nullptr, 0, 0, 1.0f, nullptr)); };
    const RCPtr<LVisualPart> faded =
        ColourPart(10, 10, 0xFF3060C0, KR::kResizeStretch, 0.0f)->GetVisualPart();
    const RCPtr<LVisualPart> sizeless = ColourPart(0, 0, 0xFF3060C0, KR::kResizeTile, 1.0f)->GetVisualPart();
    struct Case
    {
        const char* name;
        RCPtr<LVisualPart> part;
        float x, y, width, height;
        std::uint32_t color;
    };
    const Case cases[] = {
        {"own size, rounded", image(KR::kResizeTile), 2.5f, 3.4f, 8.0f, 8.0f, At(3, 3)},
        {"tiled", image(KR::kResizeTile), 19.6f, 3.0f, 64.0f, 64.0f, At(4, 3)},
        {"outside", image(KR::kResizeStretch), 64.0f, 0.0f, 64.0f, 64.0f, 0x00FFFFFF},
        {"centred", image(KR::kResizeCenter), 6.0f, 5.0f, 16.0f, 16.0f, At(2, 1)},
        {"centred, off the part", image(KR::kResizeCenter), 1.0f, 5.0f, 16.0f, 16.0f, 0x00FFFFFF},
        {"magnified", image(KR::kResizeStretch), 5.0f, 9.0f, 16.0f, 16.0f, At(2, 4)},
        {"shrunk: first pixel that shows", image(KR::kResizeStretch), 1.0f, 0.0f, 4.0f, 4.0f, At(2, 1)},
        {"shrunk: a transparent block", image(KR::kResizeStretch), 2.0f, 2.0f, 4.0f, 4.0f, 0},
        {"fill at modulation 0", faded, 1.0f, 1.0f, 10.0f, 10.0f, 0x003060C0},
        {"tiled fill without a size", sizeless, 3.0f, 3.0f, 10.0f, 10.0f, 0x00FFFFFF},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.part->GetColorAtPoint(c.x, c.y, c.width, c.height), c.color) << c.name;
    }
}

TEST(VisualPart, ColorizersTintImagesAndGradientsCannotBeFilled)
{
    const KR::ConstRCPtr<KR::LBitmap> sheet = PositionBitmap(2, 2, {});
    const RCPtr<LVisualPartDescriptor> solid = ColourPart(4, 4, 0xFF000000, KR::kResizeStretch, 1.0f);
    const LVisualPart tinted(u"t", sheet, 0, solid->colorizer, 0, 0, 1.0f, nullptr);
    EXPECT_EQ(tinted.GetColorAtPoint(1, 1), 0xFF000000u);
    EXPECT_FALSE(solid->GetVisualPart()->GetBitmap());

    RCPtr<KR::LColorizer> gradient(new KR::LColorizer);
    gradient->colorType = KR::kColorLinearGradient;
    gradient->gradientEndColor = KR::ColorF::FromARGB(0xFF0000FF);
    EXPECT_EQ(
        ThrownText([&] { LVisualPart(u"g", 4, 4, gradient, 0, 1.0f, nullptr); }),
        "Domain Error : KR::LBitmap::CreateGradientFilledBitmap : Utilities\\Graphics\\Bitmap : Line 354");
}

} // namespace
