#pragma once
// GTK's theme, read only once GTK draws a window of its own.
//
// GTK reads its theme when its settings are made, at the start: for its built-in Adwaita,
// 170 kB of CSS, most of the window system's start-up time. The program draws its own
// windows; GTK draws only the message boxes and the file chooser, and of the theme the
// program's windows show nothing but the background of a window not yet painted. So the
// theme GTK looks up at the start is a stand-in: for each theme built into GTK, a resource
// at the very path GTK looks it up by, holding those background rules word for word (a
// resource registered later is found first). Before GTK draws a window of its own the
// stand-ins go, and the settings load the theme again by its name: the theme the user
// chose (GTK_THEME, else the settings' theme name and dark preference), which GTK goes on
// following when the choice changes. A theme found in a folder rather than built in is
// read at the start as before.
//
// Where GTK would draw the frames of the program's windows itself (client-side
// decorations, forced by GTK_CSD or under Wayland), or its version is not one whose
// built-in themes the stand-ins copy, nothing is deferred.

namespace KR::Platform::Detail
{

// Before GTK's settings are made (before gtk_init): puts the stand-ins in place where
// they apply. True when it did.
bool DeferToolkitTheme();

// Before GTK draws a window of its own: the user's theme in full. Once; nothing when
// nothing was deferred.
void LoadToolkitTheme();

// Whether the stand-ins are in place.
bool IsToolkitThemeDeferred();

} // namespace KR::Platform::Detail
