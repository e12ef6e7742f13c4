#pragma once
// KR::LFrameworkApp: the framework's application object, one per process. While it lives
// it is the installed KR::IFrameworkApp, so controls and windows reach it without
// linking this library. It holds the root windows (the first is the main window), the
// control factory the program made and loaded, the framework and application string
// tables, the default font, the global hot-key manager, the clipboard and the two clocks,
// and runs the idle step. While it lives, LRenderer::Create makes the program's renderers
// (kind 1 the 2D renderer) on its clock.
//
//     KR::LFrameworkApp app(factory, factory->GetFrameworkStringTable(), commandLine);
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
#include "kr/notify/NotificationClient.h"
#include "kr/render/Bitmap.h"
#include "kr/render/BitmapSource.h"
#include "kr/system/IniFileManager.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/OSWindow.h"
#include "kr/ui/StringTable.h"

#include "kr/thread/Mutex.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace KR
{

class LControl;
class LStatusBar;

class LFrameworkApp : public LNotificationClient, public IFrameworkApp
{
public:
    // Installs the new application as the process's IFrameworkApp over the program's
    // factory, and makes the global hot-key manager (posting into the application center's
    // queue) and the clipboard. The identification text is kept for the program; nothing
    // here reads it. A second application while one lives is a logic error.
    LFrameworkApp(const RCPtr<LControlFactory>& factory, const RCPtr<LStringTable>& frameworkStrings,
                  const String& identification);
    // The form tests use: a factory of its own made with the name, nothing loaded yet; the
    // string tables are then the factory's as they are when asked for.
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
    // The window's index in the list, the one it has when listed already; kInvalidArg for
    // null.
    Result AddRootWindow(const RCPtr<IRootWindowServices>& window) override;
    // kOk, or -1 when the window is not listed.
    Result RemoveRootWindow(const RCPtr<IRootWindowServices>& window) override;
    // The window set with SetActiveRootWindow, else the last listed window whose system
    // window is active; null when none of ours is.
    RCPtr<IRootWindowServices> GetActiveRootWindow() const override;
    void SetActiveRootWindow(const RCPtr<IRootWindowServices>& window);

    // Drains every notification center, then asks each root window, last to first.
    bool OnIdle(bool sendIdle) override;
    // Modal: GetModalRootWindow with the close box. Not modal: the control in a window of its
    // own size, centred on the work area, owned by the first root window, shown, and open
    // after the call (kOk); closing it lets the control go.
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

    // The factory's application name.
    const String& GetApplicationName() const { return mApplicationName; }
    const String& GetIdentificationText() const { return mIdentification; }
    // The tables given at construction; without them the factory's as now loaded.
    RCPtr<LStringTable> GetFrameworkStringTable() const;
    RCPtr<LStringTable> GetApplicationStringTable() const;

    // The first status bar in the first root window's controls; null without either.
    virtual RCPtr<LStatusBar> GetStatusBar() const;
    // The text on that status bar, painted at once when now is set, else at the next idle
    // pass; ResetStatusText shows the bar's own default text. kFail without a status bar.
    // From another thread than the one the application was made on, the text is kept
    // (kOk) and shown at the UI thread's next idle step, the last one set winning.
    Result SetStatusText(const String& text, bool now) override;
    Result ResetStatusText(bool now) override;

    // --- Start-up, the run and the exit -----------------------------------------------------

    // "NID_APP_EXIT_REQ" sets the exiting flag and ends the modal state of every root
    // window but the main window with 0, last first, so open dialogs close at the next idle
    // pass. Other notifications change nothing. The application registers for it.
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    bool IsExiting() const { return mExiting; }

    // Around the start-up, with the command line; nothing to do here.
    virtual Result PreStartup(const String& commandLine);
    virtual Result PostStartup(const String& commandLine);

    // The framework's share of start-up, in order: pooled notifications, the control
    // classes, the global hot keys of the application's string table ("GHK"), the
    // clipboard's edit requests, the skin the user chose last. kFail (with the reason in
    // the debug log) when any step throws; the steps after it are not taken.
    virtual Result RunApplicationStartup();
    // The first paint of the main window, an idle pass, the message loop, a last idle
    // pass. A loop that throws shows "STARTUP_ERROR" and posts the exit request, which the
    // last idle pass delivers.
    virtual Result Run();
    virtual void OnBeforeMessageLoop() {}
    // The system's message loop; returns when the program is asked to quit.
    virtual void RunMessageLoop();
    // Lets the control factory, the hot-key manager and the clipboard go, in that order.
    // Root windows and the default font stay until the application ends.
    virtual Result Shutdown();
    // The box's answer (1, OK). Here only the debug log sees it, as
    // "MessageBox: <caption> | <text> | <style>"; the program shows it on the screen.
    virtual std::int32_t ShowMessageBox(const String& text, const String& caption, std::uint32_t style);
    // The pointer's display count after one step up (show) or down; while it is below 0 the
    // pointer is hidden over the program's windows.
    virtual std::int32_t ShowCursor(bool show);
    // Moves the pointer to that screen point; kFail when it cannot be moved.
    virtual Result SetCursorPos(std::int32_t x, std::int32_t y);

    // --- Skins ----------------------------------------------------------------------------

    // "CurrentSkinIndex" of the user settings; 0 without them.
    std::int32_t GetCurrentSkinIndex();
    // Makes the factory's skin of that index current (0 to count - 1), with the system font
    // as the default font where the skin names none, applies it to every root window and
    // repaints them, and keeps the index in the user settings. Throws, changing nothing,
    // when the system font cannot be read or the index names no skin.
    void SetSkin(std::int32_t index);

    // --- Windows (FrameworkAppWindows.cpp) -------------------------------------------------

    // The main window for the current skin's main control, hidden: class the title text,
    // window text the company name, style and rectangle from the control's layout, the
    // program's icons, a root window drawing with a renderer of that kind (listed first:
    // the main window), then its saved placement. The root window's result; kFail, with no
    // main window, when the system refuses the window. Throws the "Invalid Control Name"
    // error (line 1234) when the skin has no main control.
    virtual Result CreateMainWindow(std::int32_t rendererKind);
    // The main system window; null before CreateMainWindow and once it is closed.
    RCPtr<OSWindow> GetMainOSWindow() const;
    // Shows the main window and paints it at once; before its first show, its saved
    // placement is applied again within the size limits its root control gives.
    void ShowMainWindow();
    // The saved "WP" applied when in the exact form the window writes, a minimised window
    // restored, then the window kept on the monitor that holds it within its size limits.
    void RestoreMainWindowPlacement();
    // A top-level window (not shown) for a control made from the skin: its index among the
    // root windows, or kFail. Throws the "Control descriptor is null" error (line 943) for
    // a control without descriptor.
    virtual Result CreateRootWindow(const RCPtr<LControl>& control, bool close, bool minimize, bool maximize);
    // A modal window for the control, owned by the active root window (else the first), at
    // the control's rectangle in that window's client area, kept inside the work area; its
    // modal loop's result, or kFail when no window could be made. Once the program is exiting
    // none is made: -1, as for a loop that a quit ended.
    virtual Result GetModalRootWindow(const RCPtr<LControl>& control, bool close);

    // What the windows are named and show: the title text (the main window's class and the
    // profile's section), the company name (the main window's text), the skin name of the
    // main control and the program's icons.
    virtual String GetTitleText() const { return mApplicationName; }
    virtual String GetCompanyName() const { return String(); }
    virtual String GetMainControlName() const { return u"mainControl"; }
    virtual std::vector<ConstRCPtr<LBitmap>> LoadAppIcon() const;

    // The profile: "<section>/<entry>" of the user settings, bytes as hexadecimal digits.
    String GetProfileSectionName() const override;
    Result WriteProfileBinary(const String& section, const String& entry, const void* bytes,
                              std::size_t count) override;
    // The stored text of an entry; false when there is none.
    bool GetProfileString(const String& section, const String& entry, String& text);

    // --- What the application supplies ------------------------------------------------------

    // The INI manager the settings go through; none here.
    virtual IIniFileManager* GetIniFileManager() const { return nullptr; }
    // The handle of the settings file of that kind (0 shared, 1 the user's); 0 here.
    virtual std::int32_t GetSettingsIniFile(std::int32_t kind);
    // The desktop's interface font: face, points and style bits (1 bold, 2 italic); kFail
    // with an empty face, 0 and 0 when no font can be read.
    virtual Result GetSystemFont(String& face, float& size, std::int32_t& style);

protected:
    // Makes the system window; the place where tests refuse one.
    virtual Result CreateSystemWindow(OSWindow& window, const String& className, const String& title,
                                      std::uint32_t style, std::uint32_t exStyle, const RectI& rect,
                                      std::uintptr_t parent);

private:
    // The shared routine of CreateRootWindow and GetModalRootWindow.
    Result CreateRootWindowFor(const RCPtr<LControl>& control, bool topLevel, bool close, bool minimize,
                               bool maximize, RCPtr<OSWindow>& made);
    void SetWindowIcons(OSWindow& window);

    // The framework's control classes (kr/controls/ControlClasses.h), in the table's
    // order; a refused row throws.
    void RegisterControlClasses();
    void ChooseSkin();
    // The status text another thread set; nullopt for the bar's default text.
    void KeepStatusText(std::optional<std::u16string> text);
    void ShowKeptStatusText();

    IFrameworkApp* mPrevious = nullptr;
    String mApplicationName;
    String mIdentification;
    RCPtr<LStringTable> mFrameworkStrings;
    RCPtr<LStringTable> mApplicationStrings;
    std::chrono::steady_clock::time_point mStart;
    std::vector<RCPtr<IRootWindowServices>> mRootWindows;
    RCPtr<IRootWindowServices> mActiveRootWindow;
    RCPtr<LFont> mDefaultFont;
    RCPtr<LGlobalHotKeyManager> mHotKeys;
    RCPtr<LControlFactory> mFactory;
    RCPtr<LClipboard> mClipboard;
    bool mExiting = false;
    RCPtr<OSWindow> mMainWindow;
    // Skin images load through the shared bitmap table while the application lives.
    LoadingBitmapSource mBitmapSource;
    // The control tree is the UI thread's alone: status texts of other threads wait here.
    std::thread::id mUIThread = std::this_thread::get_id();
    Mutex mKeptStatusLock;
    std::optional<std::optional<std::u16string>> mKeptStatusText;
};

} // namespace KR
