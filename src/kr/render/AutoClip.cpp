#include "kr/render/AutoClip.h"

#include "kr/core/Exception.h"

#include <stdexcept>

namespace KR
{

namespace
{

const RCPtr<LRenderer>& PushFor(const RCPtr<LRenderer>& renderer, const ClipDescriptor& descriptor)
{
    switch (descriptor.flavor)
    {
    case ClipDescriptor::kSaveState:
        renderer->SaveState();
        break;
    case ClipDescriptor::kClip:
        renderer->PushClip(descriptor.bounds, descriptor.clip, descriptor.stencil, descriptor.clipToBounds);
        break;
    case ClipDescriptor::kOffset:
        renderer->PushOffset(descriptor.offset);
        break;
    default:
        Throw<std::runtime_error>("Runtime Error : Unknown PushClip flavor : KR::CAutoClip::CAutoClip : "
                                  "Renderer\\Renderer : Line 404");
    }
    return renderer;
}

} // namespace

// The push runs before the base takes the renderer, so a refused flavour leaves no pop.
CAutoClip::CAutoClip(const RCPtr<LRenderer>& renderer, const ClipDescriptor& descriptor)
    : CAutoRestore(PushFor(renderer, descriptor))
{
}

} // namespace KR
