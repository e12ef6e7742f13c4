#pragma once
// KR::LMenuListBoxItem: one row of a popup menu: a checked row whose "hotKeyLabel" part
// shows the row's key combination. A look the row lacks still counts as set, so the
// menu's row updates never stop at a skin with fewer looks.

#include "kr/controls/CheckedListBoxItem.h"

namespace KR
{

class LMenuListBoxItem : public LCheckedListBoxItem
{
public:
    static constexpr char16_t kClassName[] = u"Framework.MenuItem";

    using LCheckedListBoxItem::LCheckedListBoxItem;

    // 1 whenever the base did not fail.
    Result SetRowLook(std::int32_t look, bool flag) override;
};

} // namespace KR
