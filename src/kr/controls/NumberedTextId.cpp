#include "kr/controls/NumberedTextId.h"

namespace KR
{

std::int32_t ReadNumberedTextId(const String& id, const char16_t* prefix)
{
    const char16_t* text = id.GetPtr();
    std::size_t at = 0;
    for (; prefix[at] != 0; ++at)
    {
        if (text[at] != prefix[at])
        {
            return -1;
        }
    }
    if (text[at] == 0)
    {
        return -1;
    }
    std::int32_t number = 0;
    for (; text[at] != 0; ++at)
    {
        if (text[at] < u'0' || text[at] > u'9')
        {
            return -1;
        }
        number = number * 10 + (text[at] - u'0');
        if (number >= kMaxNumberedTexts)
        {
            return -1;
        }
    }
    return number;
}

} // namespace KR
