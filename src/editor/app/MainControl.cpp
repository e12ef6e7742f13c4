#include "editor/app/MainControl.h"

#include "editor/app/DeviceView.h"
#include "editor/app/MessageBox.h"
#include "editor/edit/RootModuleEngineAccess.h"
#include "kr/controls/OwnHandlers.h"
#include "kr/core/Array.h"
#include "kr/core/Exception.h"
#include "kr/notify/ApplicationCenter.h"
#include "kr/system/DebugLog.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/FrameworkApp.h"

#include <string>

namespace
{

constexpr std::uint32_t kErrorIcon = 0x10;
// Writes the engine does not announce back are not kept for ever.
constexpr std::size_t kOwnWritesKept = 64;

// Discovery's first look at the MIDI system is left to the engine's worker: a MIDI server
// that does not answer must not keep the main window from showing.
void EnableDiscovery()
{
    const KR::RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
    const KR::Result result = engine ? engine->StartRemoteDeviceDiscovery() : KR::kFail;
    if (KR::Failed(result))
    {
        KR::GetDebugLog().Narrow() << "LMainControl: remote-device discovery is off ("
                                   << KR::ResultToString(result) << ")\n";
    }
}

// Puts the applying id and descriptor back however the apply ends.
class ApplyingReset
{
public:
    ApplyingReset(std::int32_t& id, KR::Variant& descriptor) : mID(id), mDescriptor(descriptor) {}
    ~ApplyingReset()
    {
        mID = -1;
        mDescriptor.Clear();
    }
    ApplyingReset(const ApplyingReset&) = delete;
    ApplyingReset& operator=(const ApplyingReset&) = delete;

private:
    std::int32_t& mID;
    KR::Variant& mDescriptor;
};

} // namespace

namespace KR
{

LMainControl::LMainControl(const RCPtr<LControl>& parent, const String& name) : LControl(parent, name)
{
}

LMainControl::~LMainControl() = default;

Result LMainControl::Initialize()
{
    Result result = LControl::Initialize();
    if (Succeeded(result))
    {
        mNotificationHandler = LNotificationHandler<LMainControl>::Create(this);
        if (!mNotificationHandler)
        {
            result = kFail;
        }
    }
    if (Succeeded(result))
    {
        mDeviceView =
            RCPtr<LDeviceView>(dynamic_cast<LDeviceView*>(FindChildControl(String(u"viewDevice")).Get()));
        if (!mDeviceView)
        {
            Throw<std::runtime_error>(ErrorText<std::runtime_error>(
                {"Null Pointer", "LMainControl couldn't find viewDevice"}, "KR::LMainControl::Initialize",
                "UI\\DriverCommon\\MainControl", 38));
        }
        mStatusPanel = RCPtr<LPanel>(dynamic_cast<LPanel*>(FindChildControl(String(u"viewStatus")).Get()));
        mDeviceSelectorPanel =
            RCPtr<LPanel>(dynamic_cast<LPanel*>(FindChildControl(String(u"panelDeviceSelector")).Get()));
        const Result registered = mNotificationHandler->Register(
            &LMainControl::OnModuleStateChange,
            RCPtr<LNotificationDistributor>(GetApplicationNotificationCenter()), kNidParamModuleStateChange,
            0);
        ThrowIfFailed(registered,
                      " : KR::LMainControl::Initialize : UI\\DriverCommon\\MainControl : Line 43");
        const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
        SetFirstParamID(nullptr, engine ? engine->GetFirstParamID() : 0, 0);
    }
    EnableDiscovery();
    return result;
}

Result LMainControl::AdjustWindowRect(RectD& /*rect*/)
{
    EnableDiscovery();
    return kOk;
}

Result LMainControl::Receive(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification)
{
    if (const Result handled = OfferToOwnHandlers(mNotificationHandler, *this, sender, notification);
        handled != 0)
    {
        return handled;
    }
    return LControl::Receive(sender, notification);
}

Result LMainControl::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                               NotificationName name)
{
    if (mNotificationHandler)
    {
        mNotificationHandler->Unregister(sender, name);
    }
    return LControl::UnregisterForNotification(sender, name);
}

Result LMainControl::OnModuleStateChange(const RCPtr<LNotificationDistributor>& /*sender*/,
                                         const RCPtr<LNotification>& notification)
{
    if (!notification)
    {
        return 1;
    }
    if (const RCPtr<LParamChangePair> change = notification->GetDataAs<LParamChangePair>())
    {
        ApplyParamChange(change->first, change->second);
    }
    else if (const RCPtr<LParamValuesWrapper> list = notification->GetDataAs<LParamValuesWrapper>())
    {
        // One record per value; a record the list refuses is passed over.
        const ParamValues& values = list->GetValue();
        if (values.GetType() == Variant::kArray)
        {
            const std::uint32_t count = values.GetArraySize();
            for (std::uint32_t i = 0; i < count; ++i)
            {
                ParamValue record;
                if (values.GetAt(i, record) == kOk)
                {
                    ApplyParamChange(record.descriptor, record.value);
                }
            }
        }
    }
    return 1;
}

Result LMainControl::ApplyParamChange(const ParamDescriptor& descriptor, const Variant& value)
{
    const ApplyingReset reset(mApplyingParamID, mApplyingDescriptor);
    mApplyingParamID = descriptor.id;
    mApplyingDescriptor = descriptor.selector;
    if (descriptor.id == kConnectedStateID)
    {
        if (value.IsEmpty())
        {
            CheckHardwareConfiguration();
        }
    }
    else if (descriptor.id != kDeviceTextID && !value.IsEmpty() && !IsOwnWriteReturning(descriptor, value))
    {
        if (const RCPtr<LParameterizedModule> module = GetModuleForParamID(descriptor.id))
        {
            module->SetParamValueLocal(descriptor, value, true);
        }
    }
    return kOk;
}

void LMainControl::CheckHardwareConfiguration()
{
    const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
    Array<Variant> devices;
    if (engine && Succeeded(engine->GetRemoteDeviceList(devices)))
    {
        return;
    }
    ShowMessageBox(GetMessageText(u"HARDWARE_CONFIG_ERROR_MESSAGE"),
                   GetMessageText(u"HARDWARE_CONFIG_ERROR_TITLE"), kErrorIcon);
    if (const RCPtr<LNotificationCenter> center = GetApplicationNotificationCenter())
    {
        center->PostNotificationByName(u"NID_APP_EXIT_REQ");
    }
}

String LMainControl::GetMessageText(const char16_t* key)
{
    // The texts stand in the application's table; the control's own table is asked only
    // when that one has nothing, so the user is never shown a blank box.
    String text;
    if (const RCPtr<LControlFactory> factory = IFrameworkApp::GetInstance().GetControlFactory())
    {
        if (const RCPtr<LStringTable> strings = factory->GetApplicationStringTable())
        {
            strings->GetString(String(key), text);
        }
    }
    return text.IsEmpty() ? GetLocalizedString(String(key)) : text;
}

void LMainControl::OnModuleParamValueChanged(const ParamDescriptor& descriptor, const Variant& value)
{
    HandEditToEngine(descriptor, value);
}

std::int32_t LMainControl::SetParamValue(const ParamDescriptor& descriptor, const Variant& value)
{
    return HandEditToEngine(descriptor, value);
}

std::int32_t LMainControl::HandEditToEngine(const ParamDescriptor& descriptor, const Variant& value)
{
    if (descriptor.id == mApplyingParamID && descriptor.selector == mApplyingDescriptor)
    {
        return kOk;
    }
    const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
    const std::int32_t result = engine ? engine->SetParamValue(descriptor, value) : kFail;
    if (Succeeded(result) && descriptor.selector.IsEmpty())
    {
        std::deque<Variant>& written = mOwnWrites[descriptor.id];
        written.push_back(value);
        if (written.size() > kOwnWritesKept)
        {
            written.pop_front();
        }
    }
    return result;
}

bool LMainControl::IsOwnWriteReturning(const ParamDescriptor& descriptor, const Variant& value)
{
    // The engine announces every value it stores, the user's own edits too, and later than
    // the user goes on typing: shown again, an older edit would undo the newer ones. The
    // newest one is shown, though: the panels hold it already, and the picture's view panels
    // learn of an edit only from it. (The engine announces a value stored twice only once.)
    const auto entry = mOwnWrites.find(descriptor.id);
    if (entry == mOwnWrites.end() || !descriptor.selector.IsEmpty())
    {
        return false;
    }
    std::deque<Variant>& written = entry->second;
    if (!written.empty() && written.back() == value)
    {
        mOwnWrites.erase(entry);
        return false;
    }
    for (auto at = written.begin(); at != written.end(); ++at)
    {
        if (*at == value)
        {
            written.erase(written.begin(), at + 1);
            return true;
        }
    }
    return false;
}

RCPtr<LDeviceCommunicationInterface> LMainControl::GetDeviceCommunicationInterface()
{
    return nullptr;
}

RCPtr<IDevice> LMainControl::GetDevice()
{
    return RCPtr<IDevice>(mDeviceView.Get());
}

ConstRCPtr<IDevice> LMainControl::GetDeviceConst() const
{
    return ConstRCPtr<IDevice>(mDeviceView.Get());
}

} // namespace KR
