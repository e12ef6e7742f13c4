#pragma once
// An array of strings that can find a text by value, ignoring case, or by the very
// buffer a string shares (the notification-name table's fast path).

#include "kr/core/Array.h"
#include "kr/core/CaseMapping.h"
#include "kr/core/StringT.h"

#include <cstdint>

namespace KR
{

template <typename C, typename O>
class StringArrayT : public Array<StringT<C, O>>
{
public:
    using Text = StringT<C, O>;
    using Array<Text>::Array;

    // Index of the first element equal to `text` (exact: by code unit; otherwise
    // ignoring the case of ASCII and Latin-1 letters), or -1. An element that shares
    // the text's characters always matches.
    std::int32_t Find(const Text& text, bool exact) const
    {
        const std::uint32_t count = this->GetCount();
        const Text* elements = this->GetData();
        for (std::uint32_t i = 0; i < count; ++i)
        {
            const Text& element = elements[i];
            const bool match = exact ? element == text
                                     : element.GetPtr() == text.GetPtr() ||
                                           CompareNoCase(element.GetPtr(), text.GetPtr()) == 0;
            if (match)
            {
                return static_cast<std::int32_t>(i);
            }
        }
        return -1;
    }

    // Index of the last element whose characters are at `characters` (so one that
    // shares that buffer), or -1.
    std::int32_t FindByDataPointer(const C* characters) const
    {
        const Text* elements = this->GetData();
        for (std::uint32_t i = this->GetCount(); i-- > 0;)
        {
            if (elements[i].GetPtr() == characters)
            {
                return static_cast<std::int32_t>(i);
            }
        }
        return -1;
    }
};

using StringArray = StringArrayT<char16_t, char>;

} // namespace KR
