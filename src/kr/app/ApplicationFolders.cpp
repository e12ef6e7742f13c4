#include "kr/app/ApplicationFolders.h"

#include "kr/core/Exception.h"
#include "kr/system/Paths.h"
#include "platform/system/FileSystem.h"
#include "platform/system/UserFolders.h"

#include <cstdlib>
#include <utility>

namespace KR
{

namespace
{

constexpr const char* kUnknownPathIdText =
    "Out of Range : Unknown Path ID. : KR::MFCFrameworkApp<class LApplication>::GetFolder : "
    "krframework\\include\\../Application/ApplicationBaseWin : Line 570";

String FromUtf8(const std::string& text)
{
    return String(text.c_str());
}

// base + "/" + company + "/" + product, each level made on the way; empty without a base.
String CompanyProductFolder(const std::string& base, const String& company, const String& product)
{
    if (base.empty())
    {
        return String();
    }
    String path = FromUtf8(base);
    path += u"/";
    path += MakeValidFileName(company);
    EnsureDirectoryExists(path);
    path += u"/";
    path += MakeValidFileName(product);
    EnsureDirectoryExists(path);
    return path;
}

} // namespace

String GetApplicationFolder(std::uint32_t id, const String& company, const String& product)
{
    switch (id)
    {
    case kProgramFolder:
        return FromUtf8(Platform::ExecutableFolder());
    case kResourceFolder:
    {
        // Skin authors and tests point the documents and images elsewhere.
        const char* folder = std::getenv("KR_RESOURCE_FOLDER");
        return folder != nullptr && *folder != '\0' ? String(folder) : String(u"::");
    }
    case kSharedDataFolder:
        return CompanyProductFolder(Platform::UserDataFolder(), company, product);
    case kUserSettingsFolder:
        return CompanyProductFolder(Platform::UserConfigFolder(), company, product);
    case kDocumentsFolder:
    case 5:
    case kLastFolder:
        return FromUtf8(Platform::UserDocumentsFolder());
    default:
        Throw<std::out_of_range>(kUnknownPathIdText);
    }
}

const char16_t* LSettingsFiles::FileName(std::int32_t kind)
{
    switch (kind)
    {
    case kApplicationSettings:
        return u"AppSettings.ini";
    case kUserSettings:
        return u"UserSettings.ini";
    default:
        return u"";
    }
}

std::int32_t LSettingsFiles::Get(std::int32_t kind, IIniFileManager& ini, const String& folder,
                                 const String& settingsVersion, const String& productName)
{
    if (kind != kApplicationSettings && kind != kUserSettings)
    {
        return 0;
    }
    std::int32_t& handle = mHandles[kind];
    if (handle == 0 && !folder.IsEmpty())
    {
        String path = folder;
        path += u"/";
        path += FileName(kind);
        std::int32_t opened = 0;
        if (Succeeded(ini.OpenIniFile(path, settingsVersion, productName, opened)))
        {
            handle = opened;
        }
    }
    return handle;
}

void LSettingsFiles::CloseAll(IIniFileManager& ini, bool save)
{
    for (std::int32_t& handle : mHandles)
    {
        if (handle != 0)
        {
            ini.CloseIniFile(std::exchange(handle, 0), save ? 1 : 0);
        }
    }
}

} // namespace KR
