#include "kr/ui/HotKeyMap.h"

#include "kr/ui/HotKeyTestSupport.h"
#include "kr/ui/StringTable.h"

#include <gtest/gtest.h>

namespace
{

using KR::HotKeyMap;
using KR::KeyCode;
using KR::LStringTable;
using KR::RCPtr;
using KR::String;
namespace Flag = KR::ModifierFlag;

KeyCode KeyDown(std::uint8_t virtualKey, std::uint32_t modifiers)
{
    return KeyCode::FromVirtualKey(virtualKey, true, 0, modifiers);
}

TEST(HotKeyMap, ReadsTheGlobalBindingsOfTheApplicationTable)
{
    HotKeyMap map;
    EXPECT_FALSE(map.HasHotKey(u"NID_EDIT_PASTE_REQ"));
    ASSERT_EQ(map.AddFromStringTable(KR::Testing::ApplicationHotKeyTable(), u"GHK"), KR::kOk);
    EXPECT_TRUE(map.HasHotKey(u"NID_EDIT_PASTE_REQ"));

    EXPECT_EQ(map.FindNotification(KeyDown(0x2E, 0)), String(u"NID_EDIT_DELETE_REQ"));
    const KeyCode copy = KR::KeyCodeFromText(map, u"NID_EDIT_COPY_REQ");
    EXPECT_EQ(copy, (KeyCode{0x21430000, 0, 0}));
    EXPECT_EQ(KR::KeyCodeFromText(map, u"NID_NOT_BOUND"), KeyCode{});
}

TEST(HotKeyMap, OnlyIdsStartingWithThePrefixAndADotBindTheNameAfterTheLastDot)
{
    RCPtr<LStringTable> table(new LStringTable);
    table->SetString(u"LHK.A.NID_TEST_B", u"VKEY_F2");
    table->SetString(u"XLHK.NID_TEST_C", u"VKEY_F3");
    table->SetString(u"LHKNID_TEST_D", u"VKEY_F4");
    table->SetString(u"LHK.", u"VKEY_F5");
    table->SetString(u"lhk.NID_TEST_E", u"VKEY_F6");
    HotKeyMap map;
    EXPECT_EQ(map.AddFromStringTable(RCPtr<LStringTable>(), u"LHK"), KR::kInvalidArg);
    ASSERT_EQ(map.AddFromStringTable(table, u"LHK"), KR::kOk);
    EXPECT_EQ(map.FindNotification(KeyDown(0x71, 0)), String(u"NID_TEST_B"));
    for (std::uint8_t key = 0x72; key <= 0x75; ++key)
    {
        EXPECT_TRUE(map.FindNotification(KeyDown(key, 0)).IsEmpty()) << int(key);
    }
}

TEST(HotKeyMap, IdsAroundThePrefixInTheTablesOrderBindOnlyAfterThePrefixAndADot)
{
    // Ids that sort just before, among and just after "LHK." in code-unit order.
    struct Row
    {
        const char16_t* id;
        std::uint8_t key;
        const char16_t* bound; // null: binds nothing
    };
    const Row rows[] = {
        {u"LHJ.NID_TEST_A", 0x70, nullptr},
        {u"LHK", 0x71, nullptr},
        {u"LHK-.NID_TEST_B", 0x72, nullptr},
        {u"LHK.NID_TEST_C", 0x73, u"NID_TEST_C"},
        {u"LHK.\u00e9.NID_TEST_D", 0x74, u"NID_TEST_D"},
        {u"LHK/.NID_TEST_E", 0x75, nullptr},
        {u"LHKA.NID_TEST_F", 0x76, nullptr},
        {u"LHL.NID_TEST_G", 0x77, nullptr},
        {u"\uffffLHK.NID_TEST_H", 0x78, nullptr},
    };
    RCPtr<LStringTable> table(new LStringTable);
    for (const Row& row : rows)
    {
        table->SetString(row.id, String::Format(u"VKEY_F%d", row.key - 0x70 + 1));
    }
    HotKeyMap map;
    ASSERT_EQ(map.AddFromStringTable(table, u"LHK"), KR::kOk);
    for (const Row& row : rows)
    {
        const String found = map.FindNotification(KeyDown(row.key, 0));
        if (row.bound)
        {
            EXPECT_EQ(found, String(row.bound)) << int(row.key);
        }
        else
        {
            EXPECT_TRUE(found.IsEmpty()) << int(row.key);
        }
    }
}

TEST(HotKeyMap, FirstBindingOfAMatchingKeyWinsAndUnknownNamesStillOccupyTheirCode)
{
    RCPtr<LStringTable> table(new LStringTable);
    // Read in id order: A before B before C before D.
    table->SetString(u"GHK.NID_TEST_A", u"Ctrl+VKEY_NOPE");
    table->SetString(u"GHK.NID_TEST_B", u"Ctrl+VKEY_WHAT");
    table->SetString(u"GHK.NID_TEST_C", u"[97]");
    table->SetString(u"GHK.NID_TEST_D", u"Shift+a");
    HotKeyMap map;
    map.AddFromStringTable(table, u"GHK");
    EXPECT_TRUE(map.HasHotKey(u"NID_TEST_A"));
    EXPECT_FALSE(map.HasHotKey(u"NID_TEST_B"));
    EXPECT_TRUE(map.HasHotKey(u"NID_TEST_C"));
    EXPECT_FALSE(map.HasHotKey(u"NID_TEST_D"));
    // The unknown key is never produced by a key event.
    EXPECT_TRUE(map.FindNotification(KeyDown(0, Flag::kCtrl | Flag::kAlt)).IsEmpty());
    // The character binding answers with or without Ctrl or Shift, not with Alt.
    EXPECT_EQ(map.FindNotification(KeyCode::FromCharacter(u'a', Flag::kCtrl)), String(u"NID_TEST_C"));
    EXPECT_EQ(map.FindNotification(KeyCode::FromCharacter(u'a', Flag::kShift)), String(u"NID_TEST_C"));
    EXPECT_TRUE(map.FindNotification(KeyCode::FromCharacter(u'a', Flag::kAlt)).IsEmpty());
}

TEST(HotKeyMap, ANotificationKeepsSeveralKeysInBindingOrder)
{
    HotKeyMap map;
    EXPECT_EQ(map.AddHotKey(KeyDown(0x2E, 0), u"NID_TEST_REMOVE"), KR::kOk);
    EXPECT_EQ(map.AddHotKey(KeyDown(0x08, 0), u"NID_TEST_REMOVE"), KR::kOk);
    EXPECT_EQ(map.AddHotKey(KeyDown(0x08, 0), u"NID_TEST_OTHER"), KR::kInvalidArg);
    EXPECT_EQ(map.AddHotKey(KeyDown(0x09, 0), u""), KR::kInvalidArg);
    EXPECT_EQ(map.AddHotKey(KeyDown(0x09, 0), nullptr), KR::kInvalidArg);

    const KR::Array<KeyCode> keys = map.GetHotKeys(u"NID_TEST_REMOVE");
    ASSERT_EQ(keys.GetCount(), 2u);
    EXPECT_EQ(keys[0].GetVirtualKey(), 0x2E);
    EXPECT_EQ(keys[1].GetVirtualKey(), 0x08);
    EXPECT_EQ(map.GetHotKeys(u"").GetCount(), 0u);
    EXPECT_FALSE(map.HasHotKey(u""));
    EXPECT_FALSE(map.HasHotKey(u"NID_TEST_OTHER"));
}

} // namespace
