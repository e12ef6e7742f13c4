#pragma once
// KR::LSplitterH: a horizontal bar between panes above and below it, dragged along Y, with
// the north-south sizing cursor.

#include "kr/controls/SplitterBase.h"

namespace KR
{

class LSplitterH : public LSplitterBase
{
public:
    static constexpr char16_t kClassName[] = u"Framework.SplitterH";

    LSplitterH(const RCPtr<LControl>& parent, const String& name) : LSplitterBase(parent, name, 0) {}
};

} // namespace KR
