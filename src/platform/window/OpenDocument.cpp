#include "platform/window/OpenDocument.h"

#include <glib.h>

#include <memory>

namespace KR::Platform
{

namespace
{

using Done = std::function<void(bool)>;

void OnOpenerEnded(GPid pid, gint status, gpointer data)
{
    const std::unique_ptr<Done> done(static_cast<Done*>(data));
    g_spawn_close_pid(pid);
    const bool opened = g_spawn_check_wait_status(status, nullptr) != FALSE;
    if (*done)
    {
        (*done)(opened);
    }
}

} // namespace

void OpenDocument(const std::string& path, std::function<void(bool opened)> done)
{
    gchar opener[] = "xdg-open";
    std::string argument = path;
    gchar* argv[] = {opener, argument.data(), nullptr};
    GPid pid = 0;
    GError* error = nullptr;
    // Not reaped by GLib on its own: the child watch below reads its status.
    const GSpawnFlags flags = static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD);
    if (!g_spawn_async(nullptr, argv, nullptr, flags, nullptr, nullptr, &pid, &error))
    {
        g_clear_error(&error);
        if (done)
        {
            done(false);
        }
        return;
    }
    g_child_watch_add(pid, &OnOpenerEnded, new Done(std::move(done)));
}

} // namespace KR::Platform
