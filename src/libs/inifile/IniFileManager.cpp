// The library's C entry points: a table of open files by handle, argument checks,
// and the caller-buffer protocol of the text getters. Every call holds one lock.

#include "libs/inifile/IniFileManagerApi.h"

#include "libs/inifile/IniDocument.h"
#include "libs/inifile/IniSyntax.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace IniFile
{
namespace
{

class OpenFiles
{
public:
    std::mutex lock;

    // Two handles on one path share one document, so neither overwrites the
    // other's changes with stale contents.
    std::int32_t Open(const std::string& path, std::int32_t& handle)
    {
        std::shared_ptr<IniDocument> document;
        for (const auto& [openHandle, openDocument] : documents_)
        {
            if (openDocument->Path() == path)
            {
                document = openDocument;
                break;
            }
        }
        if (!document)
        {
            std::unique_ptr<IniDocument> loaded;
            const std::int32_t result = IniDocument::Open(path, loaded);
            if (result != INIFM_OK)
            {
                return result;
            }
            document = std::move(loaded);
        }
        handle = NextHandle();
        documents_.emplace(handle, std::move(document));
        return INIFM_OK;
    }

    IniDocument* Find(std::int32_t handle) const
    {
        const auto found = documents_.find(handle);
        return found == documents_.end() ? nullptr : found->second.get();
    }

    void Close(std::int32_t handle) { documents_.erase(handle); }

private:
    std::int32_t NextHandle()
    {
        do
        {
            next_ = next_ == INT32_MAX ? 1 : next_ + 1;
        } while (documents_.count(next_) != 0);
        return next_;
    }

    std::map<std::int32_t, std::shared_ptr<IniDocument>> documents_;
    std::int32_t next_ = 0;
};

OpenFiles& Files()
{
    static OpenFiles files;
    return files;
}

// Copies a text and its terminating zero into the caller's buffer, or reports the
// size it needs.
std::int32_t CopyOut(const std::string& text, char* buffer, std::uint32_t bufferSize,
                     std::uint32_t* neededSize, std::int32_t successResult)
{
    if (text.size() >= UINT32_MAX)
    {
        return INIFM_E_FAIL;
    }
    const auto needed = static_cast<std::uint32_t>(text.size() + 1);
    if (neededSize != nullptr)
    {
        *neededSize = needed;
    }
    if (buffer == nullptr || bufferSize < needed)
    {
        if (buffer != nullptr && bufferSize > 0)
        {
            buffer[0] = '\0';
        }
        return INIFM_BUFFER_TOO_SMALL;
    }
    std::memcpy(buffer, text.c_str(), needed);
    return successResult;
}

// Runs an operation on the document of a handle, under the lock.
template <typename Operation>
std::int32_t WithDocument(std::int32_t handle, Operation operation)
{
    OpenFiles& files = Files();
    const std::lock_guard guard(files.lock);
    IniDocument* document = files.Find(handle);
    if (document == nullptr)
    {
        return INIFM_E_INVALIDARG;
    }
    return operation(*document);
}

template <typename Operation>
std::int32_t WithValue(std::int32_t handle, const char* node, Operation operation)
{
    if (node == nullptr)
    {
        return INIFM_E_INVALIDARG;
    }
    const std::optional<ValueName> name = ParseValuePath(node);
    if (!name)
    {
        return INIFM_E_INVALIDARG;
    }
    return WithDocument(handle, [&](IniDocument& document) { return operation(document, *name); });
}

template <typename Operation>
std::int32_t WithSection(std::int32_t handle, const char* node, Operation operation)
{
    if (node == nullptr)
    {
        return INIFM_E_INVALIDARG;
    }
    const std::optional<std::string> section = ParseSectionPath(node);
    if (!section)
    {
        return INIFM_E_INVALIDARG;
    }
    return WithDocument(handle, [&](IniDocument& document) { return operation(document, *section); });
}

} // namespace
} // namespace IniFile

using IniFile::IniDocument;
using IniFile::ValueName;

// The entry points keep the C linkage their declarations in the header give them.

INIFM_API int32_t OpenIniFile(const char* path, const char* /*settingsVersion*/, const char* /*productName*/,
                              int32_t* handle)
{
    if (handle == nullptr)
    {
        return INIFM_E_INVALIDARG;
    }
    *handle = 0;
    if (path == nullptr || *path == '\0')
    {
        return INIFM_E_INVALIDARG;
    }
    IniFile::OpenFiles& files = IniFile::Files();
    const std::lock_guard guard(files.lock);
    return files.Open(path, *handle);
}

INIFM_API int32_t WriteIniFile(int32_t handle)
{
    return IniFile::WithDocument(handle, [](IniDocument& document) { return document.Write(); });
}

INIFM_API int32_t CloseIniFile(int32_t handle, int32_t save)
{
    IniFile::OpenFiles& files = IniFile::Files();
    const std::lock_guard guard(files.lock);
    IniDocument* document = files.Find(handle);
    if (document == nullptr)
    {
        return INIFM_E_INVALIDARG;
    }
    if (save != 0 && document->HasUnsavedChanges() && document->Write() != INIFM_OK)
    {
        return INIFM_E_FAIL;
    }
    files.Close(handle);
    return INIFM_OK;
}

INIFM_API uint8_t DoesNodeExist(int32_t handle, const char* node)
{
    if (node == nullptr)
    {
        return 0;
    }
    const std::optional<std::string> section = IniFile::ParseSectionPath(node);
    const std::optional<ValueName> value = IniFile::ParseValuePath(node);
    const std::int32_t exists = IniFile::WithDocument(
        handle,
        [&](IniDocument& document) {
            return (section && document.SectionExists(*section)) || (value && document.ValueExists(*value))
                       ? 1
                       : 0;
        });
    return exists == 1 ? 1 : 0;
}

INIFM_API int32_t GetIniValueInt(int32_t handle, const char* node, int32_t defaultValue, int32_t* value)
{
    if (value == nullptr)
    {
        return INIFM_E_INVALIDARG;
    }
    *value = defaultValue;
    return IniFile::WithValue(handle, node,
                              [&](IniDocument& document, const ValueName& name)
                              {
                                  std::string text;
                                  const std::int32_t result = document.GetValue(name, text);
                                  if (result != INIFM_OK)
                                  {
                                      return result;
                                  }
                                  const std::optional<int> number = IniFile::ParseInt32(text);
                                  if (!number)
                                  {
                                      return INIFM_E_FAIL;
                                  }
                                  *value = *number;
                                  return INIFM_OK;
                              });
}

INIFM_API int32_t SetIniValueInt(int32_t handle, const char* node, int32_t value)
{
    return IniFile::WithValue(handle, node,
                              [&](IniDocument& document, const ValueName& name)
                              { return document.SetValue(name, std::to_string(value)); });
}

INIFM_API int32_t GetIniValueStr(int32_t handle, const char* node, const char* defaultValue, char* buffer,
                                 uint32_t bufferSize, uint32_t* neededSize)
{
    return IniFile::WithValue(handle, node,
                              [&](IniDocument& document, const ValueName& name)
                              {
                                  std::string text = defaultValue == nullptr ? "" : defaultValue;
                                  const std::int32_t found = document.GetValue(name, text);
                                  return IniFile::CopyOut(text, buffer, bufferSize, neededSize, found);
                              });
}

INIFM_API int32_t SetIniValueStr(int32_t handle, const char* node, const char* value)
{
    if (value == nullptr || !IniFile::IsStorableValue(value))
    {
        return INIFM_E_INVALIDARG;
    }
    return IniFile::WithValue(handle, node,
                              [&](IniDocument& document, const ValueName& name)
                              { return document.SetValue(name, value); });
}

INIFM_API int32_t GetKeyCount(int32_t handle, const char* node, int32_t* count)
{
    if (count == nullptr)
    {
        return INIFM_E_INVALIDARG;
    }
    *count = 0;
    return IniFile::WithSection(handle, node,
                                [&](IniDocument& document, const std::string& section)
                                { return document.GetKeyCount(section, *count); });
}

INIFM_API int32_t GetKeyNameAt(int32_t handle, const char* node, int32_t index, char* buffer,
                               uint32_t bufferSize, uint32_t* neededSize)
{
    return IniFile::WithSection(handle, node,
                                [&](IniDocument& document, const std::string& section)
                                {
                                    std::string key;
                                    const std::int32_t result = document.GetKeyNameAt(section, index, key);
                                    return result == INIFM_OK ? IniFile::CopyOut(key, buffer, bufferSize,
                                                                                 neededSize, INIFM_OK)
                                                              : result;
                                });
}

INIFM_API int32_t GetArrayCount(int32_t handle, const char* node, int32_t* count)
{
    if (count == nullptr)
    {
        return INIFM_E_INVALIDARG;
    }
    *count = 0;
    return IniFile::WithSection(handle, node,
                                [&](IniDocument& document, const std::string& section)
                                { return document.GetArrayCount(section, *count); });
}

INIFM_API int32_t SetArrayCount(int32_t handle, const char* node, int32_t count)
{
    return IniFile::WithSection(handle, node,
                                [&](IniDocument& document, const std::string& section)
                                { return document.SetArrayCount(section, count); });
}

INIFM_API int32_t GetArrayItemAt(int32_t handle, const char* node, int32_t index, char* buffer,
                                 uint32_t bufferSize, uint32_t* neededSize)
{
    return IniFile::WithSection(handle, node,
                                [&](IniDocument& document, const std::string& section)
                                {
                                    std::string item;
                                    const std::int32_t result = document.GetArrayItemAt(section, index, item);
                                    return result == INIFM_OK ? IniFile::CopyOut(item, buffer, bufferSize,
                                                                                 neededSize, INIFM_OK)
                                                              : result;
                                });
}

INIFM_API int32_t SetArrayItemAt(int32_t handle, const char* node, int32_t index, const char* value)
{
    if (value == nullptr || !IniFile::IsStorableValue(value))
    {
        return INIFM_E_INVALIDARG;
    }
    return IniFile::WithSection(handle, node,
                                [&](IniDocument& document, const std::string& section)
                                { return document.SetArrayItemAt(section, index, value); });
}

INIFM_API int32_t RemoveArrayItemAt(int32_t handle, const char* node, int32_t index)
{
    return IniFile::WithSection(handle, node,
                                [&](IniDocument& document, const std::string& section)
                                { return document.RemoveArrayItemAt(section, index); });
}
