#include "kr/app/ApplicationWindows.h"

#include "kr/app/FrameworkApp.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/RootWindow.h"
#include "platform/system/Resources.h"

#include <string>

namespace KR
{

RCPtr<LControl> CreateControlInMainWindow(const LFrameworkApp& app, const String& name)
{
    const RCPtr<LControlFactory> factory = app.GetControlFactory();
    const RCPtr<IRootWindowServices> window = app.GetMainWindow();
    const auto* main = dynamic_cast<const LRootWindow*>(window.Get());
    if (!factory || main == nullptr || !main->GetRootControl())
    {
        return nullptr;
    }
    return factory->CreateControlByName(name, window);
}

std::vector<ConstRCPtr<LBitmap>> LoadApplicationIcons()
{
    // The sizes a desktop asks for, from the menu's to the switcher's.
    constexpr int kSizes[] = {16, 24, 32, 48, 64, 128, 256};
    std::vector<ConstRCPtr<LBitmap>> icons;
    for (const int size : kSizes)
    {
        const std::string name = "::icon-" + std::to_string(size) + ".png";
        // Asked first, so that the sizes the program lacks leave no line in the debug log.
        if (Platform::FindResource("GDIPLUS", "ICON-" + std::to_string(size) + "_PNG").empty())
        {
            continue;
        }
        if (ConstRCPtr<LBitmap> icon = LBitmap::GetBitmap(String(name.c_str())))
        {
            icons.push_back(std::move(icon));
        }
    }
    return icons;
}

} // namespace KR
