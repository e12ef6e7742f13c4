#pragma once
// The editor's own skin, read from the program's embedded resources by the real factory,
// with every class the program registers standing as a plain control until it is built.
//
//     KR::SkinTest::EditorSkin skin;
//     const KR::LControlDescriptor* pad = skin.Find("mainControl/viewDevice/pads/pad1");
//     for (const std::string& path : KR::SkinTest::Expand("pads/pad{1-16}/button")) ...

#include "SkinClassNames.h"
#include "kr/ui/Control.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/LookDescriptor.h"
#include "kr/ui/SkinDescriptor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace KR::SkinTest
{

inline std::string Utf8(const String& text)
{
    return text.ToUtf8().GetPtr();
}

// Every "{a-b}" of the pattern replaced by each number from a to b, in order.
inline std::vector<std::string> Expand(const std::string& pattern)
{
    const std::size_t open = pattern.find('{');
    if (open == std::string::npos)
    {
        return {pattern};
    }
    const std::size_t dash = pattern.find('-', open);
    const std::size_t close = pattern.find('}', open);
    const int first = std::stoi(pattern.substr(open + 1, dash - open - 1));
    const int last = std::stoi(pattern.substr(dash + 1, close - dash - 1));
    std::vector<std::string> all;
    for (int n = first; n <= last; ++n)
    {
        for (std::string& rest : Expand(pattern.substr(close + 1)))
        {
            all.push_back(pattern.substr(0, open) + std::to_string(n) + rest);
        }
    }
    return all;
}

class EditorSkin
{
public:
    EditorSkin() : factory(new LControlFactory(String(u"PresetEditor")))
    {
        // Images come from the same resources as the documents.
        factory->SetImagePathPrefix(String(u"::"));
        loaded = factory->LoadSkins(String(u"::APP_SKINS"));
        for (const char16_t* name : kFrameworkClasses)
        {
            factory->RegisterControlClass(String(name), &LControl::CreateFromSkin<LControl>);
        }
        for (const char16_t* name : kApplicationClasses)
        {
            factory->RegisterControlClass(String(name), &LControl::CreateFromSkin<LControl>);
        }
    }

    // The descriptor at "top/child/.../child" (direct children only), or null.
    const LControlDescriptor* Find(const std::string& path) const
    {
        std::size_t start = 0;
        std::size_t slash = path.find('/');
        const RCPtr<LControlDescriptor> top =
            factory->FindControlDescriptor(String(path.substr(0, slash).c_str()));
        const LControlDescriptor* at = top.Get();
        while (at && slash != std::string::npos)
        {
            start = slash + 1;
            slash = path.find('/', start);
            at = Child(*at,
                       path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
        }
        return at;
    }

    static const LControlDescriptor* Child(const LControlDescriptor& parent, const std::string& name)
    {
        const auto& children = parent.GetChildren();
        for (std::uint32_t i = 0; i < children.GetCount(); ++i)
        {
            if (Utf8(children[i]->GetName()) == name)
            {
                return children[i].Get();
            }
        }
        return nullptr;
    }

    // The name of look list slot `index` of the descriptor's skin, "" for an empty slot,
    // "(none)" without a look list.
    static std::string LookName(const LControlDescriptor& descriptor, std::uint32_t index)
    {
        const RCPtr<LSkinDescriptor>& skin = descriptor.GetSkin();
        if (!skin || !skin->lookList)
        {
            return "(none)";
        }
        if (index >= skin->lookList->GetCount() || !(*skin->lookList)[index])
        {
            return "";
        }
        return Utf8((*skin->lookList)[index]->name);
    }

    RCPtr<LControlFactory> factory;
    Result loaded = kFail;
};

// The skin's top-level controls: the windows, the dialogs and the shared pop-ups.
inline const char* const kTopLevel[] = {
    "mainControl",         "dialogSendPreset", "dialogRetrievePresetFromHardware",
    "globalEditorControl", "dialogAbout",      "toolTip",
    "contextMenu"};

} // namespace KR::SkinTest
