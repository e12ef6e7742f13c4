#include "kr/controls/TextBox.h"

#include "kr/ui/Clipboard.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/KeyCode.h"
#include "kr/ui/Look.h"
#include "kr/ui/NotificationParams.h"
#include "kr/ui/StringTable.h"

#include <algorithm>
#include <clocale>
#include <cwctype>
#include <locale.h>
#include <wctype.h>

namespace KR
{
namespace
{

constexpr std::uint32_t kModifierBits =
    KeyCode::kCtrlBit | KeyCode::kShiftBit | KeyCode::kAltBit | KeyCode::kWinBit | KeyCode::kExtraBit;

namespace Key
{
constexpr std::uint32_t kBack = 0x08;
constexpr std::uint32_t kReturn = 0x0D;
constexpr std::uint32_t kSpace = 0x20;
constexpr std::uint32_t kEnd = 0x23;
constexpr std::uint32_t kHome = 0x24;
constexpr std::uint32_t kLeft = 0x25;
constexpr std::uint32_t kUp = 0x26;
constexpr std::uint32_t kRight = 0x27;
constexpr std::uint32_t kDown = 0x28;
constexpr std::uint32_t kDelete = 0x2E;
} // namespace Key

// Classing never follows the process locale (GTK sets it from the environment): one
// UTF-8 C locale decides for every text box.
locale_t ClassLocale()
{
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return locale;
}

bool IsPrintable(char16_t unit)
{
    const locale_t locale = ClassLocale();
    return locale != static_cast<locale_t>(nullptr) ? iswprint_l(static_cast<wint_t>(unit), locale) != 0
                                                    : (unit >= 0x20 && unit < 0x7F);
}

} // namespace

bool LTextBox::IsWordSpace(char16_t unit)
{
    const locale_t locale = ClassLocale();
    if (locale == static_cast<locale_t>(nullptr))
    {
        return unit == u' ' || (unit >= 0x09 && unit <= 0x0D);
    }
    return iswspace_l(static_cast<wint_t>(unit), locale) != 0 ||
           iswblank_l(static_cast<wint_t>(unit), locale) != 0;
}

namespace
{

String MakeString(const std::u16string& text)
{
    String result;
    result.Append(text.data(), static_cast<std::uint32_t>(text.size()));
    return result;
}

std::u16string ToStd(const String& text)
{
    return std::u16string(text.GetPtr(), text.GetLength());
}

} // namespace

LTextBox::LTextBox(const RCPtr<LControl>& parent, const String& name) : LScrollView(parent, name)
{
    Construct();
}

LTextBox::LTextBox(const RCPtr<IRootWindowServices>& rootWindow, const String& name)
    : LScrollView(rootWindow, name)
{
    Construct();
}

LTextBox::~LTextBox() = default;

void LTextBox::Construct()
{
    SetTakesTextInput(true);
}

bool LTextBox::SetTextFromString(const String& text)
{
    // As the base: true when the text stayed as it was.
    return ApplyText(text, true) != kOk;
}

Result LTextBox::Initialize()
{
    const Result result = LScrollView::Initialize();
    if (Failed(result))
    {
        return kOk;
    }
    SetScrollsLookText(true);
    UpdateCaretRect();
    return kOk;
}

Result LTextBox::ApplyText(const String& text, bool caretToStart)
{
    if (!LControl::SetText(text))
    {
        return kNothingDone;
    }
    SetClientExtent(MeasureWidth(GetTextLength()), GetLineHeight());
    const std::int32_t length = GetTextLength();
    if (mCaret > length)
    {
        mCaret = length;
        mAnchor = length;
    }
    ClearSelection();
    mAnchor = mCaret;
    if (caretToStart)
    {
        SetCaretPosition(0, true);
    }
    OnCaretMoved();
    if (!mCueText.IsEmpty() && GetLookCount() > kLookCue)
    {
        if (const RCPtr<LLook>& look = GetActiveLook(kLookCue))
        {
            look->SetText(mCueText);
        }
    }
    UpdateLooks();
    SendNotificationByName(u"NID_TEXTBOX_TEXT_CHANGE");
    return kOk;
}

void LTextBox::SetMaxLength(std::int32_t maximum)
{
    mMaxLength = maximum;
    if (maximum > 0 && GetTextLength() > maximum)
    {
        if (ApplyText(GetText().Left(static_cast<std::uint32_t>(maximum)), false) == kOk)
        {
            SetCaretPosition(GetTextLength(), true);
        }
    }
}

void LTextBox::SetAutoScroll(std::int32_t axis, bool on)
{
    if (axis == 0 || axis == 1)
    {
        mAutoScroll[axis] = on;
    }
}

Result LTextBox::SetCaretPosition(std::int32_t position, bool force)
{
    if (position < 0 || position > GetTextLength())
    {
        return kInvalidArg;
    }
    if (position == mCaret && !force)
    {
        if (!HasSelection())
        {
            mAnchor = mCaret;
        }
        return kNothingDone;
    }
    mCaret = position;
    if (!HasSelection())
    {
        mAnchor = position;
    }
    OnCaretMoved();
    InvalidateAll();
    return kOk;
}

void LTextBox::SetSelection(std::int32_t start, std::int32_t length, std::int32_t anchor)
{
    if (length < 1)
    {
        const bool changed = mSelectionLength != 0 || mSelectionStart != start;
        mSelectionStart = std::clamp(start, 0, GetTextLength());
        mSelectionLength = 0;
        if (changed)
        {
            OnSelectionChanged();
        }
    }
    else
    {
        SelectRange(start, start + length - 1);
    }
    mAnchor = anchor;
}

void LTextBox::SelectRange(std::int32_t first, std::int32_t last)
{
    const std::int32_t length = GetTextLength();
    if (first == -1)
    {
        ClearSelection();
        return;
    }
    if (first == 0 && last == -1)
    {
        last = length - 1;
    }
    else if (first < 0 || last < 0)
    {
        return;
    }
    // Limited to the text: an empty text or a range past its end selects what is left.
    first = std::min(first, length);
    last = std::min(last, length - 1);
    const std::int32_t count = std::max(0, last - first + 1);
    if (first != mSelectionStart || count != mSelectionLength)
    {
        mSelectionStart = first;
        mSelectionLength = count;
        OnSelectionChanged();
    }
}

void LTextBox::ExtendSelectionTo(std::int32_t position)
{
    position = std::clamp(position, 0, GetTextLength());
    const std::int32_t anchor = std::clamp(mAnchor, 0, GetTextLength());
    const std::int32_t start = std::min(anchor, position);
    const std::int32_t end = std::max(anchor, position);
    SetSelection(end > start ? start : anchor, end - start, anchor);
    SetCaretPosition(position, false);
}

void LTextBox::ClearSelection()
{
    const bool changed = mSelectionStart != 0 || mSelectionLength != 0;
    mSelectionStart = 0;
    mSelectionLength = 0;
    mAnchor = 0;
    if (changed)
    {
        OnSelectionChanged();
    }
}

Result LTextBox::InsertCharacter(char16_t character)
{
    std::u16string text = ToStd(GetText());
    std::int32_t caret = mCaret;
    if (HasSelection())
    {
        text.erase(static_cast<std::size_t>(mSelectionStart), static_cast<std::size_t>(mSelectionLength));
        caret = mSelectionStart;
    }
    else if (mMaxLength > 0 && static_cast<std::int32_t>(text.size()) >= mMaxLength)
    {
        return kFail;
    }
    text.insert(static_cast<std::size_t>(caret), 1, character);
    const Result result = ApplyText(MakeString(text), false);
    if (result == kOk)
    {
        SetCaretPosition(caret + 1, true);
    }
    return result;
}

Result LTextBox::DeleteRange(std::int32_t start, std::int32_t count)
{
    const std::int32_t length = GetTextLength();
    if (start < 0 || count <= 0 || start > length || count > length - start)
    {
        return kNothingDone;
    }
    std::u16string text = ToStd(GetText());
    text.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(count));
    const Result result = ApplyText(MakeString(text), false);
    if (result == kOk)
    {
        SetCaretPosition(start, true);
    }
    return result;
}

Result LTextBox::DeleteSelection()
{
    return HasSelection() ? DeleteRange(mSelectionStart, mSelectionLength) : kNothingDone;
}

Result LTextBox::ReplaceSelection(const String& replacement)
{
    const std::int32_t added = static_cast<std::int32_t>(replacement.GetLength());
    if (!HasSelection() || (mMaxLength > 0 && GetTextLength() - mSelectionLength + added > mMaxLength))
    {
        return kFail;
    }
    const std::int32_t start = mSelectionStart;
    std::u16string text = ToStd(GetText());
    text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(mSelectionLength),
                 ToStd(replacement));
    const Result result = ApplyText(MakeString(text), false);
    if (result == kOk || result == kNothingDone)
    {
        ClearSelection();
        SetCaretPosition(start + added, true);
        return kOk;
    }
    return result;
}

bool LTextBox::AcceptsCharacter(char16_t character) const
{
    if (character == u'\t' || !IsPrintable(character))
    {
        return false;
    }
    if (characterFilter.IsEmpty())
    {
        return true;
    }
    const bool listed = characterFilter.Find(character) >= 0;
    return listed == filterIsAllowList;
}

String LTextBox::CleanPastedText(const String& text) const
{
    std::u16string cleaned;
    const char16_t* units = text.GetPtr();
    for (std::uint32_t i = 0, n = text.GetLength(); i < n; ++i)
    {
        if (units[i] == u'\n' || units[i] == u'\r')
        {
            break;
        }
        if (AcceptsCharacter(units[i]))
        {
            cleaned.push_back(units[i]);
        }
    }
    return MakeString(cleaned);
}

bool LTextBox::GetPasteText(String& out) const
{
    const RCPtr<LClipboard> clipboard = IFrameworkApp::GetInstance().GetClipboard();
    if (!clipboard)
    {
        return false;
    }
    RCPtr<LRefCountedObject> content;
    clipboard->GetText(content);
    const auto* text = dynamic_cast<const LClipboard::TextHolder*>(content.Get());
    if (text == nullptr)
    {
        return false;
    }
    out = CleanPastedText(text->GetValue());
    return !out.IsEmpty();
}

bool LTextBox::CanPerformEdit(std::int32_t operation)
{
    switch (operation)
    {
    case EditOperation::kDelete:
    case EditOperation::kCut:
    case EditOperation::kCopy:
        return HasSelection();
    case EditOperation::kPaste:
    {
        String text;
        return GetPasteText(text) &&
               (mMaxLength <= 0 ||
                GetTextLength() - mSelectionLength + static_cast<std::int32_t>(text.GetLength()) <=
                    mMaxLength);
    }
    default:
        return false;
    }
}

Result LTextBox::CopySelection()
{
    const RCPtr<LClipboard> clipboard = IFrameworkApp::GetInstance().GetClipboard();
    if (!clipboard)
    {
        return kFail;
    }
    const String selected =
        GetText().SubString(mSelectionStart, static_cast<std::uint32_t>(mSelectionLength));
    const RCPtr<LRefCountedObject> holder(LClipboard::TextHolder::Create(selected));
    clipboard->SetText(holder);
    // Without a display the system clipboard refuses, yet the program's own copy holds the
    // text, so a cut loses nothing.
    return clipboard->GetStoredContent() == holder ? kOk : kFail;
}

Result LTextBox::Paste()
{
    String text;
    if (!GetPasteText(text))
    {
        return kFail;
    }
    if (HasSelection())
    {
        return ReplaceSelection(text);
    }
    const std::int32_t added = static_cast<std::int32_t>(text.GetLength());
    if (mMaxLength > 0 && GetTextLength() + added > mMaxLength)
    {
        return kOk;
    }
    const std::int32_t caret = mCaret;
    std::u16string result = ToStd(GetText());
    result.insert(static_cast<std::size_t>(caret), ToStd(text));
    const Result applied = ApplyText(MakeString(result), false);
    if (applied == kOk)
    {
        SetCaretPosition(caret + added, true);
    }
    return applied;
}

Result LTextBox::PerformEdit(std::int32_t operation)
{
    switch (operation)
    {
    case EditOperation::kDelete:
        return HasSelection() ? (DeleteSelection(), kOk) : kFail;
    case EditOperation::kCut:
    {
        if (!HasSelection())
        {
            return kFail;
        }
        const Result copied = CopySelection();
        if (copied != kOk)
        {
            return copied;
        }
        DeleteSelection();
        return kOk;
    }
    case EditOperation::kCopy:
        return HasSelection() ? CopySelection() : kFail;
    case EditOperation::kPaste:
    {
        const Result pasted = Paste();
        return pasted == kFail ? kFail : kOk;
    }
    default:
        return kFail;
    }
}

RCPtr<LTextValidationParams> LTextBox::Validate()
{
    const RCPtr<LTextValidationParams> params = LTextValidationParams::Create(GetText());
    const RCPtr<LNotificationDistributor> self(this);
    DistributeNotification(self, u"NID_TEXTBOX_VALIDATING", params);
    if (params->valid && !(params->text == GetText()))
    {
        ApplyText(params->text, false);
    }
    if (params->valid)
    {
        DistributeNotification(self, u"NID_TEXTBOX_VALIDATED", params);
    }
    return params;
}

Result LTextBox::SetFocus(bool forward)
{
    if (HasFocus())
    {
        Validate();
    }
    return LScrollView::SetFocus(forward);
}

bool LTextBox::CanReleaseFocus()
{
    return Validate()->valid;
}

Result LTextBox::ApplyLayoutDescriptor(ConstRCPtr<LControlDescriptor> descriptor)
{
    const Result result = LScrollView::ApplyLayoutDescriptor(descriptor);
    const RCPtr<LStringTable> table = GetStringTable();
    String cue;
    if (table && table->GetString(u"LABEL", cue))
    {
        mCueText = cue;
    }
    return result;
}

String LTextBox::GetToolTipText()
{
    return IsTextClipped() ? GetText() : LScrollView::GetToolTipText();
}

std::int32_t LTextBox::GetNextWordStart(std::int32_t from) const
{
    const char16_t* units = GetText().GetPtr();
    const std::int32_t length = GetTextLength();
    std::int32_t i = std::clamp(from, 0, length);
    while (i < length && IsWordSpace(units[i]))
    {
        ++i;
    }
    while (i < length && !IsWordSpace(units[i]))
    {
        ++i;
    }
    while (i < length && IsWordSpace(units[i]))
    {
        ++i;
    }
    return i;
}

std::int32_t LTextBox::GetPreviousWordStart(std::int32_t from) const
{
    const char16_t* units = GetText().GetPtr();
    std::int32_t i = std::clamp(from, 0, GetTextLength());
    while (i > 0 && IsWordSpace(units[i - 1]))
    {
        --i;
    }
    while (i > 0 && !IsWordSpace(units[i - 1]))
    {
        --i;
    }
    return i;
}

Result LTextBox::HandleCharacter(char16_t character)
{
    if (!IsPrintable(character) || character == u'\t')
    {
        return kNothingDone;
    }
    if (AcceptsCharacter(character))
    {
        InsertCharacter(character);
    }
    return kOk;
}

Result LTextBox::HandleShiftArrow(bool right)
{
    const std::int32_t length = GetTextLength();
    if ((!right && mCaret == 0) || (right && mCaret == length))
    {
        return kOk;
    }
    const std::int32_t anchor = mAnchor;
    if (!HasSelection())
    {
        SetSelection(right ? mCaret : mCaret - 1, 1, mCaret);
    }
    else if (!right && mCaret > anchor)
    {
        SetSelection(mSelectionStart, mSelectionLength - 1, anchor);
    }
    else if (right && mCaret < anchor)
    {
        SetSelection(mSelectionStart + 1, mSelectionLength - 1, anchor);
    }
    else if (right)
    {
        SetSelection(mSelectionStart, mSelectionLength + 1, anchor);
    }
    else
    {
        SetSelection(mSelectionStart - 1, mSelectionLength + 1, anchor);
    }
    SetCaretPosition(mCaret + (right ? 1 : -1), false);
    return kOk;
}

Result LTextBox::OnKeyDown(const RCPtr<LKeyParam>& keyParam)
{
    if (!keyParam)
    {
        return kNothingDone;
    }
    const std::uint32_t code = keyParam->key.code;
    const std::uint32_t virtualKey = (code & KeyCode::kVirtualKeyMask) >> KeyCode::kVirtualKeyShift;
    if (virtualKey == 0)
    {
        return HandleCharacter(static_cast<char16_t>(code & KeyCode::kCharacterMask));
    }
    if ((code & KeyCode::kDownBit) == 0)
    {
        return kOk;
    }
    const std::uint32_t modifiers = code & kModifierBits;
    constexpr std::uint32_t kCtrl = KeyCode::kCtrlBit;
    constexpr std::uint32_t kShift = KeyCode::kShiftBit;
    const std::int32_t length = GetTextLength();
    const auto deleteOr = [this](std::int32_t start, std::int32_t count)
    {
        if (HasSelection())
        {
            DeleteSelection();
        }
        else
        {
            DeleteRange(start, count);
        }
        return kOk;
    };
    const auto moveTo = [this](std::int32_t position)
    {
        ClearSelection();
        SetCaretPosition(position, false);
        return kOk;
    };
    switch (virtualKey)
    {
    case Key::kLeft:
        if (modifiers == 0)
        {
            return moveTo(mCaret > 0 ? mCaret - 1 : mCaret);
        }
        if (modifiers == kShift)
        {
            return HandleShiftArrow(false);
        }
        if (modifiers == kCtrl)
        {
            return moveTo(GetPreviousWordStart(mCaret));
        }
        if (modifiers == (kCtrl | kShift))
        {
            ExtendSelectionTo(GetPreviousWordStart(mCaret));
            return kOk;
        }
        break;
    case Key::kRight:
        if (modifiers == 0)
        {
            return moveTo(mCaret < length ? mCaret + 1 : mCaret);
        }
        if (modifiers == kShift)
        {
            return HandleShiftArrow(true);
        }
        if (modifiers == kCtrl)
        {
            return moveTo(GetNextWordStart(mCaret));
        }
        if (modifiers == (kCtrl | kShift))
        {
            ExtendSelectionTo(GetNextWordStart(mCaret));
            return kOk;
        }
        break;
    case Key::kHome:
        if (modifiers == 0)
        {
            return moveTo(0);
        }
        if (modifiers == kShift)
        {
            if (mCaret > 0)
            {
                ExtendSelectionTo(0);
            }
            return kOk;
        }
        break;
    case Key::kEnd:
        if (modifiers == 0)
        {
            return moveTo(length);
        }
        if (modifiers == kShift)
        {
            if (mCaret < length)
            {
                ExtendSelectionTo(length);
            }
            return kOk;
        }
        break;
    case Key::kBack:
        if (modifiers == 0)
        {
            return deleteOr(mCaret - 1, mCaret > 0 ? 1 : 0);
        }
        break;
    case Key::kDelete:
        if (modifiers == kShift)
        {
            return deleteOr(mCaret - 1, mCaret > 0 ? 1 : 0);
        }
        if (modifiers == 0)
        {
            return deleteOr(mCaret, 1);
        }
        if (modifiers == kCtrl)
        {
            return deleteOr(mCaret, length - mCaret);
        }
        break;
    case Key::kReturn:
        if (modifiers == 0)
        {
            return Validate()->valid ? kNothingDone : kOk;
        }
        break;
    case Key::kUp:
    case Key::kDown:
        return kNothingDone;
    default:
        break;
    }
    const bool typed = virtualKey == Key::kSpace || (virtualKey >= 0x30 && virtualKey <= 0x39) ||
                       (virtualKey >= 0x41 && virtualKey <= 0x5A);
    const bool commandModifier = (code & (KeyCode::kCtrlBit | KeyCode::kAltBit | KeyCode::kWinBit)) != 0;
    return typed && !commandModifier ? kOk : kNothingDone;
}

} // namespace KR
