#pragma once
// Scope objects that push one state on a renderer's stack and pop it when the scope ends,
// also when an exception leaves it, so a drawing walk can never leave the stack deeper
// than it found it.
//
//     KR::CAutoClip scope(renderer, KR::ClipDescriptor{KR::ClipDescriptor::kClip, bounds, clip});
//     ... draw inside bounds ...

#include "kr/core/Point.h"
#include "kr/core/RCPtr.h"
#include "kr/core/Rect.h"
#include "kr/render/Renderer.h"

#include <cstdint>

namespace KR
{

// What CAutoClip pushes; the flavour selects which of the other fields count.
struct ClipDescriptor
{
    static constexpr std::int32_t kSaveState = 0;
    static constexpr std::int32_t kClip = 1;
    static constexpr std::int32_t kOffset = 2;

    std::int32_t flavor = kSaveState;
    RectD bounds{};
    RectD clip{};
    RCPtr<LStencil> stencil;
    bool clipToBounds = true;
    PointD offset{};
};

// Pops one state at the end of its scope; the base of the scope objects below. A scope
// lives inside a drawing call that holds the renderer, so it keeps no count of its own:
// a drawing walk makes one per control, and counting would cost two atomic operations
// each.
class CAutoRestore
{
public:
    CAutoRestore(const CAutoRestore&) = delete;
    CAutoRestore& operator=(const CAutoRestore&) = delete;
    ~CAutoRestore() { mRenderer->RestoreState(); }

protected:
    explicit CAutoRestore(const RCPtr<LRenderer>& renderer) : mRenderer(renderer.Get()) {}

private:
    LRenderer* mRenderer;
};

class CAutoClip : public CAutoRestore
{
public:
    // Throws a runtime error, pushing nothing, for an unknown flavour.
    CAutoClip(const RCPtr<LRenderer>& renderer, const ClipDescriptor& descriptor);
};

// A copy of the current state.
class CAutoSaveState : public CAutoRestore
{
public:
    explicit CAutoSaveState(const RCPtr<LRenderer>& renderer) : CAutoRestore(renderer)
    {
        renderer->SaveState();
    }
};

// A clip to bounds (relative to the current origin), which become the new origin.
class CAutoBoundsClip : public CAutoRestore
{
public:
    CAutoBoundsClip(const RCPtr<LRenderer>& renderer, const RectD& bounds, const RectD& clip,
                    const RCPtr<LStencil>& stencil = nullptr)
        : CAutoRestore(renderer)
    {
        renderer->PushClip(bounds, clip, stencil, true);
    }
};

// A clip to bounds pushed only when it would change the state (IsBoundsClipInForce):
// what draws inside sees the same origin and clip either way, and a full repaint, where
// most such clips are the one in force, does not pay for copying states that stay.
class CAutoBoundsClipWhenNeeded
{
public:
    CAutoBoundsClipWhenNeeded(const RCPtr<LRenderer>& renderer, const RectD& bounds, const RectD& clip)
    {
        if (!renderer->IsBoundsClipInForce(bounds, clip))
        {
            renderer->PushClip(bounds, clip, nullptr, true);
            mRenderer = renderer.Get();
        }
    }
    CAutoBoundsClipWhenNeeded(const CAutoBoundsClipWhenNeeded&) = delete;
    CAutoBoundsClipWhenNeeded& operator=(const CAutoBoundsClipWhenNeeded&) = delete;
    ~CAutoBoundsClipWhenNeeded()
    {
        if (mRenderer)
        {
            mRenderer->RestoreState();
        }
    }

private:
    LRenderer* mRenderer = nullptr;
};

// A clip whose bounds are relative to the current origin or, without clipToBounds, in
// window coordinates.
class CAutoPushClip : public CAutoRestore
{
public:
    CAutoPushClip(const RCPtr<LRenderer>& renderer, const RectD& bounds, const RectD& clip,
                  const RCPtr<LStencil>& stencil, bool clipToBounds)
        : CAutoRestore(renderer)
    {
        renderer->PushClip(bounds, clip, stencil, clipToBounds);
    }
};

} // namespace KR
