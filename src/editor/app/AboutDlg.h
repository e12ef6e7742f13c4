#pragma once
// LAboutDlg: the modal about box. Its product line and copyright line are built from the
// program's version block when the box is made, so a rebuilt program with another version
// shows it without a skin change; everything else (title, logos, OK) is the skin's.
//
//     const KR::RCPtr<KR::LDialog> about(app->CreateControl(u"dialogAbout"));
//     app->GetModalRootWindow(about, true);

#include "kr/ui/Dialog.h"

class LAboutDlg : public KR::LDialog
{
public:
    static constexpr char16_t kClassName[] = u"PresetEditor.DialogAbout";

    using KR::LDialog::LDialog;

    // The dialog's own set-up; then "<company> <product> <APP_VERSION> <version>" on
    // labelProduct and the block's "LegalCopyright" on labelCopyright. A skin without
    // either label throws the null-pointer error naming it, before any text is set.
    KR::Result Initialize() override;
};
