// Which menu items the device view offers: the three that reach the keyboard only while
// the engine's discovery has found it, the others as the menu had them.

#include "CommandsEditor.h"

#include "support/Wait.h"
#include "support/simkeyboard/SimKeyboardProcess.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

using KR::String;

TEST(MenuState, TheKeyboardItemsFollowThePortsAndTheOthersKeepTheirState)
{
    KR::TestSupport::CommandsEditor editor;
    LDeviceView* view = editor.View();
    ASSERT_TRUE(view);
    const struct
    {
        const char16_t* name;
        bool keyboard;
    } items[] = {
        {u"NID_MENU_FILE_SEND_PRESET_TO_DEVICE", true},  {u"NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE", true},
        {u"NID_MENU_FILE_GLOBALSETTINGS_REQ", true},     {u"NID_MENU_FILE_LOAD_PRESET_FROM_FILE", false},
        {u"NID_MENU_FILE_SAVE_PRESET_TO_FILE", false},   {u"NID_MENU_FILE_EXIT_REQ", false},
        {u"NID_MENU_HELP_OPEN_USER_GUIDE_REQ", false},   {u"NID_MENU_HELP_ABOUT_REQ", false},
        {u"nid_menu_file_send_preset_to_device", false}, // names are compared as written
    };
    auto check = [&](bool portsThere)
    {
        for (const auto& item : items)
        {
            for (const bool given : {true, false})
            {
                KR::MenuItemInfo state;
                state.enabled = given ? 1 : 0;
                EXPECT_EQ(view->UpdateMenuItem(0, String(item.name), state), KR::kOk);
                EXPECT_EQ(state.enabled != 0, item.keyboard ? portsThere : given)
                    << String(item.name).ToUtf8().GetPtr() << " given " << given << " ports " << portsThere;
            }
        }
    };
    check(false);
    // Found by the engine's worker a moment later: the menu follows.
    KR::Array<KR::Variant> keyboard;
    keyboard.SetCount(1);
    keyboard.ElementAt(0).SetString("keyboard");
    editor.app->bridge->SetRemoteDevices(keyboard);
    ASSERT_TRUE(KR::TestSupport::WaitUntil(
        [&]
        {
            KR::MenuItemInfo state;
            view->UpdateMenuItem(0, String(u"NID_MENU_FILE_SEND_PRESET_TO_DEVICE"), state);
            return state.enabled != 0;
        }));
    check(true);
}

// The program's own engine over the test's JACK server: its discovery lists the server's
// ports, and the keyboard items follow the simulated keyboard as it comes and goes. A
// second editor after the first is gone finds the device-control library still whole
// (its port listing keeps server threads for the process's life).
TEST(MenuState, OnTheProgramsEngineTheKeyboardItemsFollowTheSimulatedKeyboard)
{
    const auto offered = [](LDeviceView& view)
    {
        KR::MenuItemInfo state;
        state.enabled = 1;
        view.UpdateMenuItem(0, String(u"NID_MENU_FILE_SEND_PRESET_TO_DEVICE"), state);
        return state.enabled != 0;
    };
    std::unique_ptr<KR::TestSupport::SimKeyboardProcess> keyboard;
    {
        KR::TestSupport::CommandsEditor editor(String(u"::"), KR::TestSupport::CommandsEngine::kProgram);
        LDeviceView* view = editor.View();
        ASSERT_TRUE(view);
        EXPECT_FALSE(offered(*view));
        std::string error;
        keyboard = KR::TestSupport::SimKeyboardProcess::Start({}, &error);
        ASSERT_TRUE(keyboard) << error;
        EXPECT_TRUE(KR::TestSupport::WaitUntil([&] { return offered(*view); }));
        keyboard.reset();
        EXPECT_TRUE(KR::TestSupport::WaitUntil([&] { return !offered(*view); }));
    }
    std::string error;
    keyboard = KR::TestSupport::SimKeyboardProcess::Start({}, &error);
    ASSERT_TRUE(keyboard) << error;
    KR::TestSupport::CommandsEditor editor(String(u"::"), KR::TestSupport::CommandsEngine::kProgram);
    ASSERT_TRUE(editor.View());
    EXPECT_TRUE(KR::TestSupport::WaitUntil([&] { return offered(*editor.View()); }));
}

} // namespace
