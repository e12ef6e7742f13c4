#include "kr/ui/NotificationParams.h"

#include "kr/ui/Control.h"

namespace KR
{

RCPtr<LPointParam> LPointParam::Create(const PointI& point)
{
    return RCPtr<LPointParam>(new LPointParam(point));
}

RCPtr<LPointWithModifiersParam> LPointWithModifiersParam::Create(const PointI& point, std::uint32_t modifiers)
{
    return RCPtr<LPointWithModifiersParam>(new LPointWithModifiersParam(point, modifiers));
}

RCPtr<LMouseButtonParam> LMouseButtonParam::Create(std::uint32_t button, const PointI& point,
                                                   std::uint32_t modifiers, bool doubleClick,
                                                   std::uint32_t buttons)
{
    return RCPtr<LMouseButtonParam>(new LMouseButtonParam(button, point, modifiers, doubleClick, buttons));
}

RCPtr<LMouseWheelParam> LMouseWheelParam::Create(const PointI& point, std::uint32_t modifiers,
                                                 std::uint32_t direction)
{
    return RCPtr<LMouseWheelParam>(new LMouseWheelParam(point, modifiers, direction));
}

LKeyParam::LKeyParam(const KeyCode& keyCode, bool sibling) : key(keyCode), fromSibling(sibling)
{
}
LKeyParam::~LKeyParam() = default;

RCPtr<LKeyParam> LKeyParam::Create(const KeyCode& key, bool fromSibling)
{
    return RCPtr<LKeyParam>(new LKeyParam(key, fromSibling));
}

LSiblingKeyParam::LSiblingKeyParam(const KeyCode& keyCode, const RCPtr<LControl>& from)
    : key(keyCode), source(from)
{
}
LSiblingKeyParam::~LSiblingKeyParam() = default;

RCPtr<LSiblingKeyParam> LSiblingKeyParam::Create(const KeyCode& key, const RCPtr<LControl>& source)
{
    return RCPtr<LSiblingKeyParam>(new LSiblingKeyParam(key, source));
}

RCPtr<LConditionsParam> LConditionsParam::Create(std::uint32_t previous, std::uint32_t current,
                                                 const PointD& point)
{
    return RCPtr<LConditionsParam>(new LConditionsParam(previous, current, point));
}

LMenuActivationParam::LMenuActivationParam(const RCPtr<LMenuDescriptor>& chosenMenu, std::int32_t itemIndex)
    : menu(chosenMenu), index(itemIndex)
{
}
LMenuActivationParam::~LMenuActivationParam() = default;

RCPtr<LMenuActivationParam> LMenuActivationParam::Create(const RCPtr<LMenuDescriptor>& menu,
                                                         std::int32_t index)
{
    return RCPtr<LMenuActivationParam>(new LMenuActivationParam(menu, index));
}

RCPtr<LValueParam> LValueParam::Create(double normalized, double value)
{
    return RCPtr<LValueParam>(new LValueParam(normalized, value));
}

LMenuItemUpdater::LMenuItemUpdater(const RCPtr<LControl>& owner) : control(owner)
{
}
LMenuItemUpdater::~LMenuItemUpdater() = default;

RCPtr<LMenuItemUpdater> LMenuItemUpdater::Create(const RCPtr<LControl>& control)
{
    return RCPtr<LMenuItemUpdater>(new LMenuItemUpdater(control));
}

} // namespace KR
