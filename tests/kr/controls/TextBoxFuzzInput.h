#pragma once
// Drives a text box from arbitrary bytes (keys, typed units, pastes of any UTF-16, selection
// and caret calls) and checks after every step what must always hold: the caret within the
// text, the selection inside it, the length within the maximum, no refused unit in the
// text. The seeded loop in TextBoxTest.cpp and the libFuzzer target share it.

#include "kr/controls/TextBox.h"
#include "kr/ui/Clipboard.h"
#include "kr/ui/ControlTestSupport.h"
#include "kr/ui/NotificationParams.h"
#include "support/FrameworkAppStandIn.h"

#include <cstddef>
#include <cstdint>

namespace KRTest
{

inline const char* CheckTextBox(const KR::LTextBox& box)
{
    const std::int32_t length = box.GetTextLength();
    if (box.GetCaretPosition() < 0 || box.GetCaretPosition() > length)
    {
        return "caret outside the text";
    }
    if (box.GetSelectionLength() < 0 || box.GetSelectionStart() < 0 ||
        box.GetSelectionStart() + box.GetSelectionLength() > length)
    {
        return "selection outside the text";
    }
    if (box.GetMaxLength() > 0 && length > box.GetMaxLength())
    {
        return "text longer than the maximum";
    }
    const char16_t* units = box.GetText().GetPtr();
    for (std::int32_t i = 0; i < length; ++i)
    {
        if (!box.AcceptsCharacter(units[i]))
        {
            return "a refused unit in the text";
        }
    }
    return nullptr;
}

// Null when every step kept the invariants, else what broke.
inline const char* ExerciseTextBoxBytes(const std::uint8_t* data, std::size_t size)
{
    using namespace KR;
    TestSupport::LStandInFrameworkApp app;
    const RCPtr<LClipboard> clipboard = LClipboard::Create();
    app.clipboard = clipboard;
    const RCPtr<UiTest::FakeRootWindow> window = UiTest::FakeRootWindow::Create();
    app.activeRootWindow = window;
    const RCPtr<UiTest::TestControl> root = UiTest::TestControl::MakeRoot(window);
    const RCPtr<LTextBox> box(new LTextBox(RCPtr<LControl>(root), String(u"box")));
    box->SetFrame(PointD{}, PointD{100, 20});
    if (size > 0)
    {
        box->SetMaxLength(data[0] % 9);
        if (data[0] & 0x80)
        {
            box->characterFilter = String(u"0123456789-");
            box->filterIsAllowList = (data[0] & 0x40) != 0;
        }
    }
    static constexpr std::uint8_t kKeys[] = {0x08, 0x0D, 0x20, 0x23, 0x24, 0x25,
                                             0x26, 0x27, 0x28, 0x2E, 0x41};
    const char* fault = nullptr;
    std::size_t i = 1;
    const auto next = [&]() -> std::uint8_t { return i < size ? data[i++] : 0; };
    while (i < size && !fault)
    {
        const std::uint8_t op = next();
        switch (op % 6)
        {
        case 0: // a typed unit, any of the 65536
        {
            const char16_t unit = static_cast<char16_t>(next() | (next() << 8));
            box->OnKeyDown(LKeyParam::Create(KeyCode{unit}, false));
            break;
        }
        case 1: // a key with modifiers, down or up
        {
            const std::uint8_t key = kKeys[next() % sizeof(kKeys)];
            const std::uint32_t modifiers = static_cast<std::uint32_t>(next() & 0x0F) << 24;
            const std::uint32_t down = (op & 0x40) ? 0 : KeyCode::kDownBit;
            box->OnKeyDown(LKeyParam::Create(KeyCode{down | modifiers | (std::uint32_t{key} << 16)}, false));
            break;
        }
        case 2: // a paste of up to 15 units of any UTF-16
        {
            std::u16string text;
            for (std::uint8_t n = next() % 16; n > 0; --n)
            {
                text.push_back(static_cast<char16_t>(next() | (next() << 8)));
            }
            String pasted;
            for (const char16_t unit : text)
            {
                pasted.AppendChar(unit == 0 ? u'\n' : unit);
            }
            clipboard->SetText(RCPtr<LRefCountedObject>(LClipboard::TextHolder::Create(pasted)));
            box->PerformEdit(EditOperation::kPaste);
            break;
        }
        case 3:
            box->SetSelection(static_cast<std::int8_t>(next()), static_cast<std::int8_t>(next()),
                              static_cast<std::int8_t>(next()));
            break;
        case 4:
            box->SelectRange(static_cast<std::int8_t>(next()), static_cast<std::int8_t>(next()));
            break;
        default:
        {
            const std::uint8_t what = next();
            if (what & 1)
            {
                box->SetCaretPosition(static_cast<std::int8_t>(next()), (what & 2) != 0);
            }
            else if (what & 2)
            {
                box->ExtendSelectionTo(static_cast<std::int8_t>(next()));
            }
            else
            {
                box->PerformEdit(next() % 5);
            }
            break;
        }
        }
        fault = CheckTextBox(*box);
    }
    root->ReleaseInternalReferences();
    return fault;
}

} // namespace KRTest
