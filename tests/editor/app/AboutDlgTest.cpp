// The about box from the editor's skin as the application makes it for the main window:
// its title, its two lines from the program's version block and the application's texts,
// and a skin that lacks one of its labels.

#include "CommandsEditor.h"

#include "editor/app/AboutDlg.h"
#include "editor/app/AppString.h"
#include "kr/app/Version.h"
#include "support/Utf8.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{

using KR::RCPtr;
using KR::String;
using KR::TestSupport::CommandsEditor;

using KR::TestSupport::Utf8;

std::string LabelText(const KR::LControl& dialog, const char16_t* name)
{
    const RCPtr<KR::LControl> label = dialog.FindChildControl(String(name));
    return label ? Utf8(label->GetText()) : "(none)";
}

TEST(AboutDlg, ShowsTheProductLineAndTheCopyrightOfTheVersionBlock)
{
    const std::string version = Utf8(KR::Version().GetProductVersion());
    ASSERT_FALSE(version.empty());
    const struct
    {
        const char* word; // APP_VERSION as the string table gives it
        std::string line;
    } cases[] = {
        {"Version", "Tarsil Vantor Preset Editor Version " + version},
        {"Ausgabe", "Tarsil Vantor Preset Editor Ausgabe " + version},
    };
    for (const auto& c : cases)
    {
        const KR::TestSupport::EditedResources resources(
            "StringTables.xml", "<String ID=\"APP_VERSION\"><Locale LCID=\"9\">Version<",
            std::string("<String ID=\"APP_VERSION\"><Locale LCID=\"9\">") + c.word + "<");
        CommandsEditor editor(resources.Folder());
        const RCPtr<LAboutDlg> about(editor.app->CreateControl(String(u"dialogAbout")));
        ASSERT_TRUE(about) << c.line;
        EXPECT_EQ(LabelText(*about, u"labelProduct"), c.line);
        EXPECT_EQ(LabelText(*about, u"labelCopyright"), "Copyright (C) Tarsil. All rights reserved.");
        // Its title from its own table, which the window shows; made for the main window
        // without becoming its child, so it can be made again after closing.
        EXPECT_EQ(Utf8(about->GetText()), "About Tarsil Vantor Preset Editor");
        EXPECT_FALSE(editor.main->FindChildControl(String(u"dialogAbout")));
        EXPECT_TRUE(RCPtr<LAboutDlg>(editor.app->CreateControl(String(u"dialogAbout"))));
        EXPECT_EQ(Utf8(GetAppString(String(u"NO_SUCH_TEXT"))), "");
    }
}

TEST(AboutDlg, ASkinWithoutALabelStopsTheBoxWithTheLabelsName)
{
    for (const char* label : {"labelProduct", "labelCopyright"})
    {
        const auto skin = KR::TestSupport::EditedResources::SkinWithout(label);
        CommandsEditor editor(skin.Folder());
        std::string thrown;
        try
        {
            editor.app->CreateControl(String(u"dialogAbout"));
        }
        catch (const std::exception& error)
        {
            thrown = error.what();
        }
        EXPECT_EQ(thrown, std::string("Runtime Error : Null Pointer : Cannot find child: ") + label +
                              " : LAboutDlg::Initialize : UI\\PresetEditorCommon\\AboutDlg : Line " +
                              (label == std::string("labelProduct") ? "32" : "33"));
    }
}

} // namespace
