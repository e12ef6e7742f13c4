#pragma once
// A test hook: with KR_TEST_TREE_DUMP naming a file, SIGUSR1 makes the program write its
// control trees there at the next idle pass (a dialog's modal loop has them too), so a test
// that drives the real program on a display can find a control's frame and read what it
// shows. One line per control, each window's tree in turn (the main control's first), depth
// first in child order, fields separated by tabs:
//
//     mainControl/viewDevice/presetNameEditPanel/textBox  class=Framework.TextBox  shown=1
//     frame=30,38,132,32  value=0  text=AB C
//
// shown is 1 when the control and all its ancestors are shown; frame is x,y,width,height
// in its own window's coordinates; text escapes backslash, tab, newline and return as \\ \t \n \r.
// A combo box adds selected=<index> items=<count>. The file is written aside and renamed
// over the named one, so a reader never sees half a dump. Off without the variable.
//
//     std::unique_ptr<LTreeDump> dump = LTreeDump::FromEnvironment();
//     ... at idle:  if (dump) dump->WriteIfAsked({mainControl, dialogControl});

#include "kr/core/RCPtr.h"
#include "kr/core/Types.h"

#include <memory>
#include <string>
#include <vector>

namespace KR
{
class LControl;
namespace Platform
{
class SignalWatch;
}
} // namespace KR

class LTreeDump
{
public:
    static constexpr const char* kVariable = "KR_TEST_TREE_DUMP";

    // A dump to `path` on each SIGUSR1.
    explicit LTreeDump(const std::string& path);
    ~LTreeDump();
    LTreeDump(const LTreeDump&) = delete;
    LTreeDump& operator=(const LTreeDump&) = delete;

    // The dump the variable asks for; null when it is not set or empty.
    static std::unique_ptr<LTreeDump> FromEnvironment();

    // Writes the trees below `roots`, in turn, when a signal came since the last call. kOk
    // written, kNothingDone when none was asked, kFail when the file cannot be written.
    KR::Result WriteIfAsked(const std::vector<KR::RCPtr<KR::LControl>>& roots);
    // The dump's text: one line per control from `root` down.
    static std::string Describe(const KR::RCPtr<KR::LControl>& root);

private:
    std::string mPath;
    std::unique_ptr<KR::Platform::SignalWatch> mWatch;
};
