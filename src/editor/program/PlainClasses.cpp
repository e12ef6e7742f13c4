#include "PlainClasses.h"

#include "kr/ui/ControlDescriptor.h"
#include "kr/ui/ControlFactory.h"
#include "kr/ui/Panel.h"

#include <set>
#include <stdexcept>

namespace
{

void CollectClasses(const KR::LControlDescriptor& descriptor, std::set<KR::String>& classes)
{
    classes.insert(descriptor.GetClass());
    const auto& children = descriptor.GetChildren();
    for (std::uint32_t index = 0; index < children.GetCount(); ++index)
    {
        if (children[index])
        {
            CollectClasses(*children[index], classes);
        }
    }
}

} // namespace

int RegisterPlainPanelsForUnbuiltClasses(KR::LControlFactory& factory)
{
    std::set<KR::String> classes;
    const auto& roots = factory.GetReader().GetSkinRoots();
    for (std::uint32_t index = 0; index < roots.GetCount(); ++index)
    {
        if (roots[index])
        {
            // The skin's own root ("Application") is no control.
            const auto& tops = roots[index]->GetChildren();
            for (std::uint32_t top = 0; top < tops.GetCount(); ++top)
            {
                if (tops[top])
                {
                    CollectClasses(*tops[top], classes);
                }
            }
        }
    }
    int registered = 0;
    for (const KR::String& name : classes)
    {
        KR::ControlCreateFunction creator = nullptr;
        try
        {
            factory.GetControlCreateFunction(name, creator);
        }
        catch (const std::exception&)
        {
            factory.RegisterControlClass(name, &KR::LControl::CreateFromSkin<KR::LPanel>);
            ++registered;
        }
    }
    return registered;
}
