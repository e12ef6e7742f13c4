#include "kr/controls/FileDialog.h"

#include "kr/ui/RootWindow.h"
#include "support/FakeWindowServices.h"
#include "support/FrameworkAppStandIn.h"
#include "support/RecordingRenderer.h"
#include "support/ScriptedFileChooser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace KR
{
namespace
{

using Filters = std::vector<Platform::FileChooserFilter>;
const String
    kPresetFilter(u"Control Panel Settings (*.VantorPresetEditor)|*.VantorPresetEditor|All Files (*.*)|*.*");
const String kExtension(u"*.VantorPresetEditor");

struct FileDialogTest : ::testing::Test
{
    TestSupport::LStandInFrameworkApp app;
    TestSupport::ScriptedFileChooser chooser;
    RCPtr<LFileDialog> dialog{new LFileDialog(String(u"."))};

    Result Open(bool multiple = false)
    {
        return dialog->ShowOpenDialog(kPresetFilter, kExtension, u"Load", multiple);
    }
    Result Save() { return dialog->ShowSaveDialog(kPresetFilter, kExtension, u"Save"); }
    std::u16string Path() const { return std::u16string(dialog->GetPathName().GetView()); }
};

TEST(FileDialogFilter, SplitsIntoDescriptionAndPatternPairs)
{
    struct Row
    {
        const char16_t* filter;
        Filters expected;
    };
    const Row rows[] = {
        {u"Control Panel Settings (*.VantorPresetEditor)|*.VantorPresetEditor|All Files (*.*)|*.*",
         {{"Control Panel Settings (*.VantorPresetEditor)", {"*.VantorPresetEditor"}},
          {"All Files (*.*)", {"*.*"}}}},
        {u"abc", {{"abc", {}}}},
        {u"Text|*.txt;*.TEXT|", {{"Text", {"*.txt", "*.TEXT"}}}},
        {u"Odd|*.a|Tail", {{"Odd", {"*.a"}}, {"Tail", {}}}},
        {u"Pr\u00e9set|*.p", {{"Pr\xc3\xa9set", {"*.p"}}}},
    };
    for (const Row& row : rows)
    {
        const Filters got = LFileDialog::SplitFilter(String(row.filter));
        ASSERT_EQ(got.size(), row.expected.size()) << std::u16string(row.filter).size();
        for (std::size_t i = 0; i < got.size(); ++i)
        {
            EXPECT_EQ(got[i].description, row.expected[i].description);
            EXPECT_EQ(got[i].patterns, row.expected[i].patterns);
        }
    }
}

TEST_F(FileDialogTest, OpenStartsWhereTheLastChosenFileWasAndACancelChangesNothingElse)
{
    chooser.Accept({"/tmp/x/a.VantorPresetEditor"});
    chooser.Cancel();

    EXPECT_EQ(Open(), kOk);
    EXPECT_EQ(Path(), u"/tmp/x/a.VantorPresetEditor");
    EXPECT_EQ(std::u16string(dialog->GetFileTitle().GetView()), u"a.VantorPresetEditor");
    EXPECT_EQ(Open(), kFail);
    EXPECT_EQ(Path(), u"");

    ASSERT_EQ(chooser.requests.size(), 2u);
    EXPECT_EQ(chooser.requests[0].folder, ".");
    EXPECT_EQ(chooser.requests[0].owner, 0u);
    EXPECT_FALSE(chooser.requests[0].save);
    EXPECT_EQ(chooser.requests[0].title, "Load");
    EXPECT_EQ(chooser.requests[0].filters.size(), 2u);
    EXPECT_EQ(chooser.requests[1].folder, "/tmp/x");
    EXPECT_EQ(dialog->GetStartingFolder(), String(u"/tmp/x"));
}

TEST_F(FileDialogTest, FlagsCarryOverButMultipleSelectionOnlyForTheCallThatAsks)
{
    struct Step
    {
        const char* name;
        int call; // 0 open, 1 open with several files, 2 save
        std::uint32_t flags;
    };
    const Step steps[] = {
        {"first open", 0, 0x881005}, {"several files", 1, 0x881205}, {"single again", 0, 0x881005},
        {"save replaces", 2, 0x2},   {"open after save", 0, 0x1007},
    };
    EXPECT_EQ(dialog->GetFlags(), 0x880000u);
    for (const Step& step : steps)
    {
        step.call == 2 ? Save() : Open(step.call == 1);
        EXPECT_EQ(dialog->GetFlags(), step.flags) << step.name;
        EXPECT_EQ(chooser.requests.back().multiple, step.call == 1) << step.name;
        EXPECT_EQ(chooser.requests.back().save, step.call == 2) << step.name;
    }
}

TEST_F(FileDialogTest, SaveNamesUntitledAndAddsTheExtensionOnlyToANameWithoutOne)
{
    struct Row
    {
        const char* name;
        std::vector<std::string> chosen; // empty: cancel
        Result result;
        std::u16string path;
    };
    const std::string longName(2591, 'n'); // "/tmp/x/" + it + "." is 2599 units
    const Row rows[] = {
        {"cancel", {}, kFail, u"Untitled"},
        {"no extension", {"/tmp/x/p"}, kOk, u"/tmp/x/p.VantorPresetEditor"},
        {"own extension", {"/tmp/x/p.bin"}, kOk, u"/tmp/x/p.bin"},
        {"dot in the folder only", {"/tmp/x.d/p"}, kOk, u"/tmp/x.d/p.VantorPresetEditor"},
        {"2600 units", {"/tmp/x/" + longName + "a."}, kFail, u"Untitled"},
        {"2599 units",
         {"/tmp/x/" + longName + "."},
         kOk,
         u"/tmp/x/" + std::u16string(longName.begin(), longName.end()) + u"."},
        {"not UTF-8", {"/tmp/x/\xff\xfe.bin"}, kFail, u"Untitled"},
    };
    for (const Row& row : rows)
    {
        row.chosen.empty() ? chooser.Cancel() : chooser.Accept(row.chosen);
        EXPECT_EQ(Save(), row.result) << row.name;
        EXPECT_EQ(Path(), row.path) << row.name;
        EXPECT_EQ(chooser.requests.back().initialName, "Untitled") << row.name;
        EXPECT_TRUE(chooser.requests.back().confirmOverwrite) << row.name;
    }
}

TEST_F(FileDialogTest, SeveralFilesLeaveTheirFolderAndTheNextDialogStartsAboveIt)
{
    chooser.Accept({"/tmp/x/a.VantorPresetEditor", "/tmp/x/b.VantorPresetEditor"});
    EXPECT_EQ(Open(true), kOk);
    EXPECT_EQ(Path(), u"/tmp/x");
    Open();
    EXPECT_EQ(chooser.requests.back().folder, "/tmp");
}

TEST(FileDialogOwner, IsTheActiveRootWindowsSystemWindow)
{
    TestSupport::LStandInFrameworkApp app;
    TestSupport::ScriptedFileChooser chooser;
    RCPtr<TestSupport::LFakeWindowServices> os(new TestSupport::LFakeWindowServices);
    os->handle = 77;
    RCPtr<LRootWindow> window(
        new LRootWindow(RCPtr<LRenderer>(new TestSupport::LRecordingRenderer), os.Get()));
    app.activeRootWindow = window;

    RCPtr<LFileDialog> dialog(new LFileDialog(String(u".")));
    EXPECT_EQ(dialog->GetOwner(), 77u);
    dialog->ShowOpenDialog(kPresetFilter, kExtension, u"Load", false);
    EXPECT_EQ(chooser.requests.at(0).owner, 77u);
    app.activeRootWindow = nullptr;
    window->ReleaseInternalReferences();
}

} // namespace
} // namespace KR
