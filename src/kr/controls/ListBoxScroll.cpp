// A wheel notch over a list: the rows keep their places and show other items, so what a
// row showed is now shown whole rows further up or down. The window moves those pixels
// instead of drawing them again, and only rows that show something new are drawn: those
// the move uncovers, and any whose state differs from the row whose pixels they receive
// (the one under the pointer, the one that was).

#include "kr/controls/ListBox.h"
#include "kr/controls/ListBoxItem.h"
#include "kr/ui/RootWindowServices.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace KR
{

struct LListBox::RowFace
{
    String text;
    double value = 0.0;
    bool alternate = false;
    bool blank = false;
    bool shown = false;
    std::uint32_t conditions = 0;
    std::int32_t look = -1;
    std::vector<float> weights;
    PointD size;
    float opacity = 1.0f;
    const LFont* font = nullptr;

    bool operator==(const RowFace&) const = default;
};

namespace
{

RectD WindowRect(const LControl& control)
{
    const PointD at = control.GetAbsolutePosition();
    return RectD{at.x, at.y, control.GetSize().x, control.GetSize().y};
}

bool WithinRows(const RectD& area, const RectD& row)
{
    return area.y <= row.y && area.Bottom() >= row.Bottom();
}

bool IsAncestorOf(const LControl& control, const LControl& other)
{
    for (const LControl* up = other.GetParent().Get(); up; up = up->GetParent().Get())
    {
        if (up == &control)
        {
            return true;
        }
    }
    return false;
}

// Whether a shown control that does not clip to its parent, apart from `list` and what it
// holds or lies in, reaches into `area`: such a control is drawn over others, and its
// pixels must not move with the rows.
bool OverlaidBySomethingElse(const LControl& control, const LControl& list, const RectD& area)
{
    if (&control == &list || !control.IsShown(false))
    {
        return false;
    }
    RectD overlap;
    if (!control.ClipsToParent() && !IsAncestorOf(control, list) &&
        IntersectRects(WindowRect(control), area, overlap))
    {
        return true;
    }
    const LControl::ChildControlList& children = control.GetChildren();
    for (std::uint32_t i = 0; i < children.GetCount(); ++i)
    {
        if (OverlaidBySomethingElse(*children.GetAt(i, kInsertionOrder), list, area))
        {
            return true;
        }
    }
    return false;
}

} // namespace

std::vector<LListBox::RowFace> LListBox::RowFaces() const
{
    std::vector<RowFace> faces;
    faces.reserve(mRows.size());
    for (const RCPtr<LListBoxItem>& row : mRows)
    {
        RowFace face;
        face.text = row->GetText();
        face.value = row->GetValue();
        face.alternate = row->IsAlternate();
        face.blank = row->IsBlank();
        face.shown = row->IsShown(false);
        face.conditions = row->GetConditions();
        face.look = row->GetActiveLookIndex();
        for (std::uint32_t i = 0; i < row->GetLookCount(); ++i)
        {
            face.weights.push_back(row->GetLookWeight(static_cast<std::int32_t>(i)));
        }
        face.size = row->GetSize();
        face.opacity = row->GetOpacity();
        face.font = row->GetFont().Get();
        faces.push_back(std::move(face));
    }
    return faces;
}

void LListBox::SetScrollOffset(const PointD& offset)
{
    // The rows are docked: they stay in the box, and the offset only chooses which items
    // they show. The repaints the scroll asks for are held; what needs one gets it below.
    const PointD oldOffset = GetScrollOffset();
    const std::int32_t oldFirst = mFirstShown;
    const std::vector<RowFace> before = RowFaces();
    HoldRepaints(true);
    LScrollView::SetScrollOffset(offset);
    const std::int32_t first =
        std::max(0, static_cast<std::int32_t>(std::lround(GetScrollOffset().y / mRowHeight)));
    if (first != mFirstShown)
    {
        mFirstShown = first;
        RebindRows(mFirstShown);
    }
    HoldRepaints(false);
    if (GetScrollOffset() == oldOffset && first == oldFirst)
    {
        return;
    }
    if (first == oldFirst || !MoveRowPixels(first - oldFirst, before))
    {
        Invalidate(RectD{0.0, 0.0, GetSize().x, GetSize().y}, ClipsToParent());
        return;
    }
    // The list's own look stays as it was; its other children (the bar) draw again.
    for (std::uint32_t i = 0; i < GetChildren().GetCount(); ++i)
    {
        const RCPtr<LControl>& child = GetChildren().GetAt(i, kInsertionOrder);
        if (child->IsShown(false) && !dynamic_cast<const LListBoxItem*>(child.Get()))
        {
            child->Invalidate(RectD{0.0, 0.0, child->GetSize().x, child->GetSize().y}, true);
        }
    }
}

bool LListBox::MoveRowPixels(std::int32_t step, const std::vector<RowFace>& before)
{
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    const std::int32_t count = GetRowCount();
    if (!window || count == 0 || std::abs(step) >= count || !IsShown(true) || mRowHeight <= 0)
    {
        return false;
    }
    // The rows stand one under the other, each a row high, and hold nothing of their own
    // (a check box's state is not in a row's face).
    const RectD top = WindowRect(*mRows[0]);
    for (std::int32_t k = 0; k < count; ++k)
    {
        const RectD rect = WindowRect(*mRows[static_cast<std::size_t>(k)]);
        if (mRows[static_cast<std::size_t>(k)]->GetChildren().GetCount() > 0 || rect.x != top.x ||
            rect.width != top.width || rect.height != mRowHeight ||
            rect.y != top.y + static_cast<double>(k) * mRowHeight)
        {
            return false;
        }
    }
    // What of them shows: the list's client area, cut by every ancestor that clips.
    RectD area{top.x, top.y, top.width, static_cast<double>(count) * mRowHeight};
    const RectD client = GetClientArea();
    const PointD corner = GetAbsolutePosition();
    if (!IntersectRects(area, RectD{corner.x + client.x, corner.y + client.y, client.width, client.height},
                        area))
    {
        return false;
    }
    for (const LControl* control = this; control->ClipsToParent() && control->GetParent();
         control = control->GetParent().Get())
    {
        if (!IntersectRects(area, WindowRect(*control->GetParent()), area))
        {
            return false;
        }
    }
    const RectI whole{static_cast<std::int32_t>(std::ceil(area.x)),
                      static_cast<std::int32_t>(std::ceil(area.y)),
                      static_cast<std::int32_t>(std::floor(area.Right()) - std::ceil(area.x)),
                      static_cast<std::int32_t>(std::floor(area.Bottom()) - std::ceil(area.y))};
    const RectD kept = IntRectToDouble(whole);
    // Nothing else may be drawn there: no other child of the list, nothing over it.
    for (std::uint32_t i = 0; i < GetChildren().GetCount(); ++i)
    {
        const RCPtr<LControl>& child = GetChildren().GetAt(i, kInsertionOrder);
        RectD overlap;
        if (child->IsShown(false) && !dynamic_cast<const LListBoxItem*>(child.Get()) &&
            IntersectRects(WindowRect(*child), kept, overlap))
        {
            return false;
        }
    }
    if (const RCPtr<LControl> root = GetRootControl(); !root || OverlaidBySomethingElse(*root, *this, kept))
    {
        return false;
    }
    if (!window->MoveFramePixels(whole, PointI{0, -step * mRowHeight}))
    {
        return false;
    }
    const std::vector<RowFace> after = RowFaces();
    for (std::int32_t k = 0; k < count; ++k)
    {
        const std::int32_t from = k + step;
        LListBoxItem& row = *mRows[static_cast<std::size_t>(k)];
        // Across, every row is cut alike; down, both must lie wholly in the moved area.
        const bool moved = from >= 0 && from < count &&
                           before[static_cast<std::size_t>(from)] == after[static_cast<std::size_t>(k)] &&
                           WithinRows(kept, WindowRect(row)) &&
                           WithinRows(kept, WindowRect(*mRows[static_cast<std::size_t>(from)]));
        if (!moved)
        {
            row.Invalidate(RectD{0.0, 0.0, row.GetSize().x, row.GetSize().y}, true);
        }
    }
    return true;
}

} // namespace KR
