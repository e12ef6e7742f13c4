#pragma once
// KR::IFrameworkApp: what controls and windows ask of the application: its root windows,
// the idle step, cursors, keys and the pointer on the screen, the clocks, the default
// font, the global hot keys, the control factory, the clipboard, the status text, the
// profile, and the renderer to measure with. The application object (kr_app) installs
// itself as the one process-wide instance while it lives; tests install a stand-in whose
// clocks they drive. With none installed, GetInstance answers as an application that has
// nothing: no factory, no root window, no default font, clocks at 0, no keys down.
//
//     KR::IFrameworkApp& app = KR::IFrameworkApp::GetInstance();
//     const std::uint32_t now = app.GetMilliseconds();
//
// Everything but the clocks belongs to the user-interface thread; the clocks may be read
// from any thread.

#include "kr/core/Point.h"
#include "kr/core/RCPtr.h"
#include "kr/core/Rect.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/render/Font.h"
#include "kr/render/MeasurementRenderer.h"
#include "kr/ui/RootWindowServices.h"

#include <cstddef>
#include <cstdint>

namespace KR
{

class IRootWindowServices;
class LClipboard;
class LControl;
class LControlFactory;
class LFont;
class LGlobalHotKeyManager;

class IFrameworkApp : public IMeasurementRendererSource
{
public:
    ~IFrameworkApp() override = default;

    // The installed application, or the one that has nothing.
    static IFrameworkApp& GetInstance();
    // Installs the instance (null removes it) and makes it the source that fonts and
    // text measure through. The caller keeps it alive while installed.
    static void SetInstance(IFrameworkApp* app);
    // True when app is the one installed.
    static bool IsInstalled(const IFrameworkApp* app);

    // --- Root windows (the first one is the main window) -------------------------------

    virtual std::uint32_t GetRootWindowCount() const;
    // Null past the end.
    virtual RCPtr<IRootWindowServices> GetRootWindow(std::uint32_t index) const;
    RCPtr<IRootWindowServices> GetMainWindow() const { return GetRootWindow(0); }
    // kInvalidArg for null; kNothingDone when listed already.
    virtual Result AddRootWindow(const RCPtr<IRootWindowServices>& window);
    // kNothingDone when not listed.
    virtual Result RemoveRootWindow(const RCPtr<IRootWindowServices>& window);
    // The root window whose system window is active, or null.
    virtual RCPtr<IRootWindowServices> GetActiveRootWindow() const;
    // Makes a root window and a system window for the control and runs its modal loop:
    // the modal result, or kFail when no window could be made.
    virtual Result RunModal(const RCPtr<LControl>& control, bool modal);

    // The idle step: drains the notification queues ("NID_IDLE" too when sendIdle), then
    // each root window's own, last to first; true while notifications remain.
    virtual bool OnIdle(bool sendIdle);

    // --- The screen, keys and cursors ---------------------------------------------------

    // The cursor handle for a "UI_CURSOR_" name (0 is the arrow).
    virtual std::uint32_t LoadCursorByName(const String& name);
    // Whether the virtual key is down now.
    virtual bool GetKeyState(std::uint32_t virtualKey);
    // The pointer in screen coordinates and the buttons down (MouseButton bits).
    virtual PointI GetCursorPos();
    virtual std::uint32_t GetMouseButtons();
    // The usable area of the screen.
    virtual RectI GetWorkArea();

    // The command line a second start of the program handed over.
    virtual void OnCommandLineReceived(const String& commandLine);
    // A power event of the system; its answer.
    virtual Result OnPowerBroadcast(std::uintptr_t event, std::intptr_t data);

    // --- Clocks ---------------------------------------------------------------------------

    // Since the application started.
    virtual double GetSecondsSinceStart() const;
    // A millisecond count that wraps at 2^32; only differences mean anything.
    virtual std::uint32_t GetMilliseconds() const;

    // --- What the application holds -------------------------------------------------------

    // The font a root control resolves an inherited face, size or style against.
    virtual RCPtr<LFont> GetDefaultFont() const;
    // The last stop of a key that no control took.
    virtual RCPtr<LGlobalHotKeyManager> GetGlobalHotKeyManager() const;
    virtual RCPtr<LControlFactory> GetControlFactory() const;
    virtual RCPtr<LClipboard> GetClipboard() const;

    // The status-bar text of the main window, painted at once when now is true.
    virtual Result SetStatusText(const String& text, bool now);
    virtual Result ResetStatusText(bool now);

    // The profile section the main window keeps its placement in ("WP"), and the writer.
    virtual String GetProfileSectionName() const;
    virtual Result WriteProfileBinary(const String& section, const String& entry, const void* bytes,
                                      std::size_t count);

    // The renderer kind that system windows pass to LRenderer::Create: always 1, the 2D
    // renderer.
    virtual std::int32_t GetRendererKind() const;
    // The renderer of the main window, null before one exists.
    RCPtr<LMeasurementRenderer> GetMeasurementRenderer() override;
};

} // namespace KR
