#include "device/ControlGroups.h"

namespace
{

constexpr std::int32_t OffsetOf(ParamLayout::ControlKind kind)
{
    return ParamLayout::Row(kind).first;
}

using ParamLayout::ControlKind;

constexpr GroupInfo kKeybedZones{
    OffsetOf(ControlKind::KeybedZone),
    "Logic Error : Invalid FirstParamID : LKeybedZones::SetFirstParamID : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\KeybedZones : Line 72",
};

constexpr GroupInfo kWheels{
    OffsetOf(ControlKind::Wheel),
    "Logic Error : Invalid FirstParamID : LWheels::SetFirstParamID : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\Wheels : Line 72",
};

constexpr GroupInfo kPads{
    OffsetOf(ControlKind::Pad),
    "Logic Error : Invalid FirstParamID : LPads::SetFirstParamID : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\Pads : Line 72",
};

constexpr GroupInfo kPushButtons{
    OffsetOf(ControlKind::PushButton),
    "Logic Error : Invalid FirstParamID : LPushButtons::SetFirstParamID : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\PushButtons : Line 72",
};

constexpr GroupInfo kFaders{
    OffsetOf(ControlKind::Fader),
    "Logic Error : Invalid FirstParamID : LFaders::SetFirstParamID : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\Faders : Line 72",
};

constexpr GroupInfo kEncoders{
    OffsetOf(ControlKind::Encoder),
    "Logic Error : Invalid FirstParamID : LEncoders::SetFirstParamID : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\Encoders : Line 72",
};

constexpr GroupInfo kTouchPadAxises{
    OffsetOf(ControlKind::TouchPadAxis),
    "Logic Error : Invalid FirstParamID : LTouchPadAxises::SetFirstParamID : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\TouchPadAxises : Line 72",
};

constexpr GroupInfo kPedals{
    OffsetOf(ControlKind::VolumePedal),
    "Logic Error : Invalid FirstParamID : LPedals::SetFirstParamID : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\Pedals : Line 72",
};

} // namespace

LKeybedZones::LKeybedZones() : LArrayGroup(kKeybedZones)
{
}

LWheels::LWheels() : LArrayGroup(kWheels)
{
}

LPads::LPads() : LArrayGroup(kPads)
{
}

LPushButtons::LPushButtons() : LArrayGroup(kPushButtons)
{
}

LFaders::LFaders() : LArrayGroup(kFaders)
{
}

LEncoders::LEncoders() : LArrayGroup(kEncoders)
{
}

LTouchPadAxises::LTouchPadAxises() : LArrayGroup(kTouchPadAxises)
{
}

LPedals::LPedals() : LGroupModule(kPedals)
{
}

KR::RCPtr<LParameterizedModule> IPedals::GetChildModule(std::int32_t i)
{
    if (i == 0)
    {
        return GetVolumePedal();
    }
    if (i == 1)
    {
        return GetSustainPedal();
    }
    return KR::RCPtr<LParameterizedModule>();
}

void LPedals::CreateChildren()
{
    mVolumePedal = LVolumePedal::Create();
    mSustainPedal = LSustainPedal::Create();
}
