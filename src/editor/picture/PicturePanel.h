#pragma once
// What every panel of the keyboard picture shares: a skinned panel that is also a node of
// the device model (a control or a group), with a handler table of its own that sees a
// notification before the panel's base does. The table is consulted only once the factory
// has finished making the panel, so notifications sent while its children are still being
// made do not reach handlers that expect a complete panel.
//
//     class LFaderPanel : public LPicturePanel<LFaderPanel, IFader> { ... };

#include "editor/edit/OwnHandlerPanel.h"
#include "kr/core/RCPtr.h"
#include "kr/core/Types.h"

#include <cstdint>

namespace PicturePanelDetail
{
// "Runtime Error : Null Pointer : <detail> : <operation> : <source> : Line <line>".
[[noreturn]] void ThrowMissingChild(const char* detail, const char* operation, const char* source, int line);
// "Failed Result : KRRESULT = <code> : <operation> : <source> : Line <line>" for a failed result.
void ThrowIfFailed(KR::Result result, const char* operation, const char* source, int line);
// Sets the label's text to its current text formatted with `number`: the first call turns
// "B%d" into "B4", later calls find no conversion left and change nothing.
void FormatNumberLabel(KR::LControl& label, std::uint32_t number);
} // namespace PicturePanelDetail

template <typename Self, typename Model>
class LPicturePanel : public LOwnHandlerPanel<Self, HandlerOffer::OnceCreated>, public Model
{
    using Frame = LOwnHandlerPanel<Self, HandlerOffer::OnceCreated>;

public:
    using Handler = typename Frame::Handlers::Handler;

    LPicturePanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name) : Frame(parent, name) {}

protected:
    // The panel's own initialisation, then a new handler table; the base's result.
    KR::Result InitializePanel()
    {
        const KR::Result result = KR::LPanel::Initialize();
        if (!KR::Failed(result))
        {
            CreateHandler();
        }
        return result;
    }
    // Replaces the handler table held before.
    void CreateHandler() { this->CreateOwnHandler(); }
    bool HasHandler() const { return static_cast<bool>(this->mNotificationHandler); }

    // Binds `handler` to `name` from `sender`: 0, kInvalidArg for a missing sender (or no
    // table yet), kFail when the sender refuses.
    KR::Result Listen(Handler handler, const KR::RCPtr<KR::LControl>& sender, KR::NotificationName name)
    {
        if (!this->mNotificationHandler)
        {
            return KR::kInvalidArg;
        }
        return this->mNotificationHandler->Register(handler, KR::RCPtr<KR::LNotificationDistributor>(sender),
                                                    name);
    }
};
