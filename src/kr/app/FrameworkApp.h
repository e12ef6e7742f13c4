#pragma once
// KR::LFrameworkApp: the framework's application object, one per process. While it lives
// it is the installed KR::IFrameworkApp, so controls and windows reach it without
// linking this library. It holds the root windows (the first is the main window), the
// control factory made with the application's name, the default font, the global hot-key
// manager, the clipboard and the two clocks, and runs the idle step. While it lives,
// LRenderer::Create makes the program's renderers (kind 1 the 2D renderer) on its clock.
//
//     KR::LFrameworkApp app(u"PresetEditor");
//     ... create windows; the message loop calls, when idle:
//     bool more = app.OnIdle(firstPass);
//
// The application-wide notification center stays reachable without an instance:
//
//     const KR::RCPtr<KR::LNotificationCenter> app = KR::LFrameworkApp::GetNotificationCenter();
//     app->PostNotificationByName(u"NID_DEVICE_CONNECTION_STATE_CHANGE", state);   // any thread
//
// Everything but the clocks and the center belongs to the user-interface thread.

#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"
#include "kr/notify/NotificationCenter.h"
#include "kr/render/BitmapSource.h"
#include "kr/ui/FrameworkApp.h"

#include <chrono>
#include <vector>

namespace KR
{

class LFrameworkApp : public IFrameworkApp
{
public:
    // Installs the new application as the process's IFrameworkApp, and makes the control
    // factory, the global hot-key manager (posting into the application center's queue)
    // and the clipboard. A second application while one lives is a logic error.
    explicit LFrameworkApp(const String& applicationName);
    // Gives the installation back to what was installed before.
    ~LFrameworkApp() override;
    LFrameworkApp(const LFrameworkApp&) = delete;
    LFrameworkApp& operator=(const LFrameworkApp&) = delete;

    // The center named "application" (GetApplicationNotificationCenter). Safe from any
    // thread, with or without an application.
    static RCPtr<LNotificationCenter> GetNotificationCenter();

    std::uint32_t GetRootWindowCount() const override;
    RCPtr<IRootWindowServices> GetRootWindow(std::uint32_t index) const override;
    Result AddRootWindow(const RCPtr<IRootWindowServices>& window) override;
    Result RemoveRootWindow(const RCPtr<IRootWindowServices>& window) override;
    // The window set with SetActiveRootWindow, else the listed window whose system window
    // is active; null when none of ours is.
    RCPtr<IRootWindowServices> GetActiveRootWindow() const override;
    void SetActiveRootWindow(const RCPtr<IRootWindowServices>& window);

    // What the framework sets up once the control classes are registered: the global hot
    // keys from the application's string table ("GHK"), then the clipboard's edit
    // requests (a refused registration throws).
    void RunApplicationStartup();

    // Drains every notification center, then asks each root window, last to first.
    bool OnIdle(bool sendIdle) override;
    // The control in a window of its own size, centred on the work area, owned by the first
    // root window. Modal: the dialog's loop and its result. Not modal: the window is shown
    // and stays open after the call (kOk); closing it lets the control go.
    Result RunModal(const RCPtr<LControl>& control, bool modal) override;

    // The main window's renderer, null before it has one.
    RCPtr<LMeasurementRenderer> GetMeasurementRenderer() override;

    // The screen, keys and cursors, as the window layer sees them.
    std::uint32_t LoadCursorByName(const String& name) override;
    bool GetKeyState(std::uint32_t virtualKey) override;
    PointI GetCursorPos() override;
    std::uint32_t GetMouseButtons() override;
    RectI GetWorkArea() override;

    double GetSecondsSinceStart() const override;
    std::uint32_t GetMilliseconds() const override;

    RCPtr<LFont> GetDefaultFont() const override { return mDefaultFont; }
    void SetDefaultFont(const RCPtr<LFont>& font) { mDefaultFont = font; }
    RCPtr<LGlobalHotKeyManager> GetGlobalHotKeyManager() const override;
    RCPtr<LControlFactory> GetControlFactory() const override;
    RCPtr<LClipboard> GetClipboard() const override;

    const String& GetApplicationName() const { return mApplicationName; }

    // The status text of the main window; empty is the status bar's own default text.
    // Kept here until the shell has a status bar to show it in, which then reads it.
    Result SetStatusText(const String& text, bool now) override;
    Result ResetStatusText(bool now) override;
    const String& GetStatusText() const { return mStatusText; }

private:
    IFrameworkApp* mPrevious = nullptr;
    String mApplicationName;
    std::chrono::steady_clock::time_point mStart;
    std::vector<RCPtr<IRootWindowServices>> mRootWindows;
    RCPtr<IRootWindowServices> mActiveRootWindow;
    String mStatusText;
    RCPtr<LFont> mDefaultFont;
    RCPtr<LGlobalHotKeyManager> mHotKeys;
    RCPtr<LControlFactory> mFactory;
    RCPtr<LClipboard> mClipboard;
    // Skin images load through the shared bitmap table while the application lives.
    LoadingBitmapSource mBitmapSource;
};

} // namespace KR
