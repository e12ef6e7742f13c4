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

RCPtr<LStringTable> StringTables::GetTable(const String& key) const
{
    const auto found = mTables.find(key);
    if (found == mTables.end())
    {
        return nullptr;
    }
    return RCPtr<LStringTable>(new LStringTable(found->second));
}

} // namespace KR
