#pragma once
// A scroll bar as a scroll view sees one: a control that keeps the fractions the view
// writes and counts the recomputes it asks for. The standard controls' bar does the drawing.

#include "kr/ui/Control.h"
#include "kr/ui/Scrollbar.h"

namespace KR::TestSupport
{

class LScrollbarStandIn : public LControl, public IScrollbar
{
public:
    using LControl::LControl;
    void SetLineStep(double step) override { line = step; }
    double GetLineStep() const override { return line; }
    void SetPageStep(double step) override { page = step; }
    double GetPageStep() const override { return page; }
    void SetThumbSize(double fraction) override { thumb = fraction; }
    double GetThumbSize() const override { return thumb; }
    void Recompute() override { ++recomputes; }
    bool TakeKey(const KeyCode&) override { return false; }

    double line = 0.0;
    double page = 0.0;
    double thumb = 0.0;
    int recomputes = 0;
};

} // namespace KR::TestSupport
