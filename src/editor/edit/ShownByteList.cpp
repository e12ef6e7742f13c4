#include "editor/edit/ShownByteList.h"

#include "editor/edit/ControlUtilities.h"

void ShownByteList::Show(signed char byte, std::int32_t item)
{
    if (!mList)
    {
        return;
    }
    // Kept before selecting: the list reports its change at once, and what is built
    // then must already be this byte.
    mKept = byte;
    mKeeps = true;
    SelectOrClear(mList, item);
}

signed char ShownByteList::Build(ItemToByte toByte) const
{
    const std::int32_t item = mList ? mList->GetSelectedIndex() : -1;
    if (item < 0 && mKeeps)
    {
        return mKept;
    }
    return static_cast<signed char>(toByte ? toByte(item) : item);
}
