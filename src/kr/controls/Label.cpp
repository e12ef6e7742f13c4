#include "kr/controls/Label.h"

namespace KR
{

Result LLabel::PlaceParts()
{
    // Whatever the skin's TabStop says.
    SetNotFocusable(true);
    return kOk;
}

String LLabel::GetToolTipText()
{
    return IsTextClipped() ? GetText() : LControl::GetToolTipText();
}

} // namespace KR
