#pragma once
// An application for tests: it installs itself as the process's KR::IFrameworkApp while
// it lives (and gives the installation back afterwards), and answers from fields the test
// sets: clocks it drives, keys down, the pointer, root windows, the default font, the
// factory, the renderer to measure with. Nothing sleeps: time moves when the test says.
//
//     KR::TestSupport::LStandInFrameworkApp app;
//     app.Advance(250);                           // both clocks move by 250 ms
//     EXPECT_EQ(KR::IFrameworkApp::GetInstance().GetMilliseconds(), 250u);

#include "kr/render/Font.h"
#include "kr/render/MeasurementRenderer.h"
#include "kr/ui/Clipboard.h"
#include "kr/ui/Control.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/GlobalHotKeyManager.h"
#include "kr/ui/RootWindowServices.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

namespace KR::TestSupport
{

class LStandInFrameworkApp : public IFrameworkApp
{
public:
    LStandInFrameworkApp() : mPrevious(IsInstalled(&GetInstance()) ? &GetInstance() : nullptr)
    {
        SetInstance(this);
    }
    ~LStandInFrameworkApp() override
    {
        if (IsInstalled(this))
        {
            SetInstance(mPrevious);
        }
    }
    LStandInFrameworkApp(const LStandInFrameworkApp&) = delete;
    LStandInFrameworkApp& operator=(const LStandInFrameworkApp&) = delete;

    // Both clocks move together; the millisecond clock wraps as the real one does.
    void Advance(std::uint32_t ms)
    {
        milliseconds += ms;
        seconds += ms / 1000.0;
    }

    std::uint32_t GetRootWindowCount() const override
    {
        return static_cast<std::uint32_t>(rootWindows.size());
    }
    RCPtr<IRootWindowServices> GetRootWindow(std::uint32_t index) const override
    {
        return index < rootWindows.size() ? rootWindows[index] : nullptr;
    }
    Result AddRootWindow(const RCPtr<IRootWindowServices>& window) override
    {
        rootWindows.push_back(window);
        return kOk;
    }
    Result RemoveRootWindow(const RCPtr<IRootWindowServices>& window) override
    {
        const auto found = std::find(rootWindows.begin(), rootWindows.end(), window);
        if (found == rootWindows.end())
        {
            return kNothingDone;
        }
        rootWindows.erase(found);
        return kOk;
    }
    RCPtr<IRootWindowServices> GetActiveRootWindow() const override { return activeRootWindow; }
    Result RunModal(const RCPtr<LControl>&, bool) override
    {
        ++modalRuns;
        return modalResult;
    }
    bool OnIdle(bool sendIdle) override
    {
        idlePasses.push_back(sendIdle);
        return false;
    }

    std::uint32_t LoadCursorByName(const String& name) override
    {
        cursorNames.push_back(name);
        return static_cast<std::uint32_t>(cursorNames.size());
    }
    bool GetKeyState(std::uint32_t virtualKey) override { return keysDown.count(virtualKey) != 0; }
    PointI GetCursorPos() override { return cursorPos; }
    std::uint32_t GetMouseButtons() override { return mouseButtons; }
    RectI GetWorkArea() override { return workArea; }

    double GetSecondsSinceStart() const override { return seconds; }
    std::uint32_t GetMilliseconds() const override { return milliseconds; }

    RCPtr<LFont> GetDefaultFont() const override { return defaultFont; }
    RCPtr<LGlobalHotKeyManager> GetGlobalHotKeyManager() const override { return hotKeys; }
    RCPtr<LControlFactory> GetControlFactory() const override { return factory; }
    RCPtr<LClipboard> GetClipboard() const override { return clipboard; }
    Result SetStatusText(const String& text, bool) override
    {
        statusText = text;
        return kOk;
    }
    Result ResetStatusText(bool) override
    {
        statusText = String();
        return kOk;
    }
    RCPtr<LMeasurementRenderer> GetMeasurementRenderer() override { return measurementRenderer; }

    double seconds = 0.0;
    std::uint32_t milliseconds = 0;
    std::set<std::uint32_t> keysDown;
    PointI cursorPos{};
    std::uint32_t mouseButtons = 0;
    RectI workArea{0, 0, 1280, 1024};
    std::vector<RCPtr<IRootWindowServices>> rootWindows;
    RCPtr<IRootWindowServices> activeRootWindow;
    Result modalResult = kFail;
    int modalRuns = 0;
    std::vector<bool> idlePasses;
    std::vector<String> cursorNames;
    RCPtr<LFont> defaultFont;
    RCPtr<LGlobalHotKeyManager> hotKeys;
    RCPtr<LControlFactory> factory;
    RCPtr<LClipboard> clipboard;
    String statusText;
    RCPtr<LMeasurementRenderer> measurementRenderer;

private:
    IFrameworkApp* mPrevious;
};

} // namespace KR::TestSupport
