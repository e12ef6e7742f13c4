#pragma once
// One open INI file: its contents in memory (SimpleIni), read and changed by
// section and key, and written back whole after every change.

// Texts stay UTF-8 bytes; the template's member definitions are compiled here
// rather than taken from the packaged library, which instantiates other variants.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace IniFile
{

struct ValueName;

class IniDocument
{
public:
    // Larger settings files are refused rather than read into memory.
    static constexpr std::size_t kMaxFileBytes = 1024 * 1024;

    // Loads the file, or creates an empty one when there is none. Results as the
    // library's: INIFM_OK, INIFM_E_FAIL.
    static std::int32_t Open(const std::string& path, std::unique_ptr<IniDocument>& document);
    // Reads the contents of a file at `path` as Open does, without touching the disk:
    // INIFM_OK, or INIFM_E_FAIL for text that would not read the same after a write.
    static std::int32_t FromText(const std::string& path, std::string_view text,
                                 std::unique_ptr<IniDocument>& document);
    // The text that Write stores.
    std::int32_t ToText(std::string& text) const;

    const std::string& Path() const { return path_; }
    // True while a change has not reached the file.
    bool HasUnsavedChanges() const { return unsaved_; }
    std::int32_t Write();

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const ValueName& name) const;

    // INIFM_OK with the text, or INIFM_NOT_FOUND leaving it alone.
    std::int32_t GetValue(const ValueName& name, std::string& value) const;
    std::int32_t SetValue(const ValueName& name, const std::string& value);

    std::int32_t GetKeyCount(const std::string& section, std::int32_t& count) const;
    std::int32_t GetKeyNameAt(const std::string& section, std::int32_t index, std::string& key) const;

    std::int32_t GetArrayCount(const std::string& section, std::int32_t& count) const;
    std::int32_t SetArrayCount(const std::string& section, std::int32_t count);
    std::int32_t GetArrayItemAt(const std::string& section, std::int32_t index, std::string& value) const;
    std::int32_t SetArrayItemAt(const std::string& section, std::int32_t index, const std::string& value);
    std::int32_t RemoveArrayItemAt(const std::string& section, std::int32_t index);

private:
    explicit IniDocument(std::string path);

    std::int32_t ArrayLength(const std::string& section) const;
    // Stores the contents after a change; the change stays in memory when the
    // write fails, so a later Write can still store it.
    std::int32_t Commit();

    std::string path_;
    CSimpleIniA ini_;
    bool unsaved_ = false;
};

} // namespace IniFile
