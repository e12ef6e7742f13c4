#include "kr/controls/MenuListBoxItem.h"

namespace KR
{

Result LMenuListBoxItem::SetRowLook(std::int32_t look, bool flag)
{
    return Failed(LCheckedListBoxItem::SetRowLook(look, flag)) ? kFail : 1;
}

} // namespace KR
