#pragma once
// KR::LPresetManager: saves the preset the editor holds (the engine's 131 values) to a
// preset file and loads such a file back into the engine. The device view makes one
// and shows the load results as messages; any part of the program can also have a
// file loaded by sending "NID_GLOBAL_LOAD_CONTROL_PANEL_SETTINGS" to the application
// center with the path.
//
//     KR::RCPtr<KR::LPresetManager> presets = KR::LPresetManager::Create(engine);
//     view->RegisterForNotification(presets, KR::kNidPresetFilePostLoad);
//     if (presets->LoadPresetFile(path) != KR::PresetFile::kLoaded) ... // show the message
//
// Files are read whole and checked whole before a value reaches the engine, so a
// refused file leaves the preset as it was; a save replaces the file only once the
// new one is completely written (PresetFile.h, WholeFile.h).
//
// Every caller takes any negative result, of a load or a save, as a failure, the
// general 0x80004005 among them: no refused file is ever reported as saved or loaded.
//
// Threads: the UI thread; the load notifications are sent on the caller's thread.

#include "engine/PresetFile.h"
#include "engine/RootModuleEngine.h"
#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/notify/NotificationClient.h"
#include "kr/notify/NotificationDistributor.h"
#include "kr/notify/NotificationHandler.h"

namespace KR
{

// Sent by the preset manager to its clients as a load begins, synchronously, on the
// loading thread; no payload.
inline constexpr const char16_t* kNidPresetFilePreLoad = u"NID_PRESETFILE_PRE_LOAD";
// Sent by the preset manager to its clients as a load ends, synchronously, on the
// loading thread; payload LPresetFileLoadNotificationData with the load result.
inline constexpr const char16_t* kNidPresetFilePostLoad = u"NID_PRESETFILE_POST_LOAD";
// Received from the application center (UI thread): load the preset file whose path
// the payload carries (LWrapperStringable<String>). The result is shown nowhere.
inline constexpr const char16_t* kNidGlobalLoadControlPanelSettings =
    u"NID_GLOBAL_LOAD_CONTROL_PANEL_SETTINGS";

// The payload of "NID_PRESETFILE_POST_LOAD".
class LPresetFileLoadNotificationData : public virtual LRefCountedObject
{
public:
    explicit LPresetFileLoadNotificationData(Result result) : mResult(result) {}

    // One of the load results of PresetFile.h.
    Result GetResult() const { return mResult; }

private:
    Result mResult;
};

class LPresetManager final : public LNotificationClient, public LNotificationDistributor
{
public:
    // A manager that saves and loads through `engine`, registered with the application
    // center for "NID_GLOBAL_LOAD_CONTROL_PANEL_SETTINGS". Throws
    // KR::FailedResultException when that registration fails.
    static RCPtr<LPresetManager> Create(const RCPtr<LRootModuleEngine>& engine);

    // Writes the engine's preset to `path`: 0, or kFail when the engine does not give
    // 131 well-formed values or the file cannot be written; the file at `path` is then
    // as it was before.
    Result SavePresetFile(const String& path);

    // Reads the file at `path` into the engine, between "NID_PRESETFILE_PRE_LOAD" and
    // "NID_PRESETFILE_POST_LOAD": one of the load results of PresetFile.h. Only a whole,
    // well-formed file changes the preset.
    Result LoadPresetFile(const String& path);

    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

private:
    explicit LPresetManager(const RCPtr<LRootModuleEngine>& engine);
    ~LPresetManager() override = default;

    // The load itself, without the notifications around it.
    Result ReadPresetFile(const String& path);

    Result OnLoadControlPanelSettings(const RCPtr<LNotificationDistributor>& sender,
                                      const RCPtr<LNotification>& notification);

    RCPtr<LNotificationHandler<LPresetManager>> mHandler;
    RCPtr<LRootModuleEngine> mEngine;
};

} // namespace KR
