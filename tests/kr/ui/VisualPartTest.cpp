#include "kr/ui/VisualPart.h"

#include "kr/ui/DockedPart.h"
#include "kr/ui/VisualPartDescriptor.h"
#include "support/BitmapSourceStandIn.h"

#include <gtest/gtest.h>

namespace
{

using KR::ConstRCPtr;
using KR::LVisualPart;
using KR::LVisualPartDescriptor;
using KR::RCPtr;
using KR::TestSupport::SizedBitmapSource;

RCPtr<LVisualPartDescriptor> ImagePart(const char16_t* path)
{
    RCPtr<LVisualPartDescriptor> descriptor(new LVisualPartDescriptor);
    descriptor->name = u"face";
    descriptor->image = KR::ImageReference{path, 10, 20, 0, 0};
    descriptor->width = 99;
    descriptor->height = 99;
    return descriptor;
}

TEST(VisualPart, ImagePartsTakeTheBitmapsSizeAndNoBitmapMakesNoPart)
{
    SizedBitmapSource bitmaps({{u"::SHEET.PNG", {20, 30}}, {u"::MASK.PNG", {4, 4}}});
    const RCPtr<LVisualPartDescriptor> descriptor = ImagePart(u"::SHEET.PNG");
    descriptor->mask = KR::ImageReference{u"::MASK.PNG", 0, 0, 0, 0};
    const RCPtr<LVisualPart> part = descriptor->GetVisualPart();
    ASSERT_TRUE(part);
    EXPECT_EQ(part->GetWidth(), 20);
    EXPECT_EQ(part->GetHeight(), 30);
    EXPECT_TRUE(part->GetMask());
    EXPECT_EQ(part->GetColorAtPoint(1, 1), LVisualPart::kTransparent);

    EXPECT_FALSE(ImagePart(u"::MISSING.PNG")->GetVisualPart());
    EXPECT_FALSE(LVisualPart::Create(u"none", nullptr, 0, nullptr, 1.0f, nullptr));
    EXPECT_EQ(bitmaps.requests.size(), 3u);
}

TEST(VisualPart, ColourPartsKeepTheSkinsSizeAndTwoDockedPartsShareOne)
{
    RCPtr<LVisualPartDescriptor> descriptor(new LVisualPartDescriptor);
    descriptor->width = 7;
    descriptor->height = 5;
    descriptor->colorizer = ConstRCPtr<KR::LColorizer>(new KR::LColorizer);
    RCPtr<KR::LDockedPart> left(new KR::LDockedPart);
    RCPtr<KR::LDockedPart> right(new KR::LDockedPart);
    left->part = descriptor;
    right->part = descriptor;
    const RCPtr<LVisualPart> first = left->GetVisualPart();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->GetWidth(), 7);
    EXPECT_EQ(right->GetVisualPart(), first);
    EXPECT_EQ(first->GetDescriptor(), ConstRCPtr<LVisualPartDescriptor>(descriptor));
}

TEST(VisualPart, TheCycleWithItsDescriptorBreaksWhenTheLastOutsideHolderLetsGo)
{
    RCPtr<LVisualPartDescriptor> descriptor(new LVisualPartDescriptor);
    descriptor->colorizer = ConstRCPtr<KR::LColorizer>(new KR::LColorizer);
    RCPtr<LVisualPart> part = descriptor->GetVisualPart();
    EXPECT_EQ(descriptor->GetRefCount(), 2);
    EXPECT_EQ(part->GetInternalRefCount(), 1);
    part = nullptr;
    EXPECT_FALSE(descriptor->visualPart);
    EXPECT_EQ(descriptor->GetRefCount(), 1);
    // Asked again, the descriptor makes a new part.
    EXPECT_TRUE(descriptor->GetVisualPart());
}

} // namespace
