#pragma once
// KR::IScrollbar: what a scroll view asks of the bars it finds among its parts ("hBar",
// "vBar"). A bar is a control: its normalised value (LControl::SetValue) is where the view
// stands, its value scaling (SetValueScaling) the range the view can scroll, and it sends
// "NID_VALUE_CHANGE" when its value changes. The view writes the three fractions below and
// then asks the bar to recompute its thumb. The standard controls' bar implements it; the
// view takes a part as a bar only when the part is an IScrollbar.

namespace KR
{

struct KeyCode;

class IScrollbar
{
public:
    virtual ~IScrollbar() = default;

    // The value step of one line (arrow, wheel notch) and of one page (a click on the track).
    virtual void SetLineStep(double step) = 0;
    virtual double GetLineStep() const = 0;
    virtual void SetPageStep(double step) = 0;
    virtual double GetPageStep() const = 0;
    // The visible part of the whole, 0..1: the thumb's share of the track.
    virtual void SetThumbSize(double fraction) = 0;
    virtual double GetThumbSize() const = 0;
    // Places the thumb again after the fields above or the value changed.
    virtual void Recompute() = 0;
    // A key its owner passes on: the arrows of its axis, Page Up and Page Down when vertical,
    // Home and End. True when the key is one of those and the bar, shown, applied it.
    virtual bool TakeKey(const KeyCode& key) = 0;
};

} // namespace KR
