#include "kr/ui/Look.h"

#include "support/FrameworkAppStandIn.h"
#include "support/LookStandIn.h"
#include "support/RecordingRenderer.h"

#include <gtest/gtest.h>

namespace
{

using KR::LLook;
using KR::LLookDescriptor;
using KR::RCPtr;

RCPtr<LLookDescriptor> Descriptor(bool withText)
{
    RCPtr<LLookDescriptor> descriptor(new LLookDescriptor(u"normal"));
    descriptor->text.hasTextProperties = withText;
    return descriptor;
}

TEST(Look, UntilPartsArePlacedTheClientAreaIsTheWholeSizeAndNothingShows)
{
    EXPECT_FALSE(LLook::Create(nullptr, false));
    const RCPtr<LLook> look = LLook::Create(Descriptor(false), false);
    ASSERT_TRUE(look);
    EXPECT_TRUE(look->SetSize(120, 40));
    EXPECT_EQ(look->GetClientRect(), (KR::RectI{0, 0, 120, 40}));
    EXPECT_EQ(look->GetColorAtPoint({5, 5}) >> 24, 0u);
    KR::TestSupport::LRecordingRenderer renderer;
    EXPECT_EQ(look->DrawLabelText(renderer, KR::LRegion(), {}), 1);
    EXPECT_TRUE(renderer.calls.empty());
}

TEST(Look, TextAndFontAnswerWhetherTheyChangedAnything)
{
    const RCPtr<LLook> plain = LLook::Create(Descriptor(false), false);
    const RCPtr<LLook> label = LLook::Create(Descriptor(true), false);
    const RCPtr<KR::LFont> font = KR::LFont::GetFont(u"Look Face", 9.0f, 0);
    struct Case
    {
        const char* name;
        const RCPtr<LLook>& look;
        const char16_t* text;
        KR::Result textResult;
    };
    const Case cases[] = {
        {"a look without text", plain, u"A", 1},
        {"a new text", label, u"A", 1},
        {"the same text", label, u"A", 0},
        {"another text", label, u"B", 1},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.look->SetText(c.text), c.textResult) << c.name;
    }
    EXPECT_EQ(plain->SetFont(font), 1);
    EXPECT_EQ(label->SetFont(font), 1);
    EXPECT_EQ(label->SetFont(KR::LFont::GetFont(u"LOOK FACE", 9.0f, 0)), 0);
}

TEST(Look, LinesBreakAtLineEndsAndAreMeasuredByTheApplicationsRenderer)
{
    const RCPtr<LLook> label = LLook::Create(Descriptor(true), false);
    label->SetText(u"ab\r\ncde\n");
    EXPECT_EQ(label->GetLineCount(), 3u);
    EXPECT_EQ(label->GetLineWidth(1), 0.0f);

    KR::TestSupport::LStandInFrameworkApp app;
    app.measurementRenderer =
        RCPtr<KR::TestSupport::LRecordingRenderer>(new KR::TestSupport::LRecordingRenderer);
    label->SetFont(KR::LFont::GetFont(u"Look Face", 9.0f, 0));
    EXPECT_EQ(label->GetLineWidth(0), 14.0f);
    EXPECT_EQ(label->GetLineWidth(1), 21.0f);
    EXPECT_EQ(label->GetLineWidth(2), 0.0f);
    EXPECT_EQ(label->GetLineWidth(3), 0.0f);
}

TEST(Look, StandInsAnswerWhatTheTestSets)
{
    KR::TestSupport::LookStandIns looks;
    const RCPtr<LLook> look = LLook::Create(Descriptor(true), true);
    ASSERT_EQ(looks.made.size(), 1u);
    EXPECT_TRUE(looks.made[0]->GetWrap());
    look->SetSize(50, 20);
    looks.made[0]->clientRect = KR::RectI{2, 3, 40, 10};
    looks.made[0]->color = 0xFF102030;
    looks.made[0]->charWidth = 6.0f;
    look->SetText(u"abc\nde");
    EXPECT_EQ(look->GetClientRect(), (KR::RectI{2, 3, 40, 10}));
    EXPECT_EQ(look->GetColorAtPoint({0, 0}), 0xFF102030u);
    EXPECT_EQ(look->GetLineWidth(0), 18.0f);
    EXPECT_EQ(look->GetLineWidth(1), 12.0f);
}

} // namespace
