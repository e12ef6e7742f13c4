#include "editor/app/ApplicationControlClasses.h"
#include "editor/app/AboutDlg.h"
#include "editor/app/DeviceView.h"
#include "editor/app/GlobalSettingsDlg.h"
#include "editor/app/MainControl.h"
#include "editor/app/SendPresetToMidiDeviceDlg.h"

#include "kr/ui/ControlFactory.h"
#include "kr/ui/Dialog.h"
#include "kr/ui/Panel.h"
#include "kr/ui/TabControl.h"
#include "support/Utf8.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

namespace
{

using KR::LControl;
using KR::String;

using KR::TestSupport::Utf8;

KR::ControlCreateFunction Creator(const KR::LControlFactory& factory, const char16_t* name)
{
    KR::ControlCreateFunction creator = nullptr;
    try
    {
        factory.GetControlCreateFunction(String(name), creator);
    }
    catch (const std::exception&)
    {
        return nullptr;
    }
    return creator;
}

TEST(ApplicationControlClasses, OneHundredEightySevenRowsRegisterTheEditorsNamesWithTheirClasses)
{
    const auto rows = GetApplicationControlClasses();
    EXPECT_EQ(rows.size(), 187u);
    std::map<std::u16string, KR::ControlCreateFunction> names;
    for (const ApplicationControlClassRow& row : rows)
    {
        const auto [entry, added] = names.emplace(row.name, row.create);
        // A name given twice comes with the same creator both times.
        EXPECT_EQ(entry->second, row.create) << Utf8(String(row.name));
    }
    EXPECT_EQ(names.size(), 176u);

    const KR::RCPtr<KR::LControlFactory> factory = new KR::LControlFactory(u"PresetEditor");
    RegisterApplicationControlClasses(*factory);
    const auto panel = &LControl::CreateFromSkin<KR::LPanel>;
    const auto tabs = &KR::LTabControl::Create;
    const struct
    {
        const char16_t* name;
        KR::ControlCreateFunction creator; // null: not registered
    } expected[] = {
        {u"PresetEditor.Control.LabeledNoteSelector", panel},
        {u"PresetEditor.MainControl", &LControl::CreateFromSkin<KR::LMainControl>},
        {u"PresetEditor.MainControl.DeviceView", &LControl::CreateFromSkin<LDeviceView>},
        {u"MainControl.ProductImageSelector", panel},
        {u"PresetEditor.MainControl.ProductImageSelector", nullptr},
        {u"MainControl.MainPage.ButtonEditPanel.MidiPage", panel},
        {u"PresetEditor.TabControl", tabs},
        {u"PresetEditor.MainPage.PadEditPanel.TabControl", tabs},
        {u"PresetEditor.Panel.TabControl", panel},
        {u"PresetEditor.DialogAbout", &LControl::CreateFromSkin<LAboutDlg>},
        {u"PresetEditor.GlobalEditorControl", &LControl::CreateFromSkin<LGlobalSettingsDlg>},
        {u"PresetEditor.Dialog.SendPresetToHardware", &LControl::CreateFromSkin<LSendPresetToMidiDeviceDlg>},
        {u"PresetEditor.Control.Global.LabeledGlobalChannel", panel},
        {u"Framework.Button", nullptr},
    };
    for (const auto& row : expected)
    {
        EXPECT_EQ(Creator(*factory, row.name), row.creator) << Utf8(String(row.name));
    }
}

TEST(ApplicationControlClasses, EveryEditorClassTheSkinNamesIsRegistered)
{
    const KR::RCPtr<KR::LControlFactory> factory = new KR::LControlFactory(u"PresetEditor");
    factory->SetImagePathPrefix(u"::");
    ASSERT_EQ(factory->LoadSkins(u"::APP_SKINS"), KR::kOk);
    RegisterApplicationControlClasses(*factory);
    std::set<String> missing;
    std::size_t seen = 0;
    std::function<void(const KR::LControlDescriptor&)> walk = [&](const KR::LControlDescriptor& descriptor)
    {
        const String& name = descriptor.GetClass();
        if (name.Left(10) != u"Framework.")
        {
            ++seen;
            if (Creator(*factory, name.GetPtr()) == nullptr)
            {
                missing.insert(name);
            }
        }
        for (std::uint32_t index = 0; index < descriptor.GetChildren().GetCount(); ++index)
        {
            walk(*descriptor.GetChildren()[index]);
        }
    };
    const auto& skins = factory->GetReader().GetSkinRoots();
    ASSERT_GT(skins.GetCount(), 0u);
    for (std::uint32_t index = 0; index < skins[0]->GetChildren().GetCount(); ++index)
    {
        walk(*skins[0]->GetChildren()[index]);
    }
    EXPECT_GT(seen, 800u);
    for (const String& name : missing)
    {
        ADD_FAILURE() << "not registered: " << Utf8(name);
    }
}

} // namespace
