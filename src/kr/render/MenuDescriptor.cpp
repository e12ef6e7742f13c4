#include "kr/render/MenuDescriptor.h"

#include "kr/core/StringFunctions.h"

#include <atomic>
#include <utility>
#include <vector>

namespace KR
{
namespace
{

std::atomic<std::int32_t> gLiveDescriptors{0};
std::atomic<IMenuBuilder*> gMenuBuilder{nullptr};

// Keys whose submenus are being built, outermost first.
using KeyPath = std::vector<const String*>;

bool IsOnPath(const KeyPath& path, const String& key)
{
    for (const String* open : path)
    {
        if (*open == key)
        {
            return true;
        }
    }
    return false;
}

void SplitLabelAndHelp(const String& text, String& label, String& help)
{
    const std::int32_t bar = text.Find(u'|');
    if (bar < 0)
    {
        label = text;
        help.Clear();
        return;
    }
    label = text.Left(static_cast<std::uint32_t>(bar));
    help = text.SubString(bar + 1);
}

Result BuildLevel(const MenuStringPairs& list, const MenuStringPairMap& map,
                  RCPtr<LMenuDescriptor>& descriptor, KeyPath& path)
{
    if (!descriptor)
    {
        descriptor = LMenuDescriptor::Create();
    }
    else
    {
        descriptor->RemoveAllItems();
    }
    for (const auto& [rest, text] : list)
    {
        String label;
        String help;
        SplitLabelAndHelp(text, label, help);
        const std::uint32_t end = descriptor->GetItemCount();
        if (rest.GetView().ends_with(u'.'))
        {
            const String key = TrimRightChars(rest, String(u"."));
            const auto found = map.find(key);
            // A table naming a submenu inside itself would otherwise nest without end.
            if (found == map.end() || IsOnPath(path, key) || path.size() >= kMaxMenuDepth)
            {
                continue;
            }
            RCPtr<LMenuItemDescriptor> row = LMenuItemDescriptor::Create(label, String(), 1, 0);
            row->SetHelp(help);
            if (Failed(descriptor->InsertItem(end, row)))
            {
                continue;
            }
            RCPtr<LMenuDescriptor> sub(row);
            path.push_back(&found->first);
            BuildLevel(found->second, map, sub, path);
            path.pop_back();
        }
        else if (rest == u"-")
        {
            descriptor->InsertSeparator(end);
        }
        else
        {
            RCPtr<LMenuItemDescriptor> row = LMenuItemDescriptor::Create(label, rest, 1, 0);
            row->SetHelp(help);
            descriptor->InsertItem(end, row);
        }
    }
    return kOk;
}

// Reads one id into (key, index, rest); false for an id without a ".".
bool ParseMenuId(const String& id, String& key, std::int32_t& index, String& rest)
{
    Array<String> parts;
    if (id.Split(parts, u".") <= 1)
    {
        return false;
    }
    index = -1;
    std::uint32_t restPart = 1;
    const String& first = parts[0];
    if (!first.IsEmpty())
    {
        if (first.GetPtr()[0] >= u'0' && first.GetPtr()[0] <= u'9')
        {
            // Saturates at INT32_MAX, so a giant index is merely out of sequence.
            index = StringToInt(first);
        }
        else
        {
            key = first;
            index = StringToInt(parts[1]);
            restPart = 2;
        }
    }
    if (restPart < parts.GetCount())
    {
        rest = parts[restPart];
    }
    if (id.GetView().ends_with(u'.'))
    {
        rest += u".";
    }
    return true;
}

void AppendInSequence(MenuStringPairs& list, std::int32_t index, const String& rest, const String& text)
{
    if (index >= 0 && static_cast<std::uint32_t>(index) == list.GetCount())
    {
        list.AddItem(Pair<String, String>{rest, text});
    }
}

} // namespace

LMenuDescriptor::LMenuDescriptor()
{
    gLiveDescriptors.fetch_add(1, std::memory_order_relaxed);
}

LMenuDescriptor::~LMenuDescriptor()
{
    RemoveAllItems();
    gLiveDescriptors.fetch_sub(1, std::memory_order_relaxed);
}

RCPtr<LMenuDescriptor> LMenuDescriptor::Create()
{
    return RCPtr<LMenuDescriptor>(new LMenuDescriptor());
}

const RCPtr<LMenuDescriptor>& LMenuDescriptor::Null()
{
    static const RCPtr<LMenuDescriptor> null;
    return null;
}

std::int32_t LMenuDescriptor::GetLiveCount()
{
    return gLiveDescriptors.load(std::memory_order_relaxed);
}

Result LMenuDescriptor::ReleaseInternalReferences()
{
    return RemoveAllItems();
}

void LMenuDescriptor::SetParent(LMenuDescriptor* parent)
{
    if (parent)
    {
        parent->AddRef();
        parent->AdjustInternalRefCount(1);
    }
    LMenuDescriptor* const old = std::exchange(mParent, parent);
    if (old)
    {
        old->AdjustInternalRefCount(-1);
        old->Release();
    }
}

Result LMenuDescriptor::InsertMadeItem(std::uint32_t index, RCPtr<LMenuItemDescriptor> item)
{
    LMenuItemDescriptor* const row = item.Get();
    const Result result = mItems.InsertItem(index, item);
    if (Failed(result))
    {
        return result;
    }
    row->SetParent(this);
    return result;
}

Result LMenuDescriptor::InsertItem(std::uint32_t index, const String& label, const String& command,
                                   std::uint8_t enabled, std::uint8_t checked)
{
    return InsertMadeItem(index, LMenuItemDescriptor::Create(label, command, enabled, checked));
}

Result LMenuDescriptor::InsertItem(std::uint32_t index, const RCPtr<LMenuItemDescriptor>& item)
{
    if (!item)
    {
        return kInvalidArg;
    }
    return InsertMadeItem(index, item);
}

Result LMenuDescriptor::InsertSeparator(std::uint32_t index)
{
    return InsertMadeItem(index, LMenuItemDescriptor::CreateSeparator());
}

Result LMenuDescriptor::GetItemInfo(std::uint32_t index, MenuItemInfo& info) const
{
    info = MenuItemInfo{};
    if (index >= mItems.GetCount())
    {
        return kInvalidArg;
    }
    const LMenuItemDescriptor& item = *mItems.GetAt(index);
    info.enabled = item.mEnabled;
    info.checked = item.mChecked;
    info.label = item.mLabel;
    return kOk;
}

Result LMenuDescriptor::RemoveAllItems()
{
    // The items may hold the last references that keep this descriptor alive while it
    // empties itself; one of our own keeps it until the end.
    const bool counted = GetRefCount() > 0;
    if (counted)
    {
        AddRef();
    }
    for (std::uint32_t i = mItems.GetCount(); i-- > 0;)
    {
        RCPtr<LMenuItemDescriptor> item = mItems.GetAt(i);
        item->SetParent(nullptr);
        mItems.RemoveItem(i, item);
    }
    SetParent(nullptr);
    if (counted)
    {
        Release();
    }
    return kOk;
}

void LMenuDescriptor::CopyItems(const LMenuDescriptor& from, LMenuDescriptor& to)
{
    for (std::uint32_t i = 0; i < from.mItems.GetCount(); ++i)
    {
        const LMenuItemDescriptor& item = *from.mItems.GetAt(i);
        RCPtr<LMenuItemDescriptor> copy(new LMenuItemDescriptor(item.mLabel, item.mCommand, item.mEnabled,
                                                                item.mChecked, item.mSeparator));
        copy->mShortcut = item.mShortcut;
        copy->mHelp = item.mHelp;
        CopyItems(item, *copy);
        to.InsertMadeItem(to.mItems.GetCount(), copy);
    }
}

RCPtr<LMenuDescriptor> LMenuDescriptor::CopyFrom() const
{
    RCPtr<LMenuDescriptor> copy = Create();
    CopyItems(*this, *copy);
    return copy;
}

LMenuItemDescriptor::LMenuItemDescriptor(const String& label, const String& command, std::uint8_t enabled,
                                         std::uint8_t checked, std::uint8_t separator)
    : mLabel(label), mCommand(command), mEnabled(enabled), mChecked(checked), mSeparator(separator)
{
}

RCPtr<LMenuItemDescriptor> LMenuItemDescriptor::Create(const String& label, const String& command,
                                                       std::uint8_t enabled, std::uint8_t checked)
{
    return RCPtr<LMenuItemDescriptor>(new LMenuItemDescriptor(label, command, enabled, checked, 0));
}

RCPtr<LMenuItemDescriptor> LMenuItemDescriptor::CreateSeparator()
{
    return RCPtr<LMenuItemDescriptor>(new LMenuItemDescriptor(String(), String(), 1, 0, 1));
}

Result BuildMenuTree(const MenuStringPairs& list, const MenuStringPairMap& map,
                     RCPtr<LMenuDescriptor>& descriptor)
{
    KeyPath path;
    return BuildLevel(list, map, descriptor, path);
}

void BuildMenuFromStringTable(RCPtr<LMenuDescriptor>& out, const MenuStringPairs& pairs)
{
    if (IMenuBuilder* const standIn = gMenuBuilder.load(std::memory_order_acquire))
    {
        standIn->Build(out, pairs);
        return;
    }
    MenuStringPairs top;
    MenuStringPairMap map;
    for (const auto& [id, text] : pairs)
    {
        String key;
        std::int32_t index = -1;
        String rest;
        if (!ParseMenuId(id, key, index, rest))
        {
            continue;
        }
        // A key's list exists from its first entry on, kept or not.
        AppendInSequence(key.IsEmpty() ? top : map[key], index, rest, text);
    }
    RCPtr<LMenuDescriptor> built;
    if (Failed(BuildMenuTree(top, map, built)) || !built)
    {
        out = LMenuDescriptor::Null();
        return;
    }
    out = built;
}

IMenuBuilder* SetMenuBuilder(IMenuBuilder* builder)
{
    return gMenuBuilder.exchange(builder, std::memory_order_acq_rel);
}

} // namespace KR
