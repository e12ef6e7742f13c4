#pragma once
// The ten control modules: one per kind of physical control, plus the preset's
// name. Each pair is an interface IX, which the panels implement too, and the
// model's class LX, made by LX::Create. Their differences (place in the parameter
// table, default block, error texts) are data; the behaviour is LControlModule's.

#include "device/ControlModule.h"

class IPresetName : public LParameterizedModule
{
};

class LPresetName final : public LControlModule<IPresetName, LPresetName>
{
public:
    static constexpr ParamLayout::ControlKind kKind = ParamLayout::ControlKind::PresetName;

private:
    friend LControlModule;
    LPresetName();
};

class IKeybedZone : public LParameterizedModule
{
};

class LKeybedZone final : public LControlModule<IKeybedZone, LKeybedZone>
{
public:
    static constexpr ParamLayout::ControlKind kKind = ParamLayout::ControlKind::KeybedZone;

private:
    friend LControlModule;
    LKeybedZone();
};

class IWheel : public LParameterizedModule
{
};

class LWheel final : public LControlModule<IWheel, LWheel>
{
public:
    static constexpr ParamLayout::ControlKind kKind = ParamLayout::ControlKind::Wheel;

private:
    friend LControlModule;
    LWheel();
};

class IVolumePedal : public LParameterizedModule
{
};

class LVolumePedal final : public LControlModule<IVolumePedal, LVolumePedal>
{
public:
    static constexpr ParamLayout::ControlKind kKind = ParamLayout::ControlKind::VolumePedal;

private:
    friend LControlModule;
    LVolumePedal();
};

class ISustainPedal : public LParameterizedModule
{
};

class LSustainPedal final : public LControlModule<ISustainPedal, LSustainPedal>
{
public:
    static constexpr ParamLayout::ControlKind kKind = ParamLayout::ControlKind::SustainPedal;

private:
    friend LControlModule;
    LSustainPedal();
};

class IPad : public LParameterizedModule
{
};

class LPad final : public LControlModule<IPad, LPad>
{
public:
    static constexpr ParamLayout::ControlKind kKind = ParamLayout::ControlKind::Pad;

private:
    friend LControlModule;
    LPad();
};

class IPushButton : public LParameterizedModule
{
};

class LPushButton final : public LControlModule<IPushButton, LPushButton>
{
public:
    static constexpr ParamLayout::ControlKind kKind = ParamLayout::ControlKind::PushButton;

private:
    friend LControlModule;
    LPushButton();
};

class IFader : public LParameterizedModule
{
};

class LFader final : public LControlModule<IFader, LFader>
{
public:
    static constexpr ParamLayout::ControlKind kKind = ParamLayout::ControlKind::Fader;

private:
    friend LControlModule;
    LFader();
};

class IEncoder : public LParameterizedModule
{
};

class LEncoder final : public LControlModule<IEncoder, LEncoder>
{
public:
    static constexpr ParamLayout::ControlKind kKind = ParamLayout::ControlKind::Encoder;

private:
    friend LControlModule;
    LEncoder();
};

class ITouchPadAxis : public LParameterizedModule
{
};

class LTouchPadAxis final : public LControlModule<ITouchPadAxis, LTouchPadAxis>
{
public:
    static constexpr ParamLayout::ControlKind kKind = ParamLayout::ControlKind::TouchPadAxis;

private:
    friend LControlModule;
    LTouchPadAxis();
};
