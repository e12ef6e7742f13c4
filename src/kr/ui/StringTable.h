#pragma once
// One table of user-visible texts: string id to text, already chosen for the user's
// language when the document was read. The same class holds a control's create
// parameters (id such as "NOT_FOCUSABLE" to its text "True").

#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"

#include <map>
#include <memory>
#include <string_view>

namespace KR
{

// Ids in code-unit order, also against a view: an id the program names as a literal is
// looked up without a string being made of it first.
struct TextIdOrder
{
    using is_transparent = void;
    bool operator()(const String& a, const String& b) const { return a < b; }
    bool operator()(const String& a, std::u16string_view b) const { return a.GetView() < b; }
    bool operator()(std::u16string_view a, const String& b) const { return a < b.GetView(); }
};

// Ordered by code unit, as every table lookup and id-prefix walk expects.
using TextMap = std::map<String, String, TextIdOrder>;

class LStringTable : public virtual LRefCountedObject
{
public:
    LStringTable() : mTexts(std::make_shared<TextMap>()) {}
    explicit LStringTable(TextMap texts) : mTexts(std::make_shared<TextMap>(std::move(texts))) {}
    // Shares texts that others may hold too: the first change takes a copy of its own.
    explicit LStringTable(std::shared_ptr<const TextMap> shared);

    // True and the text when the id is present; false, with `text` untouched, otherwise.
    bool GetString(const String& id, String& text) const { return GetString(id.GetView(), text); }
    bool GetString(std::u16string_view id, String& text) const;
    bool GetString(const char16_t* id, String& text) const
    {
        return GetString(std::u16string_view(id), text);
    }

    // kInvalidArg for an empty id; 1 when the id was present and its text is replaced;
    // 0 when the pair is added.
    Result SetString(const String& id, const String& text);

    const TextMap& GetTexts() const { return *mTexts; }
    std::size_t GetCount() const { return mTexts->size(); }

private:
    // Most tables are read-only copies of what a document said, one per control; they
    // share the read texts until someone writes to them.
    std::shared_ptr<const TextMap> mTexts;
    bool mOwned = true;
};

} // namespace KR
