#include "kr/ui/Clipboard.h"

#include "kr/core/Exception.h"
#include "kr/notify/ApplicationCenter.h"
#include "kr/ui/Control.h"
#include "kr/ui/FrameworkApp.h"
#include "kr/ui/RootWindow.h"
#include "platform/window/Clipboard.h"

#include <algorithm>
#include <limits>
#include <string>

namespace KR
{
namespace
{

namespace P = Platform;

// The window that owns what this program writes: the main window's system window.
P::WindowHandle OwnerWindow()
{
    const RCPtr<IRootWindowServices> main = IFrameworkApp::GetInstance().GetMainWindow();
    const auto* root = dynamic_cast<const LRootWindow*>(main.Get());
    return root && root->GetOSServices() ? root->GetOSServices()->GetWindowHandle() : 0;
}

// The focused control's edit target in the active window, if it takes edit operations.
RCPtr<LControl> ActiveEditTarget()
{
    const RCPtr<IRootWindowServices> window = IFrameworkApp::GetInstance().GetActiveRootWindow();
    const RCPtr<LControl> focus = window ? window->GetFocusControl() : nullptr;
    RCPtr<LControl> target = focus ? focus->GetEditTarget() : nullptr;
    return target && target->IsEditTarget() ? target : nullptr;
}

} // namespace

RCPtr<LClipboard> LClipboard::Create()
{
    return RCPtr<LClipboard>(new LClipboard);
}

void LClipboard::Initialize()
{
    Initialize(GetApplicationNotificationCenter());
}

void LClipboard::Initialize(const RCPtr<LNotificationDistributor>& center)
{
    struct Request
    {
        LNotificationHandler<LClipboard>::Handler handler;
        const char16_t* name;
        const char* site;
    };
    static constexpr Request kRequests[] = {
        {&LClipboard::OnCut, u"NID_EDIT_CUT_REQ",
         " : KR::LClipboard::Initialize : System\\ClipBoard : Line 41"},
        {&LClipboard::OnCopy, u"NID_EDIT_COPY_REQ",
         " : KR::LClipboard::Initialize : System\\ClipBoard : Line 42"},
        {&LClipboard::OnPaste, u"NID_EDIT_PASTE_REQ",
         " : KR::LClipboard::Initialize : System\\ClipBoard : Line 43"},
        {&LClipboard::OnDelete, u"NID_EDIT_DELETE_REQ",
         " : KR::LClipboard::Initialize : System\\ClipBoard : Line 44"},
    };
    mHandler = LNotificationHandler<LClipboard>::Create(this);
    for (const Request& request : kRequests)
    {
        ThrowIfFailed(mHandler->Register(request.handler, center, request.name), request.site);
    }
    mInitialized = true;
}

bool LClipboard::CanPerformEdit(std::int32_t operation)
{
    const RCPtr<LControl> target = ActiveEditTarget();
    return target && target->CanPerformEdit(operation);
}

Result LClipboard::PerformEdit(std::int32_t operation)
{
    const RCPtr<LControl> target = ActiveEditTarget();
    if (!target || !target->CanPerformEdit(operation))
    {
        return 1;
    }
    return target->PerformEdit(operation);
}

Result LClipboard::GetText(RCPtr<LRefCountedObject>& out)
{
    const std::uint32_t sequence = P::GetClipboardSequenceNumber();
    P::ClipboardContents contents;
    // While the mark of our own object stays on the clipboard, that object is the content.
    if (sequence != mSequence && P::ReadClipboard(contents) && !contents.privateMark)
    {
        if (contents.hasText)
        {
            // Another program's bytes: converted leniently, whatever their length.
            const std::size_t length = std::min<std::size_t>(
                contents.text.size(), static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()));
            String text;
            Utf8ToUtf16(text, contents.text.data(), static_cast<std::int32_t>(length));
            mContent = TextHolder::Create(text);
            mSequence = sequence;
        }
        else
        {
            mContent = nullptr;
        }
    }
    out = mContent;
    return kOk;
}

Result LClipboard::SetText(const RCPtr<LRefCountedObject>& content)
{
    if (mWriting)
    {
        return 1;
    }
    mWriting = true;
    mContent = content;
    Result result = kOk;
    if (content)
    {
        bool written = false;
        if (const auto* text = dynamic_cast<const TextHolder*>(content.Get()))
        {
            const Utf8String utf8 = text->GetValue().ToUtf8();
            written = P::WriteClipboardText(OwnerWindow(), std::string(utf8.GetPtr(), utf8.GetLength()));
        }
        else
        {
            written = P::WriteClipboardMark(OwnerWindow());
        }
        result = written ? kOk : kFail;
        mSequence = P::GetClipboardSequenceNumber();
    }
    mWriting = false;
    return result;
}

void LClipboard::OnClipboardReplaced()
{
    SetText(nullptr);
}

Result LClipboard::Receive(const RCPtr<LNotificationDistributor>& sender,
                           const RCPtr<LNotification>& notification)
{
    return mHandler && mInitialized ? mHandler->HandleNotification(sender, notification) : 0;
}

Result LClipboard::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                             NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LNotificationClient::UnregisterForNotification(sender, name);
}

Result LClipboard::OnCut(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
{
    PerformEdit(EditOperation::kCut);
    return 1;
}

Result LClipboard::OnCopy(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
{
    PerformEdit(EditOperation::kCopy);
    return 1;
}

Result LClipboard::OnPaste(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
{
    PerformEdit(EditOperation::kPaste);
    return 1;
}

Result LClipboard::OnDelete(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&)
{
    PerformEdit(EditOperation::kDelete);
    return 1;
}

} // namespace KR
