#include "engine/PresetManager.h"

#include "engine/WholeFile.h"
#include "kr/core/Exception.h"
#include "kr/core/Wrapper.h"
#include "kr/notify/ApplicationCenter.h"

#include <cstdint>
#include <vector>

namespace KR
{
namespace
{

constexpr std::string_view kCreateRegistrationSite =
    " : KR::LPresetManager::Create : UI\\DriverCommon\\PresetManager : Line 29";

} // namespace

RCPtr<LPresetManager> LPresetManager::Create(const RCPtr<LRootModuleEngine>& engine)
{
    RCPtr<LPresetManager> manager(new LPresetManager(engine));
    const Result registered =
        manager->mHandler->Register(&LPresetManager::OnLoadControlPanelSettings,
                                    GetApplicationNotificationCenter(), kNidGlobalLoadControlPanelSettings);
    ThrowIfFailed(registered, kCreateRegistrationSite);
    return manager;
}

LPresetManager::LPresetManager(const RCPtr<LRootModuleEngine>& engine)
    : mHandler(LNotificationHandler<LPresetManager>::Create(this)), mEngine(engine)
{
}

Result LPresetManager::SavePresetFile(const String& path)
{
    if (!mEngine)
    {
        return kFail;
    }
    Array<ParamValue> values;
    mEngine->GetParamValues(ParamRange{mEngine->GetFirstParamID(), LRootModuleEngine::kParamCount}, values,
                            0);
    std::vector<std::uint8_t> image;
    if (Failed(PresetFile::BuildPresetFile(values, image)))
    {
        return kFail;
    }
    return Failed(ReplaceWholeFile(path, image)) ? kFail : kOk;
}

Result LPresetManager::LoadPresetFile(const String& path)
{
    SendNotificationByName(kNidPresetFilePreLoad);
    const Result result = ReadPresetFile(path);
    SendNotificationByName(kNidPresetFilePostLoad, new LPresetFileLoadNotificationData(result));
    return result;
}

Result LPresetManager::ReadPresetFile(const String& path)
{
    std::vector<std::uint8_t> image;
    if (!mEngine || Failed(ReadWholeFile(path, PresetFile::kMaxFileSize, image)))
    {
        return PresetFile::kCorrupt;
    }
    Array<ParamValue> values;
    const Result result = PresetFile::ReadPresetFile(image, values);
    if (result != PresetFile::kLoaded)
    {
        return result;
    }
    // A value the engine refuses (no device connected, say) does not stop the load.
    const std::int32_t first = mEngine->GetFirstParamID();
    for (std::uint32_t i = 0; i < values.GetCount(); ++i)
    {
        const ParamValue& value = values.ElementAt(i);
        mEngine->SetParamValue(ParamDescriptor(first + value.descriptor.id), value.value);
    }
    return PresetFile::kLoaded;
}

Result LPresetManager::OnLoadControlPanelSettings(const RCPtr<LNotificationDistributor>& /*sender*/,
                                                  const RCPtr<LNotification>& notification)
{
    if (const RCPtr<LWrapperStringable<String>> path = notification->GetDataAs<LWrapperStringable<String>>())
    {
        LoadPresetFile(path->GetValue());
    }
    return 1;
}

Result LPresetManager::Receive(const RCPtr<LNotificationDistributor>& sender,
                               const RCPtr<LNotification>& notification)
{
    return mHandler->HandleNotification(sender, notification);
}

Result LPresetManager::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                                 NotificationName name)
{
    mHandler->Unregister(sender, name);
    return LNotificationClient::UnregisterForNotification(sender, name);
}

} // namespace KR
