// Menus are built from string-table entries when a menu bar or a context menu is made,
// and deep-copied every time a popup shows one.

#include "kr/render/MenuDescriptor.h"

#include <benchmark/benchmark.h>

namespace
{

KR::MenuStringPairs Pairs(std::initializer_list<std::pair<const char16_t*, const char16_t*>> entries)
{
    KR::MenuStringPairs pairs;
    for (const auto& [id, text] : entries)
    {
        pairs.AddItem({KR::String(id), KR::String(text)});
    }
    return pairs;
}

// The editor's File menu, as the menu bar hands it over with "CONTEXT_MENU0." cut off.
const KR::MenuStringPairs& FileMenu()
{
    static const KR::MenuStringPairs pairs = Pairs(
        {{u"00.NID_MENU_FILE_SEND_PRESET_TO_DEVICE", u"Send Preset| Send this preset to the controller."},
         {u"01.NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE",
          u"Retrieve Preset| Retreive a preset from the controller."},
         {u"02.-", u"-"},
         {u"03.NID_MENU_FILE_LOAD_PRESET_FROM_FILE", u"Load Preset | Load Preset from disk."},
         {u"04.NID_MENU_FILE_SAVE_PRESET_TO_FILE", u"Save Preset | Save Preset to disk"},
         {u"05.-", u"-"},
         {u"06.NID_MENU_FILE_GLOBALSETTINGS_REQ", u"Global Settings"},
         {u"07.-", u"-"},
         {u"08.NID_MENU_FILE_EXIT_REQ", u"Exit|Exit Vantor Preset Editor"}});
    return pairs;
}

// A control's context menu with a submenu, the deepest shape the tables use.
const KR::MenuStringPairs& ContextMenu()
{
    static const KR::MenuStringPairs pairs = Pairs({{u"00.NID_EDIT_CUT_REQ", u"Cut"},
                                                    {u"01.NID_EDIT_COPY_REQ", u"Copy"},
                                                    {u"02.NID_EDIT_PASTE_REQ", u"Paste"},
                                                    {u"03.-", u"-"},
                                                    {u"04.SEND.", u"Send|Send to the controller"},
                                                    {u"SEND.00.NID_SEND_WORKING", u"Working memory"},
                                                    {u"SEND.01.NID_SEND_SLOT", u"Preset slot"}});
    return pairs;
}

void BM_BuildMainMenu(benchmark::State& state)
{
    const KR::MenuStringPairs help =
        Pairs({{u"00.NID_MENU_HELP_OPEN_USER_GUIDE_REQ", u"Open User Guide"},
               {u"01.NID_MENU_HELP_ABOUT_REQ", u"About Vantor Preset Editor|About"}});
    for (auto _ : state)
    {
        KR::RCPtr<KR::LMenuDescriptor> file, helpMenu;
        KR::BuildMenuFromStringTable(file, FileMenu());
        KR::BuildMenuFromStringTable(helpMenu, help);
        benchmark::DoNotOptimize(file.Get());
        benchmark::DoNotOptimize(helpMenu.Get());
    }
}
BENCHMARK(BM_BuildMainMenu);

void BM_BuildContextMenu(benchmark::State& state)
{
    for (auto _ : state)
    {
        KR::RCPtr<KR::LMenuDescriptor> menu;
        KR::BuildMenuFromStringTable(menu, ContextMenu());
        benchmark::DoNotOptimize(menu.Get());
    }
}
BENCHMARK(BM_BuildContextMenu);

void BM_CopyMenu(benchmark::State& state)
{
    KR::RCPtr<KR::LMenuDescriptor> file, context;
    KR::BuildMenuFromStringTable(file, FileMenu());
    KR::BuildMenuFromStringTable(context, ContextMenu());
    const KR::LMenuDescriptor& menu = state.range(0) == 0 ? *file : *context;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(menu.CopyFrom().Get());
    }
}
BENCHMARK(BM_CopyMenu)->Arg(0)->Arg(1)->ArgName("context");

} // namespace
