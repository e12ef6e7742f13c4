#pragma once
// The payloads of the control framework's notifications: pointer positions and buttons,
// keys, condition changes and values. A receiver takes the notification's data as the
// class it expects (LNotification::GetDataAs<T>), which gives null for any other class:
// a mouse-button parameter is also a point-with-modifiers and a point parameter, a key
// parameter is none of them.
//
// The classes made for every pointer move, press, wheel notch, condition change and value
// change take their storage from a recycling pool of their own, so a stream of mouse
// events does not go through the general heap. Their pools have no lock: these objects
// are made and released on the UI thread only.
//
// Coordinates are whole units in the coordinates of the control that receives the
// notification (the wheel's are the window's client coordinates).

#include "kr/core/Point.h"
#include "kr/core/RCPtr.h"
#include "kr/core/RCPtrArray.h"
#include "kr/core/RefCountedObject.h"
#include "kr/render/MenuDescriptor.h"
#include "kr/thread/ReuseAllocator.h"
#include "kr/ui/KeyCode.h"

#include <cstdint>

namespace KR
{

class LControl;

// Mouse buttons, as buttons and button masks carry them.
namespace MouseButton
{
inline constexpr std::uint32_t kLeft = 1;
inline constexpr std::uint32_t kMiddle = 2;
inline constexpr std::uint32_t kRight = 4;
} // namespace MouseButton

// Wheel directions.
namespace WheelDirection
{
inline constexpr std::uint32_t kTowardsUser = 0;
inline constexpr std::uint32_t kAwayFromUser = 1;
inline constexpr std::uint32_t kLeft = 2;
inline constexpr std::uint32_t kRight = 3;
} // namespace WheelDirection

// The pools' growth step, in entries.
inline constexpr unsigned kParamPoolStep = 4;

class LPointParam : public virtual LRefCountedObject
{
public:
    static RCPtr<LPointParam> Create(const PointI& point);

    PointI GetPoint() const { return PointI{x, y}; }

    std::int32_t x = 0;
    std::int32_t y = 0;

protected:
    explicit LPointParam(const PointI& point) : x(point.x), y(point.y) {}
};

class LPointWithModifiersParam : public LPointParam,
                                 public PooledObject<LPointWithModifiersParam, kParamPoolStep, false>
{
public:
    // modifiers: the ModifierFlag bits of the keys held (KeyCode.h).
    static RCPtr<LPointWithModifiersParam> Create(const PointI& point, std::uint32_t modifiers);

    std::uint32_t modifiers = 0;

protected:
    LPointWithModifiersParam(const PointI& point, std::uint32_t modifiersHeld)
        : LPointParam(point), modifiers(modifiersHeld)
    {
    }
};

// The derived pooled classes name their own pool's operators: the inherited ones would
// see a size other than their pool's object size and send every object to the heap.
class LMouseButtonParam : public LPointWithModifiersParam,
                          public PooledObject<LMouseButtonParam, kParamPoolStep, false>
{
    using Pool = PooledObject<LMouseButtonParam, kParamPoolStep, false>;

public:
    using Pool::GetPool;
    using Pool::operator new;
    using Pool::operator delete;

    // button: the MouseButton that acted; buttons: the mask of those down now.
    static RCPtr<LMouseButtonParam> Create(std::uint32_t button, const PointI& point, std::uint32_t modifiers,
                                           bool doubleClick, std::uint32_t buttons);

    std::uint32_t button = 0;
    // Set by the root window: the press was a double click, or the release ends one.
    bool doubleClick = false;
    std::uint32_t buttons = 0;

private:
    LMouseButtonParam(std::uint32_t whichButton, const PointI& point, std::uint32_t modifiersHeld,
                      bool isDoubleClick, std::uint32_t buttonsDown)
        : LPointWithModifiersParam(point, modifiersHeld), button(whichButton), doubleClick(isDoubleClick),
          buttons(buttonsDown)
    {
    }
};

class LMouseWheelParam : public LPointWithModifiersParam,
                         public PooledObject<LMouseWheelParam, kParamPoolStep, false>
{
    using Pool = PooledObject<LMouseWheelParam, kParamPoolStep, false>;

public:
    using Pool::GetPool;
    using Pool::operator new;
    using Pool::operator delete;

    // direction: a WheelDirection.
    static RCPtr<LMouseWheelParam> Create(const PointI& point, std::uint32_t modifiers,
                                          std::uint32_t direction);

    std::uint32_t direction = WheelDirection::kTowardsUser;

private:
    LMouseWheelParam(const PointI& point, std::uint32_t modifiersHeld, std::uint32_t wheelDirection)
        : LPointWithModifiersParam(point, modifiersHeld), direction(wheelDirection)
    {
    }
};

// A key on its way from the focused control up the tree.
class LKeyParam : public virtual LRefCountedObject
{
public:
    static RCPtr<LKeyParam> Create(const KeyCode& key, bool fromSibling);
    ~LKeyParam() override;

    KeyCode key;
    // The sender passes the key on from a sibling rather than from the focused control.
    bool fromSibling = false;
    // The controls the key has passed, from the outside in: each level appends itself as
    // the key climbs, so the last entry is the control the key came from.
    RCPtrArray<LControl> controls;

private:
    LKeyParam(const KeyCode& keyCode, bool sibling);
};

// A key offered to the controls that asked for their siblings' keys.
class LSiblingKeyParam : public virtual LRefCountedObject
{
public:
    static constexpr std::int32_t kUnhandled = -1;

    static RCPtr<LSiblingKeyParam> Create(const KeyCode& key, const RCPtr<LControl>& source);
    ~LSiblingKeyParam() override;

    KeyCode key;
    // The control that passes the key on.
    RCPtr<LControl> source;
    // kUnhandled until a receiver takes the key and sets 0.
    std::int32_t result = kUnhandled;

private:
    LSiblingKeyParam(const KeyCode& keyCode, const RCPtr<LControl>& from);
};

// The condition bits of a control before and after a change (LControl::GetConditions).
class LConditionsParam : public virtual LRefCountedObject,
                         public PooledObject<LConditionsParam, kParamPoolStep, false>
{
public:
    static RCPtr<LConditionsParam> Create(std::uint32_t previous, std::uint32_t current, const PointD& point);

    std::uint32_t previous = 0;
    std::uint32_t current = 0;
    // The control's press point at the change.
    PointD point;

protected:
    LConditionsParam(std::uint32_t before, std::uint32_t now, const PointD& pressPoint)
        : previous(before), current(now), point(pressPoint)
    {
    }
};

class LValueParam : public virtual LRefCountedObject, public PooledObject<LValueParam, kParamPoolStep, false>
{
public:
    static RCPtr<LValueParam> Create(double normalized, double value);

    // 0..1.
    double normalized = 0.0;
    // The value mapped to the control's range.
    double value = 0.0;

private:
    LValueParam(double normalizedValue, double realValue) : normalized(normalizedValue), value(realValue) {}
};

// A menu row was chosen: the menu that holds it (the popup's own copy) and the row's index
// in it. The row's command is the notification's name.
class LMenuActivationParam : public virtual LRefCountedObject,
                             public PooledObject<LMenuActivationParam, kParamPoolStep, false>
{
public:
    static RCPtr<LMenuActivationParam> Create(const RCPtr<LMenuDescriptor>& menu, std::int32_t index);
    ~LMenuActivationParam() override;

    RCPtr<LMenuDescriptor> menu;
    std::int32_t index = -1;

private:
    LMenuActivationParam(const RCPtr<LMenuDescriptor>& chosenMenu, std::int32_t itemIndex);
};

// Lets menus ask a control about the state of their items; made by
// LControl::GetMenuItemUpdater.
class LMenuItemUpdater : public virtual LRefCountedObject
{
public:
    static RCPtr<LMenuItemUpdater> Create(const RCPtr<LControl>& control);
    ~LMenuItemUpdater() override;

    // The control that owns the updater. Dropped by that control when it breaks its
    // reference cycles.
    RCPtr<LControl> control;

private:
    explicit LMenuItemUpdater(const RCPtr<LControl>& owner);
};

} // namespace KR
