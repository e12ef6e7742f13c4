#include "editor/edit/ButtonRecordEditPanel.h"

#include "editor/edit/TableTextFormat.h"
#include "kr/core/RCPtrArray.h"

#include <string>

namespace ButtonRecordEditPanelDetail
{

KR::Array<signed char> RecordOf(const KR::Array<signed char>& block, std::uint32_t from)
{
    KR::Array<signed char> record;
    record.AddItem(block[0]);
    for (std::uint32_t i = 1; i < ButtonModeRecord::kSize; ++i)
    {
        record.AddItem(block[from + i - 1]);
    }
    return record;
}

KR::Array<signed char> ColoredBlock(const KR::Array<signed char>& record,
                                    const ShownByteList (&colors)[kColorCount])
{
    KR::Array<signed char> block;
    block.AddItem(record[ButtonModeRecord::kChannel]);
    for (const ShownByteList& color : colors)
    {
        block.AddItem(color.Build());
    }
    for (std::uint32_t i = 1; i < ButtonModeRecord::kSize; ++i)
    {
        block.AddItem(record[i]);
    }
    return block;
}

void ShowColors(const KR::Array<signed char>& block, ShownByteList (&colors)[kColorCount])
{
    for (std::uint32_t i = 0; i < kColorCount; ++i)
    {
        colors[i].Show(block[1 + i]);
    }
}

void NameColorLabels(KR::LControl& panel)
{
    KR::RCPtrArray<KR::LControl> labels;
    panel.FindDescendantControls(KR::String(u"colorNameLabel"), labels);
    for (std::uint32_t i = 0; i < labels.GetCount(); ++i)
    {
        KR::LControl& label = *labels[i];
        const KR::RCPtr<KR::LControl>& selector = label.GetParent();
        if (!selector)
        {
            continue;
        }
        const std::string name = selector->GetName().ToUtf8().GetPtr();
        if (name == "asciiColor")
        {
            label.SetTextFromString(label.GetLocalizedString(KR::String(u"ASCII_COLOR_LABEL")));
            continue;
        }
        const std::string digits = name.size() > 5 && name.compare(0, 5, "color") == 0 ? name.substr(5) : "";
        if (digits.empty() || digits.size() > 2 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
        {
            continue;
        }
        label.SetTextFromString(FormatTableText(label.GetLocalizedString(KR::String(u"NUMBERED_COLOR_LABEL")),
                                                {std::int64_t{std::stoi(digits)}}));
    }
}

} // namespace ButtonRecordEditPanelDetail
