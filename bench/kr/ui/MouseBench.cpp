// Pointer moves through the root window over a tree the size of the editor's main window:
// moves that only hover a control, and moves that drag one (mode 2). Each reports the heap
// allocations a move makes; the parameter and notification pools should make it none.

#include "kr/render/InertRenderer.h"
#include "kr/ui/RootWindow.h"
#include "support/FakeWindowServices.h"
#include "support/GeneratedControlTree.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{

std::atomic<std::uint64_t> gAllocations{0};

} // namespace

// Counts every allocation of the program; the benchmarks read the difference. Every form
// without an alignment is replaced, so that each pair stays malloc and free.
void* operator new(std::size_t size)
{
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size == 0 ? 1 : size))
    {
        return memory;
    }
    throw std::bad_alloc();
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}

void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept
{
    return operator new(size, tag);
}

// The replacement pair is malloc and free underneath, which the compiler cannot see.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
// Inlined into the sanitizer build's callers it sees the freed object's fields as unset.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}
#pragma GCC diagnostic pop

namespace
{

class DraggedControl : public KR::LControl
{
public:
    using LControl::LControl;
    KR::Result OnConditionsChanged(const KR::RCPtr<KR::LConditionsParam>& conditions) override
    {
        if ((conditions->current & ~conditions->previous & KR::Condition::kLeftPressed) != 0)
        {
            SetDragMode(2, 3);
        }
        return KR::kOk;
    }
};

struct Scene
{
    Scene()
    {
        window = KR::RCPtr<KR::LRootWindow>(new KR::LRootWindow(renderer, os.Get()));
        const KR::RCPtr<KR::LControl> root =
            KR::TestSupport::MakeGeneratedControlTree(KR::RCPtr<KR::IRootWindowServices>());
        window->SetRootControl(root);
        // A control of its own over panel 14's children: the panel is at (340, 300), the
        // control at (440, 390) in the window.
        const KR::RCPtr<KR::LControl>& panel = root->FindChildControl(KR::String(u"panel14"));
        target = KR::RCPtr<KR::LControl>(new DraggedControl(panel, u"target"));
        target->SetFrame(KR::PointD{100, 90}, KR::PointD{40, 40});
        KR::TestSupport::AddOpaqueLook(*target);
    }
    ~Scene() { window->ReleaseInternalReferences(); }

    KR::RCPtr<KR::TestSupport::LFakeWindowServices> os{new KR::TestSupport::LFakeWindowServices};
    KR::RCPtr<KR::LRenderer> renderer{new KR::LInertRenderer(1)};
    KR::RCPtr<KR::LRootWindow> window;
    KR::RCPtr<KR::LControl> target;
};

constexpr int kMoves = 10000;

void Report(benchmark::State& state, std::uint64_t allocations)
{
    state.counters["allocs/move"] = benchmark::Counter(static_cast<double>(allocations) /
                                                       (static_cast<double>(state.iterations()) * kMoves));
    state.SetItemsProcessed(state.iterations() * kMoves);
}

// A first round outside the count fills the pools, the child orders and the window
// stand-in's list of invalidated rectangles, which is emptied (its room kept) between rounds.
template <typename Moves>
void Measure(benchmark::State& state, Scene& scene, const Moves& moves)
{
    moves();
    scene.os->invalidated.clear();
    std::uint64_t allocations = 0;
    for (auto _ : state)
    {
        const std::uint64_t before = gAllocations.load(std::memory_order_relaxed);
        moves();
        allocations += gAllocations.load(std::memory_order_relaxed) - before;
        state.PauseTiming();
        scene.os->invalidated.clear();
        state.ResumeTiming();
    }
    Report(state, allocations);
}

void BM_TenThousandHoverMoves(benchmark::State& state)
{
    Scene scene;
    const auto moves = [&]
    {
        for (int i = 0; i < kMoves; ++i)
        {
            scene.window->OnMouseMove(KR::PointI{445 + i % 20, 395 + i % 15}, 0);
        }
    };
    Measure(state, scene, moves);
}
BENCHMARK(BM_TenThousandHoverMoves);

void BM_TenThousandDragMoves(benchmark::State& state)
{
    Scene scene;
    scene.os->buttons = KR::MouseButton::kLeft;
    scene.window->OnMouseMove(KR::PointI{450, 400}, 0);
    scene.window->OnMouseButton(KR::MouseAction::kPress, KR::MouseButton::kLeft, 0, KR::PointI{450, 400});
    const auto moves = [&]
    {
        for (int i = 0; i < kMoves; ++i)
        {
            // Back and forth inside the panel, so every move is a step of the drag.
            scene.window->OnMouseMove(KR::PointI{450 + i % 2 * 7, 400 + i % 2 * 5}, 0);
        }
    };
    Measure(state, scene, moves);
    scene.window->OnMouseButton(KR::MouseAction::kRelease, KR::MouseButton::kLeft, 0, KR::PointI{450, 400});
}
BENCHMARK(BM_TenThousandDragMoves);

} // namespace
