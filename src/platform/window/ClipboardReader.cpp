// Plain Xlib on a connection of its own, apart from GTK's.
#include "platform/window/ClipboardReader.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <gdk/gdkx.h>

#include <poll.h>

#include <algorithm>

#include <chrono>
#include <climits>
#include <string>
#include <vector>

namespace KR::Platform::Detail
{
namespace
{

// How long an owner may take for one answer (and for each piece of a long one).
constexpr auto kAnswerTime = std::chrono::seconds(3);

struct Connection
{
    Display* display = nullptr;
    Window window = 0;
    Atom clipboard = 0, targets = 0, utf8 = 0, incr = 0, property = 0;
    int fixesEvents = -1; // the first event number of the owner-change extension, if present
    std::uint32_t foreignChanges = 0;
};

Connection* Open(const char* displayName)
{
    static Connection connection;
    if (!connection.display)
    {
        connection.display = XOpenDisplay(displayName);
        if (!connection.display)
        {
            return nullptr;
        }
        Display* d = connection.display;
        connection.window = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
        XSelectInput(d, connection.window, PropertyChangeMask);
        connection.clipboard = XInternAtom(d, "CLIPBOARD", False);
        connection.targets = XInternAtom(d, "TARGETS", False);
        connection.utf8 = XInternAtom(d, "UTF8_STRING", False);
        connection.incr = XInternAtom(d, "INCR", False);
        connection.property = XInternAtom(d, "KR_CLIPBOARD_READ", False);
        int errors = 0, major = 5, minor = 0;
        if (XFixesQueryExtension(d, &connection.fixesEvents, &errors) &&
            XFixesQueryVersion(d, &major, &minor))
        {
            XFixesSelectSelectionInput(d, DefaultRootWindow(d), connection.clipboard,
                                       XFixesSetSelectionOwnerNotifyMask);
        }
        else
        {
            connection.fixesEvents = -1;
        }
    }
    return &connection;
}

// GDK also knows other programs' windows it has heard of, as foreign ones.
bool IsForeign(Window owner)
{
    GdkWindow* window =
        owner == None ? nullptr : gdk_x11_window_lookup_for_display(gdk_display_get_default(), owner);
    return !window || gdk_window_get_window_type(window) == GDK_WINDOW_FOREIGN;
}

// Counts an owner change that put the clipboard out of this program's hands (a window
// not ours, or none).
void Notice(Connection& c, const XEvent& event)
{
    if (c.fixesEvents < 0 || event.type != c.fixesEvents + XFixesSelectionNotify)
    {
        return;
    }
    if (IsForeign(reinterpret_cast<const XFixesSelectionNotifyEvent&>(event).owner))
    {
        ++c.foreignChanges;
    }
}

// Waits for the next event of the connection's window that `wanted` accepts.
template <typename Wanted>
bool WaitFor(Connection& c, XEvent& event, Wanted wanted)
{
    const auto deadline = std::chrono::steady_clock::now() + kAnswerTime;
    for (;;)
    {
        while (XPending(c.display) > 0)
        {
            XNextEvent(c.display, &event);
            Notice(c, event);
            if (wanted(event))
            {
                return true;
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
        {
            return false;
        }
        pollfd descriptor{ConnectionNumber(c.display), POLLIN, 0};
        poll(&descriptor, 1, static_cast<int>(left.count()));
    }
}

// Takes the property off the window: its type and bytes (32-bit items as Xlib hands them,
// one long each).
bool TakeProperty(Connection& c, Atom& type, std::string& bytes)
{
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(c.display, c.window, c.property, 0, LONG_MAX / 4, True, AnyPropertyType, &type,
                           &format, &items, &after, &data) != Success)
    {
        return false;
    }
    const std::size_t unit = format == 32 ? sizeof(long) : format == 16 ? sizeof(short) : 1;
    bytes.assign(reinterpret_cast<const char*>(data), data ? items * unit : 0);
    if (data)
    {
        XFree(data);
    }
    return true;
}

// The owner's answer for one target; false when it gives none.
bool Convert(Connection& c, Atom target, Atom& type, std::string& bytes)
{
    XDeleteProperty(c.display, c.window, c.property);
    XConvertSelection(c.display, c.clipboard, target, c.property, c.window, CurrentTime);
    XFlush(c.display);
    XEvent event;
    if (!WaitFor(c, event,
                 [&](const XEvent& e)
                 { return e.type == SelectionNotify && e.xselection.requestor == c.window; }) ||
        event.xselection.property == None || !TakeProperty(c, type, bytes))
    {
        return false;
    }
    if (type != c.incr)
    {
        return true;
    }
    // A long answer comes in pieces, each put on the property once the last was taken;
    // an empty piece ends it.
    bytes.clear();
    for (;;)
    {
        if (!WaitFor(c, event,
                     [&](const XEvent& e)
                     {
                         return e.type == PropertyNotify && e.xproperty.window == c.window &&
                                e.xproperty.atom == c.property && e.xproperty.state == PropertyNewValue;
                     }))
        {
            return false;
        }
        std::string piece;
        if (!TakeProperty(c, type, piece))
        {
            return false;
        }
        if (piece.empty())
        {
            return true;
        }
        bytes += piece;
    }
}

// ISO 8859-1 bytes as UTF-8.
std::string Latin1ToUtf8(const std::string& bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (const unsigned char byte : bytes)
    {
        if (byte < 0x80)
        {
            text += static_cast<char>(byte);
        }
        else
        {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

} // namespace

std::uint32_t CountForeignOwnerChanges(const char* displayName)
{
    Connection* c = Open(displayName);
    if (!c)
    {
        return 0;
    }
    // Every owner change is reported once; after the round trip all reports sent before
    // it have arrived.
    XSync(c->display, False);
    while (XPending(c->display) > 0)
    {
        XEvent event;
        XNextEvent(c->display, &event);
        Notice(*c, event);
    }
    return c->foreignChanges;
}

bool ReadForeignClipboard(const char* displayName, const char* privateTarget, ClipboardContents& out)
{
    Connection* c = Open(displayName);
    if (!c)
    {
        return false;
    }
    Atom type = 0;
    std::string list;
    if (!Convert(*c, c->targets, type, list) || type != XA_ATOM)
    {
        return true;
    }
    std::vector<Atom> offered(list.size() / sizeof(long));
    for (std::size_t i = 0; i < offered.size(); ++i)
    {
        offered[i] = static_cast<Atom>(reinterpret_cast<const long*>(list.data())[i]);
    }
    auto offers = [&](Atom atom) { return std::find(offered.begin(), offered.end(), atom) != offered.end(); };
    out.privateMark = offers(XInternAtom(c->display, privateTarget, False));
    // The text targets in the order they are asked for: UTF-8 first, Latin-1 last.
    const Atom utf8Targets[] = {c->utf8, XInternAtom(c->display, "text/plain;charset=utf-8", False),
                                XInternAtom(c->display, "TEXT", False),
                                XInternAtom(c->display, "text/plain", False)};
    for (const Atom target : utf8Targets)
    {
        out.hasText = out.hasText || offers(target);
    }
    out.hasText = out.hasText || offers(XA_STRING);
    if (out.privateMark || !out.hasText)
    {
        return true;
    }
    std::string bytes;
    for (const Atom target : utf8Targets)
    {
        if (offers(target) && Convert(*c, target, type, bytes))
        {
            out.text = std::move(bytes);
            return true;
        }
    }
    if (offers(XA_STRING) && Convert(*c, XA_STRING, type, bytes))
    {
        out.text = Latin1ToUtf8(bytes);
    }
    return true;
}

} // namespace KR::Platform::Detail
