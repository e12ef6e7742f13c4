// How a text box shows its state, and how the mouse edits it: the caret's geometry and
// blinking, the looks of focus, hover, selection and cue text, keeping the caret in view,
// focus changes, selecting with the mouse.

#include "kr/controls/TextBox.h"

#include "kr/render/Color.h"
#include "kr/render/Region.h"
#include "kr/render/Renderer.h"
#include "kr/system/CursorNames.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/Look.h"
#include "kr/ui/LookDescriptor.h"
#include "kr/ui/NotificationParams.h"
#include "kr/ui/RootWindow.h"
#include "kr/ui/VisualPart.h"
#include "kr/ui/VisualPartDescriptor.h"

#include <algorithm>
#include <cmath>

namespace KR
{
namespace
{

constexpr double kCaretMargin = 3.0;
constexpr double kEdgeBand = 20.0;
constexpr double kEdgeSpeedFactor = 5.0;
constexpr double kBlinkOn = 0.5;
constexpr double kBlinkOff = 0.3;
constexpr float kFloatLimit = 8388608.0f;

double Limit(double value)
{
    return std::clamp(value, -static_cast<double>(kFloatLimit), static_cast<double>(kFloatLimit));
}

double NowSeconds()
{
    return IFrameworkApp::GetInstance().GetSecondsSinceStart();
}

RectI Rounded(const RectD& rect)
{
    const auto round = [](double v) { return static_cast<std::int32_t>(std::trunc(v + 0.5)); };
    const std::int32_t left = round(rect.x);
    const std::int32_t top = round(rect.y);
    return RectI{left, top, round(rect.x + rect.width) - left, round(rect.y + rect.height) - top};
}

LRegion RegionOf(const RectI& rect)
{
    LRegion region;
    if (rect.width > 0 && rect.height > 0)
    {
        region.SetRect(EdgesI{rect.x, rect.y, rect.x + rect.width, rect.y + rect.height});
    }
    return region;
}

RectD Intersect(const RectD& a, const RectD& b)
{
    const double left = std::max(a.x, b.x);
    const double top = std::max(a.y, b.y);
    const double right = std::min(a.x + a.width, b.x + b.width);
    const double bottom = std::min(a.y + a.height, b.y + b.height);
    return RectD{left, top, std::max(0.0, right - left), std::max(0.0, bottom - top)};
}

LRootWindow* AsRootWindow(const RCPtr<IRootWindowServices>& window)
{
    return dynamic_cast<LRootWindow*>(window.Get());
}

} // namespace

RectD LTextBox::GetTextArea()
{
    const RCPtr<LLook>& look = GetActiveLook(-1);
    if (!look || !look->HasText())
    {
        return RectD{};
    }
    const RectI area = look->GetTextRect();
    return RectD{static_cast<double>(area.x), static_cast<double>(area.y), static_cast<double>(area.width),
                 static_cast<double>(area.height)};
}

double LTextBox::MeasureWidth(std::int32_t count)
{
    const RCPtr<LMeasurementRenderer> measurer = GetMeasurementRenderer();
    if (!measurer || count <= 0)
    {
        return 0.0;
    }
    RectT<float> box{};
    measurer->MeasureText(box, GetText().Left(static_cast<std::uint32_t>(count)), GetFont());
    return static_cast<double>(box.width);
}

double LTextBox::GetLineHeight()
{
    const RCPtr<LMeasurementRenderer> measurer = GetMeasurementRenderer();
    std::int32_t lineHeight = 0, ascent = 0, descent = 0;
    if (!measurer || Failed(measurer->GetFontMetrics(GetFont(), lineHeight, ascent, descent)))
    {
        return 0.0;
    }
    return static_cast<double>(lineHeight);
}

// The text offset inside the text area: where the look places its first line.
static PointD FirstLineOffset(const RCPtr<LLook>& look)
{
    if (!look || !look->GetFontText())
    {
        return PointD{};
    }
    const RectT<float>& line = look->GetFontText()->GetLineAt(0);
    return PointD{static_cast<double>(line.x), static_cast<double>(line.y)};
}

RectD LTextBox::GetCharRect(std::int32_t index)
{
    const std::int32_t length = GetTextLength();
    if (index < 0 || index > length)
    {
        return RectD{};
    }
    const RectD area = GetTextArea();
    const PointD offset = FirstLineOffset(GetActiveLook(-1));
    const double before = MeasureWidth(index);
    const double width = index < length ? MeasureWidth(index + 1) - before - 1.0 : 0.0;
    return RectD{Limit(area.x + offset.x + before), Limit(area.y + offset.y), Limit(width),
                 Limit(GetLineHeight())};
}

void LTextBox::UpdateCaretRect()
{
    const RectD area = GetTextArea();
    const PointD offset = FirstLineOffset(GetActiveLook(-1));
    mCaretRect =
        RectD{area.x + offset.x + MeasureWidth(mCaret) - 1.0, area.y + offset.y, 1.0, GetLineHeight()};
}

std::int32_t LTextBox::HitTestCharacter(const PointD& pointIn)
{
    const RectD area = GetTextArea();
    const PointD point{std::clamp(pointIn.x, area.x, area.x + std::max(0.0, area.width)),
                       std::clamp(pointIn.y, area.y, area.y + std::max(0.0, area.height))};
    // One line only: a field never breaks its text, and a line height of 0 or less must not
    // be divided by.
    const std::int32_t length = GetTextLength();
    std::int32_t low = 0;
    std::int32_t high = length - 1;
    while (low <= high)
    {
        const std::int32_t middle = low + (high - low) / 2;
        const RectD character = GetCharRect(middle);
        if (point.x < character.x)
        {
            high = middle - 1;
        }
        else if (point.x > character.x + character.width)
        {
            low = middle + 1;
        }
        else
        {
            return middle + (point.x >= character.x + character.width / 2.0 ? 1 : 0);
        }
    }
    return low >= length ? length : low;
}

double LTextBox::GetScrollRoom()
{
    const double room = GetClientExtent().x - GetTextArea().width + kCaretMargin;
    return GetClientExtent().x <= GetTextArea().width ? 0.0 : std::max(0.0, room);
}

void LTextBox::ScrollToCaret()
{
    if (mScrollInProgress || !mAutoScroll[0])
    {
        return;
    }
    const RectD area = GetTextArea();
    const double offset = GetScrollOffset().x;
    double wanted = offset;
    if (mCaretRect.x - offset < area.x)
    {
        // The caret's place in the text, not in the box: the text area starts inside it.
        wanted = std::max(0.0, mCaretRect.x - area.x - kCaretMargin);
    }
    else if (mCaretRect.x - offset + mCaretRect.width > area.x + area.width)
    {
        wanted = mCaretRect.x + mCaretRect.width + kCaretMargin - (area.x + area.width);
    }
    if (wanted != offset)
    {
        SetScrollOffset(PointD{wanted, GetScrollOffset().y});
        UpdateCaretRect();
        UpdateLooks();
    }
}

void LTextBox::SetScrollOffset(const PointD& offset)
{
    if (mScrollInProgress)
    {
        return;
    }
    mScrollInProgress = true;
    LScrollView::SetScrollOffset(offset);
    if (GetTimer(0).running)
    {
        const double x = GetScrollOffset().x;
        if (x <= 0.0 || x >= GetScrollRoom())
        {
            StopTimer(0);
        }
    }
    const RCPtr<IRootWindowServices> window = GetRootWindow();
    if ((GetConditions() & Condition::kLeftDrag) != 0 && window)
    {
        const PointI pointer = window->GetMousePosition();
        const PointD origin = GetAbsolutePosition();
        ExtendSelectionTo(HitTestCharacter(
            PointD{pointer.x - origin.x + GetScrollOffset().x, pointer.y - origin.y + GetScrollOffset().y}));
    }
    else
    {
        UpdateLooks();
    }
    mScrollInProgress = false;
}

void LTextBox::UpdateLooks()
{
    if (!IsEnabled(true))
    {
        ClearLookRegions();
        SetLookWeight(kLookDisabled, 1.0f, true);
        return;
    }
    const std::uint32_t conditions = GetConditions();
    const bool hot = (conditions & (Condition::kHoverOrForced | Condition::kLeftDrag)) != 0;
    const bool focused = HasFocus();
    const RectD area = GetTextArea();
    if (!focused && GetText().IsEmpty() && !mCueText.IsEmpty() && GetLookCount() > kLookCue)
    {
        ClearLookRegions();
        SetLookRegion(kLookCue, RegionOf(Rounded(area)));
        CombineLookRegions(kLookCueBase, kLookCue);
        SetLookWeight(kLookCueBase, 1.0f, true);
        SetLookWeight(kLookCue, 1.0f, false);
        return;
    }
    const std::int32_t base =
        focused ? (hot ? kLookFocusedHot : kLookFocused) : (hot ? kLookHot : kLookNormal);
    ClearLookRegions();
    if (focused && HasSelection())
    {
        const std::int32_t look = hot ? kLookSelectionHot : kLookSelection;
        const RectD first = GetCharRect(GetSelectionStart());
        const RectD last = GetCharRect(GetSelectionStart() + GetSelectionLength() - 1);
        const PointD scroll = GetScrollOffset();
        const RectD selected{first.x - scroll.x, first.y - scroll.y, last.x + last.width - first.x,
                             std::max(first.height, area.height)};
        SetLookRegion(look, RegionOf(Rounded(Intersect(selected, area))));
        CombineLookRegions(base, look);
        SetLookWeight(base, 1.0f, true);
        SetLookWeight(look, 1.0f, false);
        return;
    }
    SetLookWeight(base, 1.0f, true);
}

double LTextBox::GetEdgeScrollSpeed(double x)
{
    const RectD area = GetTextArea();
    const double left = area.x;
    const double right = area.x + area.width;
    if (x >= left + kEdgeBand && x <= right - kEdgeBand)
    {
        return 0.0;
    }
    return x > right - kEdgeBand ? (x - (right - kEdgeBand) + 1.0) * kEdgeSpeedFactor
                                 : (x - (left + kEdgeBand) + 1.0) * kEdgeSpeedFactor;
}

void LTextBox::RestartBlink()
{
    mCaretShown = true;
    mNextBlink = NowSeconds() + kBlinkOn;
}

void LTextBox::InvalidateAll()
{
    Invalidate(RectD{0.0, 0.0, GetSize().x, GetSize().y}, true);
}

void LTextBox::OnCaretMoved()
{
    UpdateCaretRect();
    ScrollToCaret();
    RestartBlink();
}

void LTextBox::OnSelectionChanged()
{
    UpdateLooks();
    InvalidateAll();
}

Result LTextBox::OnIdle(const RCPtr<LNotificationDistributor>& sender,
                        const RCPtr<LNotification>& notification)
{
    const Result result = LScrollView::OnIdle(sender, notification);
    if (HasFocus())
    {
        const double now = NowSeconds();
        if (now >= mNextBlink)
        {
            mCaretShown = !mCaretShown;
            mNextBlink = now + (mCaretShown ? kBlinkOn : kBlinkOff);
            InvalidateAll();
        }
    }
    return result;
}

Result LTextBox::DrawOverlay(const RCPtr<LRenderer>& renderer)
{
    if (!renderer || !HasFocus() || !mCaretShown)
    {
        return kOk;
    }
    const PointD scroll = GetScrollOffset();
    const RectD caret{mCaretRect.x - scroll.x, mCaretRect.y - scroll.y, mCaretRect.width, mCaretRect.height};
    // In the colour of the text, so that it shows on a dark field as on a light one; black
    // without one. Blended at full opacity: an unblended fill writes the window's pixels as
    // they stand, without the box's place in it.
    ColorF color = ColorF::FromARGB(0xFF000000u);
    const RCPtr<LLook>& look = GetActiveLook(-1);
    const ConstRCPtr<LVisualPartDescriptor> ink =
        look && look->GetDescriptor() ? look->GetDescriptor()->text.foregroundPart : nullptr;
    const RCPtr<LVisualPart> part = ink ? ink->GetVisualPart() : nullptr;
    if (part && !part->GetBitmap() && part->GetColorizer() &&
        part->GetColorizer()->colorType == kColorSolidFill)
    {
        color = ColorF::FromARGB(part->GetFillColor().GetARGB());
    }
    return renderer->FillRect(Rounded(caret), color, true);
}

Result LTextBox::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    LScrollView::OnConditionsChanged(conditions);
    if (!conditions)
    {
        return kOk;
    }
    const std::uint32_t before = conditions->previous;
    const std::uint32_t now = conditions->current;
    const std::uint32_t changed = before ^ now;
    LRootWindow* window = AsRootWindow(IFrameworkApp::GetInstance().GetActiveRootWindow());
    if (!window)
    {
        window = AsRootWindow(GetRootWindow());
    }
    const RCPtr<LControl> self(this);
    if ((changed & Condition::kHasFocus) != 0)
    {
        if ((now & Condition::kHasFocus) != 0)
        {
            if (window)
            {
                window->SetTextInputState(true, self, 0);
            }
            ScrollToCaret();
            RestartBlink();
            BeginIdleProcessing();
        }
        else
        {
            if (window)
            {
                window->SetTextInputState(false, self, 0);
            }
            EndIdleProcessing();
            mCaretShown = false;
            SetScrollOffset(PointD{});
        }
        UpdateLooks();
        InvalidateAll();
        return kOk;
    }
    if ((changed & now & Condition::kHoverOrForced) != 0)
    {
        SetCursor(IFrameworkApp::GetInstance().LoadCursorByName(kCursorIBeam));
    }
    const bool dragEnded = (changed & before & Condition::kLeftDrag) != 0;
    if (dragEnded)
    {
        StopTimer(0);
        StopTimer(1);
    }
    if ((changed & (Condition::kHoverOrForced | Condition::kEnabled)) != 0 || dragEnded)
    {
        UpdateLooks();
    }
    return kOk;
}

Result LTextBox::OnLeftButtonDown(const RCPtr<LMouseButtonParam>& button)
{
    if (!button)
    {
        return kInvalidArg;
    }
    const PointD scroll = GetScrollOffset();
    const std::int32_t position = HitTestCharacter(PointD{button->x + scroll.x, button->y + scroll.y});
    if ((button->modifiers & ModifierFlag::kShift) != 0)
    {
        ExtendSelectionTo(position);
        return kOk;
    }
    ClearSelection();
    SetCaretPosition(position, false);
    SetSelection(position, 0, position);
    return kOk;
}

Result LTextBox::OnMouseMoved(const RCPtr<LPointWithModifiersParam>& point)
{
    if (!point || (GetConditions() & Condition::kLeftDrag) == 0)
    {
        return kOk;
    }
    const RectD area = GetTextArea();
    const PointD scroll = GetScrollOffset();
    const double x = std::clamp(static_cast<double>(point->x), area.x, area.x + std::max(0.0, area.width));
    const double y = std::clamp(static_cast<double>(point->y), area.y, area.y + std::max(0.0, area.height));
    ExtendSelectionTo(HitTestCharacter(PointD{x + scroll.x, y + scroll.y}));
    if (mAutoScroll[0])
    {
        const double speed = GetEdgeScrollSpeed(static_cast<double>(point->x));
        if (speed == 0.0)
        {
            StopTimer(0);
        }
        else
        {
            StartTimer(0, speed, GetScrollRoom(), 0.0, RCPtr<LControl>());
        }
    }
    return kOk;
}

Result LTextBox::OnLeftClick(const RCPtr<LMouseButtonParam>& button)
{
    if (!button || (!button->doubleClick && (button->modifiers & ModifierFlag::kCtrl) == 0))
    {
        return LScrollView::OnLeftClick(button);
    }
    const char16_t* units = GetText().GetPtr();
    const std::int32_t length = GetTextLength();
    const auto isSpace = [&](std::int32_t i) { return IsWordSpace(units[i]); };
    ClearSelection();
    std::int32_t start = mCaret;
    // A word's first character under the caret starts that word; stepping back from
    // there would reach into the word before.
    const bool atWordStart = start < length && !isSpace(start) && (start == 0 || isSpace(start - 1));
    if (!atWordStart)
    {
        start = GetPreviousWordStart(start);
    }
    SetCaretPosition(start, false);
    std::int32_t end = GetNextWordStart(start);
    while (end > start && isSpace(end - 1))
    {
        --end;
    }
    ExtendSelectionTo(end);
    return kOk;
}

} // namespace KR
