#pragma once
// The factory's side of the string tables: every table read so far, by key
// ("Framework", "|PresetEditor", "PresetEditor.DialogAbout|labelProduct"), and the
// language choice that picks which Locale texts a document gives.

#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"
#include "kr/ui/StringTable.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string_view>
#include <unordered_map>

namespace KR
{

// The locale tried after the user's own language id: 0x7C04 (Chinese, traditional) for
// 0x0404, 0x0C04 and 0x1404, otherwise the primary language (the id's low byte).
std::int32_t GetFallbackLocale(std::int32_t languageId);

// The last locale of every document's search.
inline constexpr std::int32_t kNeutralEnglishLocale = 9;

// A key given as its two halves, the owner (a class or the application name) and the
// child's name, standing for owner + "|" + name without the joined text being made.
struct StringTableKey
{
    std::u16string_view owner;
    std::u16string_view name;
};

// Hashes and compares keys whole or in halves alike: a control looks its table up once
// at creation, and joining the halves for each was most of that look-up's cost.
struct StringTableKeyHash
{
    using is_transparent = void;
    std::size_t operator()(std::u16string_view key) const noexcept;
    std::size_t operator()(const String& key) const noexcept { return (*this)(key.GetView()); }
    std::size_t operator()(const StringTableKey& key) const noexcept;
};

struct StringTableKeyEqual
{
    using is_transparent = void;
    bool operator()(const String& a, const String& b) const noexcept { return a.GetView() == b.GetView(); }
    bool operator()(const String& a, const StringTableKey& b) const noexcept;
    bool operator()(const StringTableKey& a, const String& b) const noexcept { return (*this)(b, a); }
};

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
    // The same for the key owner + "|" + name.
    RCPtr<LStringTable> GetTable(const StringTableKey& key) const;

    bool IsEmpty() const { return mTables.empty(); }
    // A copy of every table read so far, by key: what a check of a whole document walks.
    std::map<String, TextMap> GetAll() const;

private:
    template <typename Key>
    RCPtr<LStringTable> FindTable(const Key& key) const;

    std::unordered_map<String, std::shared_ptr<TextMap>, StringTableKeyHash, StringTableKeyEqual> mTables;
};

} // namespace KR
