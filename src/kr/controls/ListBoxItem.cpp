#include "kr/controls/ListBoxItem.h"

namespace KR
{

LListBoxItem::LListBoxItem(const RCPtr<LControl>& parent, const String& name) : LControl(parent, name)
{
}

LListBoxItem::~LListBoxItem() = default;

void LListBoxItem::OnValueChanged()
{
    RefreshLook();
}

Result LListBoxItem::OnConditionsChanged(const RCPtr<LConditionsParam>&)
{
    RefreshLook();
    return kOk;
}

void LListBoxItem::SetEnabled(bool enabled)
{
    LControl::SetEnabled(enabled);
    RefreshLook();
}

std::int32_t LListBoxItem::GetVisualState()
{
    if (mBlank)
    {
        return kBlankLook;
    }
    const bool selected = GetValue() >= 0.5;
    if (!IsEnabled(true))
    {
        return selected ? kBlankLook : kDisabledLook;
    }
    const std::uint32_t conditions = GetConditions();
    const bool hot = (conditions & (Condition::kHover | Condition::kHoverOrForced)) != 0;
    const bool captured = (conditions & Condition::kCapture) != 0;
    const bool pressed = captured && (conditions & Condition::kLeftDrag) != 0;
    std::int32_t look = kHotLook;
    if (pressed && hot)
    {
        look = kPressedLook;
    }
    else if (!pressed && (!hot || captured))
    {
        look = kNormalLook;
    }
    return look + (mAlternate ? kAlternateLooks : 0) + (selected ? kSelectedLooks : 0);
}

void LListBoxItem::SetAlternate(bool alternate)
{
    if (mAlternate == alternate)
    {
        return;
    }
    mAlternate = alternate;
    RefreshLook();
}

void LListBoxItem::SetBlank(bool blank)
{
    if (mBlank == blank)
    {
        return;
    }
    mBlank = blank;
    if (blank)
    {
        SetText(String());
    }
    RefreshLook();
}

void LListBoxItem::RefreshLook()
{
    SetLookWeight(GetVisualState(), 1.0f, true);
    const PointD size = GetSize();
    Invalidate(RectD{0.0, 0.0, size.x, size.y}, ClipsToParent());
}

String LListBoxItem::GetToolTipText()
{
    return IsTextClipped() ? GetText() : LControl::GetToolTipText();
}

Result LListBoxItem::BeginDrag(std::uint32_t button, std::int32_t x, std::int32_t y)
{
    const RCPtr<LControl>& parent = GetParent();
    if (mDropDown && parent)
    {
        const PointD position = GetPosition();
        return parent->BeginDrag(button, x + static_cast<std::int32_t>(position.x),
                                 y + static_cast<std::int32_t>(position.y));
    }
    return LControl::BeginDrag(button, x, y);
}

} // namespace KR
