#pragma once
// The folders the application names by small ids, and its two settings files.
//
//     const KR::String settings = KR::GetApplicationFolder(KR::kUserSettingsFolder, company, product);
//
//     KR::LSettingsFiles files;                         // held for the application's life
//     std::int32_t user = files.Get(1, ini, settings, u"1_0_0", product);
//
// Per-user and shared folders follow the XDG rules (platform/system/UserFolders.h); the
// company and product folders below them are made on the way.

#include "kr/core/StringT.h"
#include "kr/system/IniFileManager.h"

#include <cstdint>

namespace KR
{

enum ApplicationFolder : std::uint32_t
{
    kProgramFolder = 0,      // where the program file is, without a trailing "/"
    kResourceFolder = 1,     // "::" (the embedded resources), or $KR_RESOURCE_FOLDER when set
    kSharedDataFolder = 2,   // data home + company + product: "AppSettings.ini"
    kUserSettingsFolder = 3, // config home + company + product: "UserSettings.ini"
    kDocumentsFolder = 4,    // the user's documents; 5 and 6 name it too
    kLastFolder = 6,
};

// The folder of that id; empty when the environment gives none (no HOME). An id past
// kLastFolder throws std::out_of_range ("Unknown Path ID."). For 2 and 3 the company and
// product folders are made when missing (a failure shows later, as a settings file that
// cannot be opened); their names go through MakeValidFileName.
String GetApplicationFolder(std::uint32_t id, const String& company, const String& product);

// The handles of "AppSettings.ini" (kind 0, in folder 2) and "UserSettings.ini" (kind 1,
// folder 3), opened on first use and kept open; a failed open is tried again on the next
// request. User-interface thread only.
class LSettingsFiles
{
public:
    static constexpr std::int32_t kApplicationSettings = 0;
    static constexpr std::int32_t kUserSettings = 1;

    // The kind's handle; 0 for any other kind, when the file cannot be opened, and when
    // `folder` is empty: a settings file never lands in the root folder.
    std::int32_t Get(std::int32_t kind, IIniFileManager& ini, const String& folder,
                     const String& settingsVersion, const String& productName);

    // Closes the files opened, written first when `save` and changed.
    void CloseAll(IIniFileManager& ini, bool save);

    // The file name of a kind, empty for any other kind.
    static const char16_t* FileName(std::int32_t kind);

private:
    std::int32_t mHandles[2] = {0, 0};
};

} // namespace KR
