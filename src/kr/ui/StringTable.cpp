#include "kr/ui/StringTable.h"

namespace KR
{

LStringTable::LStringTable(std::shared_ptr<const TextMap> shared)
    : mTexts(shared ? std::move(shared) : std::make_shared<TextMap>()), mOwned(false)
{
}

bool LStringTable::GetString(std::u16string_view id, String& text) const
{
    const auto found = mTexts->find(id);
    if (found == mTexts->end())
    {
        return false;
    }
    text = found->second;
    return true;
}

Result LStringTable::SetString(const String& id, const String& text)
{
    if (id.IsEmpty())
    {
        return kInvalidArg;
    }
    if (!mOwned)
    {
        mTexts = std::make_shared<TextMap>(*mTexts);
        mOwned = true;
    }
    // An owned map was made here, not const, and no one else holds it.
    auto& texts = const_cast<TextMap&>(*mTexts);
    auto [entry, added] = texts.try_emplace(id, text);
    if (added)
    {
        return kOk;
    }
    entry->second = text;
    return kNothingDone;
}

} // namespace KR
