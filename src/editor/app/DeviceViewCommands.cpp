// The device view's menu commands and preset files: every user command arrives here as a
// menu notification from the window or a global hot key from the application, and the
// menu asks here which keyboard items it may offer.

#include "editor/app/AppString.h"
#include "editor/app/Application.h"
#include "editor/app/DeviceView.h"
#include "editor/app/MessageBox.h"
#include "editor/edit/RootModuleEngineAccess.h"

#include "kr/app/Version.h"
#include "kr/notify/Notification.h"
#include "kr/system/DebugLog.h"
#include "kr/ui/Dialog.h"
#include "kr/ui/RootWindowServices.h"
#include "platform/window/OpenDocument.h"

#include <iterator>

using KR::RCPtr;
using KR::String;

namespace
{

// Message-box styles, with the values the boxes have always been given.
constexpr std::uint32_t kPlainBox = 0x0;
constexpr std::uint32_t kErrorBox = 0x10;

// What the menu and the hot keys send; the window's commands in the order they are taken.
constexpr const char16_t* kLoadPresetFromDevice = u"NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE";
constexpr const char16_t* kSendPresetToDevice = u"NID_MENU_FILE_SEND_PRESET_TO_DEVICE";
constexpr const char16_t* kLoadPresetFromFile = u"NID_MENU_FILE_LOAD_PRESET_FROM_FILE";
constexpr const char16_t* kSavePresetToFile = u"NID_MENU_FILE_SAVE_PRESET_TO_FILE";
constexpr const char16_t* kExit = u"NID_MENU_FILE_EXIT_REQ";
constexpr const char16_t* kAbout = u"NID_MENU_HELP_ABOUT_REQ";
constexpr const char16_t* kOpenUserGuide = u"NID_MENU_HELP_OPEN_USER_GUIDE_REQ";
constexpr const char16_t* kGlobalSettings = u"NID_MENU_FILE_GLOBALSETTINGS_REQ";

using Handler = KR::LNotificationHandler<LDeviceView>::Handler;

struct Command
{
    const char16_t* name;
    Handler handler;
};

constexpr Command kWindowCommands[] = {
    {kLoadPresetFromDevice, &LDeviceView::OnMenuLoadPresetFromDevice},
    {kSendPresetToDevice, &LDeviceView::OnMenuSendPresetToDevice},
    {kLoadPresetFromFile, &LDeviceView::OnMenuLoadPresetFromFile},
    {kSavePresetToFile, &LDeviceView::OnMenuSavePresetToFile},
    {kExit, &LDeviceView::OnMenuExit},
    {kAbout, &LDeviceView::OnMenuAbout},
    {kOpenUserGuide, &LDeviceView::OnMenuOpenUserGuide},
    {kGlobalSettings, &LDeviceView::OnMenuGlobalSettings},
};

// The four commands that also have a global hot key.
constexpr Command kHotKeyCommands[] = {
    {kLoadPresetFromFile, &LDeviceView::OnMenuLoadPresetFromFile},
    {kSendPresetToDevice, &LDeviceView::OnMenuSendPresetToDevice},
    {kSavePresetToFile, &LDeviceView::OnMenuSavePresetToFile},
    {kLoadPresetFromDevice, &LDeviceView::OnMenuLoadPresetFromDevice},
};

// The items that reach the keyboard: offered only while discovery finds it.
constexpr const char16_t* kKeyboardItems[] = {kSendPresetToDevice, kLoadPresetFromDevice, kGlobalSettings};

// Whether the engine's discovery has found a keyboard. Its worker keeps the list, so the
// menu reads it without waiting on the MIDI system (opening the ports here would hold the
// user interface while a MIDI server does not answer).
bool IsKeyboardDiscovered()
{
    const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
    KR::Array<KR::Variant> devices;
    if (!engine || KR::Failed(engine->GetRemoteDeviceList(devices)))
    {
        return false;
    }
    for (std::uint32_t i = 0; i < devices.GetCount(); ++i)
    {
        if (!devices.ElementAt(i).IsEmpty())
        {
            return true;
        }
    }
    return false;
}

// The text of each load result from -1 down.
constexpr const char16_t* kLoadFailureTexts[] = {
    u"SETTINGS_FILE_LOAD_OLDER_MESSAGE",          u"SETTINGS_FILE_LOAD_NEWER_MESSAGE",
    u"SETTINGS_FILE_LOAD_CORRUPT_MESSAGE",        u"SETTINGS_FILE_LOAD_WRONG_DEVICE_MESSAGE",
    u"SETTINGS_FILE_TRANSLATION_FAILURE_MESSAGE",
};

String AppText(const char16_t* key)
{
    return GetAppString(String(key));
}

std::int32_t ShowBox(const char16_t* textKey, const char16_t* captionKey, std::uint32_t style)
{
    return ShowMessageBox(AppText(textKey), AppText(captionKey), style);
}

} // namespace

void LDeviceView::RegisterIdleHandlers()
{
    // Results are not looked at: a command that cannot be registered is simply not offered.
    if (mNotificationHandler)
    {
        if (const RCPtr<KR::LNotificationDistributor> window{GetRootWindow()})
        {
            for (const Command& command : kWindowCommands)
            {
                mNotificationHandler->Register(command.handler, window, command.name, 0);
            }
        }
        const RCPtr<KR::LNotificationDistributor> center{KR::LFrameworkApp::GetNotificationCenter()};
        for (const Command& command : kHotKeyCommands)
        {
            mNotificationHandler->Register(command.handler, center, command.name, 0);
        }
    }
    KR::LControl::RegisterIdleHandlers();
}

KR::Result LDeviceView::UpdateMenuItem(std::int32_t /*index*/, const String& notificationName,
                                       KR::MenuItemInfo& state)
{
    for (const char16_t* item : kKeyboardItems)
    {
        if (notificationName == item)
        {
            state.enabled = IsKeyboardDiscovered() ? 1 : 0;
            break;
        }
    }
    return KR::kOk;
}

// ---- Preset files ---------------------------------------------------------------------------

String LDeviceView::GetPresetFileExtension()
{
    // The product title without its blanks names the files wherever the product is renamed.
    const String title = KR::Version().GetProductName();
    String extension;
    for (const char16_t unit : title.GetView())
    {
        if (unit != u' ')
        {
            extension.AppendChar(unit);
        }
    }
    return extension;
}

String LDeviceView::GetPresetFileFilter(bool /*forLoading*/)
{
    const String extension = GetPresetFileExtension();
    String filter = AppText(u"CONTROL_PANEL_SETTINGS_FILTER_SEGMENT_1");
    filter += extension;
    filter += u")|*.";
    filter += extension;
    filter += AppText(u"CONTROL_PANEL_SETTINGS_FILTER_SEGMENT_2");
    return filter;
}

String LDeviceView::GetDefaultPresetFileName()
{
    return String(u"*.") + GetPresetFileExtension();
}

KR::Result LDeviceView::ShowLoadPresetDialog(String& path)
{
    if (!mFileDialog)
    {
        return KR::kFail;
    }
    const KR::Result result = mFileDialog->ShowOpenDialog(
        GetPresetFileFilter(true), GetDefaultPresetFileName(), AppText(u"LOAD_PRESET_DIALOG_TITLE"), false);
    if (KR::Succeeded(result))
    {
        path = mFileDialog->GetPathName();
    }
    return result;
}

KR::Result LDeviceView::ShowSavePresetDialog(String& path)
{
    if (!mFileDialog)
    {
        return KR::kFail;
    }
    const KR::Result result = mFileDialog->ShowSaveDialog(
        GetPresetFileFilter(false), GetDefaultPresetFileName(), AppText(u"SAVE_PRESET_DIALOG_TITLE"));
    if (KR::Succeeded(result))
    {
        path = mFileDialog->GetPathName();
    }
    return result;
}

KR::Result LDeviceView::LoadPreset()
{
    String path;
    const KR::Result chosen = ShowLoadPresetDialog(path);
    if (KR::Failed(chosen))
    {
        return chosen; // cancelled: nothing to say
    }
    if (!mPresetManager)
    {
        // Not a load that happened.
        return KR::kFail;
    }
    const KR::Result result = mPresetManager->LoadPresetFile(path);
    if (result < 0)
    {
        // A refusal the table does not know is still a refused file, so it is shown as one.
        const std::size_t index = static_cast<std::size_t>(-static_cast<std::int64_t>(result) - 1);
        const char16_t* text = index < std::size(kLoadFailureTexts) ? kLoadFailureTexts[index]
                                                                    : u"SETTINGS_FILE_LOAD_CORRUPT_MESSAGE";
        ShowBox(text, u"SETTINGS_FILE_LOAD_CAPTION", kErrorBox);
    }
    return result;
}

KR::Result LDeviceView::SavePreset()
{
    for (;;)
    {
        String path;
        const KR::Result chosen = ShowSavePresetDialog(path);
        if (KR::Failed(chosen))
        {
            return chosen; // cancelled, at once or after a failed save
        }
        const KR::Result result = mPresetManager ? mPresetManager->SavePresetFile(path) : KR::kFail;
        if (KR::Succeeded(result))
        {
            return result;
        }
        // The user would otherwise believe the preset kept and lose it at exit; the chooser
        // comes back so it can be kept elsewhere (a read-only file or folder, a full disk).
        ShowBox(u"SETTINGS_FILE_SAVE_FAILED_MESSAGE", u"SETTINGS_FILE_SAVE_CAPTION", kErrorBox);
        if (!mPresetManager)
        {
            return result;
        }
    }
}

// ---- Commands -------------------------------------------------------------------------------

namespace
{

// Runs the skin's dialog of that name modally. One the skin lacks, or that is no dialog,
// is not run: the debug log names it.
void RunDialog(const char16_t* name)
{
    LApplication* app = LApplication::GetApp();
    const RCPtr<KR::LDialog> dialog{app != nullptr ? app->CreateControl(String(name)) : nullptr};
    if (!dialog)
    {
        KR::GetDebugLog().Narrow() << "The dialog " << String(name).ToUtf8().GetPtr()
                                   << " could not be made\n";
        return;
    }
    // Each dialog tells its own outcome.
    app->GetModalRootWindow(dialog, true);
}

} // namespace

KR::Result LDeviceView::OnMenuLoadPresetFromDevice(const RCPtr<KR::LNotificationDistributor>& /*sender*/,
                                                   const RCPtr<KR::LNotification>& /*notification*/)
{
    RunDialog(u"dialogRetrievePresetFromHardware");
    return 1;
}

KR::Result LDeviceView::OnMenuSendPresetToDevice(const RCPtr<KR::LNotificationDistributor>& /*sender*/,
                                                 const RCPtr<KR::LNotification>& /*notification*/)
{
    RunDialog(u"dialogSendPreset");
    return 1;
}

KR::Result LDeviceView::OnMenuAbout(const RCPtr<KR::LNotificationDistributor>& /*sender*/,
                                    const RCPtr<KR::LNotification>& /*notification*/)
{
    RunDialog(u"dialogAbout");
    return 1;
}

KR::Result LDeviceView::OnMenuGlobalSettings(const RCPtr<KR::LNotificationDistributor>& /*sender*/,
                                             const RCPtr<KR::LNotification>& /*notification*/)
{
    RunDialog(u"globalEditorControl");
    return 1;
}

KR::Result LDeviceView::OnMenuLoadPresetFromFile(const RCPtr<KR::LNotificationDistributor>& /*sender*/,
                                                 const RCPtr<KR::LNotification>& /*notification*/)
{
    LoadPreset();
    return 1;
}

KR::Result LDeviceView::OnMenuSavePresetToFile(const RCPtr<KR::LNotificationDistributor>& /*sender*/,
                                               const RCPtr<KR::LNotification>& /*notification*/)
{
    SavePreset();
    return 1;
}

KR::Result LDeviceView::OnMenuOpenUserGuide(const RCPtr<KR::LNotificationDistributor>& /*sender*/,
                                            const RCPtr<KR::LNotification>& /*notification*/)
{
    LApplication* app = LApplication::GetApp();
    String path = app != nullptr ? app->GetFolder(0) : String();
    path += u"/";
    path += AppText(u"USER_GUIDE_FILE_NAME");
    // The viewer starts on its own; its failure is shown when it is known, the view may be
    // gone by then.
    KR::Platform::OpenDocument(path.ToUtf8().GetPtr(),
                               [](bool opened)
                               {
                                   if (!opened)
                                   {
                                       ShowBox(u"LABEL_OPEN_USERGUIDE_FILE_FAILED_MSGBOX_TEXT",
                                               u"LABEL_OPEN_USERGUIDE_FILE_FAILED_MSGBOX_CAPTION", kPlainBox);
                                   }
                               });
    return 1;
}

KR::Result LDeviceView::OnMenuExit(const RCPtr<KR::LNotificationDistributor>& /*sender*/,
                                   const RCPtr<KR::LNotification>& /*notification*/)
{
    // Posted: the application closes the window after this command has returned.
    KR::LFrameworkApp::GetNotificationCenter()->PostNotificationByName(u"NID_APP_EXIT_REQ");
    return 1;
}
