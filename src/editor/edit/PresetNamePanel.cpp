#include "editor/edit/PresetNamePanel.h"

#include "editor/edit/BlockEditPanel.h"

namespace
{

const EditPanelErrorSite kSite{"LPresetNamePanel::Initialize", "UI\\QuillanCommon\\PresetNamePanel", 35, 36};
constexpr char16_t kTextChange[] = u"NID_TEXTBOX_TEXT_CHANGE";
// The keyboard's own codes for the two characters it stores differently.
constexpr std::uint8_t kStoredBlank = 0x22;
constexpr std::uint8_t kStoredApostrophe = 0x60;

} // namespace

LPresetNamePanel::LPresetNamePanel(const KR::RCPtr<KR::LControl>& parent, const KR::String& name)
    : LOwnHandlerPanel(parent, name)
{
}

KR::Result LPresetNamePanel::Initialize()
{
    const KR::Result result = KR::LPanel::Initialize();
    if (KR::Failed(result))
    {
        return result;
    }
    // Without its table the panel stays a plain one: nothing to find or register.
    if (!CreateOwnHandler())
    {
        return result;
    }
    mTextBox = KR::RCPtr<KR::LTextBox>(FindChildControl(KR::String(u"textBox")));
    if (!mTextBox)
    {
        EditPanelDetail::ThrowMissingChild(kSite.operation, kSite.source, "Cannot find child textBox",
                                           kSite.missingEditorLine);
    }
    if (const KR::Result registered = RegisterForTextChanges(); KR::Failed(registered))
    {
        EditPanelDetail::ThrowRegistrationRefused(registered, kSite);
    }
    mTextBox->SetMaxLength(static_cast<std::int32_t>(kBlockSize));
    mTextBox->SetAutoScroll(0, true);
    mTextBox->characterFilter = KR::String(kAllowedCharacters);
    mTextBox->filterIsAllowList = true;
    return result;
}

KR::Result LPresetNamePanel::ReleaseInternalReferences()
{
    mTextBox = nullptr;
    return LOwnHandlerPanel::ReleaseInternalReferences();
}

KR::Result LPresetNamePanel::RegisterForTextChanges()
{
    return mNotificationHandler->Register(&LPresetNamePanel::OnTextChanged,
                                          KR::RCPtr<KR::LNotificationDistributor>(mTextBox), kTextChange);
}

KR::Result LPresetNamePanel::OnTextChanged(const KR::RCPtr<KR::LNotificationDistributor>& /*sender*/,
                                           const KR::RCPtr<KR::LNotification>& /*notification*/)
{
    if (!mTextBox)
    {
        return 1;
    }
    EditPanelDetail::HandToMainControl(*this, GetFirstParamID(), NameToBlock(mTextBox->GetText()));
    return 1;
}

std::int32_t LPresetNamePanel::SetParamValueLocal(const KR::ParamDescriptor& descriptor,
                                                  const KR::Variant& value, bool /*fromDevice*/)
{
    if (descriptor.id != GetFirstParamID())
    {
        return KR::kFail;
    }
    std::uint32_t count = 0;
    const std::uint8_t* bytes = value.GetBytes(count);
    const KR::String name = BlockToName(bytes, bytes ? count : 0);
    if (!mTextBox || !mNotificationHandler)
    {
        return KR::kOk;
    }
    // The name shown is the model's already: nothing goes back.
    UnregisterForNotification(KR::RCPtr<KR::LNotificationDistributor>(mTextBox), kTextChange);
    mTextBox->SetText(name, false);
    RegisterForTextChanges();
    return KR::kOk;
}

KR::Array<signed char> LPresetNamePanel::NameToBlock(const KR::String& name)
{
    const KR::String upper = name.ToUpper();
    KR::Array<signed char> block;
    for (std::uint32_t i = 0; i < kBlockSize; ++i)
    {
        std::uint8_t byte = 0;
        if (i < upper.GetLength())
        {
            const char16_t character = upper.GetPtr()[i];
            byte = character == u'\''  ? kStoredApostrophe
                   : character == u' ' ? kStoredBlank
                                       : static_cast<std::uint8_t>(character & 0xFF);
        }
        block.AddItem(static_cast<signed char>(byte));
    }
    return block;
}

KR::String LPresetNamePanel::BlockToName(const std::uint8_t* bytes, std::uint32_t count)
{
    std::u16string name;
    for (std::uint32_t i = 0; bytes && i < count && bytes[i] != 0; ++i)
    {
        name.push_back(bytes[i] == kStoredBlank        ? u' '
                       : bytes[i] == kStoredApostrophe ? u'\''
                                                       : static_cast<char16_t>(bytes[i]));
    }
    return KR::String(name.c_str());
}
