#include "platform/window/FileChooser.h"
#include "platform/window/ModalBoxes.h"
#include "platform/window/ToolkitTheme.h"

#include "platform/window/WindowInternal.h"

#include <fnmatch.h>
#include <gtk/gtk.h>
#include <sys/stat.h>

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
// the chooser's selection, which GTK fills in only once the folder has loaded), and the
// path a save dialog settled on.
struct Running
{
    WindowHandle owner = 0;
    std::string answeredPath;
    bool answered = false;
    const FileChooserRequest* request = nullptr;
    std::string settled;
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

// Asked above the chooser, which stays open behind it; No is the default, so a second
// Return does not replace the file.
bool AskToReplace(GtkWindow* chooser, const std::string& path)
{
    if (AreModalBoxesRefused())
    {
        return false;
    }
    gchar* name = g_filename_display_basename(path.c_str());
    GtkWidget* question = gtk_message_dialog_new(chooser, GTK_DIALOG_MODAL, GTK_MESSAGE_QUESTION,
                                                 GTK_BUTTONS_NONE, "\u201c%s\u201d already exists.", name);
    g_free(name);
    gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(question), "Do you want to replace it?");
    gtk_window_set_title(GTK_WINDOW(question), "Confirm Save");
    Detail::SetMessageIcon(question, 0x20);
    gtk_dialog_add_buttons(GTK_DIALOG(question), "_No", GTK_RESPONSE_NO, "_Yes", GTK_RESPONSE_YES, nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(question), GTK_RESPONSE_NO);
    gint response = GTK_RESPONSE_NO;
    {
        const ModalBoxScope scope([question] { gtk_dialog_response(GTK_DIALOG(question), GTK_RESPONSE_NO); });
        response = gtk_dialog_run(GTK_DIALOG(question));
    }
    gtk_widget_destroy(question);
    return response == GTK_RESPONSE_YES;
}

// Runs before gtk_dialog_run sees the answer: GTK's own overwrite question would be about
// the name as typed, so the name is settled here, and a "no" keeps the chooser running.
void OnResponse(GtkDialog* dialog, gint response, gpointer)
{
    auto found = RunningDialogs().find(GTK_WIDGET(dialog));
    if (response != GTK_RESPONSE_ACCEPT || found == RunningDialogs().end() ||
        found->second.request == nullptr || !found->second.request->save)
    {
        return;
    }
    Running& running = found->second;
    std::string chosen = running.answeredPath;
    if (!running.answered || chosen.empty())
    {
        gchar* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(dialog));
        chosen = name != nullptr ? name : "";
        g_free(name);
    }
    running.answered = false;
    if (chosen.empty())
    {
        g_signal_stop_emission_by_name(dialog, "response");
        return;
    }
    const std::optional<std::string> settled =
        SettleSaveName(*running.request, chosen,
                       [dialog](const std::string& path) { return AskToReplace(GTK_WINDOW(dialog), path); });
    if (!settled)
    {
        g_signal_stop_emission_by_name(dialog, "response");
        return;
    }
    running.settled = *settled;
}

class GtkFileChooserRunner final : public IFileChooser
{
public:
    FileChooserAnswer Run(const FileChooserRequest& request) override
    {
        FileChooserAnswer answer;
        if (AreModalBoxesRefused() || !InitializeWindowSystem())
        {
            return answer;
        }
        Detail::LoadToolkitTheme();
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
        // Never GTK's question: it asks about the name as typed, before the extension is added.
        gtk_file_chooser_set_do_overwrite_confirmation(chooser, FALSE);
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
        RunningDialogs()[dialog].request = &request;
        gRunning.push_back(dialog);
        g_signal_connect(dialog, "map", G_CALLBACK(&OnMapped), nullptr);
        g_signal_connect(dialog, "response", G_CALLBACK(&OnResponse), nullptr);
        gint response = GTK_RESPONSE_CANCEL;
        {
            const ModalBoxScope scope([dialog]
                                      { gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL); });
            response = gtk_dialog_run(GTK_DIALOG(dialog));
        }
        const Running running = RunningDialogs()[dialog];
        RunningDialogs().erase(dialog);
        gRunning.pop_back();

        if (response == GTK_RESPONSE_ACCEPT)
        {
            if (request.save)
            {
                answer.paths.push_back(running.settled);
            }
            else if (running.answered && !running.answeredPath.empty())
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
            answer.accepted = !answer.paths.empty() && !answer.paths.front().empty();
        }
        gtk_widget_destroy(dialog);
        return answer;
    }
};

} // namespace

std::optional<std::string> SettleSaveName(const FileChooserRequest& request, const std::string& chosen,
                                          const std::function<bool(const std::string& path)>& mayReplace)
{
    std::string path = chosen;
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    if (!request.defaultExtension.empty() && nameStart < path.size() &&
        path.find('.', nameStart) == std::string::npos)
    {
        path += "." + request.defaultExtension;
    }
    struct stat existing = {};
    if (request.confirmOverwrite && ::stat(path.c_str(), &existing) == 0 && !S_ISDIR(existing.st_mode) &&
        !mayReplace(path))
    {
        return std::nullopt;
    }
    return path;
}

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
