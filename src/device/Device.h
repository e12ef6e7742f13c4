#pragma once
// The device: the root module's one child and the parent of the preset name and
// the eight groups. It fixes which child owns which part of the 131 parameters;
// the keyboard panel implements IDevice too and shares its numbering, routing
// and walks.

#include "device/ControlGroups.h"
#include "device/ControlModules.h"
#include "device/ModuleContainer.h"

#include <cstdint>

class IDevice : public IModuleContainer
{
public:
    virtual KR::ConstRCPtr<IPresetName> GetPresetNameConst() const;
    virtual KR::RCPtr<IPresetName> GetPresetName() = 0;
    virtual KR::ConstRCPtr<IKeybedZones> GetKeybedZonesConst() const;
    virtual KR::RCPtr<IKeybedZones> GetKeybedZones() = 0;
    virtual KR::ConstRCPtr<IWheels> GetWheelsConst() const;
    virtual KR::RCPtr<IWheels> GetWheels() = 0;
    virtual KR::ConstRCPtr<IPedals> GetPedalsConst() const;
    virtual KR::RCPtr<IPedals> GetPedals() = 0;
    virtual KR::ConstRCPtr<IPads> GetPadsConst() const;
    virtual KR::RCPtr<IPads> GetPads() = 0;
    virtual KR::ConstRCPtr<IPushButtons> GetPushButtonsConst() const;
    virtual KR::RCPtr<IPushButtons> GetPushButtons() = 0;
    virtual KR::ConstRCPtr<IFaders> GetFadersConst() const;
    virtual KR::RCPtr<IFaders> GetFaders() = 0;
    virtual KR::ConstRCPtr<IEncoders> GetEncodersConst() const;
    virtual KR::RCPtr<IEncoders> GetEncoders() = 0;
    virtual KR::ConstRCPtr<ITouchPadAxises> GetTouchPadAxisesConst() const;
    virtual KR::RCPtr<ITouchPadAxises> GetTouchPadAxises() = 0;

protected:
    // The children in table order: 0 preset name, 1 keybed zones ... 8 touch-pad
    // axes, each numbered with index 0 from its first parameter's offset.
    std::int32_t GetChildCount() const override;
    KR::RCPtr<LParameterizedModule> GetChildModule(std::int32_t slot) override;
    std::int32_t GetChildOffset(std::int32_t slot) const override;
    std::int32_t GetChildIndex(std::int32_t slot) const override;
    std::int32_t GetParamSpan() const override;
    std::int32_t GetChildSlot(std::int32_t offset) const override;
};

class LDevice final : public IDevice
{
public:
    // A new device with all its children, none of them numbered yet.
    static KR::RCPtr<LDevice> Create();

    // Numbers the tree, then throws unless the device's first id is the root's.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::int32_t index) override;

    KR::ConstRCPtr<IPresetName> GetPresetNameConst() const override { return mPresetName; }
    KR::RCPtr<IPresetName> GetPresetName() override { return mPresetName; }
    KR::ConstRCPtr<IKeybedZones> GetKeybedZonesConst() const override { return mKeybedZones; }
    KR::RCPtr<IKeybedZones> GetKeybedZones() override { return mKeybedZones; }
    KR::ConstRCPtr<IWheels> GetWheelsConst() const override { return mWheels; }
    KR::RCPtr<IWheels> GetWheels() override { return mWheels; }
    KR::ConstRCPtr<IPedals> GetPedalsConst() const override { return mPedals; }
    KR::RCPtr<IPedals> GetPedals() override { return mPedals; }
    KR::ConstRCPtr<IPads> GetPadsConst() const override { return mPads; }
    KR::RCPtr<IPads> GetPads() override { return mPads; }
    KR::ConstRCPtr<IPushButtons> GetPushButtonsConst() const override { return mPushButtons; }
    KR::RCPtr<IPushButtons> GetPushButtons() override { return mPushButtons; }
    KR::ConstRCPtr<IFaders> GetFadersConst() const override { return mFaders; }
    KR::RCPtr<IFaders> GetFaders() override { return mFaders; }
    KR::ConstRCPtr<IEncoders> GetEncodersConst() const override { return mEncoders; }
    KR::RCPtr<IEncoders> GetEncoders() override { return mEncoders; }
    KR::ConstRCPtr<ITouchPadAxises> GetTouchPadAxisesConst() const override { return mTouchPadAxises; }
    KR::RCPtr<ITouchPadAxises> GetTouchPadAxises() override { return mTouchPadAxises; }

    // Replaces the nine children by new ones, in table order.
    virtual void CreateGroups();

private:
    LDevice() = default;

    KR::RCPtr<LPresetName> mPresetName;
    KR::RCPtr<LKeybedZones> mKeybedZones;
    KR::RCPtr<LWheels> mWheels;
    KR::RCPtr<LPedals> mPedals;
    KR::RCPtr<LPads> mPads;
    KR::RCPtr<LPushButtons> mPushButtons;
    KR::RCPtr<LFaders> mFaders;
    KR::RCPtr<LEncoders> mEncoders;
    KR::RCPtr<LTouchPadAxises> mTouchPadAxises;
};
