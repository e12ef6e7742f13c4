#pragma once
// The system's open and save dialogs: one request in, the chosen paths or a cancel out.
// The GTK file chooser answers by default; tests install a scripted chooser of their own
// with SetFileChooser, so nothing above this layer needs a display to be tested.
//
//     KR::Platform::FileChooserRequest request;
//     request.title = "Load Preset";
//     request.filters.push_back({"Presets", {"*.VantorPresetEditor"}});
//     const KR::Platform::FileChooserAnswer answer = KR::Platform::GetFileChooser().Run(request);
//
// UI thread only: Run blocks in a nested main loop until the dialog closes.

#include "platform/window/Messages.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace KR::Platform
{

struct FileChooserFilter
{
    std::string description;           // UTF-8
    std::vector<std::string> patterns; // "*.ext"; "*.*" or "*" match every file
};

struct FileChooserRequest
{
    bool save = false;
    WindowHandle owner = 0; // the dialog is kept above it; 0: no owner
    std::string title;      // UTF-8, like every text here
    std::string folder;     // where it starts; relative to the working folder when not absolute
    std::string initialName;
    std::vector<FileChooserFilter> filters;
    bool multiple = false;         // open only
    bool confirmOverwrite = false; // save only: ask before a file that exists is replaced
    // Save only: added after a "." to a chosen name whose last component has none, before
    // the name is taken, so the question above is about the file that will be written.
    std::string defaultExtension;
};

struct FileChooserAnswer
{
    bool accepted = false;
    std::vector<std::string> paths; // absolute, as the file system names them (any bytes)
};

// A chooser gives a save dialog's answer settled (SettleSaveName): the default extension
// added, and a file that exists replaced only when the user said so.
class IFileChooser
{
public:
    virtual ~IFileChooser() = default;
    virtual FileChooserAnswer Run(const FileChooserRequest& request) = 0;
};

// The path a save dialog writes for the name the user chose. When that file exists and the
// request asks to confirm, mayReplace is asked about it (a folder is not: no one can replace
// it, and the save says so); nullopt when the answer was no and the dialog goes on.
std::optional<std::string> SettleSaveName(const FileChooserRequest& request, const std::string& chosen,
                                          const std::function<bool(const std::string& path)>& mayReplace);

// The installed chooser, else the GTK one (which cancels at once without a display or while
// boxes are refused, and is cancelled with them: ModalBoxes.h).
IFileChooser& GetFileChooser();
// Installs a chooser (null puts GTK's back) and returns the one installed before.
IFileChooser* SetFileChooser(IFileChooser* chooser);

// For tests of the GTK chooser itself: the hook runs on the UI thread, inside Run, once
// the dialog is on screen, with a handle that AnswerFileChooser takes. The answer accepts
// path (or the chooser's own selection when path is empty), or cancels.
using FileChooserShownHook = std::function<void(std::uintptr_t dialog)>;
void SetFileChooserShownHook(FileChooserShownHook hook);
bool AnswerFileChooser(std::uintptr_t dialog, bool accept, const std::string& path);
// The dialog running now (the innermost), or 0; and the window a dialog is kept above.
std::uintptr_t GetRunningFileChooser();
WindowHandle GetFileChooserOwner(std::uintptr_t dialog);

} // namespace KR::Platform
