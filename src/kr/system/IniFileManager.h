#pragma once
// Settings files through the run-time-loaded INI-file library (libIniFileManager.so,
// libs/inifile/IniFileManagerApi.h): the interface, and the reference-counted manager
// that the application holds.
//
//     KR::RCPtr<KR::LIniFileManager> ini = new KR::LIniFileManager;
//     ini->LoadLibrary(KR::String());                // the program's own folder
//     std::int32_t handle = 0;
//     ini->OpenIniFile(path, u"1_0_0", productName, handle);
//     std::int32_t skin = 0;
//     ini->GetIniValueInt(handle, u"CurrentSkinIndex", 0, skin);
//
// Node paths, names and values are UTF-16 here and UTF-8 in the library. Every
// forwarding operation returns the library's result, or kFail without calling anything
// when the library (or that one entry point) is missing; out values are set first (to
// the default, 0 or the default text), so they hold something sensible either way.

#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"

#include <cstdint>
#include <memory>

class CIniFileManagerProxy;

namespace KR
{

class IIniFileManager
{
public:
    // Loads the library from folder (empty: the program's own folder). 1 when one is
    // already loaded; kFail when it cannot be loaded or lacks an entry point (the entry
    // points it has still work).
    virtual Result LoadLibrary(const String& folder) = 0;
    // 1 when none is loaded; kFail when the system refuses to unload it.
    virtual Result UnloadLibrary() = 0;

    virtual Result OpenIniFile(const String& path, const String& settingsVersion, const String& productName,
                               std::int32_t& handle) = 0;
    virtual Result WriteIniFile(std::int32_t handle) = 0;
    // False also when no library is loaded.
    virtual bool DoesNodeExist(std::int32_t handle, const String& node) = 0;
    virtual Result CloseIniFile(std::int32_t handle, std::int32_t save) = 0;

    virtual Result GetIniValueInt(std::int32_t handle, const String& node, std::int32_t defaultValue,
                                  std::int32_t& value) = 0;
    virtual Result SetIniValueInt(std::int32_t handle, const String& node, std::int32_t value) = 0;
    // The text getters convert leniently: a stored text that is not UTF-8 (typed by hand
    // in another encoding) gives the library's result with the text before its first
    // byte that is not, rather than the default.
    virtual Result GetIniValueStr(std::int32_t handle, const String& node, const String& defaultValue,
                                  String& value) = 0;
    virtual Result SetIniValueStr(std::int32_t handle, const String& node, const String& value) = 0;

    virtual Result GetKeyCount(std::int32_t handle, const String& node, std::int32_t& count) = 0;
    // The text getters leave name (or item) unchanged unless they succeed.
    virtual Result GetKeyNameAt(std::int32_t handle, const String& node, std::int32_t index,
                                String& name) = 0;

    virtual Result GetArrayCount(std::int32_t handle, const String& node, std::int32_t& count) = 0;
    virtual Result SetArrayCount(std::int32_t handle, const String& node, std::int32_t count) = 0;
    virtual Result GetArrayItemAt(std::int32_t handle, const String& node, std::int32_t index,
                                  String& item) = 0;
    virtual Result SetArrayItemAt(std::int32_t handle, const String& node, std::int32_t index,
                                  const String& value) = 0;
    virtual Result RemoveArrayItemAt(std::int32_t handle, const String& node, std::int32_t index) = 0;

    virtual ~IIniFileManager() = default;
};

// Forwards every operation to its own proxy. Its end leaves a loaded library loaded
// (until the process ends or UnloadLibrary is called): handles of files still open
// stay valid for the library's own bookkeeping.
class LIniFileManager : public IIniFileManager, public virtual LRefCountedObject
{
public:
    LIniFileManager();
    ~LIniFileManager() override;

    Result LoadLibrary(const String& folder) override;
    Result UnloadLibrary() override;
    Result OpenIniFile(const String& path, const String& settingsVersion, const String& productName,
                       std::int32_t& handle) override;
    Result WriteIniFile(std::int32_t handle) override;
    bool DoesNodeExist(std::int32_t handle, const String& node) override;
    Result CloseIniFile(std::int32_t handle, std::int32_t save) override;
    Result GetIniValueInt(std::int32_t handle, const String& node, std::int32_t defaultValue,
                          std::int32_t& value) override;
    Result SetIniValueInt(std::int32_t handle, const String& node, std::int32_t value) override;
    Result GetIniValueStr(std::int32_t handle, const String& node, const String& defaultValue,
                          String& value) override;
    Result SetIniValueStr(std::int32_t handle, const String& node, const String& value) override;
    Result GetKeyCount(std::int32_t handle, const String& node, std::int32_t& count) override;
    Result GetKeyNameAt(std::int32_t handle, const String& node, std::int32_t index, String& name) override;
    Result GetArrayCount(std::int32_t handle, const String& node, std::int32_t& count) override;
    Result SetArrayCount(std::int32_t handle, const String& node, std::int32_t count) override;
    Result GetArrayItemAt(std::int32_t handle, const String& node, std::int32_t index, String& item) override;
    Result SetArrayItemAt(std::int32_t handle, const String& node, std::int32_t index,
                          const String& value) override;
    Result RemoveArrayItemAt(std::int32_t handle, const String& node, std::int32_t index) override;

private:
    std::unique_ptr<CIniFileManagerProxy> mProxy;
};

} // namespace KR
