#pragma once
// KR::LClipboard: the program's one clipboard object, made with the application and kept
// for its life. It answers the four edit requests that the global hot keys post
// ("NID_EDIT_CUT_REQ", "NID_EDIT_COPY_REQ", "NID_EDIT_PASTE_REQ", "NID_EDIT_DELETE_REQ")
// by handing the operation to the edit target behind the focused control of the active
// window, tells an editable control whether an operation is possible now, and moves
// content to and from the system clipboard: text (a TextHolder) goes out as UTF-8 for
// every text target, any other object stays inside the program while the clipboard
// carries a mark that says so.
//
// It lives in the control framework rather than beside the other system services because
// it asks the active root window for its focused control.
//
//     const RCPtr<LClipboard> clipboard = IFrameworkApp::GetInstance().GetClipboard();
//     clipboard->SetText(LClipboard::TextHolder::Create(String(u"abc")));
//     RCPtr<LRefCountedObject> content;
//     clipboard->GetText(content);   // the same holder, until another program writes
//
// UI thread only: the edit requests arrive from the application queue at idle, and the
// controls and the system window call it while handling messages.

#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/core/Wrapper.h"
#include "kr/notify/NotificationClient.h"
#include "kr/notify/NotificationHandler.h"

#include <cstdint>

namespace KR
{

// The operation codes edit targets are handed.
namespace EditOperation
{
inline constexpr std::int32_t kDelete = 0;
inline constexpr std::int32_t kCut = 1;
inline constexpr std::int32_t kCopy = 2;
inline constexpr std::int32_t kPaste = 3;
} // namespace EditOperation

class LClipboard : public LNotificationClient
{
public:
    // The content that is text.
    using TextHolder = LWrapperStringable<String>;

    static RCPtr<LClipboard> Create();

    // Registers the four edit requests at the application's notification center (or the
    // one given) in the order cut, copy, paste, delete; a refused registration throws
    // "Failed Result : ..." naming its line, and the object stays uninitialised, deaf to
    // the requests.
    void Initialize();
    void Initialize(const RCPtr<LNotificationDistributor>& center);
    bool IsInitialized() const { return mInitialized; }

    // Through the edit target of the active window's focused control: false, or 1 for
    // PerformEdit, when there is none or it cannot perform the operation now.
    bool CanPerformEdit(std::int32_t operation);
    Result PerformEdit(std::int32_t operation);

    // The content: text another program put on the system clipboard since this object
    // last read or wrote it (a new TextHolder; null when it holds no text), else what was
    // last written or read, unchanged. Always 0.
    Result GetText(RCPtr<LRefCountedObject>& out);
    // Makes the content this; a TextHolder goes out as text, any other object as the
    // mark. Null only drops the content. 0; 1 during a write already under way (which
    // the clipboard's own replacement message causes); kFail when the system clipboard
    // could not be taken.
    Result SetText(const RCPtr<LRefCountedObject>& content);
    // Another program replaced the system clipboard: the content is dropped, except
    // while this object is writing.
    void OnClipboardReplaced();
    // What GetText would hand out without looking at the system clipboard.
    const RCPtr<LRefCountedObject>& GetStoredContent() const { return mContent; }

    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;

private:
    LClipboard() = default;
    Result OnCut(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&);
    Result OnCopy(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&);
    Result OnPaste(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&);
    Result OnDelete(const RCPtr<LNotificationDistributor>&, const RCPtr<LNotification>&);

    RCPtr<LNotificationHandler<LClipboard>> mHandler;
    std::uint32_t mSequence = 0;
    RCPtr<LRefCountedObject> mContent;
    bool mInitialized = false;
    bool mWriting = false;
};

} // namespace KR
