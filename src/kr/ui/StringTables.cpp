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

namespace
{

// FNV-1a over the code units, so that a key hashed in pieces hashes as the whole.
constexpr std::size_t kHashBasis = 14695981039346656037ull;
constexpr std::size_t kHashPrime = 1099511628211ull;

std::size_t HashUnits(std::size_t hash, std::u16string_view units) noexcept
{
    for (const char16_t unit : units)
    {
        hash = (hash ^ unit) * kHashPrime;
    }
    return hash;
}

} // namespace

std::size_t StringTableKeyHash::operator()(std::u16string_view key) const noexcept
{
    return HashUnits(kHashBasis, key);
}

std::size_t StringTableKeyHash::operator()(const StringTableKey& key) const noexcept
{
    return HashUnits(HashUnits(HashUnits(kHashBasis, key.owner), u"|"), key.name);
}

bool StringTableKeyEqual::operator()(const String& a, const StringTableKey& b) const noexcept
{
    const std::u16string_view whole = a.GetView();
    const std::size_t ownerLength = b.owner.size();
    return whole.size() == ownerLength + 1 + b.name.size() && whole.starts_with(b.owner) &&
           whole[ownerLength] == u'|' && whole.substr(ownerLength + 1) == b.name;
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

template <typename Key>
RCPtr<LStringTable> StringTables::FindTable(const Key& key) const
{
    const auto found = mTables.find(key);
    if (found == mTables.end())
    {
        return nullptr;
    }
    return RCPtr<LStringTable>(new LStringTable(std::shared_ptr<const TextMap>(found->second)));
}

RCPtr<LStringTable> StringTables::GetTable(const String& key) const
{
    return FindTable(key);
}

RCPtr<LStringTable> StringTables::GetTable(const StringTableKey& key) const
{
    return FindTable(key);
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
