#include "platform/window/FileChooser.h"

#include "platform/window/WindowInternal.h"

#include <fnmatch.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace KR::Platform
{
namespace
{

IFileChooser* gInstalled = nullptr;
FileChooserShownHook gShownHook;
std::vector<GtkWidget*> gRunning; // innermost last

// The dialogs running now, with the path a test answered for each (Run reads it instead of
// the chooser's selection, which GTK fills in only once the folder has loaded).
struct Running
{
    WindowHandle owner = 0;
    std::string answeredPath;
    bool answered = false;
};
std::map<GtkWidget*, Running>& RunningDialogs()
{
    static std::map<GtkWidget*, Running> dialogs;
    return dialogs;
}

std::string Absolute(const std::string& folder)
{
    gchar* canonical = g_canonicalize_filename(folder.c_str(), nullptr);
    std::string path = canonical;
    g_free(canonical);
    return path;
}

// Patterns match whatever the letter case, as they do for the users the filter texts were
// written for; "*.*" is every file, with or without a dot.
gboolean MatchesPattern(const GtkFileFilterInfo* info, gpointer data)
{
    const auto* patterns = static_cast<const std::vector<std::string>*>(data);
    const char* name = info->display_name;
    if (name == nullptr)
    {
        return FALSE;
    }
    for (const std::string& pattern : *patterns)
    {
        if (pattern == "*.*" || pattern == "*" || fnmatch(pattern.c_str(), name, FNM_CASEFOLD) == 0)
        {
            return TRUE;
        }
    }
    return FALSE;
}

void AddFilters(GtkFileChooser* chooser, const std::vector<FileChooserFilter>& filters)
{
    for (const FileChooserFilter& entry : filters)
    {
        GtkFileFilter* filter = gtk_file_filter_new();
        gtk_file_filter_set_name(filter, entry.description.c_str());
        auto* patterns = new std::vector<std::string>(entry.patterns);
        gtk_file_filter_add_custom(filter, GTK_FILE_FILTER_DISPLAY_NAME, &MatchesPattern, patterns,
                                   [](gpointer data)
                                   { delete static_cast<std::vector<std::string>*>(data); });
        gtk_file_chooser_add_filter(chooser, filter);
    }
}

gboolean CallShownHook(gpointer data)
{
    auto* dialog = static_cast<GtkWidget*>(data);
    if (gShownHook && RunningDialogs().count(dialog) != 0)
    {
        gShownHook(reinterpret_cast<std::uintptr_t>(dialog));
    }
    g_object_unref(dialog);
    return G_SOURCE_REMOVE;
}

void OnMapped(GtkWidget* dialog, gpointer)
{
    // After the map, so the hook sees the dialog on screen and answers from the loop that
    // gtk_dialog_run is spinning.
    g_object_ref(dialog);
    g_idle_add(&CallShownHook, dialog);
}

class GtkFileChooserRunner final : public IFileChooser
{
public:
    FileChooserAnswer Run(const FileChooserRequest& request) override
    {
        FileChooserAnswer answer;
        if (!InitializeWindowSystem())
        {
            return answer;
        }
        GtkWindow* parent = nullptr;
        if (const Detail::WindowObject* owner = Detail::Find(request.owner))
        {
            parent = GTK_WINDOW(owner->toplevel);
        }
        const GtkFileChooserAction action =
            request.save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN;
        GtkWidget* dialog =
            gtk_file_chooser_dialog_new(request.title.c_str(), parent, action, "_Cancel", GTK_RESPONSE_CANCEL,
                                        request.save ? "_Save" : "_Open", GTK_RESPONSE_ACCEPT, nullptr);
        GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
        gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
        gtk_file_chooser_set_local_only(chooser, TRUE);
        gtk_file_chooser_set_do_overwrite_confirmation(chooser, request.save && request.confirmOverwrite);
        gtk_file_chooser_set_select_multiple(chooser, !request.save && request.multiple);
        if (!request.folder.empty())
        {
            gtk_file_chooser_set_current_folder(chooser, Absolute(request.folder).c_str());
        }
        if (request.save && !request.initialName.empty())
        {
            gtk_file_chooser_set_current_name(chooser, request.initialName.c_str());
        }
        AddFilters(chooser, request.filters);

        RunningDialogs()[dialog].owner = parent != nullptr ? request.owner : 0;
        gRunning.push_back(dialog);
        g_signal_connect(dialog, "map", G_CALLBACK(&OnMapped), nullptr);
        const gint response = gtk_dialog_run(GTK_DIALOG(dialog));
        const Running running = RunningDialogs()[dialog];
        RunningDialogs().erase(dialog);
        gRunning.pop_back();

        if (response == GTK_RESPONSE_ACCEPT)
        {
            if (running.answered && !running.answeredPath.empty())
            {
                answer.paths.push_back(running.answeredPath);
            }
            else
            {
                GSList* names = gtk_file_chooser_get_filenames(chooser);
                for (GSList* item = names; item != nullptr; item = item->next)
                {
                    answer.paths.emplace_back(static_cast<const char*>(item->data));
                }
                g_slist_free_full(names, g_free);
            }
            answer.accepted = !answer.paths.empty();
        }
        gtk_widget_destroy(dialog);
        return answer;
    }
};

} // namespace

IFileChooser& GetFileChooser()
{
    static GtkFileChooserRunner gtkChooser;
    return gInstalled != nullptr ? *gInstalled : gtkChooser;
}

IFileChooser* SetFileChooser(IFileChooser* chooser)
{
    IFileChooser* previous = gInstalled;
    gInstalled = chooser;
    return previous;
}

void SetFileChooserShownHook(FileChooserShownHook hook)
{
    gShownHook = std::move(hook);
}

bool AnswerFileChooser(std::uintptr_t dialog, bool accept, const std::string& path)
{
    auto* widget = reinterpret_cast<GtkWidget*>(dialog);
    auto found = RunningDialogs().find(widget);
    if (found == RunningDialogs().end())
    {
        return false;
    }
    found->second.answered = true;
    found->second.answeredPath = accept ? path : std::string();
    gtk_dialog_response(GTK_DIALOG(widget), accept ? GTK_RESPONSE_ACCEPT : GTK_RESPONSE_CANCEL);
    return true;
}

std::uintptr_t GetRunningFileChooser()
{
    return gRunning.empty() ? 0 : reinterpret_cast<std::uintptr_t>(gRunning.back());
}

WindowHandle GetFileChooserOwner(std::uintptr_t dialog)
{
    auto found = RunningDialogs().find(reinterpret_cast<GtkWidget*>(dialog));
    if (found == RunningDialogs().end())
    {
        return 0;
    }
    // What GTK itself keeps the dialog above, not what was asked for.
    GtkWindow* parent = gtk_window_get_transient_for(GTK_WINDOW(found->first));
    return parent != nullptr ? found->second.owner : 0;
}

} // namespace KR::Platform
