#include "kr/controls/Button.h"

#include "kr/controls/OwnHandlers.h"
#include "kr/ui/ControlDescriptor.h"
#include "kr/ui/NotificationParams.h"
#include "kr/ui/RootWindowServices.h"

namespace KR
{

LButton::LButton(const RCPtr<LControl>& parent, const String& name) : LControl(parent, name)
{
}

LButton::~LButton() = default;

Result LButton::Receive(const RCPtr<LNotificationDistributor>& sender,
                        const RCPtr<LNotification>& notification)
{
    const Result handled = OfferToOwnHandlers(mHandler, *this, sender, notification);
    return handled != 0 ? handled : LControl::Receive(sender, notification);
}

Result LButton::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                          NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LControl::UnregisterForNotification(sender, name);
}

// ---- creation ------------------------------------------------------------------------------

Result LButton::Initialize()
{
    const Result result = LControl::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mHandler = LNotificationHandler<LButton>::Create(this);
    ThrowIfFailed(mHandler->AddHandler(&LButton::OnSimulateClickNotification, u"NID_SIMULATE_CLICK"),
                  " : KR::LButton::Initialize : Controls\\Button : Line 50");
    const ConstRCPtr<LControlDescriptor>& descriptor = GetControlDescriptor();
    if (descriptor && descriptor->GetCreateParams())
    {
        bool present = false;
        const bool autoValueSet =
            CreateParamIsTrue(descriptor->GetCreateParams(), u"AUTO_VALUE_SET", &present);
        if (present)
        {
            mAutoValueSet = autoValueSet;
        }
        const bool radio = CreateParamIsTrue(descriptor->GetCreateParams(), u"IS_RADIO", &present);
        if (present)
        {
            mIsRadio = radio;
        }
    }
    return kOk;
}

// ---- state to look ---------------------------------------------------------------------------

void LButton::OnValueChanged()
{
    const RCPtr<LControl>& parent = GetParent();
    if (mIsRadio && GetValue() >= 0.5 && parent)
    {
        LControl::ChildControlList& siblings = parent->GetChildren();
        for (std::uint32_t i = siblings.GetCount(); i-- > 0;)
        {
            // Taken before SetValue: a sibling's change may reorder nothing, but holds it alive.
            const RCPtr<LControl> child = siblings.GetAt(i, kInsertionOrder);
            LButton* sibling = dynamic_cast<LButton*>(child.Get());
            if (sibling && sibling != this && sibling->mIsRadio)
            {
                sibling->SetValue(0.0);
            }
        }
    }
    UpdateLook();
}

Result LButton::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    if (!conditions)
    {
        return kInvalidArg;
    }
    const std::uint32_t turnedOn = conditions->current & ~conditions->previous;
    const std::uint32_t turnedOff = conditions->previous & ~conditions->current;
    if (autoRepeat && (turnedOn & Condition::kHoverOrForced) != 0)
    {
        // The time spent outside does not count against the countdown.
        mLastRepeatTick = SecondsNow();
    }
    else if ((turnedOn & Condition::kLeftPressed) != 0)
    {
        if (autoRepeat && IsEnabled(true) && !mRepeating)
        {
            mRepeating = true;
            HoldIdleWhileBusy();
            mLastRepeatTick = SecondsNow();
            mRepeatCountdown = mRepeatDelay;
            SendNotificationByName(u"NID_BUTTON_AUTOREPEAT");
        }
    }
    else if ((turnedOff & Condition::kCapture) != 0 && autoRepeat && mRepeating)
    {
        SetRepeating(false);
    }
    UpdateLook();
    return kOk;
}

void LButton::SetEnabled(bool enabled)
{
    LControl::SetEnabled(enabled);
    UpdateLook();
}

void LButton::UpdateLook()
{
    if (mouseTransparent || mSimulatedPressShowing)
    {
        return;
    }
    const bool on = GetValue() >= 0.5;
    const std::uint32_t conditions = GetConditions();
    const bool over = (conditions & Condition::kHover) != 0;
    const bool captured = (conditions & Condition::kCapture) != 0;
    // Held down, whether or not the pointer has moved since the press: the framework
    // marks the drag only once it has.
    const bool dragged = (conditions & (Condition::kLeftPressed | Condition::kLeftDrag)) != 0;
    std::int32_t look = kDisabledLook;
    if (IsEnabled(true))
    {
        if (!(captured && dragged))
        {
            look = over && !captured ? kHoverLook : kNormalLook;
        }
        else
        {
            look = !over && !pressedWhenDraggedOff ? kHoverLook : kPressedLook;
        }
        if ((conditions & Condition::kHasFocus) != 0)
        {
            look += kFocusedLooks;
        }
    }
    SetLookWeight(look + (on ? kOnLooks : 0), 1.0f, true);
}

// ---- input -----------------------------------------------------------------------------------

RCPtr<LControl> LButton::HitTest(const PointI& point, PointI& localPoint, bool visibleOnly)
{
    return mouseTransparent ? nullptr : LControl::HitTest(point, localPoint, visibleOnly);
}

Result LButton::OnBeforeLeftClick(const RCPtr<LMouseButtonParam>&)
{
    if (mAutoValueSet)
    {
        SetValue(!mIsRadio && GetValue() >= 0.5 ? 0.0 : 1.0);
    }
    return kOk;
}

Result LButton::OnKeyDown(const RCPtr<LKeyParam>& key)
{
    if (key && key->key.code == kEnterKey)
    {
        SimulateClick();
        return kOk;
    }
    return kNothingDone;
}

Result LButton::OnSimulateClickNotification(const RCPtr<LNotificationDistributor>&,
                                            const RCPtr<LNotification>&)
{
    if (IsEnabled(true))
    {
        SimulateClick();
    }
    return 1;
}

void LButton::SimulateClick()
{
    const RCPtr<LControl> self(this);
    if (mSimulatedPressShowing)
    {
        FinishSimulatedClick();
    }
    mSimulatedPressShowing = true;
    SetFocus(true);
    HoldIdleWhileBusy();
    mSimulatedPressStart = SecondsNow();
    SetLookWeight(kPressedLook + (GetValue() >= 0.5 ? kOnLooks : 0), 1.0f, true);
    Invalidate(RectD{0.0, 0.0, GetSize().x, GetSize().y}, true);
}

void LButton::FinishSimulatedClick()
{
    if (autoRepeat)
    {
        SendNotificationByName(u"NID_BUTTON_AUTOREPEAT");
    }
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    const std::uint32_t buttons = window ? window->GetMouseButtons() : 0;
    OnLeftClick(LMouseButtonParam::Create(MouseButton::kLeft, PointI{0, 0}, 0, false, buttons));
}

void LButton::SetRepeating(bool repeating)
{
    mRepeating = repeating;
    HoldIdleWhileBusy();
}

void LButton::HoldIdleWhileBusy()
{
    const bool busy = mRepeating || mSimulatedPressShowing;
    if (busy && !mIdleHeld)
    {
        mIdleHeld = true;
        BeginIdleProcessing();
    }
    else if (!busy && mIdleHeld)
    {
        mIdleHeld = false;
        EndIdleProcessing();
    }
}

// ---- idle --------------------------------------------------------------------------------------

Result LButton::OnIdle(const RCPtr<LNotificationDistributor>& sender,
                       const RCPtr<LNotification>& notification)
{
    const RCPtr<LControl> self(this);
    const Result result = LControl::OnIdle(sender, notification);
    const double now = SecondsNow();
    if (mSimulatedPressShowing && now - mSimulatedPressStart >= mSimulatedPressTime)
    {
        mSimulatedPressShowing = false;
        HoldIdleWhileBusy();
        mSimulatedPressStart = 0.0;
        UpdateLook();
        FinishSimulatedClick();
    }
    if (mRepeating && (GetConditions() & Condition::kHover) != 0 && IsEnabled(true))
    {
        mRepeatCountdown -= now - mLastRepeatTick;
        mLastRepeatTick = now;
        if (mRepeatCountdown <= kIdleTimeSlack)
        {
            mRepeatCountdown = mRepeatInterval;
            SendNotificationByName(u"NID_BUTTON_AUTOREPEAT");
        }
    }
    return result;
}

} // namespace KR
