#pragma once
// The two pop-ups a control opens from its skin: the menu of a right click (the skin's
// "contextMenu") and the tooltip (the skin's "toolTip"). They are controls of their own
// classes, registered like any other; the control core only needs the interfaces below,
// which the standard controls implement.

#include "kr/core/Point.h"
#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"
#include "kr/render/MenuDescriptor.h"
#include "kr/ui/Control.h"

namespace KR
{

// What the control core asks of the menu it opens: the standard controls' popup menu
// implements it. The menu takes its own copy of the descriptor and places itself at the
// pointer, inside the window's client area, then takes the keyboard focus.
class IPopupMenu
{
public:
    virtual Result SetMenu(const RCPtr<LMenuDescriptor>& menu) = 0;
    virtual Result PlaceOnScreen() = 0;

protected:
    ~IPopupMenu() = default;
};

// The control made from the skin's "toolTip" inside the control that shows it: it takes
// its text as the control's text, then times its own appearance and life.
class IToolTip
{
public:
    virtual Result Show() = 0;
    // Also takes the tooltip out of its parent.
    virtual Result Hide() = 0;

protected:
    ~IToolTip() = default;
};

} // namespace KR
