// The system window's message rules that need no display: the window has no handle, and
// the keys held come from the test.
#include "kr/ui/OSWindow.h"
#include "support/FrameworkAppStandIn.h"
#include "support/RecordingOSWindowRoot.h"

#include <gtest/gtest.h>

#include <set>

namespace KR
{
namespace
{

namespace P = Platform;

struct HeldKeys : IKeyboardState
{
    // Plain Shift, Ctrl and Alt are down while either side is, as the window layer has it.
    bool IsKeyDown(std::uint8_t vk) const override
    {
        if (vk >= 0x10 && vk <= 0x12)
        {
            const std::uint8_t left = 0xA0 + 2 * (vk - 0x10);
            return held.count(left) != 0 || held.count(left + 1) != 0;
        }
        return held.count(vk) != 0;
    }
    std::set<std::uint8_t> held;
};

struct Window
{
    Window()
    {
        window->SetKeyboardState(&keys);
        window->AttachRoot(root);
    }
    std::intptr_t Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)
    {
        return window->WindowProc(0, message, wParam, lParam);
    }
    HeldKeys keys;
    RCPtr<TestSupport::LRecordingOSWindowRoot> root = new TestSupport::LRecordingOSWindowRoot;
    RCPtr<OSWindow> window = new OSWindow;
};

TEST(OSWindowMessages, WheelUnitsBecomeOneEventPerMessageOnceAWholeStepIsThere)
{
    struct Row
    {
        const char* name;
        std::uint32_t message;
        std::vector<std::int16_t> deltas;
        std::vector<int> directions; // per message, -1 for none
    };
    const Row rows[] = {
        {"60 + 60", P::WM_MOUSEWHEEL, {60, 60}, {-1, 1}},
        {"240, nothing left", P::WM_MOUSEWHEEL, {240, -120}, {1, 0}},
        {"-120", P::WM_MOUSEWHEEL, {-120}, {0}},
        {"-100 - 100 + 80", P::WM_MOUSEWHEEL, {-100, -100, 80}, {-1, 0, -1}},
        {"right", P::WM_MOUSEHWHEEL, {120}, {3}},
        {"left", P::WM_MOUSEHWHEEL, {-360}, {2}},
    };
    for (const Row& row : rows)
    {
        Window w;
        for (std::size_t i = 0; i < row.deltas.size(); ++i)
        {
            const std::size_t before = w.root->mouse.size();
            w.Send(row.message, P::MakeWheelParam(row.deltas[i], 0), P::MakePointParam(5, 6));
            if (row.directions[i] < 0)
            {
                EXPECT_EQ(w.root->mouse.size(), before) << row.name << " #" << i;
            }
            else
            {
                ASSERT_EQ(w.root->mouse.size(), before + 1) << row.name << " #" << i;
                EXPECT_EQ(w.root->mouse.back().action, static_cast<std::uint32_t>(row.directions[i]))
                    << row.name;
            }
        }
    }
}

TEST(OSWindowMessages, KeysWithoutAVirtualKeyCountOnlyWithCtrlAndAltUnlessTheyAreSystemKeys)
{
    struct Row
    {
        const char* name;
        std::uint32_t message;
        std::uintptr_t vk;
        std::set<std::uint8_t> held;
        std::intptr_t flags;
        bool dispatched;
        std::uint32_t code;
    };
    const std::intptr_t alt = P::kKeyContextBit;
    const Row rows[] = {
        {"vk 0, Ctrl only", P::WM_KEYDOWN, 0, {0xA2}, 0, false, 0},
        {"vk 0, Ctrl and Alt", P::WM_KEYDOWN, 0, {0xA2, 0xA4}, alt, true, 0x25000000},
        {"system vk 0", P::WM_SYSKEYDOWN, 0, {}, 0, true, 0x20000000},
        {"Ctrl+C", P::WM_KEYDOWN, 'C', {0xA3}, 0, true, 0x21430000},
        {"C going up", P::WM_KEYUP, 'C', {}, 0, true, 0x00430000},
        {"Alt+X, Alt from the event", P::WM_SYSKEYDOWN, 'X', {0xA4}, alt, true, 0x24580000},
        {"Alt held, not in the event", P::WM_KEYDOWN, 'X', {0xA4}, 0, true, 0x20580000},
    };
    for (const Row& row : rows)
    {
        Window w;
        w.keys.held = row.held;
        w.Send(row.message, row.vk, 1 | row.flags);
        ASSERT_EQ(w.root->keys.size(), row.dispatched ? 1u : 0u) << row.name;
        if (row.dispatched)
        {
            EXPECT_EQ(w.root->keys[0].code, row.code) << row.name;
        }
    }

    Window w;
    w.Send(P::WM_KEYDOWN, 'A', 1 | P::kKeyPreviousBit);
    ASSERT_EQ(w.root->keys.size(), 1u);
    EXPECT_EQ(w.root->keys[0].repeat, 1) << "held already";
    w.keys.held = {0x5B};
    w.Send(P::WM_CHAR, 'a', 1);
    EXPECT_EQ(w.root->keys.size(), 1u) << "a character typed with a Windows key belongs to the desktop";
    w.keys.held = {0xA0};
    w.Send(P::WM_CHAR, 'A', 1);
    ASSERT_EQ(w.root->keys.size(), 2u);
    EXPECT_EQ(w.root->keys[1].code, 0x02000041u);
}

TEST(OSWindowMessages, AReleaseAwayFromTheWindowWithNoButtonDownEndsThePressCount)
{
    Window w;
    w.Send(P::WM_LBUTTONDOWN, P::MK_LBUTTON, P::MakePointParam(3, 4));
    w.keys.held = {P::VK_RBUTTON};
    w.Send(P::WM_LBUTTONUP, 0, P::MakePointParam(300, 4));
    w.keys.held = {};
    w.Send(P::WM_RBUTTONUP, 0, P::MakePointParam(301, 4));
    w.Send(P::WM_LBUTTONDBLCLK, P::MK_LBUTTON, P::MakePointParam(7, 8));
    ASSERT_EQ(w.root->mouse.size(), 4u);
    EXPECT_EQ(w.root->mouse[0].action, 0u);
    EXPECT_EQ(w.root->mouse[1].action, 1u);
    EXPECT_EQ(w.root->mouse[2].button, MouseButton::kRight);
    EXPECT_EQ(w.root->mouse[3].action, 2u);
    EXPECT_EQ(w.root->mouse[3].point, (PointI{7, 8}));
}

struct CommandLineApp : TestSupport::LStandInFrameworkApp
{
    void OnCommandLineReceived(const String& text) override { lines.push_back(text); }
    std::vector<String> lines;
};

TEST(OSWindowMessages, TheCommandLineHandOffReadsNoFurtherThanItsBytes)
{
    CommandLineApp app;
    Window w;
    const char16_t unterminated[] = {u'-', u'x', u'y'};
    const char16_t terminated[] = u"a\0b";
    struct Row
    {
        const char* name;
        std::uintptr_t id;
        const void* data;
        std::uint32_t bytes;
        const char16_t* expected; // null: not handed over
    };
    const Row rows[] = {
        {"no terminator", 0x465, unterminated, 4, u"-x"},
        {"odd byte count", 0x465, unterminated, 5, u"-x"},
        {"stops at the terminator", 0x465, terminated, 8, u"a"},
        {"empty", 0x465, nullptr, 0, u""},
        {"other identifier", 0x466, unterminated, 6, nullptr},
        {"bytes without data", 0x465, nullptr, 6, nullptr},
    };
    for (const Row& row : rows)
    {
        app.lines.clear();
        P::CopyData data{row.id, row.bytes, row.data};
        w.Send(P::WM_COPYDATA, 0, reinterpret_cast<std::intptr_t>(&data));
        if (!row.expected)
        {
            EXPECT_TRUE(app.lines.empty()) << row.name;
            continue;
        }
        ASSERT_EQ(app.lines.size(), 1u) << row.name;
        EXPECT_EQ(app.lines[0], String(row.expected)) << row.name;
    }
}

TEST(OSWindowMessages, WithoutASystemWindowTheServicesFail)
{
    RCPtr<OSWindow> window = new OSWindow;
    std::int32_t x = 9, y = 9, width = 9, height = 9;
    PointI point{};
    EXPECT_EQ(window->SetTitle(u"x"), kFail);
    EXPECT_EQ(window->Invalidate(), kFail);
    EXPECT_EQ(window->GetClientRect(x, y, width, height), kFail);
    EXPECT_EQ(x, 9);
    EXPECT_EQ(window->ScreenToClient(point, point), kFail);
    EXPECT_EQ(window->SetWindowRect(0, 0, 1, 1), kFail);
    EXPECT_EQ(window->Redraw(), kFail);
    EXPECT_EQ(window->RunModalLoop(), kFail);
    EXPECT_EQ(window->GetCursorPosition(point), kFail);
    EXPECT_EQ(window->GetWindowHandle(), 0u);
    EXPECT_FALSE(window->IsActiveWindow());
    EXPECT_EQ(CursorShapeFromHandle(CursorHandleFromShape(CursorShape::kIBeam)), CursorShape::kIBeam);
    EXPECT_EQ(CursorHandleFromShape(CursorShape::kArrow), 0u);
    EXPECT_EQ(CursorShapeFromHandle(999), CursorShape::kArrow);
}

} // namespace
} // namespace KR
