#include "editor/edit/ButtonEditPanel.h"

#include "editor/edit/ContinuousControlEditPanel.h"

namespace
{

using namespace ButtonRecordEditPanelDetail;

constexpr char kButtonSource[] = "UI\\QuillanCommon\\ButtonEditPanel";
// The HID page's bytes.
constexpr std::uint32_t kAsciiColorByte = 14;
constexpr std::uint32_t kKeyByte = 15;
constexpr std::uint32_t kModifierByte = 16;

constexpr ColorSite kColorSites[kColorCount] = {
    {u"color1", "Couldn't find child color1", 50, 51},
    {u"color2", "Couldn't find child color2", 55, 56},
    {u"color3", "Couldn't find child color3", 61, 62},
    {u"color4", "Couldn't find child color4", 66, 67},
};

std::int32_t KeyItemToByte(std::int32_t item)
{
    return item == 0 ? LButtonEditPanel::kNoKey : item - 1;
}

} // namespace

const EditPanelErrorSite& LButtonEditPanel::GetErrorSite() const
{
    static const EditPanelErrorSite site{"LButtonEditPanel::Initialize", kButtonSource, 0, 0};
    return site;
}

KR::Result LButtonEditPanel::Initialize()
{
    const KR::Result result = InitializeOwnHandler();
    if (KR::Failed(result))
    {
        return result;
    }
    const EditPanelErrorSite& site = GetErrorSite();
    mButtonName = KR::RCPtr<KR::LLabel>(FindChildControl(KR::String(u"buttonName")));
    if (!mButtonName)
    {
        EditPanelDetail::ThrowMissingChild(site.operation, site.source, "Couldn't find child ButtonName", 36);
    }
    const KR::RCPtr<KR::LTabControl> tabs(FindChildControl(KR::String(u"viewTabControl")));
    if (!tabs)
    {
        EditPanelDetail::ThrowMissingChild(site.operation, site.source, "Cannot find child viewTabControl",
                                           39);
    }
    TakeButtonTypePanel(tabs->GetPageByName(KR::String(u"midiPage")), "Couldn't find child buttonTypePanel",
                        42, 43);
    const KR::RCPtr<KR::LControl> colorPage =
        TakePage(tabs, u"colorPage", "Cannot find child viewTabControl page: colorPage", 45);
    TakeColorLists(colorPage, kColorSites, mColors);
    NameColorLabels(*this);
    mAsciiColor = TakeList(colorPage, u"asciiColor", "Couldn't find child asciiColor", 89, 90);
    const KR::RCPtr<KR::LControl> asciiPage =
        TakePage(tabs, u"asciiPage", "Cannot find child viewTabControl page: asciiPage", 94);
    mKey = TakeList(asciiPage, u"key", "Couldn't find child key", 96, 97);
    mModifierKey = TakeList(asciiPage, u"modifierKey", "Couldn't find child modifierKey", 100, 101);
    return result;
}

KR::Result LButtonEditPanel::ReleaseInternalReferences()
{
    mButtonName = nullptr;
    for (ShownByteList& color : mColors)
    {
        color = ShownByteList();
    }
    mKey = ShownByteList();
    mModifierKey = ShownByteList();
    mAsciiColor = ShownByteList();
    return LButtonRecordEditPanel::ReleaseInternalReferences();
}

void LButtonEditPanel::SetButtonLabelText(std::int32_t index)
{
    static const BankLabelSite site{"LButtonEditPanel::SetButtonLabelText",
                                    kButtonSource,
                                    u"buttonName",
                                    "Couldn't find child buttonName",
                                    179,
                                    "Couldn't find child bankName",
                                    182,
                                    kButtonsPerBank,
                                    kButtonCount};
    EditPanelDetail::SetBankLabels(*this, site, static_cast<std::uint32_t>(index));
}

std::int32_t LButtonEditPanel::SetParamValueLocal(const KR::ParamDescriptor& descriptor,
                                                  const KR::Variant& value, bool /*fromDevice*/)
{
    KR::Array<signed char> block;
    if (!ReadOwnBlock(descriptor, value, kBlockSize, block))
    {
        return KR::kFail;
    }
    if (!mColors[0] || !mColors[1] || !mColors[2] || !mColors[3] || !mAsciiColor || !mKey || !mModifierKey)
    {
        return KR::kFail;
    }
    ShowOwnBlock(block,
                 [&]
                 {
                     ShowRecord(RecordOf(block, kColoredRecordFrom));
                     ShowColors(block, mColors);
                     mAsciiColor.Show(block[kAsciiColorByte]);
                     const signed char key = block[kKeyByte];
                     mKey.Show(key, key == kNoKey ? 0 : key + 1);
                     mModifierKey.Show(block[kModifierByte]);
                 });
    SetParamValue(descriptor, value);
    return KR::kOk;
}

KR::Array<signed char> LButtonEditPanel::BuildBlock(const KR::Array<signed char>& record) const
{
    KR::Array<signed char> block = ColoredBlock(record, mColors);
    block.AddItem(mAsciiColor.Build());
    block.AddItem(mKey.Build(&KeyItemToByte));
    block.AddItem(mModifierKey.Build());
    return block;
}
