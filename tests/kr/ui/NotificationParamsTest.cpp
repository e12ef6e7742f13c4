#include "kr/ui/NotificationParams.h"

#include "kr/ui/Control.h"

#include <gtest/gtest.h>

#include <functional>

namespace KR
{
namespace
{

TEST(NotificationParams, MouseButtonCastsAlongItsChainAndKeyToNone)
{
    const RCPtr<LRefCountedObject> button(
        LMouseButtonParam::Create(MouseButton::kRight, PointI{3, 4}, ModifierFlag::kShift, true, 5));
    const RCPtr<LPointWithModifiersParam> withModifiers(button);
    const RCPtr<LPointParam> point(button);
    ASSERT_TRUE(withModifiers);
    ASSERT_TRUE(point);
    EXPECT_EQ(withModifiers->modifiers, ModifierFlag::kShift);
    EXPECT_EQ(point->GetPoint(), (PointI{3, 4}));

    const RCPtr<LRefCountedObject> key(LKeyParam::Create(KeyCode::FromCharacter(u'a', 0), false));
    EXPECT_FALSE(RCPtr<LPointParam>(key));
    EXPECT_FALSE(RCPtr<LPointWithModifiersParam>(key));
    EXPECT_FALSE(RCPtr<LMouseButtonParam>(RCPtr<LRefCountedObject>(LPointParam::Create(PointI{}))));
}

TEST(NotificationParams, SiblingKeyStartsUnhandled)
{
    EXPECT_EQ(LSiblingKeyParam::Create(KeyCode{}, nullptr)->result, -1);
}

struct PoolCase
{
    const char* name;
    std::function<void()> makeAndRelease;
    std::function<std::size_t()> blocks;
};

TEST(NotificationParams, EachPooledClassReusesItsOwnBlocks)
{
    const PoolCase cases[] = {
        {"point with modifiers",
         [] {
             LPointWithModifiersParam::Create(PointI{1, 2}, 0);
         },
         [] { return LPointWithModifiersParam::GetPool().GetBlockCount(); }},
        {"mouse button", [] { LMouseButtonParam::Create(1, PointI{}, 0, false, 1); },
         [] { return LMouseButtonParam::GetPool().GetBlockCount(); }},
        {"wheel", [] { LMouseWheelParam::Create(PointI{}, 0, WheelDirection::kLeft); },
         [] { return LMouseWheelParam::GetPool().GetBlockCount(); }},
        {"conditions", [] { LConditionsParam::Create(1, 2, PointD{}); },
         [] { return LConditionsParam::GetPool().GetBlockCount(); }},
        {"value", [] { LValueParam::Create(0.5, 10.0); },
         [] { return LValueParam::GetPool().GetBlockCount(); }},
    };
    for (const PoolCase& c : cases)
    {
        for (int i = 0; i < 10; ++i)
        {
            c.makeAndRelease();
        }
        const std::size_t settled = c.blocks();
        EXPECT_GE(settled, 1u) << c.name;
        for (int i = 0; i < 10000; ++i)
        {
            c.makeAndRelease();
        }
        EXPECT_EQ(c.blocks(), settled) << c.name;
    }
}

TEST(NotificationParams, DerivedPooledClassesDoNotUseTheBasePool)
{
    const std::size_t baseBlocks = LPointWithModifiersParam::GetPool().GetBlockCount();
    const std::size_t baseFree = LPointWithModifiersParam::GetPool().GetFreeCount();
    const std::size_t ownBlocks = LMouseButtonParam::GetPool().GetBlockCount();
    const std::size_t ownFree = LMouseButtonParam::GetPool().GetFreeCount();
    {
        const RCPtr<LMouseButtonParam> button = LMouseButtonParam::Create(1, PointI{}, 0, false, 1);
        const RCPtr<LMouseWheelParam> wheel = LMouseWheelParam::Create(PointI{}, 0, 0);
        EXPECT_EQ(LMouseButtonParam::GetPool().GetBlockCount() - LMouseButtonParam::GetPool().GetFreeCount(),
                  ownBlocks - ownFree + 1);
    }
    EXPECT_EQ(LPointWithModifiersParam::GetPool().GetBlockCount(), baseBlocks);
    EXPECT_EQ(LPointWithModifiersParam::GetPool().GetFreeCount(), baseFree);
}

} // namespace
} // namespace KR
