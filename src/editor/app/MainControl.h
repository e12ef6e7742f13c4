#pragma once
// The main window's root control ("mainControl") and the root of the user interface's
// module tree. It numbers the panels below it with the engine's first id, hands every
// edited value to the engine, applies the engine's changes to the panel that owns each id
// without sending them back, and ends the program when the keyboard's configuration
// cannot be read.
//
//     auto main = KR::RCPtr<KR::LMainControl>(factory->CreateControlByName(u"mainControl", window));
//     main->OnModuleParamValueChanged(KR::ParamDescriptor(12), block); // to the engine

#include "device/RootModuleInterface.h"
#include "kr/core/ParamValues.h"
#include "kr/core/Variant.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Control.h"
#include "kr/ui/Panel.h"

#include <cstdint>
#include <deque>
#include <map>

class LDeviceView;

namespace KR
{

class LMainControl : public LControl, public IRootModule
{
public:
    // The id of the device's connected state and of a device text.
    static constexpr std::int32_t kConnectedStateID = -2;
    static constexpr std::int32_t kDeviceTextID = -8;

    LMainControl(const RCPtr<LControl>& parent, const String& name);
    ~LMainControl() override;

    // ---- control ------------------------------------------------------------------------
    Result Initialize() override;
    // Switches the engine's discovery on; 0, so the window keeps the rectangle.
    Result AdjustWindowRect(RectD& rect) override;
    // The main control's own handlers first, then the control's, once its creator has finished.
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

    // ---- module tree --------------------------------------------------------------------
    // An edited value: to the engine unless it is the change being applied from it.
    void OnModuleParamValueChanged(const ParamDescriptor& descriptor, const Variant& value) override;
    RCPtr<LDeviceCommunicationInterface> GetDeviceCommunicationInterface() override;
    RCPtr<IDevice> GetDevice() override;
    ConstRCPtr<IDevice> GetDeviceConst() const override;
    // A write that climbed the tree to its top goes the edited value's way; the engine's
    // result, 0 for an echo, kFail without an engine.
    std::int32_t SetParamValue(const ParamDescriptor& descriptor, const Variant& value) override;

    // "NID_PARAM_MODULE_STATE_CHANGE": one change or a list of them, applied in order. 1.
    Result OnModuleStateChange(const RCPtr<LNotificationDistributor>& sender,
                               const RCPtr<LNotification>& notification);
    // One change from the engine, shown by the panel that owns its id. 0.
    Result ApplyParamChange(const ParamDescriptor& descriptor, const Variant& value);

    // -1 and empty except while a change is being applied.
    std::int32_t GetApplyingParamID() const { return mApplyingParamID; }
    const Variant& GetApplyingDescriptor() const { return mApplyingDescriptor; }
    const RCPtr<LDeviceView>& GetDeviceView() const { return mDeviceView; }
    const RCPtr<LPanel>& GetStatusPanel() const { return mStatusPanel; }
    const RCPtr<LPanel>& GetDeviceSelectorPanel() const { return mDeviceSelectorPanel; }

private:
    // The engine's result of the hand-over; 0 for an echo.
    std::int32_t HandEditToEngine(const ParamDescriptor& descriptor, const Variant& value);
    // Id -2 with an empty value: without the engine's device list the program cannot go on.
    void CheckHardwareConfiguration();
    // The text of `key` in the application's table, else in the control's own.
    String GetMessageText(const char16_t* key);
    // Whether an announced change is one of this interface's own writes coming back, in the
    // order they were written (it and the older ones are then forgotten).
    bool IsOwnWriteReturning(const ParamDescriptor& descriptor, const Variant& value);

    RCPtr<LNotificationHandler<LMainControl>> mNotificationHandler;
    std::int32_t mApplyingParamID = -1;
    Variant mApplyingDescriptor;
    RCPtr<LDeviceView> mDeviceView;
    RCPtr<LPanel> mStatusPanel;
    RCPtr<LPanel> mDeviceSelectorPanel;
    // The values handed to the engine whose announcement has not come back yet, by id.
    std::map<std::int32_t, std::deque<Variant>> mOwnWrites;
};

} // namespace KR
