#pragma once
// The two pop-ups a control opens from its skin: the menu of a right click (the skin's
// "contextMenu") and the tooltip (the skin's "toolTip"). They are controls of their own
// classes, registered like any other; the control core only needs what these declare.
// Until the menus are built the menu takes what it is given and shows nothing; the
// tooltip is an interface that the standard controls' tooltip implements.

#include "kr/core/Point.h"
#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"
#include "kr/render/MenuDescriptor.h"
#include "kr/ui/Control.h"

namespace KR
{

class LPopupMenu : public LControl
{
public:
    using LControl::LControl;

    // The rows become the menu's items.
    virtual Result SetMenu(const RCPtr<LMenuDescriptor>& menu)
    {
        mMenu = menu;
        return kOk;
    }
    // Where the menu opens, in the window's client coordinates.
    virtual void SetPopupPosition(const PointI& position) { mPopupPosition = position; }
    // Moves the menu back inside the window's screen area on each axis.
    virtual Result PlaceOnScreen() { return kOk; }
    // Shows the menu as a pop-up at its position.
    virtual Result OpenPopup() { return kOk; }

    const RCPtr<LMenuDescriptor>& GetMenu() const { return mMenu; }
    PointI GetPopupPosition() const { return mPopupPosition; }

private:
    RCPtr<LMenuDescriptor> mMenu;
    PointI mPopupPosition{};
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
