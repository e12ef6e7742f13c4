#include "libs/inifile/IniDocument.h"

#include "libs/inifile/AtomicFile.h"
#include "libs/inifile/IniFileManagerApi.h"
#include "libs/inifile/IniSyntax.h"

#include <limits>

namespace IniFile
{
namespace
{

std::string ItemKey(std::int32_t index)
{
    return std::to_string(index);
}

} // namespace

IniDocument::IniDocument(std::string path)
    : path_(std::move(path)), ini_(/*a_bIsUtf8*/ true, /*a_bMultiKey*/ false, /*a_bMultiLine*/ false)
{
    ini_.SetQuotes(false);
    ini_.SetSpaces(true);
}

std::int32_t IniDocument::Open(const std::string& path, std::unique_ptr<IniDocument>& document)
{
    std::string text;
    switch (ReadWholeFile(path, kMaxFileBytes, text))
    {
    case ReadStatus::Ok:
        return FromText(path, text, document);
    case ReadStatus::Missing:
    {
        std::unique_ptr<IniDocument> created(new IniDocument(path));
        // Creating the file now shows at once whether its folder can be written.
        if (created->Write() != INIFM_OK)
        {
            return INIFM_E_FAIL;
        }
        document = std::move(created);
        return INIFM_OK;
    }
    case ReadStatus::TooLarge:
    case ReadStatus::Failed:
        break;
    }
    return INIFM_E_FAIL;
}

std::int32_t IniDocument::FromText(const std::string& path, std::string_view text,
                                   std::unique_ptr<IniDocument>& document)
{
    std::unique_ptr<IniDocument> loaded(new IniDocument(path));
    if (!IsWellFormedIniText(text) || loaded->ini_.LoadData(text.data(), text.size()) < 0)
    {
        return INIFM_E_FAIL;
    }
    document = std::move(loaded);
    return INIFM_OK;
}

std::int32_t IniDocument::ToText(std::string& text) const
{
    return ini_.Save(text) < 0 ? INIFM_E_FAIL : INIFM_OK;
}

std::int32_t IniDocument::Write()
{
    std::string text;
    if (ToText(text) != INIFM_OK || !WriteFileAtomically(path_, text))
    {
        return INIFM_E_FAIL;
    }
    unsaved_ = false;
    return INIFM_OK;
}

std::int32_t IniDocument::Commit()
{
    unsaved_ = true;
    return Write();
}

bool IniDocument::SectionExists(const std::string& section) const
{
    return ini_.GetSection(section.c_str()) != nullptr;
}

bool IniDocument::ValueExists(const ValueName& name) const
{
    return ini_.GetValue(name.section.c_str(), name.key.c_str()) != nullptr;
}

std::int32_t IniDocument::GetValue(const ValueName& name, std::string& value) const
{
    const char* stored = ini_.GetValue(name.section.c_str(), name.key.c_str());
    if (stored == nullptr)
    {
        return INIFM_NOT_FOUND;
    }
    value = stored;
    return INIFM_OK;
}

std::int32_t IniDocument::SetValue(const ValueName& name, const std::string& value)
{
    if (ini_.SetValue(name.section.c_str(), name.key.c_str(), value.c_str()) < 0)
    {
        return INIFM_E_FAIL;
    }
    return Commit();
}

std::int32_t IniDocument::GetKeyCount(const std::string& section, std::int32_t& count) const
{
    const int size = ini_.GetSectionSize(section.c_str());
    count = size < 0 ? 0 : size;
    return size < 0 ? INIFM_NOT_FOUND : INIFM_OK;
}

std::int32_t IniDocument::GetKeyNameAt(const std::string& section, std::int32_t index, std::string& key) const
{
    CSimpleIniA::TNamesDepend keys;
    if (index < 0 || !ini_.GetAllKeys(section.c_str(), keys) ||
        static_cast<std::size_t>(index) >= keys.size())
    {
        return INIFM_E_INVALIDARG;
    }
    keys.sort(CSimpleIniA::Entry::LoadOrder());
    auto entry = keys.begin();
    std::advance(entry, index);
    key = entry->pItem;
    return INIFM_OK;
}

std::int32_t IniDocument::ArrayLength(const std::string& section) const
{
    std::int32_t length = 0;
    while (length < std::numeric_limits<std::int32_t>::max() &&
           ini_.GetValue(section.c_str(), ItemKey(length).c_str()) != nullptr)
    {
        ++length;
    }
    return length;
}

std::int32_t IniDocument::GetArrayCount(const std::string& section, std::int32_t& count) const
{
    count = ArrayLength(section);
    return SectionExists(section) ? INIFM_OK : INIFM_NOT_FOUND;
}

std::int32_t IniDocument::SetArrayCount(const std::string& section, std::int32_t count)
{
    if (count < 0)
    {
        return INIFM_E_INVALIDARG;
    }
    const std::int32_t length = ArrayLength(section);
    if (count == length && SectionExists(section))
    {
        return INIFM_OK;
    }
    // An empty array is an empty section, so that it still exists as a node.
    if (ini_.SetValue(section.c_str(), nullptr, nullptr) < 0)
    {
        return INIFM_E_FAIL;
    }
    for (std::int32_t index = length; index > count; --index)
    {
        ini_.Delete(section.c_str(), ItemKey(index - 1).c_str());
    }
    for (std::int32_t index = length; index < count; ++index)
    {
        if (ini_.SetValue(section.c_str(), ItemKey(index).c_str(), "") < 0)
        {
            return INIFM_E_FAIL;
        }
    }
    return Commit();
}

std::int32_t IniDocument::GetArrayItemAt(const std::string& section, std::int32_t index,
                                         std::string& value) const
{
    if (index < 0 || index >= ArrayLength(section))
    {
        return INIFM_E_INVALIDARG;
    }
    value = ini_.GetValue(section.c_str(), ItemKey(index).c_str());
    return INIFM_OK;
}

std::int32_t IniDocument::SetArrayItemAt(const std::string& section, std::int32_t index,
                                         const std::string& value)
{
    if (index < 0 || index > ArrayLength(section))
    {
        return INIFM_E_INVALIDARG;
    }
    if (ini_.SetValue(section.c_str(), ItemKey(index).c_str(), value.c_str()) < 0)
    {
        return INIFM_E_FAIL;
    }
    return Commit();
}

std::int32_t IniDocument::RemoveArrayItemAt(const std::string& section, std::int32_t index)
{
    const std::int32_t length = ArrayLength(section);
    if (index < 0 || index >= length)
    {
        return INIFM_E_INVALIDARG;
    }
    for (std::int32_t next = index + 1; next < length; ++next)
    {
        // Copied first: SetValue frees the old text that the pointer may share.
        const std::string moved = ini_.GetValue(section.c_str(), ItemKey(next).c_str());
        if (ini_.SetValue(section.c_str(), ItemKey(next - 1).c_str(), moved.c_str()) < 0)
        {
            return INIFM_E_FAIL;
        }
    }
    ini_.Delete(section.c_str(), ItemKey(length - 1).c_str());
    return Commit();
}

} // namespace IniFile
