#pragma once
// A generated skin the size of the editor's (a main control, 30 panels of 9 labels each:
// about 300 controls, 60 looks) with its strings, and a factory that reads both from
// memory: shared by the benchmarks of loading and of making controls from it.

#include "kr/ui/Control.h"
#include "kr/ui/ControlFactory.h"

#include <string>
#include <vector>

namespace
{

constexpr int kPanels = 30;
constexpr int kChildrenPerPanel = 9;
constexpr int kLooks = 60;

inline std::string GeneratedSkin()
{
    std::string doc = "<Bench_Skin_Definitions><Application Name=\"PresetEditor\"><Colorizers>\n";
    for (int i = 0; i < 10; ++i)
    {
        doc += "<Colorizer Name=\"c" + std::to_string(i) +
               "\" ColorType=\"LinearGradient\" Color=\"0xFF336699\" GradientEndColor=\"0xFF000000\" "
               "GradientStartX=\"0\" GradientStartY=\"0\" GradientEndX=\"0\" GradientEndY=\"1\"/>\n";
    }
    doc += "</Colorizers><Parts>\n";
    for (int i = 0; i < kLooks; ++i)
    {
        doc += "<Part Name=\"p" + std::to_string(i) + "\" Width=\"16\" Height=\"16\" ResizeType=\"Tile\" " +
               "ImageFile=\"Sheet.png\" ImageLocX=\"" + std::to_string(i * 16) + "\" ImageLocY=\"0\" " +
               "ColorizerName=\"c" + std::to_string(i % 10) + "\"/>\n";
    }
    doc += "</Parts><Looks>\n";
    for (int i = 0; i < kLooks; ++i)
    {
        const std::string part = "p" + std::to_string(i);
        doc += "<Look Name=\"l" + std::to_string(i) + "\"><ClientPart Name=\"" + part +
               "\" OffsetLeft=\"2\" OffsetTop=\"2\" OffsetRight=\"-2\" OffsetBottom=\"-2\"/>"
               "<NonClientParts><NonClientPart Name=\"" +
               part +
               "\" OffsetLeft=\"0\" OffsetTop=\"0\" Height=\"2\"/></NonClientParts>"
               "<TextProperties TextLeftRel=\"0\" TextLeftAbs=\"4\" TextRightRel=\"1\" TextRightAbs=\"-4\" "
               "TextHAlign=\"0.5\" TextTopRel=\"0\" TextTopAbs=\"0\" TextBottomRel=\"1\" TextBottomAbs=\"0\" "
               "TextVAlign=\"0.5\" TextForegroundPart=\"" +
               part + "\"/></Look>\n";
    }
    doc += "</Looks><LookLists>\n";
    for (int i = 0; i < kLooks / 3; ++i)
    {
        doc += "<LookList Name=\"ll" + std::to_string(i) + "\" NumLooks=\"14\">";
        for (int slot = 0; slot < 3; ++slot)
        {
            doc += "<Look Name=\"l" + std::to_string(i * 3 + slot) + "\" Index=\"" + std::to_string(slot) +
                   "\"/>";
        }
        doc += "</LookList>\n";
    }
    doc += "</LookLists><Skins><Skin Name=\"Default\" FontName=\"Arial\" FontSize=\"9\" FontStyle=\"0\">\n"
           "<SubControl Class=\"PresetEditor.MainControl\" Name=\"mainControl\"><Skin Name=\"main\" "
           "LookList=\"ll0\">\n";
    for (int p = 0; p < kPanels; ++p)
    {
        doc +=
            "<SubControl Class=\"PresetEditor.Panel" + std::to_string(p) + "\" Name=\"panel" +
            std::to_string(p) +
            "\" XPositionToControl=\"Parent\" XPositionAbs=\"10\" XSizeToControl=\"Self\" XSizeAbs=\"200\" "
            "YSizeAbs=\"120\" LayoutOrder=\"" +
            std::to_string(kPanels - p) + "\"><Skin Name=\"s\" LookList=\"ll" + std::to_string(p % 20) +
            "\">\n";
        for (int c = 0; c < kChildrenPerPanel; ++c)
        {
            doc += "<SubControl Class=\"Framework.Label\" Name=\"child" + std::to_string(c) +
                   "\" XPositionToControl=\"child" + std::to_string(c == 0 ? 0 : c - 1) +
                   "\" XPositionRel=\"1\" XPositionAbs=\"4\" TabStop=\"" + std::to_string(c) +
                   "\" FontName=\"Arial\" FontSize=\"8\" TextOverflowXType=\"Wrap\">"
                   "<CreateParamList><CreateParam ID=\"NOT_FOCUSABLE\">True</CreateParam></CreateParamList>"
                   "<Skin Name=\"s\" LookList=\"ll" +
                   std::to_string(c) + "\"/></SubControl>\n";
        }
        doc += "</Skin></SubControl>\n";
    }
    doc += "</Skin></SubControl></Skin></Skins></Application></Bench_Skin_Definitions>\n";
    return doc;
}

inline std::string GeneratedStrings()
{
    std::string doc = "<Bench_StringTable_Definitions>\n";
    for (int p = 0; p < kPanels; ++p)
    {
        for (int c = 0; c < kChildrenPerPanel + 1; ++c)
        {
            doc +=
                "<StringTable ID=\"PresetEditor.Panel" + std::to_string(p) + "|child" + std::to_string(c) +
                "\">"
                "<String ID=\"LABEL\"><Locale LCID=\"9\">Label text</Locale><Locale LCID=\"7\">Text</Locale>"
                "</String><String ID=\"TOOLTIP\"><Locale LCID=\"9\">A longer tooltip text for the control"
                "</Locale></String></StringTable>\n";
        }
    }
    return doc + "</Bench_StringTable_Definitions>\n";
}

inline KR::RCPtr<KR::LControlFactory> MakeFactory(const std::string& skins, const std::string& strings)
{
    KR::RCPtr<KR::LControlFactory> factory(new KR::LControlFactory(KR::String(u"PresetEditor")));
    factory->SetResourceProvider(
        [skins, strings](const KR::String& name, std::vector<char>& bytes)
        {
            const std::string& doc = name == u"BENCH_SKINS" ? skins : strings;
            bytes.assign(doc.begin(), doc.end());
            return true;
        });
    return factory;
}

// The factory with the generated skin and its strings read and every class of the skin
// registered: the main control's with `mainCreator`, the rest as plain controls.
inline KR::RCPtr<KR::LControlFactory> MakeEditorSizedFactory(KR::ControlCreateFunction mainCreator)
{
    KR::RCPtr<KR::LControlFactory> factory = MakeFactory(GeneratedSkin(), GeneratedStrings());
    factory->LoadStringTables(KR::String(u"::BENCH_STRINGS"), KR::String(u"::NONE"), 0x0409);
    factory->LoadSkins(KR::String(u"::BENCH_SKINS"));
    factory->RegisterControlClass(KR::String(u"PresetEditor.MainControl"), mainCreator);
    factory->RegisterControlClass(KR::String(u"Framework.Label"),
                                  &KR::LControl::CreateFromSkin<KR::LControl>);
    for (int p = 0; p < kPanels; ++p)
    {
        factory->RegisterControlClass(KR::String::Format(u"PresetEditor.Panel%d", p),
                                      &KR::LControl::CreateFromSkin<KR::LControl>);
    }
    return factory;
}

} // namespace
