#pragma once
// A root-window side for KR::OSWindow tests: it records what the system window calls.

#include "kr/ui/OSWindowRoot.h"

#include <string>
#include <vector>

namespace KR::TestSupport
{

class LRecordingOSWindowRoot : public IOSWindowRoot
{
public:
    struct MouseCall
    {
        std::string kind;         // "button", "move", "wheel"
        std::uint32_t action = 0; // button action or wheel direction
        std::uint32_t button = 0;
        std::uint32_t modifiers = 0;
        PointI point{};
    };

    bool HasFocusControl() override { return hasFocusControl; }
    void RestoreFocus() override { calls.push_back("RestoreFocus"); }
    void LoseFocus() override { calls.push_back("LoseFocus"); }
    void UpdateLayout() override { calls.push_back("UpdateLayout"); }
    void SetFullRepaint() override { calls.push_back("SetFullRepaint"); }
    void NotifyCaptureLost() override { calls.push_back("NotifyCaptureLost"); }
    void OnMouseButton(std::uint32_t action, std::uint32_t button, std::uint32_t modifiers,
                       PointI point) override
    {
        mouse.push_back({"button", action, button, modifiers, point});
    }
    void OnMouseMove(PointI point, std::uint32_t modifiers) override
    {
        mouse.push_back({"move", 0, 0, modifiers, point});
    }
    void OnMouseWheel(PointI point, std::uint32_t modifiers, std::uint32_t direction) override
    {
        mouse.push_back({"wheel", direction, 0, modifiers, point});
    }
    void DispatchKey(const RCPtr<LKeyParam>& key) override { keys.push_back(key->key); }
    void RequestClose() override { calls.push_back("RequestClose"); }
    LRegion TakeInvalidRegion(const RectI*) override { return LRegion(); }
    void Paint(const LRegion& region) override
    {
        EdgesI bounds;
        region.GetBounds(bounds);
        painted.push_back(bounds);
    }

    std::vector<MouseCall> Of(const std::string& kind) const
    {
        std::vector<MouseCall> found;
        for (const MouseCall& call : mouse)
        {
            if (call.kind == kind)
            {
                found.push_back(call);
            }
        }
        return found;
    }

    bool hasFocusControl = true;
    std::vector<std::string> calls;
    std::vector<MouseCall> mouse;
    std::vector<KeyCode> keys;
    std::vector<EdgesI> painted;
};

} // namespace KR::TestSupport
