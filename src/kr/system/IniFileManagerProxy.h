#pragma once
// CIniFileManagerProxy: loads libIniFileManager.so with dlopen and forwards each
// KR::IIniFileManager operation to the matching C entry point, converting UTF-16 texts
// to UTF-8 and back.
//
// Text getters never trust the size the library asks for: a second buffer is made only
// for a size above the first buffer's and at most kMaxTextBytes; any other size is kFail.

#include "kr/system/IniFileManager.h"

#include "libs/inifile/IniFileManagerApi.h"

#include <cstdint>

class CIniFileManagerProxy : public KR::IIniFileManager
{
public:
    using Result = KR::Result;

    // Bytes of the buffer of a text getter's first call.
    static constexpr std::uint32_t kFirstBufferBytes = 1024;
    // Largest text a getter takes: far above anything a settings file holds (the library
    // refuses files over 1 MiB), far below what a corrupt size could make us allocate.
    static constexpr std::uint32_t kMaxTextBytes = 16u << 20;

    CIniFileManagerProxy() = default;
    // Unloads a loaded library.
    ~CIniFileManagerProxy() override;
    CIniFileManagerProxy(const CIniFileManagerProxy&) = delete;
    CIniFileManagerProxy& operator=(const CIniFileManagerProxy&) = delete;

    Result LoadLibrary(const KR::String& folder) override;
    Result UnloadLibrary() override;
    Result OpenIniFile(const KR::String& path, const KR::String& settingsVersion,
                       const KR::String& productName, std::int32_t& handle) override;
    Result WriteIniFile(std::int32_t handle) override;
    bool DoesNodeExist(std::int32_t handle, const KR::String& node) override;
    Result CloseIniFile(std::int32_t handle, std::int32_t save) override;
    Result GetIniValueInt(std::int32_t handle, const KR::String& node, std::int32_t defaultValue,
                          std::int32_t& value) override;
    Result SetIniValueInt(std::int32_t handle, const KR::String& node, std::int32_t value) override;
    Result GetIniValueStr(std::int32_t handle, const KR::String& node, const KR::String& defaultValue,
                          KR::String& value) override;
    Result SetIniValueStr(std::int32_t handle, const KR::String& node, const KR::String& value) override;
    Result GetKeyCount(std::int32_t handle, const KR::String& node, std::int32_t& count) override;
    Result GetKeyNameAt(std::int32_t handle, const KR::String& node, std::int32_t index,
                        KR::String& name) override;
    Result GetArrayCount(std::int32_t handle, const KR::String& node, std::int32_t& count) override;
    Result SetArrayCount(std::int32_t handle, const KR::String& node, std::int32_t count) override;
    Result GetArrayItemAt(std::int32_t handle, const KR::String& node, std::int32_t index,
                          KR::String& item) override;
    Result SetArrayItemAt(std::int32_t handle, const KR::String& node, std::int32_t index,
                          const KR::String& value) override;
    Result RemoveArrayItemAt(std::int32_t handle, const KR::String& node, std::int32_t index) override;

    bool IsLoaded() const { return mLibrary != nullptr; }

    // Forgets the library without unloading it: it stays loaded until the process ends.
    void Detach();

private:
    // Calls a text getter (whose arguments come before its buffer) through the
    // too-small-buffer protocol; text changes only on success.
    template <typename Call>
    static Result GetText(Call call, KR::String& text);

    void ClearEntryPoints();

#define KR_INIFM_DECLARE_ENTRY(name) PFN_##name m##name = nullptr;
    INIFM_FOR_EACH_ENTRY_POINT(KR_INIFM_DECLARE_ENTRY)
#undef KR_INIFM_DECLARE_ENTRY
    void* mLibrary = nullptr;
};
