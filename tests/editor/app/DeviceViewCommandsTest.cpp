// The device view's commands on the editor's real tree, in process: the preset file
// dialogs through the scripted chooser, the load and save results and their boxes, the
// dialogs opened by name, the user guide and the exit.

#include "CommandsEditor.h"

#include "editor/app/AboutDlg.h"
#include "kr/app/FrameworkApp.h"
#include "kr/controls/FileDialog.h"
#include "platform/window/MessageLoop.h"
#include "support/ScriptedFileChooser.h"
#include "support/Utf8.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>

namespace
{

using KR::RCPtr;
using KR::String;
using KR::TestSupport::CommandsEditor;
using KR::TestSupport::FileBytes;
using KR::TestSupport::ScopedVariable;
using KR::TestSupport::ScriptedFileChooser;
using KR::TestSupport::TempFolder;
using KR::TestSupport::WriteBytes;
using Lines = std::vector<std::string>;

constexpr const char* kFilter =
    "Control Panel Settings (*.VantorPresetEditor)|*.VantorPresetEditor|All Files (*.*)|*.*";
constexpr const char* kOlderText = "Preset file is not compatible with this vesion of the preset editor";
constexpr const char* kNewerText = "Preset file is not compatible with this version of the editor";

using KR::TestSupport::Utf8;

std::string LoadBox(const char* text)
{
    return std::string("MessageBox: Preset File Load | ") + text + " | 16";
}

void PutWord(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t word)
{
    for (int i = 0; i < 4; ++i)
    {
        bytes[at + i] = static_cast<std::uint8_t>(word >> (8 * i));
    }
}

TEST(DeviceViewCommands, BothDialogsAskForPresetFilesAndACancelIsSilent)
{
    CommandsEditor editor;
    LDeviceView* view = editor.View();
    ASSERT_TRUE(view);
    EXPECT_EQ(Utf8(view->GetPresetFileExtension()), "VantorPresetEditor");
    EXPECT_EQ(Utf8(view->GetPresetFileFilter(true)), kFilter);
    EXPECT_EQ(Utf8(view->GetPresetFileFilter(false)), kFilter);
    EXPECT_EQ(Utf8(view->GetDefaultPresetFileName()), "*.VantorPresetEditor");

    ScriptedFileChooser chooser; // answers nothing: each dialog is cancelled
    EXPECT_EQ(view->LoadPreset(), KR::kFail);
    EXPECT_EQ(view->SavePreset(), KR::kFail);
    EXPECT_TRUE(editor.app->boxes.empty());
    ASSERT_EQ(chooser.requests.size(), 2u);
    const struct
    {
        bool save;
        const char* title;
    } expected[] = {{false, "Select Preset File"}, {true, "Select Save Location"}};
    const auto filters = KR::LFileDialog::SplitFilter(String(kFilter));
    for (std::size_t i = 0; i < 2; ++i)
    {
        const auto& request = chooser.requests[i];
        EXPECT_EQ(request.save, expected[i].save) << i;
        EXPECT_EQ(request.title, expected[i].title) << i;
        EXPECT_FALSE(request.multiple) << i;
        ASSERT_EQ(request.filters.size(), filters.size()) << i;
        for (std::size_t f = 0; f < filters.size(); ++f)
        {
            EXPECT_EQ(request.filters[f].description, filters[f].description) << i;
            EXPECT_EQ(request.filters[f].patterns, filters[f].patterns) << i;
        }
    }
    EXPECT_TRUE(chooser.requests[1].confirmOverwrite);
}

TEST(DeviceViewCommands, ASavedPresetLoadsBackAndRefusedFilesShowTheirBox)
{
    CommandsEditor editor;
    LDeviceView* view = editor.View();
    ASSERT_TRUE(view);
    const TempFolder files;
    ScriptedFileChooser chooser;
    const std::string saved = (files / "first.VantorPresetEditor").string();
    chooser.Accept({saved});
    ASSERT_EQ(view->SavePreset(), KR::kOk);
    const std::vector<std::uint8_t> good = FileBytes(saved);
    ASSERT_EQ(good.size(), 4494u);

    // Each file is the saved one with one word changed.
    const struct
    {
        std::size_t at;
        std::uint32_t word;
        KR::Result result;
        const char* text; // null: no box
    } cases[] = {
        {0, 1, 0, nullptr},      // as saved
        {0, 0, -1, kOlderText},  // version 0
        {0, 2, -2, kNewerText},  // version 2
        {12, 3, -3, kOlderText}, // the first chunk's length
        {4, 7, -4, kOlderText},  // another device
    };
    for (const auto& c : cases)
    {
        std::vector<std::uint8_t> bytes = good;
        PutWord(bytes, c.at, c.word);
        const std::string path = (files / "changed.VantorPresetEditor").string();
        WriteBytes(path, bytes);
        editor.app->boxes.clear();
        chooser.Accept({path});
        EXPECT_EQ(view->LoadPreset(), c.result) << c.at << " " << c.word;
        EXPECT_EQ(editor.app->boxes, c.text ? Lines{LoadBox(c.text)} : Lines{}) << c.at << " " << c.word;
    }
    // Nothing of a refused file was applied: the preset saves as it was.
    chooser.Accept({(files / "again").string()});
    ASSERT_EQ(view->SavePreset(), KR::kOk);
    EXPECT_EQ(FileBytes(files / "again.VantorPresetEditor"), good);
}

TEST(DeviceViewCommands, ASaveAsksAboutTheFileItWouldReplaceWithOrWithoutTheExtensionTyped)
{
    CommandsEditor editor;
    const TempFolder files;
    const std::string existing = (files / "x.VantorPresetEditor").string();
    const std::vector<std::uint8_t> old{'o', 'l', 'd'};
    const struct
    {
        const char* typed;
        bool replace;
        KR::Result result; // "no" keeps the chooser open, where the user then cancels
        std::size_t size;  // of x.VantorPresetEditor afterwards
        bool asked;
    } rows[] = {
        {"x", false, KR::kFail, 3, true},
        {"x.VantorPresetEditor", false, KR::kFail, 3, true},
        {"x", true, KR::kOk, 4494, true},
        {"y", false, KR::kOk, 3, false},
    };
    for (const auto& row : rows)
    {
        WriteBytes(existing, old);
        ScriptedFileChooser chooser;
        chooser.Accept({(files / row.typed).string()});
        chooser.replies.push_back(row.replace);
        EXPECT_EQ(editor.View()->SavePreset(), row.result) << row.typed << row.replace;
        EXPECT_EQ(chooser.questions, row.asked ? Lines{existing} : Lines{}) << row.typed << row.replace;
        EXPECT_EQ(FileBytes(existing).size(), row.size) << row.typed << row.replace;
    }
    EXPECT_EQ(FileBytes(files / "y.VantorPresetEditor").size(), 4494u);
    EXPECT_TRUE(editor.app->boxes.empty());
}

// The save fails the way a full disk fails it: the write stops short.
struct FileSizeLimit
{
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &saved);
        previousSignal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousSignal);
    }
    rlimit saved{};
    void (*previousSignal)(int) = nullptr;
};

TEST(DeviceViewCommands, AFailedSaveIsShownKeepsTheOldFileWholeAndOffersTheChooserAgain)
{
    CommandsEditor editor;
    const TempFolder files;
    const std::vector<std::uint8_t> old{'o', 'l', 'd'};
    const auto locked = files / "locked";
    const auto full = files / "full";
    const auto plain = files / "plain";
    std::filesystem::create_directories(locked);
    std::filesystem::create_directories(full);
    std::filesystem::create_directories(files / "folder.VantorPresetEditor");
    WriteBytes(files / "readonly.VantorPresetEditor", old);
    WriteBytes(locked / "p.VantorPresetEditor", old);
    WriteBytes(full / "p.VantorPresetEditor", old);
    // A folder that is a regular file: no one, root neither, can write below it.
    WriteBytes(plain, old);
    std::filesystem::permissions(files / "readonly.VantorPresetEditor", std::filesystem::perms::owner_read);
    std::filesystem::permissions(locked,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);

    const struct
    {
        const char* name;
        std::filesystem::path typed;
        std::filesystem::path kept; // the file that must stay as it was
        bool diskFull;
    } rows[] = {
        {"read-only file", files / "readonly", files / "readonly.VantorPresetEditor", false},
        {"read-only folder", locked / "p", locked / "p.VantorPresetEditor", false},
        {"full disk", full / "p", full / "p.VantorPresetEditor", true},
        {"a folder's name", files / "folder", plain, false},
        {"below a file", plain / "p", plain, false},
    };
    for (const auto& row : rows)
    {
        editor.app->boxes.clear();
        const std::vector<std::string> before = KR::TestSupport::NamesIn(row.kept.parent_path());
        ScriptedFileChooser chooser;
        chooser.Accept({row.typed.string()});
        chooser.replies.push_back(true); // yes, replace it
        {
            std::optional<FileSizeLimit> limit;
            if (row.diskFull)
            {
                limit.emplace(100);
            }
            EXPECT_LT(editor.View()->SavePreset(), 0) << row.name;
        }
        EXPECT_EQ(editor.app->boxes,
                  Lines{"MessageBox: Preset File Save | The preset file could not be saved. | 16"})
            << row.name;
        EXPECT_EQ(chooser.requests.size(), 2u) << row.name << ": the chooser is offered again";
        EXPECT_EQ(FileBytes(row.kept), old) << row.name;
        EXPECT_EQ(KR::TestSupport::NamesIn(row.kept.parent_path()), before) << row.name;
    }
    std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
}

TEST(DeviceViewCommands, TheWindowAndTheApplicationHoldTheCommandsAndAHotKeyLoadsOnce)
{
    CommandsEditor editor;
    LDeviceView* view = editor.View();
    ASSERT_TRUE(view);
    const RCPtr<KR::LNotificationDistributor> window(editor.window);
    const RCPtr<KR::LNotificationCenter> center = KR::LFrameworkApp::GetNotificationCenter();
    const struct
    {
        const char16_t* name;
        bool hotKey;
    } commands[] = {
        {u"NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE", true},
        {u"NID_MENU_FILE_SEND_PRESET_TO_DEVICE", true},
        {u"NID_MENU_FILE_LOAD_PRESET_FROM_FILE", true},
        {u"NID_MENU_FILE_SAVE_PRESET_TO_FILE", true},
        {u"NID_MENU_FILE_EXIT_REQ", false},
        {u"NID_MENU_HELP_ABOUT_REQ", false},
        {u"NID_MENU_HELP_OPEN_USER_GUIDE_REQ", false},
        {u"NID_MENU_FILE_GLOBALSETTINGS_REQ", false},
    };
    auto holds = [&](const RCPtr<KR::LNotificationDistributor>& sender, const char16_t* name)
    {
        const auto pool = sender->FindClientPool(KR::NotificationName(name).Resolve());
        return pool && pool->FindClient(view) >= 0;
    };
    for (const auto& command : commands)
    {
        EXPECT_TRUE(holds(window, command.name)) << Utf8(String(command.name));
        EXPECT_EQ(holds(RCPtr<KR::LNotificationDistributor>(center), command.name), command.hotKey)
            << Utf8(String(command.name));
    }

    // Ctrl+O arrives from the application, the menu's item from the window: one load each.
    ScriptedFileChooser chooser;
    center->PostNotificationByName(u"NID_MENU_FILE_LOAD_PRESET_FROM_FILE");
    editor.Idle();
    EXPECT_EQ(chooser.requests.size(), 1u);
    window->SendNotificationByName(u"NID_MENU_FILE_LOAD_PRESET_FROM_FILE");
    EXPECT_EQ(chooser.requests.size(), 2u);
    EXPECT_TRUE(editor.app->boxes.empty());
}

TEST(DeviceViewCommands, TheDialogsAreRunByTheirSkinNamesAndAMissingOneIsNot)
{
    const struct
    {
        const char16_t* command;
        const char* dialog;
    } cases[] = {
        {u"NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE", "dialogRetrievePresetFromHardware"},
        {u"NID_MENU_FILE_SEND_PRESET_TO_DEVICE", "dialogSendPreset"},
        {u"NID_MENU_FILE_GLOBALSETTINGS_REQ", "globalEditorControl"},
        {u"NID_MENU_HELP_ABOUT_REQ", "dialogAbout"},
    };
    {
        CommandsEditor editor;
        const RCPtr<KR::LNotificationDistributor> window(editor.window);
        for (const auto& c : cases)
        {
            editor.app->modal.clear();
            window->SendNotificationByName(c.command);
            ASSERT_EQ(editor.app->modal.size(), 1u) << c.dialog;
            EXPECT_TRUE(dynamic_cast<KR::LDialog*>(editor.app->modal[0].Get())) << c.dialog;
            EXPECT_EQ(Utf8(editor.app->modal[0]->GetName()), c.dialog);
            EXPECT_TRUE(editor.app->modalClose[0]) << c.dialog;
        }
        EXPECT_TRUE(dynamic_cast<LAboutDlg*>(editor.app->modal[0].Get())) << "the last one run";
    }

    // A skin without the about box: nothing is run, the program goes on.
    const auto skin = KR::TestSupport::EditedResources::SkinWithout("dialogAbout");
    CommandsEditor without(skin.Folder());
    ASSERT_TRUE(without.View());
    RCPtr<KR::LNotificationDistributor>(without.window)->SendNotificationByName(u"NID_MENU_HELP_ABOUT_REQ");
    EXPECT_TRUE(without.app->modal.empty());
}

TEST(DeviceViewCommands, TheUserGuideOpensBesideTheProgramOrTheFailureIsShown)
{
    const TempFolder bin;
    const std::string opener = (bin / "xdg-open").string();
    const ScopedVariable path("PATH", (bin.Path().string() + ":/usr/bin:/bin").c_str());
    CommandsEditor editor;
    char self[4096] = {};
    ASSERT_GT(::readlink("/proc/self/exe", self, sizeof self - 1), 0);
    const std::string guide =
        std::filesystem::path(self).parent_path().string() + "/Vantor Preset Editor - User Guide - v1.0.pdf";
    const RCPtr<KR::LNotificationDistributor> window(editor.window);
    for (const int status : {0, 1})
    {
        std::filesystem::remove(bin / "opened");
        std::ofstream(opener) << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << (bin / "opened").string()
                              << "'\nexit " << status << "\n";
        ::chmod(opener.c_str(), 0755);
        editor.app->boxes.clear();
        window->SendNotificationByName(u"NID_MENU_HELP_OPEN_USER_GUIDE_REQ");
        EXPECT_TRUE(KR::TestSupport::WaitUntil(
            [&]
            {
                KR::Platform::DispatchPendingMessages();
                const std::vector<std::uint8_t> recorded = FileBytes(bin / "opened");
                return std::string(recorded.begin(), recorded.end()) == guide + "\n" &&
                       (status == 0 || !editor.app->boxes.empty());
            }))
            << status;
        EXPECT_EQ(editor.app->boxes,
                  status == 0
                      ? Lines{}
                      : Lines{"MessageBox: Open User Guide Error | The user guide could not be opened. | 0"});
    }
}

} // namespace
