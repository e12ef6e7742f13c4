// The control factory: its class registry, descriptor lookups and skin font.

#include "kr/ui/ControlFactory.h"
#include "kr/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace
{

using namespace KR;

// Registry entries are only compared, never called: the control core is not here.
[[noreturn]] RCPtr<LControl> CreateFirst(const RCPtr<LControl>&, const RCPtr<LControlDescriptor>&)
{
    throw std::logic_error("not called");
}
[[noreturn]] RCPtr<LControl> CreateSecond(const RCPtr<LControl>&, const RCPtr<LControlDescriptor>&)
{
    throw std::logic_error("not called");
}

RCPtr<LControlFactory> LoadedFactory()
{
    RCPtr<LControlFactory> factory(new LControlFactory(String(u"PresetEditor")));
    EXPECT_EQ(factory->LoadSkins(String(u"::APP.SKINS")), kOk);
    return factory;
}

TEST(ControlFactory, AClassKeepsItsFirstCreatorAndAnUnknownClassThrowsItsText)
{
    LControlFactory factory(String(u"App"));
    EXPECT_EQ(factory.RegisterControlClass(String(u"Framework.Button"), &CreateFirst), kOk);
    EXPECT_EQ(factory.RegisterControlClass(String(u"Framework.Button"), &CreateSecond), kOk);
    ControlCreateFunction creator = nullptr;
    EXPECT_EQ(factory.GetControlCreateFunction(String(u"Framework.Button"), creator), kOk);
    EXPECT_EQ(creator, &CreateFirst);
    try
    {
        // Class names are case-sensitive.
        factory.GetControlCreateFunction(String(u"framework.button"), creator);
        FAIL() << "no throw";
    }
    catch (const std::runtime_error& e)
    {
        EXPECT_STREQ(e.what(), "Runtime Error : KR::LControlFactory::GetControlCreateFunction : "
                               "ControlBase\\ControlFactory : Line 51");
    }
    EXPECT_EQ(creator, &CreateFirst);
}

TEST(ControlFactory, FindsOnlyTopLevelNamesOfTheCurrentSkinTheLaterOfTwoFirst)
{
    RCPtr<LControlFactory> factory = LoadedFactory();
    const struct
    {
        std::int32_t skinIndex;
        const char16_t* name;
        const char16_t* foundClass; // null: nothing found
    } rows[] = {
        {0, u"x", u"Framework.Button"},
        {0, u"mainControl", u"PresetEditor.MainControl"},
        {0, u"inner", nullptr},
        {0, u"X", nullptr},
        {1, u"x", nullptr},
        {-1, u"x", nullptr},
    };
    for (const auto& row : rows)
    {
        factory->SetCurrentSkinIndex(row.skinIndex);
        const RCPtr<LControlDescriptor> found = factory->FindControlDescriptor(String(row.name));
        SCOPED_TRACE(String(row.name).ToUtf8().GetPtr() + (" in skin " + std::to_string(row.skinIndex)));
        if (row.foundClass)
        {
            ASSERT_TRUE(found);
            EXPECT_EQ(found->GetClass(), row.foundClass);
        }
        else
        {
            EXPECT_FALSE(found);
        }
    }
}

TEST(ControlFactory, ACloneHasItsOwnChildrenArrayOverTheSameChildrenAndItsOwnName)
{
    RCPtr<LControlFactory> factory = LoadedFactory();
    const RCPtr<LControlDescriptor> source = factory->FindControlDescriptor(String(u"mainControl"));
    ASSERT_TRUE(source);
    source->SetCreateFunction(&CreateFirst);

    const RCPtr<LControlDescriptor> shared =
        factory->CloneControlDescriptor(source, nullptr, String(u"copy"));
    ASSERT_TRUE(shared);
    EXPECT_EQ(shared->GetName(), u"copy");
    EXPECT_EQ(source->GetName(), u"mainControl");
    EXPECT_EQ(shared->GetClass(), source->GetClass());
    EXPECT_EQ(shared->GetParent(), source->GetParent());
    EXPECT_EQ(shared->GetSkin(), source->GetSkin());
    EXPECT_EQ(shared->GetLayout(), source->GetLayout());
    EXPECT_EQ(shared->GetCreateParams(), source->GetCreateParams());
    EXPECT_EQ(shared->GetCreateFunction(), &CreateFirst);
    ASSERT_EQ(shared->GetChildren().GetCount(), 1u);
    EXPECT_EQ(shared->GetChildren().GetAt(0), source->GetChildren().GetAt(0));
    EXPECT_NE(shared->GetChildren().GetData(), source->GetChildren().GetData());

    const RCPtr<LLayoutDescriptor> layout = LLayoutDescriptor::Create();
    const RCPtr<LControlDescriptor> placed = factory->CloneControlDescriptor(source, layout, String(u"item"));
    EXPECT_EQ(placed->GetLayout(), layout);
    EXPECT_FALSE(factory->CloneControlDescriptor(nullptr, layout, String(u"none")));
}

TEST(ControlFactory, SkinFontCopiesOnlyTheFieldsTheSkinSets)
{
    const struct
    {
        const char* skinAttributes;
        Result result;
        const char16_t* name;
        float size;
        std::int32_t style;
    } rows[] = {
        {R"(FontName="Arial" FontSize="0.5" FontStyle="2")", kOk, u"Arial", 7.0f, 2},
        {R"(FontSize="1")", kOk, u"untouched", 1.0f, -5},
        {R"(FontStyle="0")", kOk, u"untouched", 7.0f, 0},
        {"", kNothingDone, u"untouched", 7.0f, -5},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.skinAttributes);
        LControlFactory factory(String(u"App"));
        const std::string doc =
            std::string("<R><Skins><Skin Name=\"s\" ") + row.skinAttributes + "/></Skins></R>";
        factory.GetReader().ReadSkins(doc.data(), doc.size());
        String name(u"untouched");
        float size = 7.0f;
        std::int32_t style = -5;
        EXPECT_EQ(factory.GetCurrentSkinFont(name, size, style), row.result);
        EXPECT_EQ(name, row.name);
        EXPECT_EQ(size, row.size);
        EXPECT_EQ(style, row.style);
    }
    String name;
    float size = 0.0f;
    std::int32_t style = 0;
    EXPECT_EQ(LControlFactory(String(u"App")).GetCurrentSkinFont(name, size, style), kNothingDone);
}

} // namespace
