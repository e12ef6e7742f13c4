#pragma once
// The user's folders by the XDG base-directory rules: where per-user data and settings
// go, and the documents folder. Each is an absolute UTF-8 path without a trailing "/", or
// empty when the environment gives no absolute path for it (no HOME, as for a daemon
// started without one); callers then have no folder and must not fall back to "/".

#include <string>

namespace KR::Platform
{

// $XDG_DATA_HOME when absolute, else $HOME/.local/share.
std::string UserDataFolder();

// $XDG_CONFIG_HOME when absolute, else $HOME/.config.
std::string UserConfigFolder();

// XDG_DOCUMENTS_DIR of the user's "user-dirs.dirs" in the config folder when it names a
// folder other than the home folder itself, else $HOME.
std::string UserDocumentsFolder();

} // namespace KR::Platform
