#pragma once
// KR::LSplitterV: a vertical bar between panes left and right of it, dragged along X, with
// the west-east sizing cursor.

#include "kr/controls/SplitterBase.h"

namespace KR
{

class LSplitterV : public LSplitterBase
{
public:
    static constexpr char16_t kClassName[] = u"Framework.SplitterV";

    LSplitterV(const RCPtr<LControl>& parent, const String& name) : LSplitterBase(parent, name, 1) {}
};

} // namespace KR
