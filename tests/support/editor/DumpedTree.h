#pragma once
// The editor's control tree as the running program dumps it (KR_TEST_TREE_DUMP and SIGUSR1),
// read back by a test that drives the program on the display: where a control is in the
// window and what it shows, so clicks go to a control's frame rather than to numbers
// copied from the skin.
//
//     editor.SetEnvironment("KR_TEST_TREE_DUMP", dumpFile);
//     ...
//     const KR::TestSupport::DumpedTree tree = KR::TestSupport::RequestTreeDump(editor, dumpFile);
//     const auto* box = tree.Find("mainControl/viewDevice/presetNameEditPanel/textBox");
//     // box->CentreX(), box->CentreY() in window coordinates; box->text

#include "support/editor/EditorProcess.h"

#include <string>
#include <vector>

namespace KR::TestSupport
{

struct DumpedControl
{
    std::string path;
    std::string className;
    bool shown = false;
    int x = 0, y = 0, width = 0, height = 0;
    double value = 0;
    std::string text;              // unescaped
    int selected = -1, items = -1; // lists only

    int CentreX() const { return x + width / 2; }
    int CentreY() const { return y + height / 2; }
};

class DumpedTree
{
public:
    // Lines the dump does not describe are skipped; an empty text gives an empty tree.
    static DumpedTree Parse(const std::string& text);

    // The control of that whole path; null when the dump has none.
    const DumpedControl* Find(const std::string& path) const;
    // Every control whose path starts with `prefix`, in dump order.
    std::vector<const DumpedControl*> Under(const std::string& prefix) const;

    std::vector<DumpedControl> controls;
};

// Asks the running editor for a fresh dump into `file` (the path its KR_TEST_TREE_DUMP names)
// and reads it; an empty tree when none is written within the limit.
DumpedTree RequestTreeDump(const EditorProcess& editor, const std::string& file,
                           milliseconds limit = EditorProcess::kPatience);

} // namespace KR::TestSupport
