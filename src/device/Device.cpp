#include "device/Device.h"

namespace
{

using ParamLayout::ControlKind;

constexpr int kChildCount = 9;

// The kind whose first parameter each child starts at, in table order; the pedals
// group starts at the volume pedal.
constexpr ControlKind kChildFirstKind[kChildCount] = {
    ControlKind::PresetName,  ControlKind::KeybedZone, ControlKind::Wheel,
    ControlKind::VolumePedal, ControlKind::Pad,        ControlKind::PushButton,
    ControlKind::Fader,       ControlKind::Encoder,    ControlKind::TouchPadAxis,
};

constexpr std::int32_t ChildOffset(int slot)
{
    return ParamLayout::Row(kChildFirstKind[slot]).first;
}

constexpr const char* kInvalidFirstParamID =
    "Logic Error : Invalid FirstParamID : LDevice::SetFirstParamID : "
    "..\\DeviceControl\\GeneratedCode\\Engine\\Src\\Device : Line 72";

} // namespace

std::int32_t IDevice::GetChildCount() const
{
    return kChildCount;
}

KR::RCPtr<LParameterizedModule> IDevice::GetChildModule(std::int32_t slot)
{
    switch (slot)
    {
    case 0:
        return GetPresetName();
    case 1:
        return GetKeybedZones();
    case 2:
        return GetWheels();
    case 3:
        return GetPedals();
    case 4:
        return GetPads();
    case 5:
        return GetPushButtons();
    case 6:
        return GetFaders();
    case 7:
        return GetEncoders();
    case 8:
        return GetTouchPadAxises();
    default:
        return KR::RCPtr<LParameterizedModule>();
    }
}

std::int32_t IDevice::GetChildOffset(std::int32_t slot) const
{
    return ChildOffset(slot);
}

std::int32_t IDevice::GetChildIndex(std::int32_t /*slot*/) const
{
    return 0;
}

std::int32_t IDevice::GetParamSpan() const
{
    return ParamLayout::kParamCount;
}

std::int32_t IDevice::GetChildSlot(std::int32_t offset) const
{
    int slot = kChildCount - 1;
    while (offset < ChildOffset(slot))
    {
        --slot;
    }
    return slot;
}

KR::ConstRCPtr<IPresetName> IDevice::GetPresetNameConst() const
{
    return const_cast<IDevice*>(this)->GetPresetName();
}

KR::ConstRCPtr<IKeybedZones> IDevice::GetKeybedZonesConst() const
{
    return const_cast<IDevice*>(this)->GetKeybedZones();
}

KR::ConstRCPtr<IWheels> IDevice::GetWheelsConst() const
{
    return const_cast<IDevice*>(this)->GetWheels();
}

KR::ConstRCPtr<IPedals> IDevice::GetPedalsConst() const
{
    return const_cast<IDevice*>(this)->GetPedals();
}

KR::ConstRCPtr<IPads> IDevice::GetPadsConst() const
{
    return const_cast<IDevice*>(this)->GetPads();
}

KR::ConstRCPtr<IPushButtons> IDevice::GetPushButtonsConst() const
{
    return const_cast<IDevice*>(this)->GetPushButtons();
}

KR::ConstRCPtr<IFaders> IDevice::GetFadersConst() const
{
    return const_cast<IDevice*>(this)->GetFaders();
}

KR::ConstRCPtr<IEncoders> IDevice::GetEncodersConst() const
{
    return const_cast<IDevice*>(this)->GetEncoders();
}

KR::ConstRCPtr<ITouchPadAxises> IDevice::GetTouchPadAxisesConst() const
{
    return const_cast<IDevice*>(this)->GetTouchPadAxises();
}

KR::RCPtr<LDevice> LDevice::Create()
{
    KR::RCPtr<LDevice> device(new LDevice());
    device->CreateGroups();
    return device;
}

void LDevice::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID, std::int32_t index)
{
    IDevice::SetFirstParamID(parent, firstParamID, index);
    CheckOffsetFromRoot(0, 1, kInvalidFirstParamID);
}

void LDevice::CreateGroups()
{
    mPresetName = LPresetName::Create();
    mKeybedZones = LKeybedZones::Create();
    mWheels = LWheels::Create();
    mPedals = LPedals::Create();
    mPads = LPads::Create();
    mPushButtons = LPushButtons::Create();
    mFaders = LFaders::Create();
    mEncoders = LEncoders::Create();
    mTouchPadAxises = LTouchPadAxises::Create();
}
