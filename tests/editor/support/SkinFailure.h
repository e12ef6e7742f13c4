#pragma once
// What building the editor's tree from its skin throws when the skin lacks a child:
// every child named `child` after each `after` (everywhere when empty) is renamed, and
// the text of the exception that stops the tree is returned ("" when none does).
//
//     EXPECT_EQ(ThrownWithoutChild(KR_EDITOR_SKIN_FILE, "", "label", "mainControl"), "Runtime Error : ...");

#include "editor/support/InProcessEditor.h"

#include <exception>
#include <string>

namespace KR::TestSupport
{

// `control`: the skin control to build ("mainControl", or a dialog's name).
inline std::string ThrownWithoutChild(const char* skinFile, const char* after, const char* child,
                                      const char* control = "mainControl")
{
    const std::string skin = InProcessEditor::EditedFile(
        skinFile, std::string("without_") + child + "_in_" + control,
        [&](std::string& text) { InProcessEditor::RenameChildren(text, after, child); });
    try
    {
        InProcessEditor editor(false, skin);
        EXPECT_EQ(editor.loaded, kOk) << child;
        editor.factory->CreateControlByName(String(control), editor.window);
    }
    catch (const std::exception& error)
    {
        return error.what();
    }
    return std::string();
}

} // namespace KR::TestSupport
