#pragma once
// KR::LFileDialog: the system's open and save dialogs for preset files. One object serves
// every load and save of its owner and remembers the folder of the last chosen file, so the
// next dialog starts there. Its description record keeps its flags from call to call: an
// open after a save runs with the save's overwrite flag still set, as callers have seen.
//
//     KR::RCPtr<KR::LFileDialog> dialog(new KR::LFileDialog(u"."));
//     if (dialog->ShowOpenDialog(filter, u"*.VantorPresetEditor", title, false) == KR::kOk)
//         Load(dialog->GetPathName());
//
// The dialog itself is the window layer's file chooser (GTK's, or a test's). UI thread only:
// both calls block until the dialog closes.

#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "platform/window/FileChooser.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace KR
{

class LFileDialog : public LRefCountedObject
{
public:
    // The record's flags, with the values callers and saved settings know them by.
    static constexpr std::uint32_t kReadOnly = 0x1;
    static constexpr std::uint32_t kOverwritePrompt = 0x2;
    static constexpr std::uint32_t kHideReadOnly = 0x4;
    static constexpr std::uint32_t kAllowMultiSelect = 0x200;
    static constexpr std::uint32_t kFileMustExist = 0x1000;
    static constexpr std::uint32_t kExplorer = 0x80000;
    static constexpr std::uint32_t kEnableSizing = 0x800000;
    // Chosen paths and titles of this many UTF-16 units or more do not fit.
    static constexpr std::uint32_t kBufferUnits = 2600;

    // The owner is the system window of the application's active root window, if any; each
    // dialog takes it again when shown, else the first root window's (the main window).
    explicit LFileDialog(const String& startingFolder);
    ~LFileDialog() override;

    // kOk when the user chose a file, kFail when the dialog was cancelled or failed.
    Result ShowOpenDialog(const String& filter, const String& defaultExtension, const String& title,
                          bool allowMultiple);
    Result ShowSaveDialog(const String& filter, const String& defaultExtension, const String& title);
    // The last chosen path: empty before any and after a cancelled open; "Untitled" after a
    // cancelled save. Several files chosen at once leave their folder here.
    String GetPathName() const { return mPath; }
    // The chosen file's name without its folder.
    String GetFileTitle() const { return mTitle; }

    // What the next dialog starts with.
    std::uint32_t GetFlags() const;
    String GetStartingFolder() const { return mStartingFolder; }
    std::uintptr_t GetOwner() const;

    // "description|pattern|description|pattern" as (description, patterns) pairs; a
    // pattern field may hold several patterns separated by ";". A description without a
    // pattern after it stays, matching nothing.
    static std::vector<Platform::FileChooserFilter> SplitFilter(const String& filter);

private:
    struct Record;

    Result Run(bool save, const String& filter);
    // The chosen paths as the one path the record keeps; kFail when they cannot be one.
    Result TakeAnswer(const Platform::FileChooserAnswer& answer);

    std::unique_ptr<Record> mRecord;
    String mPath;
    String mTitle;
    String mStartingFolder;
};

} // namespace KR
