#pragma once
// The eight control groups. Seven hold an array of one control kind under an
// indexed accessor (GetEncoder, GetEncoderConst...); the pedals group holds the
// volume and the sustain pedal under accessors of their own. Each pair is an
// interface IX, which the group panels implement too, and the model's LX.

#include "device/ControlModules.h"
#include "device/ModuleContainer.h"
#include "kr/core/RCPtrArray.h"

// What sets one concrete group apart: its offset below the device and the text
// of its placement error.
struct GroupInfo
{
    std::int32_t offset;
    const char* invalidFirstParamID;
};

// The concrete side of every group: the factory and the placement check.
// Interface is the group's IX, Self its LX.
template <class Interface, class Self>
class LGroupModule : public Interface
{
public:
    // A new group with all its children, none of them numbered yet.
    static KR::RCPtr<Self> Create()
    {
        KR::RCPtr<Self> group(new Self());
        group->CreateChildren();
        return group;
    }

    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID, std::int32_t index) override
    {
        Interface::SetFirstParamID(parent, firstParamID, index);
        this->CheckOffsetFromRoot(mInfo.offset, 1, mInfo.invalidFirstParamID);
    }

    // Replaces every child by a new, unnumbered one.
    virtual void CreateChildren() = 0;

protected:
    explicit LGroupModule(const GroupInfo& info) : mInfo(info) {}

private:
    const GroupInfo& mInfo;
};

// The concrete side of an array group: N controls of class Child, child i with
// the group's first id + i and index i.
template <class Interface, class Child, class Self>
class LArrayGroup : public LGroupModule<Interface, Self>
{
public:
    static constexpr std::int32_t kChildCount = ParamLayout::Row(Child::kKind).count;

    void CreateChildren() override
    {
        mChildren.SetCount(kChildCount);
        for (std::int32_t i = 0; i < kChildCount; ++i)
        {
            mChildren.ElementAt(i) = Child::Create();
        }
    }

protected:
    using LGroupModule<Interface, Self>::LGroupModule;

    // Null for an index outside the group; the group's own callers never pass one.
    KR::RCPtr<Child> ChildAt(std::int32_t i) const
    {
        if (static_cast<std::uint32_t>(i) >= mChildren.GetCount())
        {
            return KR::RCPtr<Child>();
        }
        return mChildren.ElementAt(i);
    }

private:
    KR::RCPtrArray<Child, 1, 0> mChildren;
};

class IKeybedZones : public IModuleContainer
{
public:
    virtual KR::ConstRCPtr<IKeybedZone> GetKeybedZoneConst(std::int32_t index) const
    {
        return const_cast<IKeybedZones*>(this)->GetKeybedZone(index);
    }
    virtual KR::RCPtr<IKeybedZone> GetKeybedZone(std::int32_t index) = 0;

protected:
    std::int32_t GetChildCount() const override
    {
        return ParamLayout::Row(ParamLayout::ControlKind::KeybedZone).count;
    }
    KR::RCPtr<LParameterizedModule> GetChildModule(std::int32_t i) override { return GetKeybedZone(i); }
};

class LKeybedZones final : public LArrayGroup<IKeybedZones, LKeybedZone, LKeybedZones>
{
public:
    KR::ConstRCPtr<IKeybedZone> GetKeybedZoneConst(std::int32_t index) const override
    {
        return ChildAt(index);
    }
    KR::RCPtr<IKeybedZone> GetKeybedZone(std::int32_t index) override { return ChildAt(index); }

private:
    friend LGroupModule;
    LKeybedZones();
};

class IWheels : public IModuleContainer
{
public:
    virtual KR::ConstRCPtr<IWheel> GetWheelConst(std::int32_t index) const
    {
        return const_cast<IWheels*>(this)->GetWheel(index);
    }
    virtual KR::RCPtr<IWheel> GetWheel(std::int32_t index) = 0;

protected:
    std::int32_t GetChildCount() const override
    {
        return ParamLayout::Row(ParamLayout::ControlKind::Wheel).count;
    }
    KR::RCPtr<LParameterizedModule> GetChildModule(std::int32_t i) override { return GetWheel(i); }
};

class LWheels final : public LArrayGroup<IWheels, LWheel, LWheels>
{
public:
    KR::ConstRCPtr<IWheel> GetWheelConst(std::int32_t index) const override { return ChildAt(index); }
    KR::RCPtr<IWheel> GetWheel(std::int32_t index) override { return ChildAt(index); }

private:
    friend LGroupModule;
    LWheels();
};

class IPads : public IModuleContainer
{
public:
    virtual KR::ConstRCPtr<IPad> GetPadConst(std::int32_t index) const
    {
        return const_cast<IPads*>(this)->GetPad(index);
    }
    virtual KR::RCPtr<IPad> GetPad(std::int32_t index) = 0;

protected:
    std::int32_t GetChildCount() const override
    {
        return ParamLayout::Row(ParamLayout::ControlKind::Pad).count;
    }
    KR::RCPtr<LParameterizedModule> GetChildModule(std::int32_t i) override { return GetPad(i); }
};

class LPads final : public LArrayGroup<IPads, LPad, LPads>
{
public:
    KR::ConstRCPtr<IPad> GetPadConst(std::int32_t index) const override { return ChildAt(index); }
    KR::RCPtr<IPad> GetPad(std::int32_t index) override { return ChildAt(index); }

private:
    friend LGroupModule;
    LPads();
};

class IPushButtons : public IModuleContainer
{
public:
    virtual KR::ConstRCPtr<IPushButton> GetPushButtonConst(std::int32_t index) const
    {
        return const_cast<IPushButtons*>(this)->GetPushButton(index);
    }
    virtual KR::RCPtr<IPushButton> GetPushButton(std::int32_t index) = 0;

protected:
    std::int32_t GetChildCount() const override
    {
        return ParamLayout::Row(ParamLayout::ControlKind::PushButton).count;
    }
    KR::RCPtr<LParameterizedModule> GetChildModule(std::int32_t i) override { return GetPushButton(i); }
};

class LPushButtons final : public LArrayGroup<IPushButtons, LPushButton, LPushButtons>
{
public:
    KR::ConstRCPtr<IPushButton> GetPushButtonConst(std::int32_t index) const override
    {
        return ChildAt(index);
    }
    KR::RCPtr<IPushButton> GetPushButton(std::int32_t index) override { return ChildAt(index); }

private:
    friend LGroupModule;
    LPushButtons();
};

class IFaders : public IModuleContainer
{
public:
    virtual KR::ConstRCPtr<IFader> GetFaderConst(std::int32_t index) const
    {
        return const_cast<IFaders*>(this)->GetFader(index);
    }
    virtual KR::RCPtr<IFader> GetFader(std::int32_t index) = 0;

protected:
    std::int32_t GetChildCount() const override
    {
        return ParamLayout::Row(ParamLayout::ControlKind::Fader).count;
    }
    KR::RCPtr<LParameterizedModule> GetChildModule(std::int32_t i) override { return GetFader(i); }
};

class LFaders final : public LArrayGroup<IFaders, LFader, LFaders>
{
public:
    KR::ConstRCPtr<IFader> GetFaderConst(std::int32_t index) const override { return ChildAt(index); }
    KR::RCPtr<IFader> GetFader(std::int32_t index) override { return ChildAt(index); }

private:
    friend LGroupModule;
    LFaders();
};

class IEncoders : public IModuleContainer
{
public:
    virtual KR::ConstRCPtr<IEncoder> GetEncoderConst(std::int32_t index) const
    {
        return const_cast<IEncoders*>(this)->GetEncoder(index);
    }
    virtual KR::RCPtr<IEncoder> GetEncoder(std::int32_t index) = 0;

protected:
    std::int32_t GetChildCount() const override
    {
        return ParamLayout::Row(ParamLayout::ControlKind::Encoder).count;
    }
    KR::RCPtr<LParameterizedModule> GetChildModule(std::int32_t i) override { return GetEncoder(i); }
};

class LEncoders final : public LArrayGroup<IEncoders, LEncoder, LEncoders>
{
public:
    KR::ConstRCPtr<IEncoder> GetEncoderConst(std::int32_t index) const override { return ChildAt(index); }
    KR::RCPtr<IEncoder> GetEncoder(std::int32_t index) override { return ChildAt(index); }

private:
    friend LGroupModule;
    LEncoders();
};

class ITouchPadAxises : public IModuleContainer
{
public:
    virtual KR::ConstRCPtr<ITouchPadAxis> GetTouchPadAxisConst(std::int32_t index) const
    {
        return const_cast<ITouchPadAxises*>(this)->GetTouchPadAxis(index);
    }
    virtual KR::RCPtr<ITouchPadAxis> GetTouchPadAxis(std::int32_t index) = 0;

protected:
    std::int32_t GetChildCount() const override
    {
        return ParamLayout::Row(ParamLayout::ControlKind::TouchPadAxis).count;
    }
    KR::RCPtr<LParameterizedModule> GetChildModule(std::int32_t i) override { return GetTouchPadAxis(i); }
};

class LTouchPadAxises final : public LArrayGroup<ITouchPadAxises, LTouchPadAxis, LTouchPadAxises>
{
public:
    KR::ConstRCPtr<ITouchPadAxis> GetTouchPadAxisConst(std::int32_t index) const override
    {
        return ChildAt(index);
    }
    KR::RCPtr<ITouchPadAxis> GetTouchPadAxis(std::int32_t index) override { return ChildAt(index); }

private:
    friend LGroupModule;
    LTouchPadAxises();
};

class IPedals : public IModuleContainer
{
public:
    virtual KR::ConstRCPtr<IVolumePedal> GetVolumePedalConst() const
    {
        return const_cast<IPedals*>(this)->GetVolumePedal();
    }
    virtual KR::RCPtr<IVolumePedal> GetVolumePedal() = 0;
    virtual KR::ConstRCPtr<ISustainPedal> GetSustainPedalConst() const
    {
        return const_cast<IPedals*>(this)->GetSustainPedal();
    }
    virtual KR::RCPtr<ISustainPedal> GetSustainPedal() = 0;

protected:
    std::int32_t GetChildCount() const override { return 2; }
    KR::RCPtr<LParameterizedModule> GetChildModule(std::int32_t i) override;
    std::int32_t GetChildIndex(std::int32_t /*i*/) const override { return 0; }
};

class LPedals final : public LGroupModule<IPedals, LPedals>
{
public:
    KR::ConstRCPtr<IVolumePedal> GetVolumePedalConst() const override { return mVolumePedal; }
    KR::RCPtr<IVolumePedal> GetVolumePedal() override { return mVolumePedal; }
    KR::ConstRCPtr<ISustainPedal> GetSustainPedalConst() const override { return mSustainPedal; }
    KR::RCPtr<ISustainPedal> GetSustainPedal() override { return mSustainPedal; }

    void CreateChildren() override;

private:
    friend LGroupModule;
    LPedals();

    KR::RCPtr<LVolumePedal> mVolumePedal;
    KR::RCPtr<LSustainPedal> mSustainPedal;
};
