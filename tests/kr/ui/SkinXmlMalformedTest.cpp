// One table of skin inputs that are broken or use things wrongly, each with what the reader
// must make of it: the result, the error it keeps, and what of the model survives.

#include "kr/ui/SkinXmlReader.h"
#include "kr/ui/UiTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace
{

using namespace KR;

struct SkinCase
{
    const char* name;
    const char* document;
    Result result;
    // Expected parser error (code, line) for malformed XML; 0 when the XML is well formed.
    std::int32_t errorCode;
    std::int32_t errorLine;
    // The start of the reader's own error text when a handler fault ended the parse.
    const char* handlerError;
    std::function<void(const SkinXmlReader&)> check;
};

void PrintTo(const SkinCase& c, std::ostream* out)
{
    *out << c.name;
}

const LControlDescriptor* TopLevel(const SkinXmlReader& reader, std::uint32_t i)
{
    const auto& root = reader.GetSkinRoots().GetAt(0);
    return root ? root->GetChildren().GetAt(i).Get() : nullptr;
}

const char kCol[] = R"(<Colorizer Name="c" ColorType="SolidFill" Color="0xFF00FF00"/>)";

std::string Doc(const std::string& body)
{
    return "<Root>\n" + body + "\n</Root>";
}

const SkinCase kCases[] = {
    {"TruncatedInsideAnElementKeepsWhatCameBefore",
     "<Root>\n<Colorizers><Colorizer Name=\"c\" ColorType=\"SolidFill\" Color=\"0xFF00FF00\"/>\n<Parts><Part "
     "Na",
     kFail, 5 /* unclosed token */, 3, nullptr,
     [](const SkinXmlReader& r) { EXPECT_TRUE(r.FindColorizer(String(u"c"))); }},
    {"WrongNestingIsAMismatchedTag", "<Root>\n<Skins><Skin>\n</Skins></Skin></Root>", kFail,
     7 /* mismatched tag */, 3, nullptr, nullptr},
    {"EmptyDocumentHasNoElement", "", kFail, 3 /* no element found */, 1, nullptr, nullptr},
    {"TextAfterTheRootIsJunk", "<Root/>\n<Second/>", kFail, 9 /* junk after document element */, 2, nullptr,
     nullptr},
    {"SubControlWithoutClassEndsTheParseWithTheQuotedError",
     "<Root><Skins><Skin>\n<SubControl Class=\"X\" Name=\"kept\"/>\n<SubControl Name=\"n\"/>\n"
     "<SubControl Class=\"X\" Name=\"after\"/></Skin></Skins></Root>",
     kFail, 0, 0,
     "Runtime Error : Bad Subcontrol Element : KR::LControlFactory::XMLStartElement : "
     "ControlBase\\ControlFactory : Line 1089",
     [](const SkinXmlReader& r)
     {
         ASSERT_TRUE(TopLevel(r, 0));
         EXPECT_EQ(TopLevel(r, 0)->GetName(), u"kept");
         EXPECT_FALSE(TopLevel(r, 1));
         EXPECT_EQ(r.GetHandlerErrorLine(), 3);
     }},
    {"LookIndexOutsideTheListEndsTheParseOutOfRange",
     R"(<Root><Looks><Look Name="l"/></Looks><LookLists><LookList Name="ll" NumLooks="2">
        <Look Name="l" Index="2"/></LookList></LookLists></Root>)",
     kFail, 0, 0, "Out of Range : ", nullptr},
    {"UnknownElementsAndAttributesAreIgnoredButTheirChildrenRead",
     R"(<Root><Wrapper Colour="red"><Colorizers><Colorizer Name="c" ColorType="SolidFill" Color="0x1" Extra="1"/>
        </Colorizers></Wrapper><colorizer Name="lower" ColorType="SolidFill" Color="0x1"/></Root>)",
     kOk, 0, 0, nullptr,
     [](const SkinXmlReader& r)
     {
         EXPECT_TRUE(r.FindColorizer(String(u"c")));
         EXPECT_FALSE(r.FindColorizer(String(u"lower")));
     }},
    {"ForwardReferencesAreDroppedWithoutAMessage",
     R"(<Root><Parts><Part Name="p" Width="1" Height="1" ResizeType="Stretch" ColorizerName="later"/></Parts>
        <Colorizers><Colorizer Name="later" ColorType="SolidFill" Color="0x1"/></Colorizers>
        <Looks><Look Name="l"><ClientPart Name="p" OffsetLeft="0" OffsetTop="0" OffsetRight="0" OffsetBottom="0"/>
        </Look></Looks></Root>)",
     kOk, 0, 0, nullptr,
     [](const SkinXmlReader& r)
     {
         EXPECT_FALSE(r.FindPart(String(u"p")));
         ASSERT_TRUE(r.FindLook(String(u"l")));
         EXPECT_FALSE(r.FindLook(String(u"l"))->clientPart);
     }},
    {"TheFirstDefinitionOfANameWins",
     R"(<Root><Colorizers><Colorizer Name="c" ColorType="SolidFill" Color="0x01"/>
        <Colorizer Name="c" ColorType="SolidFill" Color="0x02"/></Colorizers>
        <Looks><Look Name="l"/><Look Name="l"><NonClientPart Name="none"/></Look></Looks></Root>)",
     kOk, 0, 0, nullptr,
     [](const SkinXmlReader& r)
     {
         EXPECT_EQ(r.FindColorizer(String(u"c"))->color, ColorF::FromARGB(0x01000000));
         EXPECT_TRUE(r.FindLook(String(u"l")));
     }},
    {"AGradientWithoutItsEndColourIsASolidFillEndingAtZero",
     R"(<Root><Colorizer Name="g" ColorType="LinearGradient" Color="0xFF336699"
        GradientStartX="1" GradientStartY="0" GradientEndX="1" GradientEndY="1"/></Root>)",
     kOk, 0, 0, nullptr,
     [](const SkinXmlReader& r)
     {
         const LColorizer& g = *r.FindColorizer(String(u"g"));
         EXPECT_EQ(g.colorType, kColorSolidFill);
         EXPECT_FLOAT_EQ(g.gradientStartX, 1.0f);
         EXPECT_FLOAT_EQ(g.color.red, 0.2f);
         EXPECT_FLOAT_EQ(g.color.green, 0.4f);
         EXPECT_FLOAT_EQ(g.color.blue, 0.6f);
         EXPECT_FLOAT_EQ(g.color.alpha, 1.0f);
         EXPECT_EQ(g.gradientEndColor, ColorF());
     }},
    {"ElementsMissingARequiredAttributeAreIgnoredWhole",
     R"(<Root><Colorizer Name="c" Color="0x1"/><Part Name="p" Width="1" ResizeType="Tile" ImageFile="a.png"/>
        <LookList Name="ll"/></Root>)",
     kOk, 0, 0, nullptr,
     [](const SkinXmlReader& r)
     {
         EXPECT_FALSE(r.FindColorizer(String(u"c")));
         EXPECT_FALSE(r.FindPart(String(u"p")));
         EXPECT_FALSE(r.FindLookList(String(u"ll")));
     }},
    {"APartWithNothingToDrawWithIsNotRegistered",
     R"(<Root><Part Name="p" Width="1" Height="1" ResizeType="Tile" ColorizerName="missing"/></Root>)", kOk,
     0, 0, nullptr, [](const SkinXmlReader& r) { EXPECT_FALSE(r.FindPart(String(u"p"))); }},
    {"AnOversizedOrNegativeLookListIsRefused",
     R"(<Root><LookList Name="big" NumLooks="2000000000"/><LookList Name="neg" NumLooks="-1"/></Root>)", kOk,
     0, 0, nullptr,
     [](const SkinXmlReader& r)
     {
         EXPECT_FALSE(r.FindLookList(String(u"big")));
         EXPECT_FALSE(r.FindLookList(String(u"neg")));
     }},
    {"FlagsAreTrueOnlyForTheExactTextTrue",
     R"(<Root><Skins><Skin><SubControl Class="P" Name="top"><Skin>
        <SubControl Class="X" Name="a" XIsDocked="True" YIsDocked="TRUE" ClipToParent="1"/>
        <SubControl Class="X" Name="b" XIsDocked=" True" YIsDocked="True" ClipToParent="True"/>
        </Skin></SubControl></Skin></Skins></Root>)",
     kOk, 0, 0, nullptr,
     [](const SkinXmlReader& r)
     {
         const auto& children = TopLevel(r, 0)->GetChildren();
         ASSERT_EQ(children.GetCount(), 2u);
         const LLayoutDescriptor& a = *children.GetAt(0)->GetLayout();
         const LLayoutDescriptor& b = *children.GetAt(1)->GetLayout();
         EXPECT_TRUE(a.xDocked);
         EXPECT_FALSE(a.yDocked);
         EXPECT_FALSE(a.clipToParent);
         EXPECT_FALSE(b.xDocked);
         EXPECT_TRUE(b.yDocked);
         EXPECT_TRUE(b.clipToParent);
     }},
    {"SubControlsOutsideASkinAreIgnored",
     R"(<Root><SubControl Class="X" Name="stray"><SubControl Class="X" Name="inner"/></SubControl></Root>)",
     kOk, 0, 0, nullptr, [](const SkinXmlReader& r) { EXPECT_EQ(r.GetSkinRoots().GetCount(), 0u); }},
    {"ARootElementNamedApplicationIsSkippedLikeAnyOther", R"(<Application Name="Skipped"/>)", kOk, 0, 0,
     nullptr, [](const SkinXmlReader& r) { EXPECT_EQ(r.GetApplicationName(), u"Before"); }},
};

class SkinInputs : public testing::TestWithParam<SkinCase>
{
};

TEST_P(SkinInputs, ReadAsTheTableSays)
{
    const SkinCase& c = GetParam();
    SkinXmlReader reader(String(u"Before"));
    const std::string text = c.document;
    EXPECT_EQ(reader.ReadSkins(text.data(), text.size() ? text.size() : 0), c.result);
    EXPECT_EQ(reader.GetParseErrorCode(), c.errorCode);
    if (c.errorCode != 0)
    {
        EXPECT_EQ(reader.GetParseErrorLine(), c.errorLine);
        EXPECT_FALSE(reader.GetParseErrorText().IsEmpty());
    }
    if (c.handlerError)
    {
        EXPECT_EQ(reader.GetHandlerErrorText().rfind(c.handlerError, 0), 0u) << reader.GetHandlerErrorText();
    }
    else
    {
        EXPECT_TRUE(reader.GetHandlerErrorText().empty()) << reader.GetHandlerErrorText();
    }
    if (c.check)
    {
        c.check(reader);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, SkinInputs, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<SkinCase>& info)
                         { return std::string(info.param.name); });

TEST(SkinXmlReader, ASecondDocumentAddsSkinsAndKeepsTheFirstDefinitions)
{
    SkinXmlReader reader(String(u"App"));
    const std::string first = Doc(std::string(kCol) + R"(<Skins><Skin Name="one"/></Skins>)");
    const std::string second =
        Doc(R"(<Colorizer Name="c" ColorType="SolidFill" Color="0x2"/><Skins><Skin Name="two"/></Skins>)");
    ASSERT_EQ(reader.ReadSkins(first.c_str(), 0), kOk);
    ASSERT_EQ(reader.ReadSkins(second.c_str(), 0), kOk);
    ASSERT_EQ(reader.GetSkinRoots().GetCount(), 2u);
    EXPECT_EQ(reader.GetSkinRoots().GetAt(1)->GetSkin()->name, u"two");
    EXPECT_EQ(reader.GetCurrentSkinIndex(), 0);
    EXPECT_EQ(reader.FindColorizer(String(u"c"))->color.GetARGB(), 0xFF00FF00u);
}

// A skin whose controls nest `depth` deep, one SubControl a line from line 2 on.
std::string NestedSkin(int depth)
{
    std::string document = "<Root><Skins><Skin>\n";
    for (int i = 0; i < depth; ++i)
    {
        document += "<SubControl Class=\"X\" Name=\"n\">\n";
    }
    for (int i = 0; i < depth; ++i)
    {
        document += "</SubControl>";
    }
    return document + "</Skin></Skins></Root>";
}

std::int32_t DepthOf(const SkinXmlReader& reader)
{
    std::int32_t depth = 0;
    for (const LControlDescriptor* at = TopLevel(reader, 0); at != nullptr;
         at = at->GetChildren().GetCount() ? at->GetChildren().GetAt(0).Get() : nullptr)
    {
        ++depth;
    }
    return depth;
}

TEST(SkinXmlReader, ControlsNestDownToTheBoundAndADeeperSkinIsRefusedAtTheLinePast)
{
    constexpr int kBound = SkinXmlReader::kMaxControlDepth;
    struct Row
    {
        const char* guards;
        int depth;
    };
    // Freeing a tree of controls releases each level inside the one above, so a
    // document must not reach a depth whose release runs out of stack.
    const Row rows[] = {
        {"the deepest skin read", kBound},
        {"one past the bound", kBound + 1},
        {"a 3 MB document nesting 70000 deep", 70000},
    };
    for (const Row& row : rows)
    {
        SkinXmlReader reader(String(u"App"));
        const std::string document = NestedSkin(row.depth);
        if (row.depth <= kBound)
        {
            EXPECT_EQ(reader.ReadSkins(document.data(), document.size()), kOk) << row.guards;
            EXPECT_EQ(DepthOf(reader), kBound) << row.guards;
            continue;
        }
        EXPECT_EQ(reader.ReadSkins(document.data(), document.size()), kFail) << row.guards;
        EXPECT_EQ(reader.GetHandlerErrorText().rfind(
                      (std::string("Runtime Error : ") + SkinXmlReader::kNestingDetail + " : ").c_str(), 0),
                  0u)
            << reader.GetHandlerErrorText();
        EXPECT_EQ(reader.GetHandlerErrorLine(), kBound + 2) << row.guards;
        EXPECT_EQ(DepthOf(reader), kBound) << row.guards;
    }
}

TEST(XmlValues, WholeNumbersWithHexReadAtMostFourDigits)
{
    EXPECT_EQ(XmlWholeHexAllowed("0x7c04"), 31748);
    EXPECT_EQ(XmlWholeHexAllowed("0x7c041"), 31748);
    EXPECT_EQ(XmlWholeHexAllowed("0x1g"), 1);
    // ':' to '?' count by their low four bits.
    EXPECT_EQ(XmlWholeHexAllowed("0x:"), 10);
    EXPECT_EQ(XmlWholeHexAllowed("0X10"), 0);
    EXPECT_EQ(XmlWholeHexAllowed(" -12abc"), -12);
    EXPECT_EQ(XmlWhole("16.7"), 16);
    EXPECT_EQ(XmlWhole("abc"), 0);
}

TEST(XmlValues, RealsAreReadAsTheCLibraryReadsThemInAnyLocale)
{
    EXPECT_FLOAT_EQ(XmlReal(" 0.5"), 0.5f);
    EXPECT_FLOAT_EQ(XmlReal("+2.5e1x"), 25.0f);
    EXPECT_FLOAT_EQ(XmlReal("-.25"), -0.25f);
    EXPECT_EQ(XmlReal("abc"), 0.0f);
    EXPECT_EQ(XmlReal("+-1"), 0.0f);
    EXPECT_EQ(XmlReal("1e400"), 0.0f);
    EXPECT_TRUE(std::isinf(XmlReal("1e300")));
}

} // namespace
