// The window style of top-level windows from their skin's size limits, what the window
// layer makes of a style, and the main window's placement record as the profile keeps it.

#include "kr/app/WindowPlacement.h"
#include "kr/app/WindowSizing.h"
#include "kr/ui/OSWindow.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace KR
{
namespace
{

LimitSpec Limit(double absolute, std::uint8_t reference = kLimitToSelf)
{
    LimitSpec limit;
    limit.reference = reference;
    limit.absolute = absolute;
    return limit;
}

TEST(WindowStyle, TheSkinsSizeLimitsChooseAFixedOrSizableWindow)
{
    struct Case
    {
        const char* what;
        LimitSpec minimum[2];
        LimitSpec maximum[2];
        bool fixed;
        std::uint32_t mainStyle;
    };
    const LimitSpec named = Limit(0.0, kLimitToNamed);
    const Case cases[] = {
        {"min = max", {Limit(1200), Limit(750)}, {Limit(1200), Limit(750)}, true, 0x00CA0000},
        {"no limits", {Limit(0), Limit(0)}, {Limit(0), Limit(0)}, false, 0x00CF0000},
        {"min below max", {Limit(400), Limit(300)}, {Limit(800), Limit(600)}, false, 0x00CE0000},
        {"min, no max", {Limit(400), Limit(300)}, {Limit(0), Limit(0)}, false, 0x00CF0000},
        {"all referenced", {named, named}, {named, named}, true, 0x00CA0000},
        {"max referenced", {Limit(400), Limit(300)}, {named, named}, false, 0x00CE0000},
    };
    for (const Case& c : cases)
    {
        const RCPtr<LLayoutDescriptor> layout = LLayoutDescriptor::Create();
        layout->xMinSize = c.minimum[0];
        layout->yMinSize = c.minimum[1];
        layout->xMaxSize = c.maximum[0];
        layout->yMaxSize = c.maximum[1];
        EXPECT_EQ(IsFixedSizeWindow(*layout), c.fixed) << c.what;
        EXPECT_EQ(MainWindowStyle(*layout), c.mainStyle) << c.what;
    }
    // Other top-level windows and dialogs (a modal window without descriptor is fixed).
    EXPECT_EQ(RootWindowStyle(true, true, false, false), 0x80C80000u);
    EXPECT_EQ(RootWindowStyle(false, true, true, true), 0x80CF0000u);
    EXPECT_EQ(RootWindowStyle(true, false, false, false), 0x80C00000u);
}

TEST(WindowStyle, ADialogIsKeptInsideTheWorkAreaWithItsCaptionOnTheScreen)
{
    const RectI work{0, 30, 1280, 994};
    struct Case
    {
        RectI rect;
        RectI kept;
    };
    const Case cases[] = {
        {{100, 100, 400, 220}, {100, 100, 400, 220}},
        {{1000, 100, 400, 220}, {880, 100, 400, 220}}, // past the right edge
        {{-50, 10, 400, 220}, {0, 30, 400, 220}},      // before the left and top edges
        {{100, 900, 400, 220}, {100, 804, 400, 220}},  // past the bottom
        {{200, 100, 1500, 1200}, {0, 30, 1500, 1200}}, // larger: the top-left corner stays on
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(KeepInsideArea(c.rect, work), c.kept) << c.rect.x << ", " << c.rect.y;
    }
}

TEST(WindowStyle, TheWindowLayerGetsFrameFunctionsSizeLockAndDialogHintFromTheStyle)
{
    namespace P = Platform;
    struct Case
    {
        std::uint32_t style;
        std::uint32_t exStyle;
        bool decorated;
        bool resizable;
        std::uint32_t functions;
        bool dialog;
    };
    const Case cases[] = {
        {0x00CA0000, 0, true, false, P::kWindowFunctionClose | P::kWindowFunctionMinimize, false},
        {0x00CF0000, 0, true, true, P::kWindowFunctionsAll, false},
        {0x80C80000, 1, true, false, P::kWindowFunctionClose, true},
        {0x80000000, 0, false, false, 0, false},
    };
    for (const Case& c : cases)
    {
        const P::WindowCreateParams params = OSWindow::ParamsForStyle(c.style, c.exStyle);
        EXPECT_EQ(params.decorated, c.decorated) << std::hex << c.style;
        EXPECT_EQ(params.resizable, c.resizable) << std::hex << c.style;
        EXPECT_EQ(params.functions, c.functions) << std::hex << c.style;
        EXPECT_EQ(params.dialog, c.dialog) << std::hex << c.style;
        EXPECT_FALSE(params.popup) << "a framed window, not a menu";
    }
}

std::string Record(std::int32_t length, std::int32_t show, std::int32_t left, std::int32_t top,
                   std::int32_t right, std::int32_t bottom)
{
    const std::int32_t values[11] = {length, 0, show, -1, -1, -1, -1, left, top, right, bottom};
    return FormatProfileBinary(values, sizeof values).ToUtf8().GetPtr();
}

TEST(WindowStyle, OnlyThePlacementRecordTheWindowWritesIsReadBack)
{
    const std::string good = Record(44, 1, 300, 200, 1500, 950);
    EXPECT_EQ(good.size(), 88u);
    EXPECT_EQ(good.substr(0, 8), "2C000000");
    EXPECT_EQ(good.substr(56, 8), "2C010000") << "edges little-endian";
    EXPECT_EQ(ParseWindowPlacement(String(good.c_str())), (RectI{300, 200, 1200, 750}));
    EXPECT_EQ(ParseWindowPlacement(String(Record(44, 1, -500, 0, 700, 750).c_str())),
              (RectI{-500, 0, 1200, 750}));

    const std::string lower = [&]
    {
        std::string text = good;
        for (char& c : text)
        {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return text;
    }();
    EXPECT_TRUE(ParseWindowPlacement(String(lower.c_str()))) << "digits of either case";

    const std::string refused[] = {
        "",
        good.substr(0, 20),                            // 10 bytes
        good + "00",                                   // one byte more
        good.substr(0, 86) + "G0",                     // not a digit
        Record(40, 1, 300, 200, 1500, 950),            // length field
        Record(44, 2, 300, 200, 1500, 950),            // minimised
        Record(44, 1, 300, 200, 295, 950),             // width -5
        Record(44, 1, 300, 200, 300, 950),             // width 0
        Record(44, 1, 300, 950, 1500, 200),            // upside down
        Record(44, 1, -1000001, 200, 1500, 950),       // far off
        Record(44, 1, 300, 200, 1500, 1000001),        // far off
        Record(44, 1, INT32_MIN, 200, INT32_MAX, 950), // no overflow into a size
    };
    for (const std::string& text : refused)
    {
        EXPECT_FALSE(ParseWindowPlacement(String(text.c_str()))) << text;
    }
}

} // namespace
} // namespace KR
