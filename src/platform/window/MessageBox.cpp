#include "platform/window/MessageBox.h"

#include "platform/window/MessageLoop.h"
#include "platform/window/ModalBoxes.h"
#include "platform/window/ToolkitTheme.h"
#include "platform/window/WindowInternal.h"

#include <string>

namespace KR::Platform
{
namespace
{

GtkMessageType MessageTypeOf(std::uint32_t style)
{
    switch (style & 0xF0)
    {
    case 0x10:
        return GTK_MESSAGE_ERROR;
    case 0x20:
        return GTK_MESSAGE_QUESTION;
    case 0x30:
        return GTK_MESSAGE_WARNING;
    case 0x40:
        return GTK_MESSAGE_INFO;
    default:
        return GTK_MESSAGE_OTHER;
    }
}

// GTK draws no picture for the message type alone, so the box gets the theme's icon of
// that name: the coloured one where the theme keeps it, else its symbolic form, which
// every theme has.
GtkWidget* IconOf(std::uint32_t style)
{
    const char* name = nullptr;
    switch (style & 0xF0)
    {
    case 0x10:
        name = "dialog-error";
        break;
    case 0x20:
        name = "dialog-question";
        break;
    case 0x30:
        name = "dialog-warning";
        break;
    case 0x40:
        name = "dialog-information";
        break;
    default:
        return nullptr;
    }
    const std::string symbolic = std::string(name) + "-symbolic";
    GtkIconTheme* theme = gtk_icon_theme_get_default();
    const char* chosen = theme != nullptr && gtk_icon_theme_has_icon(theme, name) ? name : symbolic.c_str();
    return gtk_image_new_from_icon_name(chosen, GTK_ICON_SIZE_DIALOG);
}

} // namespace

void Detail::SetMessageIcon(GtkWidget* messageDialog, std::uint32_t style)
{
    if (GtkWidget* icon = IconOf(style))
    {
        // Deprecated for a look that shows no picture, which is the look these boxes must not have.
        G_GNUC_BEGIN_IGNORE_DEPRECATIONS
        gtk_message_dialog_set_image(GTK_MESSAGE_DIALOG(messageDialog), icon);
        G_GNUC_END_IGNORE_DEPRECATIONS
        gtk_widget_show(icon);
    }
}

namespace
{

struct Answer
{
    MessageLoop* loop = nullptr;
    bool answered = false;
};

void OnMessageBoxResponse(GtkDialog*, gint, gpointer data)
{
    auto* answer = static_cast<Answer*>(data);
    answer->answered = true;
    answer->loop->End();
}

} // namespace

int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption, std::uint32_t style)
{
    if (AreModalBoxesRefused() || !InitializeWindowSystem())
    {
        return 0;
    }
    Detail::LoadToolkitTheme();
    GtkWindow* parent = nullptr;
    if (const Detail::WindowObject* window = Detail::Find(owner))
    {
        parent = GTK_WINDOW(window->toplevel);
    }
    GtkWidget* dialog = gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, MessageTypeOf(style), GTK_BUTTONS_OK,
                                               "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), caption.c_str());
    Detail::SetMessageIcon(dialog, style);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);

    // A loop without idle passes: the program's idle work waits until the box is answered.
    MessageLoop loop;
    Answer answer{&loop, false};
    g_signal_connect(dialog, "response", G_CALLBACK(OnMessageBoxResponse), &answer);
    gtk_widget_show_all(dialog);
    gtk_window_present(GTK_WINDOW(dialog));
    {
        const ModalBoxScope scope([&loop] { loop.End(); });
        loop.Run();
    }
    gtk_widget_destroy(dialog);
    return answer.answered ? 1 : 0;
}

} // namespace KR::Platform
