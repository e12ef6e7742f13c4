#include "device/ControlModules.h"

namespace
{

using ParamLayout::ControlKind;

constexpr ControlKindInfo kPresetName{
    ControlKind::PresetName,
    "Logic Error : Invalid FirstParamID : LPresetName::SetFirstParamID : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\PresetName : Line 72",
    "Logic Error : LPresetName::GetParamValueLocal : DeviceControl\\GeneratedCode\\Engine\\Src\\PresetName : "
    "Line 91",
    "Logic Error : LPresetName::GetParamValueDefault : DeviceControl\\GeneratedCode\\Engine\\Src\\PresetName "
    ": Line 210",
};

constexpr ControlKindInfo kKeybedZone{
    ControlKind::KeybedZone,
    "Logic Error : Invalid FirstParamID : LKeybedZone::SetFirstParamID : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\KeybedZone : Line 78",
    "Logic Error : LKeybedZone::GetParamValueLocal : DeviceControl\\GeneratedCode\\Engine\\Src\\KeybedZone : "
    "Line 97",
    "Logic Error : LKeybedZone::GetParamValueDefault : DeviceControl\\GeneratedCode\\Engine\\Src\\KeybedZone "
    ": Line 217",
};

constexpr ControlKindInfo kWheel{
    ControlKind::Wheel,
    "Logic Error : Invalid FirstParamID : LWheel::SetFirstParamID : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\Wheel : Line 74",
    "Logic Error : LWheel::GetParamValueLocal : DeviceControl\\GeneratedCode\\Engine\\Src\\Wheel : Line 93",
    "Logic Error : LWheel::GetParamValueDefault : DeviceControl\\GeneratedCode\\Engine\\Src\\Wheel : Line "
    "218",
};

constexpr ControlKindInfo kVolumePedal{
    ControlKind::VolumePedal,
    "Logic Error : Invalid FirstParamID : LVolumePedal::SetFirstParamID : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\VolumePedal : Line 72",
    "Logic Error : LVolumePedal::GetParamValueLocal : DeviceControl\\GeneratedCode\\Engine\\Src\\VolumePedal "
    ": Line 91",
    "Logic Error : LVolumePedal::GetParamValueDefault : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\VolumePedal : Line 210",
};

constexpr ControlKindInfo kSustainPedal{
    ControlKind::SustainPedal,
    "Logic Error : Invalid FirstParamID : LSustainPedal::SetFirstParamID : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\SustainPedal : Line 72",
    "Logic Error : LSustainPedal::GetParamValueLocal : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\SustainPedal : Line 91",
    "Logic Error : LSustainPedal::GetParamValueDefault : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\SustainPedal : Line 210",
};

constexpr ControlKindInfo kPad{
    ControlKind::Pad,
    "Logic Error : Invalid FirstParamID : LPad::SetFirstParamID : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\Pad : Line 102",
    "Logic Error : LPad::GetParamValueLocal : DeviceControl\\GeneratedCode\\Engine\\Src\\Pad : Line 121",
    "Logic Error : LPad::GetParamValueDefault : DeviceControl\\GeneratedCode\\Engine\\Src\\Pad : Line 241",
};

constexpr ControlKindInfo kPushButton{
    ControlKind::PushButton,
    "Logic Error : Invalid FirstParamID : LPushButton::SetFirstParamID : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\PushButton : Line 142",
    "Logic Error : LPushButton::GetParamValueLocal : DeviceControl\\GeneratedCode\\Engine\\Src\\PushButton : "
    "Line 161",
    "Logic Error : LPushButton::GetParamValueDefault : DeviceControl\\GeneratedCode\\Engine\\Src\\PushButton "
    ": Line 281",
};

constexpr ControlKindInfo kFader{
    ControlKind::Fader,
    "Logic Error : Invalid FirstParamID : LFader::SetFirstParamID : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\Fader : Line 142",
    "Logic Error : LFader::GetParamValueLocal : DeviceControl\\GeneratedCode\\Engine\\Src\\Fader : Line 161",
    "Logic Error : LFader::GetParamValueDefault : DeviceControl\\GeneratedCode\\Engine\\Src\\Fader : Line "
    "281",
};

constexpr ControlKindInfo kEncoder{
    ControlKind::Encoder,
    "Logic Error : Invalid FirstParamID : LEncoder::SetFirstParamID : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\Encoder : Line 134",
    "Logic Error : LEncoder::GetParamValueLocal : DeviceControl\\GeneratedCode\\Engine\\Src\\Encoder : Line "
    "153",
    "Logic Error : LEncoder::GetParamValueDefault : DeviceControl\\GeneratedCode\\Engine\\Src\\Encoder : "
    "Line 273",
};

constexpr ControlKindInfo kTouchPadAxis{
    ControlKind::TouchPadAxis,
    "Logic Error : Invalid FirstParamID : LTouchPadAxis::SetFirstParamID : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\TouchPadAxis : Line 74",
    "Logic Error : LTouchPadAxis::GetParamValueLocal : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\TouchPadAxis : Line 93",
    "Logic Error : LTouchPadAxis::GetParamValueDefault : "
    "DeviceControl\\GeneratedCode\\Engine\\Src\\TouchPadAxis : Line 221",
};

} // namespace

LPresetName::LPresetName() : LControlModule(kPresetName)
{
}

LKeybedZone::LKeybedZone() : LControlModule(kKeybedZone)
{
}

LWheel::LWheel() : LControlModule(kWheel)
{
}

LVolumePedal::LVolumePedal() : LControlModule(kVolumePedal)
{
}

LSustainPedal::LSustainPedal() : LControlModule(kSustainPedal)
{
}

LPad::LPad() : LControlModule(kPad)
{
}

LPushButton::LPushButton() : LControlModule(kPushButton)
{
}

LFader::LFader() : LControlModule(kFader)
{
}

LEncoder::LEncoder() : LControlModule(kEncoder)
{
}

LTouchPadAxis::LTouchPadAxis() : LControlModule(kTouchPadAxis)
{
}
