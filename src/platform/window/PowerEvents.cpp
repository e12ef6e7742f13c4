#include "platform/window/PowerEvents.h"

#include "platform/window/WindowInternal.h"

#include <gio/gio.h>

namespace KR::Platform
{
namespace
{

constexpr char kLoginManager[] = "org.freedesktop.login1";
constexpr char kManagerInterface[] = "org.freedesktop.login1.Manager";
constexpr char kManagerPath[] = "/org/freedesktop/login1";

struct PowerWatch
{
    bool started = false;
    bool watching = false;
    // Kept for the life of the process, as the subscription on it.
    GDBusConnection* bus = nullptr;
};

PowerWatch& Watch()
{
    static PowerWatch watch;
    return watch;
}

void OnPrepareForSleep(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
                       GVariant* parameters, gpointer)
{
    // Anything but the one flag the login manager sends is not its announcement.
    if (!parameters || !g_variant_is_of_type(parameters, G_VARIANT_TYPE("(b)")))
    {
        return;
    }
    gboolean sleeping = FALSE;
    g_variant_get(parameters, "(b)", &sleeping);
    Detail::DispatchToEveryWindow(WM_POWERBROADCAST, sleeping ? PBT_APMSUSPEND : PBT_APMRESUMEAUTOMATIC, 0);
}

void OnBusAnswered(GObject* source, GAsyncResult* result, gpointer)
{
    // The bus takes one connection's requests in order: once it answers this one, the
    // match rule asked for before it is in place.
    GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, nullptr);
    if (reply)
    {
        g_variant_unref(reply);
        Watch().watching = true;
    }
}

void OnConnected(GObject*, GAsyncResult* result, gpointer)
{
    GDBusConnection* bus = g_dbus_connection_new_for_address_finish(result, nullptr);
    if (!bus)
    {
        return; // no system bus: no news of sleep, nothing else changes
    }
    Watch().bus = bus;
    g_dbus_connection_signal_subscribe(bus, kLoginManager, kManagerInterface, "PrepareForSleep", kManagerPath,
                                       nullptr, G_DBUS_SIGNAL_FLAGS_NONE, OnPrepareForSleep, nullptr,
                                       nullptr);
    g_dbus_connection_call(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                           "GetId", nullptr, G_VARIANT_TYPE("(s)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr,
                           OnBusAnswered, nullptr);
}

} // namespace

void WatchPowerEvents()
{
    PowerWatch& watch = Watch();
    if (watch.started)
    {
        return;
    }
    watch.started = true;
    gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SYSTEM, nullptr, nullptr);
    if (!address)
    {
        return;
    }
    // A connection of its own: the shared system connection ends the whole process when the
    // bus goes away, and a restarted bus daemon must not take the editor with it.
    const auto flags = static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                                         G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION);
    g_dbus_connection_new_for_address(address, flags, nullptr, nullptr, OnConnected, nullptr);
    g_free(address);
}

bool IsWatchingPowerEvents()
{
    return Watch().watching;
}

} // namespace KR::Platform
