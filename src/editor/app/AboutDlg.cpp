#include "editor/app/AboutDlg.h"

#include "editor/app/AppString.h"

#include "kr/app/Version.h"
#include "kr/core/Exception.h"

namespace
{

KR::RCPtr<KR::LControl> FindLabel(const KR::LControl& dialog, const char16_t* name, int line)
{
    KR::RCPtr<KR::LControl> label = dialog.FindChildControl(KR::String(name));
    if (!label)
    {
        const std::string detail = "Cannot find child: " + std::string(KR::String(name).ToUtf8().GetPtr());
        KR::Throw<std::runtime_error>(KR::ErrorText<std::runtime_error>(
            {"Null Pointer", detail}, "LAboutDlg::Initialize", "UI\\PresetEditorCommon\\AboutDlg", line));
    }
    return label;
}

} // namespace

KR::Result LAboutDlg::Initialize()
{
    const KR::Result result = KR::LDialog::Initialize();
    if (KR::Failed(result))
    {
        return result;
    }
    const KR::RCPtr<KR::LControl> product = FindLabel(*this, u"labelProduct", 32);
    const KR::RCPtr<KR::LControl> copyright = FindLabel(*this, u"labelCopyright", 33);

    const KR::Version version;
    KR::String line = version.GetCompanyName();
    line += u" ";
    line += version.GetProductName();
    line += u" ";
    line += GetAppString(KR::String(u"APP_VERSION"));
    line += u" ";
    line += version.GetProductVersion();
    // Setting a label's text cannot fail here; both lines are always set.
    product->SetText(line);
    copyright->SetText(version.GetString("LegalCopyright"));
    return KR::kOk;
}
