#include "kr/ui/KeyboardState.h"

#include "kr/ui/KeyCode.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <set>

namespace
{

namespace Flag = KR::ModifierFlag;
namespace Key = KR::VirtualKey;

class HeldKeys : public KR::IKeyboardState
{
public:
    HeldKeys(std::initializer_list<std::uint8_t> keys) : mDown(keys) {}
    bool IsKeyDown(std::uint8_t virtualKey) const override { return mDown.count(virtualKey) != 0; }

private:
    std::set<std::uint8_t> mDown;
};

TEST(KeyEventModifierFlags, GeneralFlagsCarryTheSidesThatAreDown)
{
    EXPECT_EQ(KR::KeyEventModifierFlags(HeldKeys{}, false), 0u);
    EXPECT_EQ(KR::KeyEventModifierFlags(HeldKeys{Key::kControl, Key::kLeftControl}, false), 0x3u);
    EXPECT_EQ(KR::KeyEventModifierFlags(HeldKeys{Key::kShift, Key::kLeftShift, Key::kRightShift}, false),
              0x38u);
    EXPECT_EQ(KR::KeyEventModifierFlags(HeldKeys{Key::kLeftWin}, false), 0x600u);
    EXPECT_EQ(KR::KeyEventModifierFlags(HeldKeys{Key::kRightWin}, false), 0xA00u);
    // A side key without its general key (a stale side report) adds nothing.
    EXPECT_EQ(KR::KeyEventModifierFlags(HeldKeys{Key::kRightShift}, false), 0u);
}

TEST(KeyEventModifierFlags, AltCountsOnlyWhenTheEventSaysItIsHeldAndCharactersTakeNoSides)
{
    const HeldKeys alt{Key::kMenu, Key::kRightMenu};
    EXPECT_EQ(KR::KeyEventModifierFlags(alt, false), 0u);
    EXPECT_EQ(KR::KeyEventModifierFlags(alt, true), Flag::kAlt | Flag::kRightAlt);
    const std::uint32_t flags = KR::KeyEventModifierFlags(HeldKeys{Key::kControl, Key::kRightControl}, true);
    EXPECT_EQ(KR::KeyCode::FromVirtualKey(0x43, true, 0, flags),
              (KR::KeyCode{0x25430000, KR::KeyCode::kSideRightCtrl, 0}));

    const HeldKeys keys{Key::kControl, Key::kLeftControl, Key::kShift, Key::kRightShift, Key::kLeftWin};
    EXPECT_EQ(KR::CharacterModifierFlags(keys, true), Flag::kCtrl | Flag::kShift | Flag::kAlt);
    EXPECT_TRUE(KR::IsWindowsKeyDown(keys));
}

} // namespace
