#pragma once
// The main control as the edit panels see it, until the real one is in the tree: the
// root control taken as the model's root. Every edited value it receives is recorded and
// handed to the installed engine, as the main control hands it on.

#include "device/RootModuleInterface.h"
#include "editor/app/ApplicationControlClasses.h"
#include "editor/edit/RootModuleEngineAccess.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/Panel.h"

#include <cstdint>
#include <vector>

namespace KR::TestSupport
{

struct ReceivedValue
{
    std::int32_t id = 0;
    std::vector<int> bytes;
    bool operator==(const ReceivedValue&) const = default;
};

inline std::vector<int> BytesOf(const Variant& value)
{
    std::uint32_t count = 0;
    const std::uint8_t* bytes = value.GetBytes(count);
    return bytes ? std::vector<int>(bytes, bytes + count) : std::vector<int>();
}

class LStandInMainControl : public LPanel, public IRootModule
{
public:
    LStandInMainControl(const RCPtr<LControl>& parent, const String& name) : LPanel(parent, name) {}

    void OnModuleParamValueChanged(const ParamDescriptor& descriptor, const Variant& value) override
    {
        received.push_back({descriptor.id, BytesOf(value)});
        if (const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine())
        {
            engine->SetParamValue(descriptor, value);
        }
    }
    RCPtr<LDeviceCommunicationInterface> GetDeviceCommunicationInterface() override { return nullptr; }
    RCPtr<IDevice> GetDevice() override { return nullptr; }
    std::int32_t GetChildCount() const override { return 0; }
    RCPtr<LParameterizedModule> GetChildModule(std::int32_t) override { return nullptr; }

    std::vector<ReceivedValue> received;
};

// Registers the stand-in for "PresetEditor.MainControl" while the editor's class table
// still makes that class a plain panel; call it before the table is registered (the first
// registration of a name holds). Once the main control's own class is in the table, the
// tree gets the real one and this registers nothing. Whether it registered.
inline bool RegisterStandInMainControlWhileUnbuilt(LControlFactory& factory)
{
    const String name(u"PresetEditor.MainControl");
    const RCPtr<LControlFactory> probe(new LControlFactory(String(u"probe")));
    RegisterApplicationControlClasses(*probe);
    ControlCreateFunction creator = nullptr;
    probe->GetControlCreateFunction(name, creator);
    if (creator != &LControl::CreateFromSkin<LPanel>)
    {
        return false;
    }
    factory.RegisterControlClass(name, &LControl::CreateFromSkin<LStandInMainControl>);
    return true;
}

// A parent module that records what its children pass up.
class LRecordingParentModule : public LParameterizedModule
{
public:
    std::int32_t SetParamValue(const ParamDescriptor& descriptor, const Variant& value) override
    {
        received.push_back({descriptor.id, BytesOf(value)});
        return 0;
    }
    std::vector<ReceivedValue> received;
};

} // namespace KR::TestSupport
