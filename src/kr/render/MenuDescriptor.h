#pragma once
// Menus as trees of counted descriptors, independent of the control that shows them,
// and the builder that makes such a tree from a menu's string-table entries.
//
// A row is an LMenuItemDescriptor; because it is itself a descriptor it holds the rows
// of the submenu it opens. Every item keeps a counted link to the descriptor that holds
// it, and that link counts as an internal reference of the holder, so a tree (a web of
// cycles) is still freed when its last outside holder lets go.

#include "kr/core/Array.h"
#include "kr/core/Pair.h"
#include "kr/core/RCPtr.h"
#include "kr/core/RCPtrArray.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/TaggableObject.h"
#include "kr/core/Types.h"

#include <cstdint>
#include <map>

namespace KR
{

class LMenuItemDescriptor;

// What the popup menu reads of a row before showing it.
struct MenuItemInfo
{
    std::uint8_t enabled = 0;
    std::uint8_t checked = 0;
    String label;
};

// (id, text) entries of a string table, or (rest, text) pairs inside the builder.
using MenuStringPairs = Array<Pair<String, String>>;
using MenuStringPairMap = std::map<String, MenuStringPairs>;

class LMenuDescriptor : public virtual LRefCountedObject, public virtual LTaggableObject
{
public:
    static RCPtr<LMenuDescriptor> Create();
    // The pointer callers get when no menu could be built; they treat it as no menu.
    static const RCPtr<LMenuDescriptor>& Null();

    LMenuDescriptor();
    LMenuDescriptor(const LMenuDescriptor&) = delete;
    LMenuDescriptor& operator=(const LMenuDescriptor&) = delete;
    ~LMenuDescriptor() override;

    // Breaks the parent links of the items, so the tree can go.
    Result ReleaseInternalReferences() override;

    // Inserts a new row at index. The insert's own failure code comes back unchanged and
    // then nothing else changes; else the row's parent is this descriptor and the result
    // is the insert's (the row's index).
    Result InsertItem(std::uint32_t index, const String& label, const String& command, std::uint8_t enabled,
                      std::uint8_t checked);
    Result InsertItem(std::uint32_t index, const RCPtr<LMenuItemDescriptor>& item);
    Result InsertSeparator(std::uint32_t index);

    // The record is reset to (0, 0, empty) first; an index at or past the count gives
    // kInvalidArg with the reset record.
    Result GetItemInfo(std::uint32_t index, MenuItemInfo& info) const;

    // Clears every item's parent link and drops it, last to first, then this
    // descriptor's own parent link. Items still held elsewhere live on unparented.
    Result RemoveAllItems();

    // A deep copy: every row with all its fields and sub-rows, each parented to its new
    // holder; the copy itself has no parent.
    RCPtr<LMenuDescriptor> CopyFrom() const;

    std::uint32_t GetItemCount() const { return mItems.GetCount(); }
    // Null at or past the count.
    const RCPtr<LMenuItemDescriptor>& GetItem(std::uint32_t index) const { return mItems.GetAt(index); }
    LMenuDescriptor* GetParent() const { return mParent; }

    // Descriptors alive in the process (rows included), for leak checks.
    static std::int32_t GetLiveCount();

private:
    // Counted, and one internal reference of the new parent; null clears.
    void SetParent(LMenuDescriptor* parent);
    Result InsertMadeItem(std::uint32_t index, RCPtr<LMenuItemDescriptor> item);
    static void CopyItems(const LMenuDescriptor& from, LMenuDescriptor& to);

    RCPtrArray<LMenuItemDescriptor> mItems;
    LMenuDescriptor* mParent = nullptr;
};

class LMenuItemDescriptor : public LMenuDescriptor
{
public:
    LMenuItemDescriptor(const String& label, const String& command, std::uint8_t enabled,
                        std::uint8_t checked, std::uint8_t separator);

    static RCPtr<LMenuItemDescriptor> Create(const String& label, const String& command, std::uint8_t enabled,
                                             std::uint8_t checked);
    static RCPtr<LMenuItemDescriptor> CreateSeparator();

    // The label: a row is shown by its text.
    String ToString() const override { return mLabel; }

    const String& GetLabel() const { return mLabel; }
    void SetLabel(const String& label) { mLabel = label; }
    const String& GetShortcut() const { return mShortcut; }
    void SetShortcut(const String& shortcut) { mShortcut = shortcut; }
    const String& GetHelp() const { return mHelp; }
    void SetHelp(const String& help) { mHelp = help; }
    const String& GetCommand() const { return mCommand; }
    std::uint8_t IsEnabled() const { return mEnabled; }
    void SetEnabled(std::uint8_t enabled) { mEnabled = enabled; }
    std::uint8_t IsChecked() const { return mChecked; }
    void SetChecked(std::uint8_t checked) { mChecked = checked; }
    std::uint8_t IsSeparator() const { return mSeparator; }

private:
    friend class LMenuDescriptor;

    String mLabel;
    String mShortcut;
    String mHelp;
    String mCommand;
    std::uint8_t mEnabled = 1;
    std::uint8_t mChecked = 0;
    std::uint8_t mSeparator = 0;
};

// Builds a menu from the entries of one menu, sorted by id with the menu's prefix cut
// off: "00.NID_MENU_FILE_OPEN" with "Open...|Open a preset file." is a row sending that
// notification, "02.-" a separator, "00.RECENT." a row opening the submenu of the
// entries "RECENT.00.…", "RECENT.01.…". Indexes must run 0, 1, 2... with one number of
// digits; an entry out of sequence is dropped. Rows that would open a submenu already
// open on their own path, or nest past kMaxMenuDepth, are left out. `out` is the
// built tree, or Null() when none could be made.
void BuildMenuFromStringTable(RCPtr<LMenuDescriptor>& out, const MenuStringPairs& pairs);

// The recursive step: appends to `descriptor` (made when null, else emptied first) a
// row per (rest, text) pair of list, filling submenu rows from `map`. Returns kOk.
Result BuildMenuTree(const MenuStringPairs& list, const MenuStringPairMap& map,
                     RCPtr<LMenuDescriptor>& descriptor);

// Deeper menus than this are nobody's intent; the cap keeps a hostile table's chain of
// submenus from exhausting the stack, here and in the tree's release.
inline constexpr std::uint32_t kMaxMenuDepth = 32;

// Where BuildMenuFromStringTable hands its work while a stand-in is installed: tests of
// the controls install one that records what the controls asked for.
class IMenuBuilder
{
public:
    virtual ~IMenuBuilder() = default;
    virtual void Build(RCPtr<LMenuDescriptor>& out, const MenuStringPairs& pairs) = 0;
};

// Installs builder (null: the string-table builder again); returns the one it replaced.
IMenuBuilder* SetMenuBuilder(IMenuBuilder* builder);

} // namespace KR
