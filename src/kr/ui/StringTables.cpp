#include "kr/ui/StringTables.h"

namespace KR
{

std::int32_t GetFallbackLocale(std::int32_t languageId)
{
    // Traditional Chinese of Taiwan, Hong Kong and Macao shares one set of texts.
    if (languageId == 0x0404 || languageId == 0x0C04 || languageId == 0x1404)
    {
        return 0x7C04;
    }
    return languageId & 0xFF;
}

TextMap& StringTables::Touch(const String& key)
{
    auto& texts = mTables[key];
    if (!texts)
    {
        texts = std::make_shared<TextMap>();
    }
    else if (texts.use_count() > 1)
    {
        // A table handed out shares these texts: what is added now is not for it.
        texts = std::make_shared<TextMap>(*texts);
    }
    return *texts;
}

RCPtr<LStringTable> StringTables::GetTable(const String& key) const
{
    const auto found = mTables.find(key);
    if (found == mTables.end())
    {
        return nullptr;
    }
    return RCPtr<LStringTable>(new LStringTable(std::shared_ptr<const TextMap>(found->second)));
}

std::map<String, TextMap> StringTables::GetAll() const
{
    std::map<String, TextMap> all;
    for (const auto& [key, texts] : mTables)
    {
        all.emplace(key, *texts);
    }
    return all;
}

} // namespace KR
