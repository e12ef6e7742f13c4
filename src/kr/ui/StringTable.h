#pragma once
// One table of user-visible texts: string id to text, already chosen for the user's
// language when the document was read. The same class holds a control's create
// parameters (id such as "NOT_FOCUSABLE" to its text "True").

#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"

#include <map>
#include <memory>

namespace KR
{

// Ordered by code unit, as every table lookup and id-prefix walk expects.
using TextMap = std::map<String, String>;

class LStringTable : public virtual LRefCountedObject
{
public:
    LStringTable() : mTexts(std::make_shared<TextMap>()) {}
    explicit LStringTable(TextMap texts) : mTexts(std::make_shared<TextMap>(std::move(texts))) {}
    // Shares texts that others may hold too: the first change takes a copy of its own.
    explicit LStringTable(std::shared_ptr<const TextMap> shared);

    // True and the text when the id is present; false, with `text` untouched, otherwise.
    bool GetString(const String& id, String& text) const;

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
