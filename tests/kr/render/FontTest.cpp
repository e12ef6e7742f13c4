#include "kr/render/Font.h"

#include "kr/render/MeasurementRenderer.h"
#include "support/RecordingRenderer.h"

#include <gtest/gtest.h>

namespace
{

using KR::LFont;
using KR::RCPtr;

TEST(FontCache, EqualDescriptionsShareOneFontWithTheFaceCaseIgnored)
{
    const RCPtr<LFont> arial = LFont::GetFont(u"Arial", 12.0f, 0);
    struct Case
    {
        const char* name;
        const char16_t* face;
        float size;
        std::int32_t style;
        bool same;
    };
    const Case cases[] = {
        {"same description", u"Arial", 12.0f, 0, true},
        {"face in other case", u"arial", 12.0f, 0, true},
        {"size a hair larger", u"Arial", 12.0001f, 0, false},
        {"bold", u"Arial", 12.0f, 1, false},
        {"other face", u"Arial Black", 12.0f, 0, false},
    };
    for (const Case& c : cases)
    {
        const RCPtr<LFont> font = LFont::GetFont(c.face, c.size, c.style);
        EXPECT_EQ(font == arial, c.same) << c.name;
        EXPECT_EQ(LFont::IsDifferent(font, arial), !c.same || font->GetFaceName() != arial->GetFaceName())
            << c.name;
    }
    EXPECT_EQ(arial->GetFaceName(), KR::String(u"Arial"));
}

TEST(FontCache, AFontReleasedByAllHoldersLeavesAndComesBackWithAHigherID)
{
    const std::uint32_t cached = LFont::GetCacheCount();
    RCPtr<LFont> font = LFont::GetFont(u"Courier", 9.0f, 2);
    RCPtr<LFont> second = LFont::GetFont(u"COURIER", 9.0f, 2);
    const std::int32_t id = font->GetUniqueID();
    EXPECT_EQ(LFont::GetCacheCount(), cached + 1);
    font = nullptr;
    EXPECT_EQ(LFont::GetCacheCount(), cached + 1);
    second = nullptr;
    EXPECT_EQ(LFont::GetCacheCount(), cached);
    font = LFont::GetFont(u"Courier", 9.0f, 2);
    EXPECT_GT(font->GetUniqueID(), id);
}

class MeasuringSource : public KR::IMeasurementRendererSource
{
public:
    RCPtr<KR::LMeasurementRenderer> GetMeasurementRenderer() override { return renderer; }
    RCPtr<KR::TestSupport::LRecordingRenderer> renderer{new KR::TestSupport::LRecordingRenderer};
};

TEST(FontCache, MetricsReadZeroWithoutARendererAndAreMeasuredOnceWithOne)
{
    const RCPtr<LFont> font = LFont::GetFont(u"Metrics Face", 10.0f, 0);
    EXPECT_EQ(font->GetLineHeight(), 0);
    MeasuringSource source;
    KR::SetMeasurementRendererSource(&source);
    EXPECT_EQ(font->GetLineHeight(), 14);
    EXPECT_EQ(font->GetAscent(), -11);
    EXPECT_EQ(font->GetDescent(), 3);
    EXPECT_EQ(source.renderer->metricsCalls, 1);
    KR::SetMeasurementRendererSource(nullptr);
    EXPECT_EQ(font->GetLineHeight(), 14);
}

} // namespace
