#include "kr/ui/StringTable.h"

namespace KR
{

bool LStringTable::GetString(const String& id, String& text) const
{
    const auto found = mTexts.find(id);
    if (found == mTexts.end())
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
    auto [entry, added] = mTexts.try_emplace(id, text);
    if (added)
    {
        return kOk;
    }
    entry->second = text;
    return kNothingDone;
}

} // namespace KR
