#include "kr/ui/ControlDescriptor.h"

#include "kr/core/StringFunctions.h"

#include <algorithm>

namespace KR
{

namespace
{
std::int32_t LayoutOrderOf(const RCPtr<LControlDescriptor>& child)
{
    const RCPtr<LLayoutDescriptor>& layout = child->GetLayout();
    return layout ? layout->layoutOrder : 0;
}
} // namespace

bool CreateParamIsTrue(const RCPtr<LStringTable>& params, const char16_t* id, bool* present)
{
    String text;
    const bool found = params && params->GetString(id, text);
    if (present)
    {
        *present = found;
    }
    return found && TrimWhitespace(text).ToLower() == u"true";
}

void LControlDescriptor::SortChildrenByLayoutOrder()
{
    const std::uint32_t count = mChildren.GetCount();
    if (count < 2)
    {
        return;
    }
    // The array's own sort is not stable; equal layout orders must stay in document order.
    RCPtr<LControlDescriptor>* first = mChildren.GetData();
    std::stable_sort(first, first + count,
                     [](const RCPtr<LControlDescriptor>& a, const RCPtr<LControlDescriptor>& b)
                     { return LayoutOrderOf(a) < LayoutOrderOf(b); });
}

} // namespace KR
