#include "kr/ui/KeyCode.h"

#include <gtest/gtest.h>

namespace
{

using KR::KeyCode;
namespace Flag = KR::ModifierFlag;

TEST(KeyCode, FromVirtualKeyPacksKeyDirectionModifiersSidesAndRepeat)
{
    const KeyCode down = KeyCode::FromVirtualKey(0x43, true, 0, Flag::kCtrl | Flag::kLeftCtrl);
    EXPECT_EQ(down, (KeyCode{0x21430000, KeyCode::kSideLeftCtrl, 0}));

    const KeyCode repeated = KeyCode::FromVirtualKey(0x43, true, 1, Flag::kCtrl);
    EXPECT_EQ(repeated.code, 0x21430000u);
    EXPECT_EQ(repeated.repeat, 1);

    const KeyCode up = KeyCode::FromVirtualKey(0x43, false, 1, Flag::kCtrl);
    EXPECT_EQ(up.code, 0x01430000u);
    EXPECT_EQ(up.repeat, 1);

    const std::uint32_t all = Flag::kShift | Flag::kCtrl | Flag::kAlt | Flag::kWin | Flag::kExtra;
    EXPECT_EQ(KeyCode::FromVirtualKey(0x70, true, 0, all).code, 0x3F700000u);
}

TEST(KeyCode, FromCharacterKeepsTheDownBitClearAndRepeatZero)
{
    const KeyCode a = KeyCode::FromCharacter(u'a', Flag::kShift | Flag::kRightShift | Flag::kAlt);
    EXPECT_EQ(a, (KeyCode{0x06000061, KeyCode::kSideRightShift, 0}));
    EXPECT_EQ(a.GetCharacter(), u'a');
    EXPECT_EQ(a.GetVirtualKey(), 0);
}

TEST(KeyCode, SideBitsNeedTheGeneralFlagBesideTheSideFlag)
{
    EXPECT_EQ(KeyCode::SideBits(Flag::kLeftCtrl | Flag::kRightShift | Flag::kLeftAlt | Flag::kRightWin), 0u);
    EXPECT_EQ(KeyCode::SideBits(0xFFF), 0xFFu);
    EXPECT_EQ(KeyCode::SideBits(Flag::kWin | Flag::kLeftWin | Flag::kAlt | Flag::kRightAlt), 0x60u);
    EXPECT_EQ(KeyCode::SideBits(Flag::kShift | Flag::kLeftShift | Flag::kCtrl | Flag::kRightCtrl), 0x9u);
}

TEST(KeyCodesMatch, CharactersIgnoreCtrlAndShiftButNotAlt)
{
    const KeyCode a = KeyCode::FromCharacter(u'a', 0);
    EXPECT_TRUE(KR::KeyCodesMatch(a, KeyCode::FromCharacter(u'a', Flag::kCtrl | Flag::kShift)));
    EXPECT_FALSE(KR::KeyCodesMatch(a, KeyCode::FromCharacter(u'a', Flag::kAlt)));
    EXPECT_FALSE(KR::KeyCodesMatch(a, KeyCode::FromCharacter(u'b', 0)));
}

TEST(KeyCodesMatch, KeysNeedEqualCodeWordsWhateverTheSidesAndRepeat)
{
    const KeyCode bound{0x21430000, 0, 0};
    EXPECT_TRUE(
        KR::KeyCodesMatch(bound, KeyCode::FromVirtualKey(0x43, true, 1, Flag::kCtrl | Flag::kRightCtrl)));
    EXPECT_FALSE(KR::KeyCodesMatch(bound, KeyCode::FromVirtualKey(0x43, false, 1, Flag::kCtrl)));
    EXPECT_FALSE(
        KR::KeyCodesMatch(bound, KeyCode::FromVirtualKey(0x43, true, 0, Flag::kCtrl | Flag::kShift)));
    // The default, the no-key code, is not a character: it matches only itself.
    EXPECT_EQ(KeyCode{}.code, 0x80000000u);
    EXPECT_FALSE(KR::KeyCodesMatch(KeyCode{}, KeyCode{0x81000000, 0, 0}));
    EXPECT_TRUE(KR::KeyCodesMatch(KeyCode{}, KeyCode{}));
}

// Only a key going down counts: the Tab walk starts from this test.
TEST(KeyCode, IsVirtualKeyDownWantsAVirtualKeyTheDownFlagAndNoNoKeyBit)
{
    const struct
    {
        std::uint32_t code;
        bool down;
    } rows[] = {
        {KeyCode::FromVirtualKey(0x09, true, 0, 0).code, true},
        {KeyCode::FromVirtualKey(0x09, true, 1, Flag::kShift).code, true},
        {KeyCode::FromVirtualKey(0x09, false, 1, 0).code, false},
        {KeyCode::FromCharacter(u'\t', 0).code, false},
        {KeyCode::FromCharacter(u'a', Flag::kCtrl).code | KeyCode::kDownBit, false},
        {KeyCode::kNoKey, false},
        {KeyCode::kNoKey | KeyCode::kDownBit | 0x00090000, false},
    };
    for (const auto& row : rows)
    {
        EXPECT_EQ(KeyCode::IsVirtualKeyDown(row.code), row.down) << std::hex << row.code;
    }
}

} // namespace
