#pragma once
// One table of user-visible texts: string id to text, already chosen for the user's
// language when the document was read. The same class holds a control's create
// parameters (id such as "NOT_FOCUSABLE" to its text "True").

#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"

#include <map>

namespace KR
{

// Ordered by code unit, as every table lookup and id-prefix walk expects.
using TextMap = std::map<String, String>;

class LStringTable : public virtual LRefCountedObject
{
public:
    LStringTable() = default;
    explicit LStringTable(TextMap texts) : mTexts(std::move(texts)) {}

    // True and the text when the id is present; false, with `text` untouched, otherwise.
    bool GetString(const String& id, String& text) const;

    // kInvalidArg for an empty id; 1 when the id was present and its text is replaced;
    // 0 when the pair is added.
    Result SetString(const String& id, const String& text);

    const TextMap& GetTexts() const { return mTexts; }
    std::size_t GetCount() const { return mTexts.size(); }

private:
    TextMap mTexts;
};

} // namespace KR
