#include "kr/ui/TabControl.h"

#include "kr/core/Exception.h"
#include "kr/ui/ControlDescriptor.h"

#include <stdexcept>
#include <string>

namespace KR
{

RCPtr<LControl> LTabControl::Create(const RCPtr<LControl>& parent,
                                    const RCPtr<LControlDescriptor>& descriptor)
{
    const RCPtr<LControl> control = CreateFromSkin<LTabControl>(parent, descriptor);
    const auto* tabs = dynamic_cast<const LTabControl*>(control.Get());
    if (tabs != nullptr && Failed(tabs->mInitialized))
    {
        const std::string detail = "No tab to select in " + std::string(tabs->GetName().ToUtf8().GetPtr());
        Throw<std::runtime_error>(ErrorText<std::runtime_error>(
            {"Failed Result", detail}, "KR::LTabControl::Create", "ControlBase\\TabControl", __LINE__));
    }
    return control;
}

LTabControl::~LTabControl() = default;

Result LTabControl::ReleaseInternalReferences()
{
    mButtonHolder = nullptr;
    mPageHolder = nullptr;
    return LPanel::ReleaseInternalReferences();
}

Result LTabControl::Receive(const RCPtr<LNotificationDistributor>& sender,
                            const RCPtr<LNotification>& notification)
{
    if (mTabHandler)
    {
        const Result handled = mTabHandler->HandleNotification(sender, notification);
        if (handled != 0)
        {
            return handled;
        }
    }
    return LPanel::Receive(sender, notification);
}

Result LTabControl::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                              NotificationName name)
{
    if (mTabHandler)
    {
        mTabHandler->Unregister(sender, name);
    }
    return LPanel::UnregisterForNotification(sender, name);
}

Result LTabControl::Initialize()
{
    if (Failed(LPanel::Initialize()))
    {
        mInitialized = kFail;
        return kFail;
    }
    mButtonHolder = RCPtr<LPanel>(dynamic_cast<LPanel*>(FindChildControl(String(u"buttonHolder")).Get()));
    mPageHolder = RCPtr<LPanel>(dynamic_cast<LPanel*>(FindChildControl(String(u"pageHolder")).Get()));
    const Result selected = SelectTabByIndex(0);
    mInitialized = selected;
    if (Failed(selected))
    {
        return selected;
    }
    if (!mTabHandler)
    {
        mTabHandler = LNotificationHandler<LTabControl>::Create(this);
        ChildControlList& buttons = mButtonHolder->GetChildren();
        for (std::uint32_t i = 0; i < buttons.GetCount(); ++i)
        {
            mTabHandler->Register(&LTabControl::OnTabButtonClick,
                                  RCPtr<LNotificationDistributor>(buttons.GetAt(i, kInsertionOrder)),
                                  u"NID_LEFT_CLICK");
        }
    }
    return selected;
}

Result LTabControl::ApplyLayoutDescriptor(ConstRCPtr<LControlDescriptor> descriptor)
{
    const Result result = LPanel::ApplyLayoutDescriptor(descriptor);
    if (IsCreationFinished())
    {
        // A new skin shows its pages as the skin says; the user's choice comes back.
        SelectTab(String(mSelectedName));
    }
    return result;
}

std::uint32_t LTabControl::GetPageCount() const
{
    return mPageHolder ? mPageHolder->GetChildren().GetCount() : 0;
}

std::int32_t LTabControl::IndexOfPage(const String& name) const
{
    if (!mButtonHolder)
    {
        return -1;
    }
    const ChildControlList& buttons = mButtonHolder->GetChildren();
    for (std::uint32_t i = buttons.GetCount(); i-- > 0;)
    {
        if (ControlNamesMatch(buttons.GetAt(i, kInsertionOrder)->GetName(), name))
        {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

std::int32_t LTabControl::GetSelectedIndex() const
{
    return IndexOfPage(mSelectedName);
}

RCPtr<LControl> LTabControl::GetSelectedPage() const
{
    return GetPage(GetSelectedIndex());
}

const String& LTabControl::GetSelectedName() const
{
    return mSelectedName;
}

RCPtr<LControl> LTabControl::GetPageByName(const String& name) const
{
    return GetPage(IndexOfPage(name));
}

RCPtr<LControl> LTabControl::GetPage(std::int32_t index) const
{
    if (!mPageHolder || index < 0 || static_cast<std::uint32_t>(index) >= GetPageCount())
    {
        return nullptr;
    }
    return mPageHolder->GetChildren().GetAt(static_cast<std::uint32_t>(index), kInsertionOrder);
}

Result LTabControl::SelectTab(const String& name)
{
    if (!mButtonHolder)
    {
        return kFail;
    }
    ChildControlList& buttons = mButtonHolder->GetChildren();
    for (std::uint32_t i = buttons.GetCount(); i-- > 0;)
    {
        const RCPtr<LControl> button = buttons.GetAt(i, kInsertionOrder);
        button->SetValue(ControlNamesMatch(button->GetName(), name) ? 1.0 : 0.0);
    }
    if (!mPageHolder)
    {
        return kFail;
    }
    ChildControlList& pages = mPageHolder->GetChildren();
    for (std::uint32_t i = pages.GetCount(); i-- > 0;)
    {
        const RCPtr<LControl> page = pages.GetAt(i, kInsertionOrder);
        page->SetVisible(ControlNamesMatch(page->GetName(), name));
    }
    mSelectedName = name;
    OnTabSelected(GetSelectedIndex());
    SendNotificationByName(u"NID_TAB_SELECTED", GetSelectedPage());
    return kOk;
}

Result LTabControl::SelectTabByIndex(std::int32_t index)
{
    if (!mButtonHolder || index < 0 ||
        static_cast<std::uint32_t>(index) >= mButtonHolder->GetChildren().GetCount())
    {
        return kFail;
    }
    const RCPtr<LControl> button =
        mButtonHolder->GetChildren().GetAt(static_cast<std::uint32_t>(index), kTabOrder);
    return SelectTab(String(button->GetName()));
}

Result LTabControl::OnTabButtonClick(const RCPtr<LNotificationDistributor>& sender,
                                     const RCPtr<LNotification>&)
{
    if (const LControl* button = dynamic_cast<const LControl*>(sender.Get()))
    {
        SelectTab(String(button->GetName()));
    }
    return 1;
}

} // namespace KR
