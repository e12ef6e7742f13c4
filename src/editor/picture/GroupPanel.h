#pragma once
// What the group panels of the picture share: a family's view panels in parameter order,
// standing in the model as the family's group. A click on a member's "button" marks that
// member (1.0, the others 0.0), opens the family's edit panel through the device view and
// binds it to the member with the group as its parent. From then on the group hands the
// edit panel out in the member's place, so the model's values for the member reach the
// editor, and gives what the editor shows back to the member's view panel. Hiding the edit
// panel clears the marks.
//
// The model numbers the members through the accessor right after Initialize: the first
// `count` accessor calls always answer view panels, so the ids land there and not in the
// edit panel, whatever it carries.
//
//     class LFaderGroupPanel : public LGroupPanel<LFaderGroupPanel, IFaders, IFader, LFaderPanel,
//     LFaderEditPanel>

#include "editor/picture/EditPanelSwitch.h"
#include "editor/picture/PicturePanel.h"
#include "kr/controls/Button.h"
#include "kr/core/ParamValues.h"
#include "kr/core/RCPtrArray.h"
#include "kr/core/Variant.h"

#include <cstdint>
#include <initializer_list>
#include <string>

// Where the members of a family differ: their texts, lines and the order of the steps.
struct GroupPanelSite
{
    const char* operation;         // "LButtonGroupPanel::Initialize"
    const char* source;            // "UI\\QuillanCommon\\ButtonGroupPanel"
    const char16_t* editPanelName; // the edit panel, a child of "viewDevice"
    std::int32_t kind;             // what the device view is told to show
    int visibilityLine;            // 0: registered at each click instead (the faders)
    const char* missingEditPanel;  // the detail when no edit panel was found
    int missingEditPanelLine;
    bool editPanelTestedFirst; // a missing edit panel is named before it is registered with
    bool viewPanelsFirst;      // the view panels are found before the edit panel
    bool emptySlotStops;       // the first empty slot ends the click registrations
    bool bindBeforeShow;       // the edit panel gets the id before it is shown
    int clickLine;
    std::uint32_t countTested; // 0: the count is not tested
    int finalLine;
    const char* clickOperation; // where a refused registration at a click is reported
    int clickVisibilityLine;
};

template <typename Self, typename Group, typename Control, typename Member, typename EditPanel>
class LGroupPanel : public LPicturePanel<Self, Group>
{
public:
    LGroupPanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name)
        : LPicturePanel<Self, Group>(parent, name)
    {
    }

    KR::Result Initialize() override
    {
        const KR::Result base = this->InitializePanel();
        if (KR::Failed(base))
        {
            return base;
        }
        const GroupPanelSite& site = GetSite();
        mViewPanels.RemoveAll();
        if (site.viewPanelsFirst)
        {
            FindViewPanels();
            FindEditPanel(site);
        }
        else
        {
            FindEditPanel(site);
            FindViewPanels();
        }
        mAccessorCalls = 0;
        KR::Result result = base;
        for (std::uint32_t slot = 0; slot < mViewPanels.GetCount(); ++slot)
        {
            const KR::RCPtr<Member>& member = mViewPanels.ElementAt(slot);
            if (!member)
            {
                result = KR::kFail;
                if (site.emptySlotStops)
                {
                    break;
                }
                continue;
            }
            PicturePanelDetail::ThrowIfFailed(this->Listen(&LGroupPanel::OnControlClicked,
                                                           member->FindChildControl(KR::String(u"button")),
                                                           u"NID_LEFT_CLICK"),
                                              site.operation, site.source, site.clickLine);
        }
        if (site.countTested != 0 && mViewPanels.GetCount() != site.countTested)
        {
            result = KR::kFail;
        }
        PicturePanelDetail::ThrowIfFailed(result, site.operation, site.source, site.finalLine);
        return result;
    }

    KR::Result ReleaseInternalReferences() override
    {
        mEditPanel = nullptr;
        mViewPanels.RemoveAll();
        return LPicturePanel<Self, Group>::ReleaseInternalReferences();
    }

    // The edited control's view panel shows what its edit panel shows; nothing goes further
    // up. 0 whether a view panel matched or not.
    std::int32_t SetParamValue(const KR::ParamDescriptor& descriptor, const KR::Variant& value) override
    {
        if (!mEditPanel)
        {
            return KR::kOk;
        }
        const std::int32_t edited = mEditPanel->GetFirstParamID();
        for (std::uint32_t slot = 0; slot < mViewPanels.GetCount(); ++slot)
        {
            const KR::RCPtr<Member> member = mViewPanels.ElementAt(slot);
            if (member && member->GetFirstParamID() == edited)
            {
                member->SetParamValueLocal(descriptor, value, false);
            }
        }
        return KR::kOk;
    }

    std::uint32_t GetViewPanelCount() const { return mViewPanels.GetCount(); }
    KR::RCPtr<Member> GetViewPanel(std::uint32_t slot) const { return mViewPanels.GetAt(slot); }
    const KR::RCPtr<EditPanel>& GetEditPanel() const { return mEditPanel; }

protected:
    virtual const GroupPanelSite& GetSite() const = 0;
    // Appends the view panels in parameter order, an empty pointer where one is missing.
    virtual void FindViewPanels() = 0;

    // The family's child accessor: the view panel of the slot, or the edit panel in the
    // place of the control it is bound to; empty for an index outside the group.
    KR::RCPtr<Control> GetMember(std::int32_t index)
    {
        KR::RCPtr<Control> result;
        if (static_cast<std::uint32_t>(index) < mViewPanels.GetCount())
        {
            result = mViewPanels.ElementAt(static_cast<std::uint32_t>(index));
        }
        if (mAccessorCalls < mViewPanels.GetCount())
        {
            ++mAccessorCalls;
            return result;
        }
        if (result && mEditPanel && result->GetFirstParamID() == mEditPanel->GetFirstParamID())
        {
            result = mEditPanel;
        }
        return result;
    }

    // The group's own children of these names.
    void FindNamedViewPanels(std::initializer_list<const char16_t*> names)
    {
        for (const char16_t* name : names)
        {
            mViewPanels.AddItem(KR::RCPtr<Member>(this->FindChildControl(KR::String(name))));
        }
    }

    // Members in banks: bank k's child memberFormat(p) for p = 1..perBank, bank after bank.
    // A missing bank is refused before any member is looked up ("can not find child
    // encoderBank3", line firstBankLine + k - 1).
    void FindBankedViewPanels(const char16_t* bankFormat, std::uint32_t banks, const char16_t* memberFormat,
                              std::uint32_t perBank, int firstBankLine)
    {
        const GroupPanelSite& site = GetSite();
        KR::RCPtrArray<KR::LControl, 1, 0> found;
        for (std::uint32_t bank = 1; bank <= banks; ++bank)
        {
            found.AddItem(this->FindChildControl(KR::String::Format(bankFormat, bank)));
        }
        for (std::uint32_t bank = 1; bank <= banks; ++bank)
        {
            if (!found.ElementAt(bank - 1))
            {
                const std::string detail =
                    "can not find child " +
                    std::string(KR::String::Format(bankFormat, bank).ToUtf8().GetPtr());
                PicturePanelDetail::ThrowMissingChild(detail.c_str(), site.operation, site.source,
                                                      firstBankLine + static_cast<int>(bank) - 1);
            }
        }
        for (std::uint32_t bank = 1; bank <= banks; ++bank)
        {
            for (std::uint32_t position = 1; position <= perBank; ++position)
            {
                mViewPanels.AddItem(KR::RCPtr<Member>(
                    found.ElementAt(bank - 1)->FindChildControl(KR::String::Format(memberFormat, position))));
            }
        }
    }

    KR::RCPtr<KR::LButton> ButtonOf(std::uint32_t slot) const
    {
        const KR::RCPtr<Member> member = mViewPanels.GetAt(slot);
        return member ? KR::RCPtr<KR::LButton>(member->FindChildControl(KR::String(u"button")))
                      : KR::RCPtr<KR::LButton>();
    }

    // Every member's mark to 0.0.
    void ClearMarks()
    {
        for (std::uint32_t slot = 0; slot < mViewPanels.GetCount(); ++slot)
        {
            if (const KR::RCPtr<KR::LButton> button = ButtonOf(slot))
            {
                button->SetValue(0.0);
            }
        }
    }

private:
    void FindEditPanel(const GroupPanelSite& site)
    {
        IEditPanelSwitch* const view = FindEditPanelSwitch(*this);
        if (view)
        {
            const KR::RCPtr<KR::LControl> root = this->GetRootControl();
            mEditPanel = KR::RCPtr<EditPanel>(root->FindChildControl(KR::String(u"viewDevice"))
                                                  ->FindChildControl(KR::String(site.editPanelName)));
            if (site.editPanelTestedFirst && !mEditPanel)
            {
                PicturePanelDetail::ThrowMissingChild(site.missingEditPanel, site.operation, site.source,
                                                      site.missingEditPanelLine);
            }
            if (site.visibilityLine != 0)
            {
                PicturePanelDetail::ThrowIfFailed(ListenToEditPanel(), site.operation, site.source,
                                                  site.visibilityLine);
            }
        }
        // Without a device view there is nothing a click could open.
        if (!mEditPanel)
        {
            PicturePanelDetail::ThrowMissingChild(site.missingEditPanel, site.operation, site.source,
                                                  site.missingEditPanelLine);
        }
    }

    KR::Result ListenToEditPanel()
    {
        return this->Listen(&LGroupPanel::OnEditPanelVisibilityChange, KR::RCPtr<KR::LControl>(mEditPanel),
                            u"NID_VISIBLITY_CONDITION_CHANGE");
    }

    KR::Result OnControlClicked(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                const KR::RCPtr<KR::LNotification>&)
    {
        std::int32_t clicked = -1;
        for (std::uint32_t slot = 0; slot < mViewPanels.GetCount(); ++slot)
        {
            const KR::RCPtr<KR::LButton> button = ButtonOf(slot);
            if (!button)
            {
                continue;
            }
            const bool isSender = static_cast<KR::LNotificationDistributor*>(button.Get()) == sender.Get();
            button->SetValue(isSender ? 1.0 : 0.0);
            if (isSender && clicked < 0)
            {
                clicked = static_cast<std::int32_t>(slot);
            }
        }
        if (clicked < 0 || !mEditPanel)
        {
            return 1;
        }
        const GroupPanelSite& site = GetSite();
        const KR::RCPtr<Member> member = mViewPanels.ElementAt(static_cast<std::uint32_t>(clicked));
        IEditPanelSwitch* const view = FindEditPanelSwitch(*this);
        if (site.bindBeforeShow)
        {
            // The member's own index: the slot the model numbered it with.
            const std::int32_t index = member->GetIndex();
            mEditPanel->SetFirstParamID(this, member->GetFirstParamID(), index);
            if (view)
            {
                view->ShowEditPanel(site.kind, index);
            }
        }
        else if (view)
        {
            view->ShowEditPanel(site.kind, clicked);
            mEditPanel->SetFirstParamID(this, member->GetFirstParamID(), clicked);
            if (site.visibilityLine == 0)
            {
                // A registration that stands already changes nothing.
                PicturePanelDetail::ThrowIfFailed(ListenToEditPanel(), site.clickOperation, site.source,
                                                  site.clickVisibilityLine);
            }
        }
        return 1;
    }

    KR::Result OnEditPanelVisibilityChange(const KR::RCPtr<KR::LNotificationDistributor>&,
                                           const KR::RCPtr<KR::LNotification>&)
    {
        if (mEditPanel && !mEditPanel->IsShown(false))
        {
            ClearMarks();
        }
        return 1;
    }

    KR::RCPtrArray<Member, 1, 0> mViewPanels;
    KR::RCPtr<EditPanel> mEditPanel;
    std::uint32_t mAccessorCalls = 0;
};
