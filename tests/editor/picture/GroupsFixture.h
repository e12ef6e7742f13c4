#pragma once
// The editor's real tree over the real engine, every value shown as at start-up, for the
// picture's group tests: controls by path under "viewDevice", the edit panels on screen and
// the marks a group holds.

#include "editor/app/DeviceView.h"
#include "editor/support/InProcessEditor.h"
#include "editor/support/InstalledEngine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace KR::TestSupport
{

// The switchable edit panels under "viewDevice".
inline const char* const kEditPanels[] = {"padEditPanel",         "knobEditPanel",  "faderEditPanel",
                                          "volumePedalEditPanel", "wheelEditPanel", "xyPadEditPanel",
                                          "sustainEditPage",      "zoneEditPanel",  "buttonEditPanel"};

// Records the first parameter id an edit panel carries when it is shown.
class LShownWithID : public LNotificationClient
{
public:
    explicit LShownWithID(LControl* panel) : mPanel(panel)
    {
        RegisterForNotification(RCPtr<LNotificationDistributor>(panel), u"NID_VISIBLITY_CONDITION_CHANGE");
    }
    Result Receive(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&) override
    {
        if (mPanel->IsShown(false))
        {
            ids.push_back(dynamic_cast<LParameterizedModule*>(mPanel)->GetFirstParamID());
        }
        return 1;
    }
    std::vector<std::int32_t> ids;

private:
    LControl* mPanel;
};

class Groups : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(editor.loaded, KR::kOk);
        ASSERT_TRUE(editor.Find<LDeviceView>("viewDevice"));
        // Every value, as the engine posts them when it starts.
        engine.engine->RequestParamValues(KR::ParamDescriptors(KR::ParamRange{0, 131}));
        editor.Idle();
    }

    KR::LControl* At(const std::string& path) const { return editor.Find("viewDevice/" + path); }
    std::string Text(const std::string& path) const
    {
        const KR::LControl* control = At(path);
        return control ? control->GetText().ToUtf8().GetPtr() : "(missing)";
    }
    void Click(const std::string& path, std::uint32_t modifiers = 0) { editor.Click(At(path), modifiers); }
    // A member of a group as the id pass numbered it: its first parameter id and index, the
    // text of its number label `label` (when it has one) and of its read-out (when given).
    struct Numbered
    {
        const char* panel;
        std::int32_t id;
        std::int32_t index;
        const char* label;
        const char* number;
        const char* info;
    };
    void ExpectNumbered(const Numbered& c) const
    {
        auto* module = dynamic_cast<LParameterizedModule*>(At(c.panel));
        ASSERT_TRUE(module) << c.panel;
        EXPECT_EQ(module->GetFirstParamID(), c.id) << c.panel;
        EXPECT_EQ(module->GetIndex(), c.index) << c.panel;
        if (c.label)
        {
            EXPECT_EQ(Text(std::string(c.panel) + "/" + c.label), c.number) << c.panel;
        }
        if (c.info)
        {
            EXPECT_EQ(Text(std::string(c.panel) + "/viewPanel/infoLabel"), c.info) << c.panel;
        }
    }
    // The edit panels on screen.
    std::vector<std::string> Shown() const
    {
        std::vector<std::string> shown;
        for (const char* name : kEditPanels)
        {
            if (At(name)->IsShown(false))
            {
                shown.emplace_back(name);
            }
        }
        return shown;
    }
    // The slots of a group whose "button" holds 1.0, and how many hold 0.0.
    template <typename Group>
    std::vector<std::uint32_t> Marked(const Group& group, std::uint32_t& cleared) const
    {
        std::vector<std::uint32_t> marked;
        cleared = 0;
        for (std::uint32_t slot = 0; slot < group.GetViewPanelCount(); ++slot)
        {
            const double value =
                group.GetViewPanel(slot)->FindChildControl(KR::String(u"button"))->GetValue();
            if (value == 1.0)
            {
                marked.push_back(slot);
            }
            cleared += value == 0.0 ? 1 : 0;
        }
        return marked;
    }

    KR::TestSupport::InstalledEngine engine;
    InProcessEditor editor;
};

} // namespace KR::TestSupport
