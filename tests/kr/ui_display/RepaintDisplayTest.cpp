// What a window shows after a partial repaint, a resize or invalidations of odd rectangles
// is what a window painted whole in the same state shows, pixel for pixel; and a resize
// paints once.

#include "PaintedWindow.h"

#include <cmath>
#include <limits>

namespace KR::UiDisplayTest
{
namespace
{

constexpr std::uint32_t kGreen = 0x00C000;

// The scene's root: counts the paints that reach it and keeps the rectangles each drew, in
// window pixels.
class CountingPanel : public LControl
{
public:
    using LControl::LControl;
    Result DrawContent(const RCPtr<LRenderer>& renderer) override
    {
        const RenderState* state = renderer->GetCurrentState();
        if (state)
        {
            drawn.push_back(
                RoundRectToInt(RectD{state->clip.x + state->offset.x, state->clip.y + state->offset.y,
                                     state->clip.width, state->clip.height}));
        }
        return kOk;
    }
    std::vector<RectI> drawn;
};

class Repaint : public PaintedWindow
{
public:
    using PaintedWindow::main;
    using PaintedWindow::Read;
    using PaintedWindow::rootWindow;
    using PaintedWindow::WaitForPixel;
    using PaintedWindow::window;

protected:
    void SetUp() override
    {
        PaintedWindow::SetUp();
        if (IsSkipped())
        {
            return;
        }
        app.factory->RegisterControlClass(String(u"Test.Counting"), &LControl::CreateFromSkin<CountingPanel>);
    }
    void TearDown() override
    {
        CloseFresh();
        PaintedWindow::TearDown();
    }
    void CloseFresh()
    {
        if (fresh && fresh->GetWindowHandle() != 0)
        {
            fresh->EndModal(0);
        }
        fresh = nullptr;
    }

public:
    CountingPanel& Scene() const { return static_cast<CountingPanel&>(*main); }
    RCPtr<LControl> Find(const RCPtr<LControl>& root, const char16_t* path) const
    {
        RCPtrArray<LControl> found;
        root->FindDescendantControls(String(path), found);
        return found.GetCount() > 0 ? found[0] : nullptr;
    }
    // Pumps until the scene was painted once more than `paints`.
    bool WaitForPaint(std::size_t paints)
    {
        return PumpUntil([&] { return Scene().drawn.size() > paints; });
    }
    // A second window of the size, its scene in the state `prepare` makes, painted whole for
    // the first time: true once it shows exactly `expected`.
    bool FreshWindowShows(const WindowPixels& expected,
                          const std::function<void(const RCPtr<LControl>&)>& prepare)
    {
        fresh = new OSWindow;
        EXPECT_EQ(fresh->Create(u"Fresh", RectI{600, 150, expected.width, expected.height}, 0), kOk);
        EXPECT_EQ(fresh->CreateRenderer(1), kOk);
        const RCPtr<LControl> scene =
            app.factory->CreateControlByName(String(u"scene"), fresh->GetRootWindow());
        EXPECT_TRUE(scene);
        if (!scene)
        {
            return false;
        }
        EXPECT_EQ(fresh->GetRootWindow()->SetRootControl(scene), kOk);
        prepare(scene);
        fresh->Show(P::SW_SHOWNORMAL);
        WindowPixels shown;
        const bool same = PumpUntil(
            [&]
            {
                shown = WindowPixels{};
                P::ReadWindowPixels(fresh->GetWindowHandle(), shown.argb, shown.width, shown.height);
                return shown.width == expected.width && shown.height == expected.height &&
                       shown.Rgb() == expected.Rgb();
            });
        if (!same)
        {
            WritePng(expected, "repaint-kept.png");
            WritePng(shown, "repaint-whole.png");
        }
        return same;
    }

    RCPtr<OSWindow> fresh;
};

TEST_F(Repaint, WhatAWindowShowsAfterEachChangeIsWhatAWholePaintOfTheSameStateShows)
{
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    const struct
    {
        const char* name;
        // Changes the shown window; the size it then has.
        std::function<PointI(Repaint&)> change;
        // Puts a fresh scene into the same state.
        std::function<void(Repaint&, const RCPtr<LControl>&)> prepare;
    } rows[] = {
        {"one knob's look: only its rectangle is painted",
         [](Repaint& t)
         {
             const std::size_t paints = t.Scene().drawn.size();
             EXPECT_EQ(t.Find(t.main, u"knob")->SelectLook(1), kOk);
             EXPECT_TRUE(t.WaitForPaint(paints));
             // The box at (3 + 20, 4 + 20) in the scene's client area, the knob at (3 + 10,
             // 4 + 10) in the box's: (36, 38), 30 x 20.
             EXPECT_EQ(t.Scene().drawn.back(), (RectI{36, 38, 30, 20}));
             EXPECT_TRUE(t.WaitForPixel(40, 40, kGreen));
             return PointI{240, 160};
         },
         [](Repaint& t, const RCPtr<LControl>& scene) { t.Find(scene, u"knob")->SelectLook(1); }},
        {"a resize",
         [](Repaint& t)
         {
             const std::size_t paints = t.Scene().drawn.size();
             const RectI client = t.rootWindow->GetScreenClientRect();
             t.rootWindow->SetWindowRect(client.x, client.y, 300, 190);
             EXPECT_TRUE(t.WaitForPaint(paints));
             EXPECT_TRUE(PumpUntil([&] { return t.Read().width == 300; }));
             return PointI{300, 190};
         },
         [](Repaint&, const RCPtr<LControl>&) {}},
        {"a storm of 100 sizes, the last kept",
         [](Repaint& t)
         {
             const RectI client = t.rootWindow->GetScreenClientRect();
             for (std::int32_t i = 0; i < 100; ++i)
             {
                 t.rootWindow->SetWindowRect(client.x, client.y, 150 + (i * 37) % 200, 100 + (i * 53) % 150);
             }
             t.rootWindow->SetWindowRect(client.x, client.y, 260, 170);
             EXPECT_TRUE(PumpUntil(
                 [&]
                 {
                     const WindowPixels pixels = t.Read();
                     return pixels.width == 260 && pixels.height == 170;
                 }));
             const std::size_t paints = t.Scene().drawn.size();
             t.window->Invalidate();
             EXPECT_TRUE(t.WaitForPaint(paints));
             return PointI{260, 170};
         },
         [](Repaint&, const RCPtr<LControl>&) {}},
        {"invalid rectangles empty, not a number, enormous and outside, then the second knob",
         [](Repaint& t)
         {
             for (const RectD& odd :
                  {RectD{10, 10, 0, 0}, RectD{kNaN, 5, 10, 10}, RectD{0, 0, kNaN, kNaN},
                   RectD{-1e300, -1e300, 1e300, 1e300}, RectD{-1e300, -1e300, 2e300, 2e300},
                   RectD{5000, 5000, 10, 10}, RectD{0, 0, -50, -50}})
             {
                 t.rootWindow->InvalidateRect(odd);
             }
             const std::size_t paints = t.Scene().drawn.size();
             EXPECT_EQ(t.Find(t.main, u"knob2")->SelectLook(1), kOk);
             EXPECT_TRUE(t.WaitForPaint(paints));
             EXPECT_TRUE(t.WaitForPixel(160, 40, kGreen));
             return PointI{240, 160};
         },
         [](Repaint& t, const RCPtr<LControl>& scene) { t.Find(scene, u"knob2")->SelectLook(1); }},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        Open(u"scene", 240, 160);
        ASSERT_TRUE(PumpUntil([&] { return !Scene().drawn.empty(); }));
        const PointI size = row.change(*this);
        const WindowPixels kept = Read();
        ASSERT_EQ(kept.width, size.x);
        ASSERT_EQ(kept.height, size.y);
        EXPECT_TRUE(FreshWindowShows(kept, [&](const RCPtr<LControl>& scene) { row.prepare(*this, scene); }));
        CloseFresh();
        window->EndModal(0);
        window = new OSWindow;
    }
}

TEST_F(Repaint, AResizePaintsTheWindowOnce)
{
    Open(u"scene", 240, 160);
    ASSERT_TRUE(PumpUntil([&] { return !Scene().drawn.empty(); }));
    const RectI client = rootWindow->GetScreenClientRect();
    std::size_t paints = Scene().drawn.size();
    rootWindow->SetWindowRect(client.x, client.y, 280, 200);
    ASSERT_TRUE(WaitForPaint(paints));
    EXPECT_EQ(Scene().drawn.back(), (RectI{0, 0, 280, 200}));
    // A repaint asked for the whole window again would come with this small one at the
    // latest, and the two would be painted as one.
    paints = Scene().drawn.size();
    rootWindow->InvalidateRect(RectD{5, 6, 7, 8});
    ASSERT_TRUE(WaitForPaint(paints));
    for (std::size_t i = paints; i < Scene().drawn.size(); ++i)
    {
        EXPECT_EQ(Scene().drawn[i], (RectI{5, 6, 7, 8}));
    }
}

} // namespace
} // namespace KR::UiDisplayTest
