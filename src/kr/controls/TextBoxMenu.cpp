// The text box's edit menu (cut, copy, paste, delete), opened by a right click.
//
// Every text box's menu has the same four rows, and a window holds a text box for each of
// its number fields: the menu is made when it is first asked for, not each time a box
// joins a window, since nearly all of them are never opened.

#include "kr/controls/TextBox.h"

#include "kr/render/MenuDescriptor.h"
#include "kr/ui/Clipboard.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/StringTable.h"

namespace KR
{
namespace
{

struct EditMenuEntry
{
    const char16_t* key;
    const char16_t* notification;
    std::int32_t operation;
};
constexpr EditMenuEntry kEditMenuEntries[] = {
    {u"EDIT_CUT", u"NID_EDIT_CUT_REQ", EditOperation::kCut},
    {u"EDIT_COPY", u"NID_EDIT_COPY_REQ", EditOperation::kCopy},
    {u"EDIT_PASTE", u"NID_EDIT_PASTE_REQ", EditOperation::kPaste},
    {u"EDIT_DELETE", u"NID_EDIT_DELETE_REQ", EditOperation::kDelete},
};

} // namespace

void LTextBox::RegisterIdleHandlers()
{
    LScrollView::RegisterIdleHandlers();
    // Made anew, from the texts of the time, when it is next asked for.
    mEditMenuOwed = true;
}

const RCPtr<LMenuDescriptor>& LTextBox::GetContextMenu()
{
    if (mEditMenuOwed)
    {
        mEditMenuOwed = false;
        MakeEditMenu();
    }
    return LScrollView::GetContextMenu();
}

void LTextBox::MakeEditMenu()
{
    const RCPtr<LControlFactory> factory = IFrameworkApp::GetInstance().GetControlFactory();
    const RCPtr<LStringTable> table = factory ? factory->GetFrameworkStringTable() : nullptr;
    if (!table)
    {
        return;
    }
    const RCPtr<LMenuDescriptor> menu = LMenuDescriptor::Create();
    std::uint32_t index = 0;
    for (const EditMenuEntry& entry : kEditMenuEntries)
    {
        String label;
        table->GetString(entry.key, label);
        menu->InsertItem(index++, label, String(entry.notification), 1, 0);
    }
    SetContextMenu(menu);
}

Result LTextBox::UpdateMenuItem(std::int32_t /*index*/, const String& notificationName, MenuItemInfo& state)
{
    for (const EditMenuEntry& entry : kEditMenuEntries)
    {
        if (notificationName == entry.notification)
        {
            const RCPtr<LClipboard> clipboard = IFrameworkApp::GetInstance().GetClipboard();
            state.enabled = clipboard && clipboard->CanPerformEdit(entry.operation) ? 1 : 0;
            return kOk;
        }
    }
    return kNothingDone;
}

} // namespace KR
