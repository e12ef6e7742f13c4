#include "kr/ui/ControlFactory.h"

#include "kr/core/Exception.h"
#include "kr/render/BitmapHoldScope.h"
#include "kr/ui/Control.h"
#include "kr/ui/SkinDocumentsReadAhead.h"
#include "platform/system/Resources.h"

#include <cstring>
#include <stdexcept>
#include <vector>

namespace KR
{

const char* const LControlFactory::kUnregisteredClassText =
    "Runtime Error : KR::LControlFactory::GetControlCreateFunction : ControlBase\\ControlFactory : Line 51";

namespace
{

bool ReadEmbeddedXml(const String& name, std::vector<char>& bytes)
{
    const auto found = Platform::FindResource(LControlFactory::kXmlResourceType, name.ToUtf8().GetPtr());
    if (found.empty())
    {
        return false;
    }
    // One block copy: assigning from the resource's unsigned bytes would copy byte by byte.
    bytes.resize(found.size());
    std::memcpy(bytes.data(), found.data(), found.size());
    return true;
}

} // namespace

LControlFactory::LControlFactory(String applicationName) : mReader(std::move(applicationName))
{
    mReader.SetResourceProvider(&ReadEmbeddedXml);
}

LControlFactory::~LControlFactory() = default;

Result LControlFactory::RegisterControlClass(const String& className, ControlCreateFunction creator)
{
    mClasses.try_emplace(className, creator);
    return kOk;
}

Result LControlFactory::GetControlCreateFunction(const String& className,
                                                 ControlCreateFunction& creator) const
{
    const auto found = mClasses.find(className);
    if (found == mClasses.end())
    {
        Throw<std::runtime_error>(kUnregisteredClassText);
    }
    creator = found->second;
    return kOk;
}

RCPtr<LControl> LControlFactory::CreateControl(const RCPtr<LControlDescriptor>& descriptor,
                                               const RCPtr<LControl>& parent)
{
    if (!descriptor)
    {
        return nullptr;
    }
    ControlCreateFunction creator = descriptor->GetCreateFunction();
    if (!creator)
    {
        GetControlCreateFunction(descriptor->GetClass(), creator);
        descriptor->SetCreateFunction(creator);
    }
    return creator ? creator(parent, descriptor) : nullptr;
}

RCPtr<LControlDescriptor> LControlFactory::FindShownDescriptor(const String& name) const
{
    const RCPtr<LControlDescriptor> descriptor = FindControlDescriptor(name);
    // A control asked for by name is meant to be seen, whatever its element says.
    if (descriptor && descriptor->GetLayout())
    {
        descriptor->GetLayout()->visible = true;
    }
    return descriptor;
}

RCPtr<LControl> LControlFactory::CreateControlByName(const String& name,
                                                     const RCPtr<IRootWindowServices>& rootWindow)
{
    // A picture the new tree's looks let go of between two uses is decoded once.
    const LBitmapHoldScope pictures;
    const RCPtr<LControl> control = CreateControl(FindShownDescriptor(name), nullptr);
    if (control)
    {
        control->SetRootWindow(rootWindow);
        control->UpdateLayout();
    }
    return control;
}

RCPtr<LControl> LControlFactory::CreateChildControlByName(const String& name, const RCPtr<LControl>& parent)
{
    return CreateControl(FindShownDescriptor(name), parent);
}

bool LControlFactory::ReadEmbeddedDocument(const String& name, std::vector<char>& bytes)
{
    return ReadEmbeddedXml(name, bytes);
}

void LControlFactory::SetReadAhead(std::unique_ptr<SkinDocumentsReadAhead> readAhead)
{
    mReadAhead = std::move(readAhead);
}

Result LControlFactory::LoadStringTablesAndSkins(const String& folder, std::int32_t languageId)
{
    std::unique_ptr<SkinDocumentsReadAhead> readAhead = std::move(mReadAhead);
    // The documents read ahead are the ones this load would read only into a reader that
    // nothing has set up or filled yet.
    if (readAhead && !mReaderTouched && readAhead->IsFor(GetApplicationName(), folder, languageId))
    {
        mReaderTouched = true;
        return readAhead->Take(mReader);
    }
    mReaderTouched = true;
    return mReader.LoadStringTablesAndSkins(folder, languageId);
}

Result LControlFactory::ApplySkinToControl(const RCPtr<LControl>& control)
{
    if (!control)
    {
        return kFail;
    }
    const RCPtr<LControlDescriptor> descriptor = FindControlDescriptor(control->GetName());
    if (!descriptor)
    {
        return kFail;
    }
    return control->ApplyLayoutDescriptor(descriptor);
}

RCPtr<LControlDescriptor> LControlFactory::FindControlDescriptor(const String& name) const
{
    const RCPtr<LControlDescriptor> root = mReader.GetCurrentSkinRoot();
    if (!root)
    {
        return nullptr;
    }
    const LControlDescriptor::Children& children = root->GetChildren();
    // From the last: of two top-level controls of one name, the later one in the document wins.
    for (std::uint32_t i = children.GetCount(); i-- > 0;)
    {
        const RCPtr<LControlDescriptor>& child = children.GetAt(i);
        if (child && child->GetName() == name)
        {
            return child;
        }
    }
    return nullptr;
}

RCPtr<LControlDescriptor> LControlFactory::CloneControlDescriptor(const RCPtr<LControlDescriptor>& source,
                                                                  const RCPtr<LLayoutDescriptor>& layout,
                                                                  const String& newName) const
{
    if (!source)
    {
        return nullptr;
    }
    RCPtr<LControlDescriptor> clone(
        new LControlDescriptor(source->GetClass(), source->GetName(), source->GetParent()));
    // The children themselves are shared: their parent link still names the source.
    const LControlDescriptor::Children& children = source->GetChildren();
    for (std::uint32_t i = 0; i < children.GetCount(); ++i)
    {
        clone->AddChild(children.GetAt(i));
    }
    clone->SetSkin(source->GetSkin());
    clone->SetLayout(source->GetLayout());
    clone->SetCreateParams(source->GetCreateParams());
    clone->SetCreateFunction(source->GetCreateFunction());
    clone->SetName(newName);
    if (layout)
    {
        clone->SetLayout(layout);
    }
    return clone;
}

Result LControlFactory::GetCurrentSkinFont(String& name, float& size, std::int32_t& style) const
{
    const RCPtr<LControlDescriptor> root = mReader.GetCurrentSkinRoot();
    if (!root || !root->GetSkin())
    {
        return kNothingDone;
    }
    const SkinFont& font = root->GetSkin()->font;
    bool copied = false;
    if (!font.name.IsEmpty())
    {
        name = font.name;
        copied = true;
    }
    if (font.size >= 1.0f)
    {
        size = font.size;
        copied = true;
    }
    if (font.style != -1)
    {
        style = font.style;
        copied = true;
    }
    return copied ? kOk : kNothingDone;
}

RCPtr<LStringTable> LControlFactory::GetFrameworkStringTable() const
{
    return mReader.GetStringTable(String(kFrameworkTableKey));
}

RCPtr<LStringTable> LControlFactory::GetApplicationStringTable() const
{
    return mReader.GetStringTable(String(u"|") + GetApplicationName());
}

RCPtr<LStringTable> LControlFactory::GetControlStringTable(const LControlDescriptor* parent,
                                                           const String& childName) const
{
    const String& owner = parent ? parent->GetClass() : GetApplicationName();
    return mReader.GetStringTable(owner, childName);
}

} // namespace KR
