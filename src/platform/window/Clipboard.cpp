#include "platform/window/Clipboard.h"

#include "platform/window/ClipboardReader.h"
#include "platform/window/WindowInternal.h"

namespace KR::Platform
{
namespace
{

// The target that marks content only this program holds; it never carries data.
constexpr char kPrivateTarget[] = "application/x-krframework-private";
constexpr guint kTextInfo = 1;
constexpr guint kMarkInfo = 2;

struct ClipboardState
{
    std::uint32_t sequence = 0;
    // This program took the clipboard last and has not been told of another owner yet.
    bool owned = false;
    bool writing = false;
    bool mark = false; // what was written is the mark, not text
    WindowHandle owner = 0;
    std::string text;
};

ClipboardState& State()
{
    static ClipboardState state;
    return state;
}

// Another program took the clipboard: the display server names none of our windows.
bool TakenByAnother()
{
    // GDK also knows other programs' windows it has heard of, as foreign ones.
    GdkWindow* owner =
        gdk_selection_owner_get_for_display(gdk_display_get_default(), GDK_SELECTION_CLIPBOARD);
    return !owner || gdk_window_get_window_type(owner) == GDK_WINDOW_FOREIGN;
}

GtkClipboard* Clipboard()
{
    if (!InitializeWindowSystem())
    {
        return nullptr;
    }
    return gtk_clipboard_get_for_display(gdk_display_get_default(), GDK_SELECTION_CLIPBOARD);
}

void GetContents(GtkClipboard*, GtkSelectionData* data, guint info, gpointer)
{
    const ClipboardState& state = State();
    if (info == kTextInfo)
    {
        gtk_selection_data_set_text(data, state.text.data(), static_cast<gint>(state.text.size()));
    }
    else
    {
        gtk_selection_data_set(data, gtk_selection_data_get_target(data), 8, nullptr, 0);
    }
}

void ClearContents(GtkClipboard*, gpointer)
{
    ClipboardState& state = State();
    state.text.clear();
    if (!state.writing)
    {
        // Taken by another program (counted when the display server reports it).
        state.owned = false;
    }
    if (state.owner != 0 && IsWindow(state.owner))
    {
        Detail::Dispatch(state.owner, WM_DESTROYCLIPBOARD, 0, 0);
    }
}

bool Write(WindowHandle owner, const std::string* text)
{
    GtkClipboard* clipboard = Clipboard();
    if (!clipboard)
    {
        return false;
    }
    GtkTargetList* list = gtk_target_list_new(nullptr, 0);
    if (text)
    {
        gtk_target_list_add_text_targets(list, kTextInfo);
    }
    else
    {
        gtk_target_list_add(list, gdk_atom_intern_static_string(kPrivateTarget), 0, kMarkInfo);
    }
    gint count = 0;
    GtkTargetEntry* targets = gtk_target_table_new_from_list(list, &count);
    gtk_target_list_unref(list);

    ClipboardState& state = State();
    state.writing = true;
    // The previous content (ours too) is cleared inside; the new owner hears of it.
    const bool taken = gtk_clipboard_set_with_data(clipboard, targets, static_cast<guint>(count),
                                                   &GetContents, &ClearContents, nullptr) != FALSE;
    state.writing = false;
    gtk_target_table_free(targets, count);
    if (taken)
    {
        state.text = text ? *text : std::string();
        state.mark = !text;
        state.owner = owner;
        state.owned = true;
    }
    ++state.sequence;
    return taken;
}

} // namespace

std::uint32_t GetClipboardSequenceNumber()
{
    if (!Clipboard())
    {
        return State().sequence;
    }
    return State().sequence +
           Detail::CountForeignOwnerChanges(gdk_display_get_name(gdk_display_get_default()));
}

bool ReadClipboard(ClipboardContents& out)
{
    out = ClipboardContents();
    if (!Clipboard())
    {
        return false;
    }
    ClipboardState& state = State();
    if (state.owned && !TakenByAnother())
    {
        // Ours: answered from what was written, with no round trip to wait for.
        out.privateMark = state.mark;
        out.hasText = !state.mark;
        out.text = out.hasText ? state.text : std::string();
        return true;
    }
    return Detail::ReadForeignClipboard(gdk_display_get_name(gdk_display_get_default()), kPrivateTarget, out);
}

bool WriteClipboardText(WindowHandle owner, const std::string& utf8)
{
    return Write(owner, &utf8);
}

bool WriteClipboardMark(WindowHandle owner)
{
    return Write(owner, nullptr);
}

} // namespace KR::Platform
