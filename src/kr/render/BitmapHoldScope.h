#pragma once
// While one lives, every picture LBitmap::GetBitmap decodes is held by it as well, so a
// picture let go between two uses is decoded once, not at each use: building the editor's
// controls decoded the glyph sheet three times, as each of its cuts is tinted into a copy
// of its own and the sheet let go. The control factory keeps one while it builds a tree of
// controls. One at a time: one made while another lives holds nothing. User-interface
// thread, like the bitmap table.
//
//     {
//         const KR::LBitmapHoldScope pictures;
//         ... make the controls ...
//     }   // what only the scope held leaves the table

#include "kr/core/RCPtr.h"

#include <vector>

namespace KR
{

class LBitmap;

class LBitmapHoldScope
{
public:
    LBitmapHoldScope();
    // Lets go of what it held: a picture nobody else holds leaves the table; so do the
    // pictures decoded ahead that nobody asked for.
    ~LBitmapHoldScope();
    LBitmapHoldScope(const LBitmapHoldScope&) = delete;
    LBitmapHoldScope& operator=(const LBitmapHoldScope&) = delete;

    // For GetBitmap: holds `bitmap` in the scope that lives, if any.
    static void Hold(const ConstRCPtr<LBitmap>& bitmap);

private:
    std::vector<ConstRCPtr<LBitmap>> mHeld;
    bool mInstalled = false;
};

} // namespace KR
