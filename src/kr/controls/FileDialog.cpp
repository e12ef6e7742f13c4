#include "kr/controls/FileDialog.h"

#include "kr/system/Paths.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/RootWindowServices.h"

namespace KR
{

// The description record the dialogs share: its size field keeps the value of the record
// it stands for, the rest is what each dialog reads.
struct LFileDialog::Record
{
    std::uint32_t structSize = 88;
    std::uintptr_t owner = 0;
    std::uint32_t flags = kExplorer | kEnableSizing;
    std::uint32_t maxFile = kBufferUnits;
    std::uint32_t maxFileTitle = kBufferUnits;
    String defaultExtension;
    String title;
};

namespace
{

const String& Untitled()
{
    static const String name(u"Untitled");
    return name;
}

std::string Utf8(const String& text)
{
    const Utf8String bytes = text.ToUtf8();
    return std::string(bytes.GetPtr(), bytes.GetLength());
}

// "*.VantorPresetEditor" or ".VantorPresetEditor" give "VantorPresetEditor".
String BareExtension(const String& extension)
{
    String bare = extension;
    if (bare.GetLength() >= 1 && bare.GetPtr()[0] == u'*')
    {
        bare = bare.SubString(1);
    }
    if (bare.GetLength() >= 1 && bare.GetPtr()[0] == u'.')
    {
        bare = bare.SubString(1);
    }
    return bare;
}

String LastComponent(const String& path)
{
    const std::u16string_view view = path.GetView();
    const std::size_t slash = view.rfind(u'/');
    return slash == std::u16string_view::npos ? path : String(view.substr(slash + 1));
}

// The active root window's system window, else the first root window's (the main window):
// a chooser opened by a hot key before any window was active belongs there all the same.
std::uintptr_t CurrentOwner()
{
    IFrameworkApp& app = IFrameworkApp::GetInstance();
    RCPtr<IRootWindowServices> window = app.GetActiveRootWindow();
    if (!window)
    {
        window = app.GetRootWindow(0);
    }
    return window ? window->GetSystemWindowHandle() : 0;
}

} // namespace

LFileDialog::LFileDialog(const String& startingFolder)
    : mRecord(std::make_unique<Record>()), mStartingFolder(startingFolder)
{
    if (const RCPtr<IRootWindowServices> active = IFrameworkApp::GetInstance().GetActiveRootWindow())
    {
        mRecord->owner = active->GetSystemWindowHandle();
    }
}

LFileDialog::~LFileDialog() = default;

std::uint32_t LFileDialog::GetFlags() const
{
    return mRecord->flags;
}

std::uintptr_t LFileDialog::GetOwner() const
{
    return mRecord->owner;
}

std::vector<Platform::FileChooserFilter> LFileDialog::SplitFilter(const String& filter)
{
    std::vector<Platform::FileChooserFilter> pairs;
    const std::u16string_view text = filter.GetView();
    std::vector<std::u16string_view> fields;
    std::size_t start = 0;
    while (start <= text.size())
    {
        const std::size_t bar = text.find(u'|', start);
        const std::size_t end = bar == std::u16string_view::npos ? text.size() : bar;
        fields.push_back(text.substr(start, end - start));
        if (bar == std::u16string_view::npos)
        {
            break;
        }
        start = bar + 1;
    }
    // A trailing "|" closes the list rather than opening an empty description.
    if (!fields.empty() && fields.back().empty())
    {
        fields.pop_back();
    }
    for (std::size_t i = 0; i < fields.size(); i += 2)
    {
        Platform::FileChooserFilter pair;
        pair.description = Utf8(String(fields[i]));
        if (i + 1 < fields.size())
        {
            std::u16string_view patterns = fields[i + 1];
            while (!patterns.empty())
            {
                const std::size_t semicolon = patterns.find(u';');
                const std::u16string_view one = patterns.substr(0, semicolon);
                if (!one.empty())
                {
                    pair.patterns.push_back(Utf8(String(one)));
                }
                patterns = semicolon == std::u16string_view::npos ? std::u16string_view()
                                                                  : patterns.substr(semicolon + 1);
            }
        }
        pairs.push_back(std::move(pair));
    }
    return pairs;
}

Result LFileDialog::ShowOpenDialog(const String& filter, const String& defaultExtension, const String& title,
                                   bool allowMultiple)
{
    mPath.Clear();
    mTitle.Clear();
    mRecord->defaultExtension = defaultExtension;
    mRecord->title = title;
    mRecord->flags |= kReadOnly | kHideReadOnly | kFileMustExist;
    // Only the call that asks for several files gets them: left over from an earlier call,
    // the flag would hand a single open a folder in place of the file to load.
    if (allowMultiple)
    {
        mRecord->flags |= kAllowMultiSelect;
    }
    else
    {
        mRecord->flags &= ~kAllowMultiSelect;
    }
    return Run(false, filter);
}

Result LFileDialog::ShowSaveDialog(const String& filter, const String& defaultExtension, const String& title)
{
    mPath = Untitled();
    mTitle = Untitled();
    mRecord->defaultExtension = defaultExtension;
    mRecord->title = title;
    mRecord->flags = kOverwritePrompt;
    return Run(true, filter);
}

Result LFileDialog::Run(bool save, const String& filter)
{
    // The object is made with its owner view, often before any window is active, and a
    // window it was made under may be gone: the owner is the one there is now.
    mRecord->owner = CurrentOwner();
    Platform::FileChooserRequest request;
    request.save = save;
    request.owner = mRecord->owner;
    request.title = Utf8(mRecord->title);
    request.folder = Utf8(mStartingFolder);
    request.initialName = save ? Utf8(Untitled()) : std::string();
    request.filters = SplitFilter(filter);
    request.multiple = (mRecord->flags & kAllowMultiSelect) != 0;
    request.confirmOverwrite = (mRecord->flags & kOverwritePrompt) != 0;
    // The chooser adds it before it asks about replacing, so it asks about the file written.
    request.defaultExtension = save ? Utf8(BareExtension(mRecord->defaultExtension)) : std::string();

    const Platform::FileChooserAnswer answer = Platform::GetFileChooser().Run(request);
    if (!answer.accepted || answer.paths.empty())
    {
        return kFail;
    }
    return TakeAnswer(answer);
}

Result LFileDialog::TakeAnswer(const Platform::FileChooserAnswer& answer)
{
    String path;
    // A name that is not UTF-8 has no faithful UTF-16 form; a lossy one would name another file.
    if (path.AssignUtf8(answer.paths.front().c_str(),
                        static_cast<std::uint32_t>(answer.paths.front().size())) != kOk)
    {
        return kFail;
    }
    if (answer.paths.size() > 1)
    {
        // Several files: the record holds their folder, as the dialog gives it first.
        path = GetParentPath(path);
    }
    if (path.GetLength() >= kBufferUnits)
    {
        return kFail;
    }
    mPath = path;
    mTitle = answer.paths.size() > 1 ? String() : LastComponent(path);
    mStartingFolder = GetParentPath(path);
    return kOk;
}

} // namespace KR
