#pragma once
// KR::LMainMenu: a window's menu bar. Its titles (KR::LComboMenu) are made at run time from
// the skin's child "templateMenu", one per "MENU_LABEL.nn" text of the bar's string table,
// each showing the menu of its "CONTEXT_MENUn." entries; a new skin makes them again with
// the same names, texts and menus. Every title's popup sends its commands through the
// window's queue and asks the bar about its rows, which asks the updater given from
// outside. Edit commands chosen in the bar go to the control that had the focus before
// the bar took it.
//
// Title indexes count the run-time titles only; the skin's own children (other than the
// template) stand before them.

#include "kr/ui/Control.h"

#include <cstdint>

namespace KR
{

class LComboMenu;
class LPopupMenu;

class LMainMenu : public LControl
{
public:
    static constexpr char16_t kClassName[] = u"Framework.MainMenu";

    LMainMenu(const RCPtr<LControl>& parent, const String& name);
    ~LMainMenu() override;

    Result ReleaseInternalReferences() override;

    RCPtr<LControl> GetEditTarget() override;                                       // 14
    Result OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override; // 36
    void RegisterIdleHandlers() override;                                           // 38
    // 1 without an updater; kFail when its control is gone; else that control's answer.
    Result UpdateMenuItem(std::int32_t index, const String& notificationName,
                          MenuItemInfo& state) override;                              // 43
    Result ApplyLayoutDescriptor(ConstRCPtr<LControlDescriptor> descriptor) override; // 50
    Result Initialize() override;                                                     // 87
    Result AddChildControl(const RCPtr<LControl>& child,
                           ConstRCPtr<LControlDescriptor> descriptor) override; // 89

    // Before the title at `index`, or at the end when it is the count. The new title's
    // index, or kInvalidArg past the count or for a name taken.
    Result AddMenu(std::int32_t index, const String& name, const String& label,
                   const RCPtr<LMenuDescriptor>& menu);
    // Before the title named `before` (empty: at the end). kInvalidArg for an unknown title
    // or a name taken; nothing changes then.
    Result InsertMenu(const String& before, const String& name, const String& label,
                      const RCPtr<LMenuDescriptor>& menu);
    // A title at the end of the bar. kInvalidArg for a name taken, kFail without a template.
    Result CreateMenuTitle(const String& name);
    // Empty past the end.
    String GetMenuTitleName(std::int32_t index) const;
    // -1 for none, or for one of the skin's own children.
    std::int32_t FindMenuTitle(const String& name) const;
    std::int32_t GetMenuTitleCount() const;
    // Null past the end or for a title of another class.
    RCPtr<LComboMenu> GetMenuTitle(std::int32_t index) const;
    // True when it was the stored one already.
    bool SetMenuItemUpdater(const RCPtr<LMenuItemUpdater>& updater);
    // The control that had the focus when the bar took it.
    const RCPtr<LControl>& GetRememberedFocus() const { return mRememberedFocus; }
    bool HasTemplate() const { return mTemplate != nullptr; }

private:
    // A title's popup, or null when it has none (such a title is passed over).
    static RCPtr<LPopupMenu> PopupOf(const RCPtr<LControl>& title);
    // The title stays focusable inside the bar, and its popup asks the bar and sends
    // through the window's queue.
    void PrepareTitle(const RCPtr<LControl>& title);
    void GiveWindowQueue(const RCPtr<LPopupMenu>& popup);
    Result RenameTitle(const RCPtr<LControl>& title, const String& name);
    void BuildTitles();

    RCPtr<LControl> mRememberedFocus;
    RCPtr<LControlDescriptor> mTemplate;
    RCPtr<LMenuItemUpdater> mUpdaterLink;
    std::int32_t mSkinTitleCount = 0;
    bool mHasTemplate = false;
};

} // namespace KR
