#pragma once
// What every edit panel and embedded editor shares: a panel with a handler table of its
// own, offered each notification before the panel's bases are, whose entries go when the
// panel unregisters from a sender. The owner class binds its member handlers to its
// children through the table and keeps only what is its own.
//
//     class LZonePanel : public LOwnHandlerPanel<LZonePanel, HandlerOffer::OnceCreated>
//     {
//         KR::Result Initialize() override
//         {
//             const KR::Result result = InitializeOwnHandler();
//             if (KR::Failed(result))
//             {
//                 return result;
//             }
//             RegisterOrThrow(&LZonePanel::OnChange, mBox, u"NID_VALUE_CHANGE", kOperation, kSource, 44);
//             return result;
//         }
//     };

#include "kr/core/RCPtr.h"
#include "kr/core/Types.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/ui/Panel.h"

// The fixed parts of a class's error texts.
struct EditPanelErrorSite
{
    const char* operation; // "LFaderEditPanel::Initialize"
    const char* source;    // "UI\\QuillanCommon\\FaderEditPanel"
    int missingEditorLine;
    int refusedRegistrationLine;
};

namespace EditPanelDetail
{
// "Null Pointer" with the detail, from the operation in the source at the line.
[[noreturn]] void ThrowMissingChild(const char* operation, const char* source, const char* detail, int line);
// The failed result, told as " : operation : source : Line n".
[[noreturn]] void ThrowRegistrationRefused(KR::Result result, const EditPanelErrorSite& site);
} // namespace EditPanelDetail

// When the own table first sees notifications: always, or only once the control creator
// has marked the panel created (notifications raised while Initialize sets the children
// up then go to the bases alone).
enum class HandlerOffer
{
    Always,
    OnceCreated,
};

template <typename Owner, HandlerOffer Offer>
class LOwnHandlerPanel : public KR::LPanel
{
public:
    using Handlers = KR::LNotificationHandler<Owner>;

    using KR::LPanel::LPanel;

    KR::Result Receive(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                       const KR::RCPtr<KR::LNotification>& notification) override
    {
        if (mNotificationHandler && (Offer == HandlerOffer::Always || IsCreationFinished()))
        {
            if (const KR::Result handled = mNotificationHandler->HandleNotification(sender, notification);
                handled != 0)
            {
                return handled;
            }
        }
        return KR::LPanel::Receive(sender, notification);
    }

    KR::Result UnregisterForNotification(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                         KR::NotificationName name) override
    {
        if (mNotificationHandler)
        {
            mNotificationHandler->Unregister(sender, name);
        }
        return KR::LPanel::UnregisterForNotification(sender, name);
    }

    KR::Result ReleaseInternalReferences() override
    {
        mNotificationHandler = nullptr;
        return KR::LPanel::ReleaseInternalReferences();
    }

protected:
    // Drops every registration of the panel, so that filling its fields reports nothing to
    // its own handlers, then takes back what it holds as a panel rather than as an editor:
    // its place among its parent's receivers of siblings' keys (keys a sibling leaves must
    // still reach it after a show) and its idle registration.
    void UnregisterForAllButPanelNotifications()
    {
        UnregisterForAllNotifications();
        if (const KR::RCPtr<KR::LControl> parent = GetParent(); parent && GetPanelHandler())
        {
            GetPanelHandler()->Register(&KR::LPanel::OnSiblingKeyNotification,
                                        KR::RCPtr<KR::LNotificationDistributor>(parent), u"NID_SIBLING_KEY");
        }
        if (GetIdleRequestCount() > 0)
        {
            RegisterIdleHandlers();
        }
    }

    // Makes the table; whether there is one.
    bool CreateOwnHandler()
    {
        mNotificationHandler = Handlers::Create(static_cast<Owner*>(this));
        return static_cast<bool>(mNotificationHandler);
    }

    // The panel's own initialisation, then the table (made whatever that gave). A failure
    // of the former is returned unchanged; kFail when no table could be made.
    KR::Result InitializeOwnHandler()
    {
        const KR::Result result = KR::LPanel::Initialize();
        const bool made = CreateOwnHandler();
        if (KR::Failed(result))
        {
            return result;
        }
        return made ? result : KR::kFail;
    }

    // Binds `handler` to `name` from `control`; a refusal (an empty control among them)
    // throws the failed result of `operation` in `source` at `line`.
    template <typename C>
    void RegisterOrThrow(typename Handlers::Handler handler, const KR::RCPtr<C>& control,
                         KR::NotificationName name, const char* operation, const char* source, int line)
    {
        if (const KR::Result result = mNotificationHandler->Register(
                handler, KR::RCPtr<KR::LNotificationDistributor>(control), name);
            KR::Failed(result))
        {
            EditPanelDetail::ThrowRegistrationRefused(result, EditPanelErrorSite{operation, source, 0, line});
        }
    }

    KR::RCPtr<Handlers> mNotificationHandler;
};
