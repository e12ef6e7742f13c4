#include "kr/render/MenuDescriptor.h"

#include "support/RecordingMenuBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using KR::LMenuDescriptor;
using KR::LMenuItemDescriptor;
using KR::RCPtr;
using KR::String;
using Entries = std::vector<std::pair<std::u16string, std::u16string>>;

KR::MenuStringPairs Pairs(const Entries& entries)
{
    KR::MenuStringPairs pairs;
    for (const auto& [id, text] : entries)
    {
        pairs.AddItem({String(std::u16string_view(id)), String(std::u16string_view(text))});
    }
    return pairs;
}

// One line per row, depth first: label|help|command|enabled checked separator @depth.
void Flatten(const LMenuDescriptor& menu, int depth, std::vector<std::u16string>& rows)
{
    for (std::uint32_t i = 0; i < menu.GetItemCount(); ++i)
    {
        const LMenuItemDescriptor& row = *menu.GetItem(i);
        rows.push_back(std::u16string(row.GetLabel().GetView()) + u"|" +
                       std::u16string(row.GetHelp().GetView()) + u"|" +
                       std::u16string(row.GetCommand().GetView()) + u"|" + char16_t(u'0' + row.IsEnabled()) +
                       char16_t(u'0' + row.IsChecked()) + char16_t(u'0' + row.IsSeparator()) + u"@" +
                       char16_t(u'0' + depth));
        Flatten(row, depth + 1, rows);
    }
}

std::vector<std::u16string> Build(const Entries& entries)
{
    RCPtr<LMenuDescriptor> menu;
    KR::BuildMenuFromStringTable(menu, Pairs(entries));
    std::vector<std::u16string> rows;
    Flatten(*menu, 0, rows);
    return rows;
}

struct BuildCase
{
    const char* name;
    Entries entries;
    std::vector<std::u16string> rows;
};

TEST(BuildMenuFromStringTable, BuildsRowsFromEntries)
{
    const BuildCase cases[] = {
        {"id without a dot is ignored", {{u"LABEL", u"x"}, {u"00.NID_A", u"A"}}, {u"A||NID_A|100@0"}},
        {"shipped context menu",
         {{u"00.NID_MENU_FILE_SEND_PRESET_TO_DEVICE", u"Send Preset| Send this preset to the controller."},
          {u"01.NID_APP_EXIT_REQ", u"Exit|Exit Vantor Preset Editor"},
          {u"02.-", u"ignored|text"},
          {u"03.NID_MENU_HELP_OPEN_USER_GUIDE_REQ", u"Open User Guide"},
          {u"04.NID_X", u"A|b|c"}},
         {u"Send Preset| Send this preset to the controller.|NID_MENU_FILE_SEND_PRESET_TO_DEVICE|100@0",
          u"Exit|Exit Vantor Preset Editor|NID_APP_EXIT_REQ|100@0", u"|||101@0",
          u"Open User Guide||NID_MENU_HELP_OPEN_USER_GUIDE_REQ|100@0", u"A|b|c|NID_X|100@0"}},
        {"gap, repeat and late start drop entries",
         {{u"00.SUB.", u"Sub|h"},
          {u"SUB.00.NID_X", u"X"},
          {u"SUB.02.NID_Z", u"Z"},
          {u"00.NID_B", u"B"},
          {u"LATE.01.NID_L", u"L"}},
         {u"Sub|h||100@0", u"X||NID_X|100@1"}},
        {"key never read or only dropped",
         {{u"00.NONE.", u"None"}, {u"01.EMPTY.", u"Empty"}, {u"EMPTY.01.NID_E", u"E"}},
         {u"Empty|||100@0"}},
        {"key naming itself", {{u"00.A.", u"A"}, {u"A.00.A.", u"Again"}}, {u"A|||100@0"}},
        {"keys naming each other",
         {{u"00.A.", u"A"}, {u"A.00.B.", u"B"}, {u"B.00.A.", u"A again"}, {u"B.01.NID_Y", u"Y"}},
         {u"A|||100@0", u"B|||100@1", u"Y||NID_Y|100@2"}},
        {"index past 32 bits is out of sequence",
         {{u"00.NID_A", u"A"}, {u"4294967297.NID_B", u"B"}, {u"99999999999.X", u"X"}},
         {u"A||NID_A|100@0"}},
    };
    for (const BuildCase& c : cases)
    {
        EXPECT_EQ(Build(c.entries), c.rows) << c.name;
    }
}

TEST(BuildMenuFromStringTable, StopsAChainOfSubmenusAtTheDepthCap)
{
    Entries entries{{u"00.K0.", u"K0"}};
    for (int i = 0; i < 40; ++i)
    {
        entries.push_back({u"K" + std::u16string(String::Format(u"%d", i).GetView()) + u".00.K" +
                               std::u16string(String::Format(u"%d", i + 1).GetView()) + u".",
                           u"deeper"});
    }
    EXPECT_EQ(Build(entries).size(), KR::kMaxMenuDepth);
}

TEST(MenuDescriptor, LinksRowsToTheirHolders)
{
    RCPtr<LMenuDescriptor> menu;
    KR::BuildMenuFromStringTable(menu,
                                 Pairs({{u"00.NID_A", u"A"}, {u"01.SUB.", u"Sub"}, {u"SUB.00.NID_X", u"X"}}));
    const RCPtr<LMenuItemDescriptor> sub = menu->GetItem(1);
    EXPECT_EQ(menu->GetItem(0)->GetParent(), menu.Get());
    EXPECT_EQ(sub->GetParent(), nullptr);
    EXPECT_EQ(sub->GetItem(0)->GetParent(), sub.Get());

    const RCPtr<LMenuDescriptor> copy = menu->CopyFrom();
    std::vector<std::u16string> original, copied;
    Flatten(*menu, 0, original), Flatten(*copy, 0, copied);
    EXPECT_EQ(copied, original);
    EXPECT_EQ(copy->GetParent(), nullptr);
    EXPECT_EQ(copy->GetItem(1)->GetParent(), copy.Get());
    EXPECT_EQ(copy->GetItem(1)->GetItem(0)->GetParent(), copy->GetItem(1).Get());

    KR::MenuStringPairMap map;
    KR::BuildMenuTree(Pairs({{u"NID_A", u"A"}, {u"-", u""}}), map, menu);
    KR::BuildMenuTree(Pairs({{u"NID_A", u"A"}, {u"-", u""}}), map, menu);
    EXPECT_EQ(menu->GetItemCount(), 2u);
}

TEST(MenuDescriptor, ItemInfoAndInsertFailures)
{
    const RCPtr<LMenuDescriptor> menu = LMenuDescriptor::Create();
    EXPECT_EQ(menu->InsertItem(0, String(u"Cut"), String(u"NID_EDIT_CUT_REQ"), 0, 1), 0);
    KR::MenuItemInfo info{1, 1, String(u"stale")};
    EXPECT_EQ(menu->GetItemInfo(0, info), KR::kOk);
    EXPECT_TRUE(info.enabled == 0 && info.checked == 1 && info.label == u"Cut");
    EXPECT_EQ(menu->GetItemInfo(1, info), KR::kInvalidArg);
    EXPECT_TRUE(info.enabled == 0 && info.checked == 0 && info.label.IsEmpty());

    const RCPtr<LMenuItemDescriptor> loose = LMenuItemDescriptor::Create(String(u"x"), String(), 1, 0);
    const std::int32_t before = menu->GetRefCount();
    EXPECT_EQ(menu->InsertItem(5, loose), KR::kInvalidArg);
    EXPECT_EQ(menu->GetItemCount(), 1u);
    EXPECT_EQ(loose->GetParent(), nullptr);
    EXPECT_EQ(menu->GetRefCount(), before);
}

TEST(MenuDescriptor, TreeIsFreedWithItsLastOutsideHolder)
{
    const std::int32_t live = LMenuDescriptor::GetLiveCount();
    RCPtr<LMenuItemDescriptor> kept;
    {
        RCPtr<LMenuDescriptor> menu;
        KR::BuildMenuFromStringTable(menu, Pairs({{u"00.NID_A", u"A"},
                                                  {u"01.SUB.", u"Sub"},
                                                  {u"SUB.00.NID_X", u"X"},
                                                  {u"SUB.01.NID_Y", u"Y"}}));
        const RCPtr<LMenuDescriptor> copy = menu->CopyFrom();
        kept = menu->GetItem(1)->GetItem(0);
        EXPECT_EQ(LMenuDescriptor::GetLiveCount(), live + 10);
    }
    EXPECT_EQ(LMenuDescriptor::GetLiveCount(), live + 1);
    EXPECT_EQ(kept->GetParent(), nullptr);
    EXPECT_EQ(kept->GetRefCount(), 1);
    kept = nullptr;
    EXPECT_EQ(LMenuDescriptor::GetLiveCount(), live);
}

TEST(MenuDescriptor, InstalledBuilderReceivesTheEntries)
{
    {
        KR::Test::RecordingMenuBuilder builder;
        builder.reply = LMenuDescriptor::Create();
        RCPtr<LMenuDescriptor> menu;
        KR::BuildMenuFromStringTable(menu, Pairs({{u"00.NID_A", u"A"}}));
        EXPECT_EQ(menu, builder.reply);
        ASSERT_EQ(builder.calls.size(), 1u);
        EXPECT_EQ(builder.calls[0], (Entries{{u"00.NID_A", u"A"}}));
    }
    EXPECT_EQ(Build({{u"00.NID_A", u"A"}}).size(), 1u);
}

} // namespace
