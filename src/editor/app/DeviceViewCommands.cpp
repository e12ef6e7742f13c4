// The device view's menu commands and preset files. Until they are built every command
// is taken and does nothing, no menu item is decided here and no preset file is offered.

#include "editor/app/DeviceView.h"

using KR::RCPtr;
using KR::String;

void LDeviceView::RegisterIdleHandlers()
{
    KR::LControl::RegisterIdleHandlers();
}

KR::Result LDeviceView::UpdateMenuItem(std::int32_t index, const String& notificationName, bool& enabled)
{
    return KR::LControl::UpdateMenuItem(index, notificationName, enabled);
}

String LDeviceView::GetPresetFileExtension()
{
    return String();
}

String LDeviceView::GetPresetFileFilter(bool /*forLoading*/)
{
    return String();
}

String LDeviceView::GetDefaultPresetFileName()
{
    return String();
}

KR::Result LDeviceView::LoadPreset()
{
    return KR::kFail;
}

KR::Result LDeviceView::SavePreset()
{
    return KR::kFail;
}

KR::Result LDeviceView::ShowSavePresetDialog(String& /*path*/)
{
    return KR::kFail;
}

KR::Result LDeviceView::ShowLoadPresetDialog(String& /*path*/)
{
    return KR::kFail;
}

#define KR_DEVICE_VIEW_COMMAND(Handler)                                                                      \
    KR::Result LDeviceView::Handler(const RCPtr<KR::LNotificationDistributor>& /*sender*/,                   \
                                    const RCPtr<KR::LNotification>& /*notification*/)                        \
    {                                                                                                        \
        return 1;                                                                                            \
    }

KR_DEVICE_VIEW_COMMAND(OnMenuLoadPresetFromDevice)
KR_DEVICE_VIEW_COMMAND(OnMenuSendPresetToDevice)
KR_DEVICE_VIEW_COMMAND(OnMenuLoadPresetFromFile)
KR_DEVICE_VIEW_COMMAND(OnMenuSavePresetToFile)
KR_DEVICE_VIEW_COMMAND(OnMenuExit)
KR_DEVICE_VIEW_COMMAND(OnMenuAbout)
KR_DEVICE_VIEW_COMMAND(OnMenuOpenUserGuide)
KR_DEVICE_VIEW_COMMAND(OnMenuGlobalSettings)

#undef KR_DEVICE_VIEW_COMMAND
