#pragma once
// The factory's side of the string tables: every table read so far, by key
// ("Framework", "|PresetEditor", "PresetEditor.DialogAbout|labelProduct"), and the
// language choice that picks which Locale texts a document gives.

#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"
#include "kr/ui/StringTable.h"

#include <cstdint>
#include <map>
#include <memory>

namespace KR
{

// The locale tried after the user's own language id: 0x7C04 (Chinese, traditional) for
// 0x0404, 0x0C04 and 0x1404, otherwise the primary language (the id's low byte).
std::int32_t GetFallbackLocale(std::int32_t languageId);

// The last locale of every document's search.
inline constexpr std::int32_t kNeutralEnglishLocale = 9;

class StringTables
{
public:
    // The texts of `key`, created empty the first time the key is named. Tables handed out
    // before keep the texts they were given; the reference is for adding texts now, not
    // across a later GetTable of the same key.
    TextMap& Touch(const String& key);

    // A new table with the texts of `key`, or null when no document named the key;
    // changing the table leaves the stored texts alone. It shares the stored texts until
    // then: a control's table is read far more often than written.
    RCPtr<LStringTable> GetTable(const String& key) const;

    bool IsEmpty() const { return mTables.empty(); }
    // A copy of every table read so far, by key: what a check of a whole document walks.
    std::map<String, TextMap> GetAll() const;

private:
    std::map<String, std::shared_ptr<TextMap>> mTables;
};

} // namespace KR
