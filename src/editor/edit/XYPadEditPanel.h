#pragma once
// The edit panel of one touch-pad axis ("xyPadEditPanel" of the device view). Its two tab
// pages edit the two halves of the axis' 15-byte block, laid end to end:
//
//     0..5   the "MIDI" page: the moveable block editor (controller message)
//     6..14  the "NOTE" page: the note mode editor (count, first, last, other notes)
//
// Both pages keep their values whichever tab is in front, and every change on either is
// written as the whole block. The touch-pad group binds the panel with SetFirstParamID;
// the axis' block then arrives through SetParamValueLocal.
//
//     panel->SetFirstParamID(group, 129, 0);   // "X-AXIS"; the engine is asked for id 129

#include "device/ControlModules.h"
#include "editor/edit/BlockEditPanel.h"
#include "editor/edit/MoveableControlEditPanel.h"
#include "editor/edit/NoteModeEditPanel.h"

#include <cstdint>

class LXYPadEditPanel : public LBlockEditPanel<LXYPadEditPanel, ITouchPadAxis, HandlerOffer::OnceCreated>
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.MainPage.XYPadEditPanel";
    static constexpr std::uint32_t kBlockSize = 15;

    LXYPadEditPanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name);

    KR::Result Initialize() override;
    KR::Result ReleaseInternalReferences() override;

    // Shows both halves of the axis' block and passes it on to the parent module.
    // 0x80004005 for another id or a value that is not 15 bytes; nothing is shown then.
    std::int32_t SetParamValueLocal(const KR::ParamDescriptor& descriptor, const KR::Variant& value,
                                    bool fromDevice) override;

    // Both pages' blocks joined.
    KR::Array<signed char> BuildAxisBlock();

    const KR::RCPtr<LMoveableControlEditPanel>& GetMidiPage() const { return mMidiPage; }
    const KR::RCPtr<LNoteModeEditPanel>& GetNoteModePage() const { return mNoteModePage; }

protected:
    // "X-AXIS" or "Y-AXIS" once the axis' block was asked for; another index keeps the title.
    void OnBound(std::int32_t index) override;

private:
    KR::Result OnParametersChanged(const KR::RCPtr<KR::LNotificationDistributor>& sender,
                                   const KR::RCPtr<KR::LNotification>& notification);

    KR::RCPtr<LMoveableControlEditPanel> mMidiPage;
    KR::RCPtr<LNoteModeEditPanel> mNoteModePage;
};
