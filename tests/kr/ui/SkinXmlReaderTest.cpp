// Reading a whole skin document into the skin model.

#include "kr/ui/SkinXmlReader.h"
#include "kr/ui/SkinDocuments.h"
#include "kr/ui/UiTestSupport.h"

#include <gtest/gtest.h>

namespace
{

using namespace KR;

class SampleSkin : public testing::Test
{
protected:
    void SetUp() override
    {
        reader.SetImagePathPrefix(String(u"img/"));
        ASSERT_EQ(reader.ReadSkins(KRTest::kSampleSkin, 0), kOk);
        ASSERT_EQ(reader.GetSkinRoots().GetCount(), 1u);
        root = reader.GetSkinRoots().GetAt(0);
        ASSERT_EQ(root->GetChildren().GetCount(), 1u);
        main = root->GetChildren().GetAt(0);
    }

    const RCPtr<LControlDescriptor>& Child(std::uint32_t i) const { return main->GetChildren().GetAt(i); }

    SkinXmlReader reader{String(u"Unnamed")};
    RCPtr<LControlDescriptor> root;
    RCPtr<LControlDescriptor> main;
};

TEST_F(SampleSkin, TheRootIsAnApplicationNamedByTheApplicationElementWithTheSkinFont)
{
    EXPECT_EQ(reader.GetApplicationName(), u"PresetEditor");
    EXPECT_EQ(root->GetClass(), u"Application");
    EXPECT_EQ(root->GetName(), u"PresetEditor");
    EXPECT_EQ(root->GetParent(), nullptr);
    ASSERT_TRUE(root->GetSkin());
    EXPECT_EQ(root->GetSkin()->font.name, u"Sans");
    EXPECT_FLOAT_EQ(root->GetSkin()->font.size, 9.5f);
    EXPECT_EQ(root->GetSkin()->font.style, 1);
}

TEST_F(SampleSkin, ATopLevelControlIgnoresVisibilityAndTabStopAndReadsItsPlacement)
{
    EXPECT_EQ(main->GetClass(), u"PresetEditor.MainControl");
    EXPECT_EQ(main->GetParent(), root.Get());
    const LLayoutDescriptor& layout = *main->GetLayout();
    EXPECT_TRUE(layout.visible);
    EXPECT_EQ(layout.tabStop, 0);
    EXPECT_EQ(layout.xPosition.reference, kPositionToParent);
    EXPECT_EQ(layout.xPosition.absolute, 16.0);
    EXPECT_FLOAT_EQ(layout.xPosition.relative, 0.5f);
    EXPECT_EQ(layout.xSize.reference, kSizeToParent);
    // Untouched fields keep the defaults.
    EXPECT_EQ(layout.ySize.absolute, 40.0);
    EXPECT_EQ(layout.yPosition.reference, kPositionToClient);
}

TEST_F(SampleSkin, AControlsSkinTakesThePendingFontAndItsLookListAndCreateParams)
{
    const LSkinDescriptor& skin = *main->GetSkin();
    EXPECT_EQ(skin.name, u"main");
    EXPECT_EQ(skin.font.name, u"Sans");
    EXPECT_FLOAT_EQ(skin.font.size, 12.0f);
    EXPECT_TRUE(skin.font.sizeIsRelative);
    EXPECT_EQ(skin.font.style, -1);
    ASSERT_TRUE(skin.lookList);
    ASSERT_EQ(skin.lookList->GetCount(), 14u);
    EXPECT_EQ(skin.lookList->GetAt(0), reader.FindLook(String(u"panel")));
    EXPECT_EQ(skin.lookList->GetAt(3), reader.FindLook(String(u"panel")));
    for (std::uint32_t i : {1u, 2u, 4u, 13u})
    {
        EXPECT_FALSE(skin.lookList->GetAt(i)) << i;
    }
    ASSERT_TRUE(main->GetCreateParams());
    String value;
    EXPECT_TRUE(main->GetCreateParams()->GetString(String(u"NOT_FOCUSABLE"), value));
    EXPECT_EQ(value, u"True");
}

TEST_F(SampleSkin, ChildrenAreOrderedByLayoutOrderKeepingDocumentOrderForTies)
{
    ASSERT_EQ(main->GetChildren().GetCount(), 3u);
    EXPECT_EQ(Child(0)->GetName(), u"b");
    EXPECT_EQ(Child(1)->GetName(), u"c");
    EXPECT_EQ(Child(2)->GetName(), u"a");
    EXPECT_EQ(Child(0)->GetParent(), main.Get());
}

TEST_F(SampleSkin, NestedControlsReadVisibilityReferencesAndOverflow)
{
    const LLayoutDescriptor& a = *Child(2)->GetLayout();
    EXPECT_FALSE(a.visible);
    EXPECT_EQ(a.tabStop, 3);
    EXPECT_EQ(a.yPosition.reference, kPositionToClient);
    EXPECT_EQ(a.xPosition.reference, kPositionToNamed);
    EXPECT_EQ(a.xPosition.referenceName, u"Self");
    EXPECT_EQ(a.xMinSize.reference, kLimitToNamed);
    EXPECT_EQ(a.xMinSize.referenceName, u"Children");
    EXPECT_EQ(a.ySize.reference, kSizeToSelf);
    EXPECT_EQ(a.xSize.reference, kSizeToNamed);
    EXPECT_EQ(a.xSize.referenceName, u"other");
    EXPECT_EQ(a.textOverflowX, kTextOverflowWrap);
    EXPECT_EQ(a.textOverflowY, kTextOverflowClip);
    // Flags are true only for "True": "true" clears the default.
    EXPECT_FALSE(Child(0)->GetLayout()->clipToParent);
    EXPECT_EQ(Child(1)->GetLayout()->textOverflowY, kTextOverflowExpand);
}

TEST_F(SampleSkin, PartsCarryImageAndMaskReferencesAndColorizers)
{
    RCPtr<LVisualPartDescriptor> part = reader.FindPart(String(u"panelBack"));
    ASSERT_TRUE(part);
    EXPECT_EQ(part->image.path, u"img/panel.png");
    EXPECT_EQ(part->image.x, 32);
    EXPECT_EQ(part->image.y, 8);
    EXPECT_EQ(part->image.width, 16);
    EXPECT_EQ(part->image.height, 16);
    EXPECT_EQ(part->mask.path, u"img/Mask.PNG");
    EXPECT_EQ(part->mask.x, 1);
    EXPECT_EQ(part->resizeType, kResizeTile);
    EXPECT_FLOAT_EQ(part->colorizerAlpha, 0.5f);
    EXPECT_EQ(part->colorizer, reader.FindColorizer(String(u"fade")));
    RCPtr<LColorizer> fade = reader.FindColorizer(String(u"fade"));
    EXPECT_EQ(fade->colorType, kColorLinearGradient);
    EXPECT_EQ(fade->gradientEndColor.GetARGB(), 0xFF202020u);
    EXPECT_FLOAT_EQ(fade->gradientStartY, 0.5f);
}

TEST_F(SampleSkin, LooksDockTheirPartsAndGiveATextBox)
{
    RCPtr<LLookDescriptor> look = reader.FindLook(String(u"panel"));
    ASSERT_TRUE(look && look->clientPart);
    EXPECT_EQ(look->clientPart->edgeMask, kDockAllEdges);
    EXPECT_EQ(look->clientPart->right, -4);
    EXPECT_FALSE(look->clientPart->widthSet);
    ASSERT_EQ(look->nonClientParts.GetCount(), 1u);
    const LDockedPart& top = *look->nonClientParts.GetAt(0);
    EXPECT_EQ(top.edgeMask, kDockLeft | kDockTop);
    EXPECT_FALSE(top.widthSet);
    EXPECT_TRUE(top.heightSet);
    EXPECT_EQ(top.height, 4);
    EXPECT_EQ(look->text.GetTextRect(100.0f, 20.0f), (TextRect{4.0f, 0.0f, 92.0f, 20.0f}));
}

// Thousands of controls name a few hundred classes: each text is held once, not per control.
TEST_F(SampleSkin, ControlsOfOneClassShareOneTextOfIt)
{
    ASSERT_EQ(main->GetChildren().GetCount(), 3u);
    for (std::uint32_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(Child(i)->GetClass(), u"Framework.Label");
        EXPECT_EQ(Child(i)->GetClass().GetPtr(), Child(0)->GetClass().GetPtr()) << i;
    }
    EXPECT_NE(main->GetClass().GetPtr(), Child(0)->GetClass().GetPtr());
}

TEST(LayoutDescriptor, DefaultsAndCloneAreFieldForFieldAndIndependent)
{
    RCPtr<LLayoutDescriptor> layout = LLayoutDescriptor::Create();
    EXPECT_TRUE(layout->visible && layout->enabled && layout->clipToParent);
    EXPECT_EQ(layout->xSize.reference, kSizeToSelf);
    EXPECT_EQ(layout->xSize.absolute, 16.0);
    EXPECT_EQ(layout->ySize.absolute, 40.0);
    EXPECT_EQ(layout->xPosition.reference, kPositionToClient);

    layout->layoutOrder = 5;
    layout->textOverflowX = kTextOverflowWrap;
    layout->xPosition.referenceName = String(u"anchor");
    RCPtr<LLayoutDescriptor> clone = layout->Clone();
    EXPECT_EQ(clone->layoutOrder, 5);
    EXPECT_EQ(clone->textOverflowX, kTextOverflowWrap);
    EXPECT_EQ(clone->GetRefCount(), 1);
    clone->visible = false;
    clone->xPosition.referenceName += u"!";
    EXPECT_TRUE(layout->visible);
    EXPECT_EQ(layout->xPosition.referenceName, u"anchor");
}

TEST(TextProperties, ALookWithoutTextPropertiesHasAnEmptyTextBox)
{
    EXPECT_EQ(LTextProperties().GetTextRect(100.0f, 20.0f), TextRect{});
}

} // namespace
