#include "editor/app/TreeDump.h"

#include "kr/controls/ComboBox.h"
#include "kr/ui/Control.h"
#include "platform/window/SignalWatch.h"

#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace
{

std::string Escaped(const KR::String& text)
{
    std::string escaped;
    for (const char c : std::string(text.ToUtf8().GetPtr()))
    {
        switch (c)
        {
        case '\\':
            escaped += "\\\\";
            break;
        case '\t':
            escaped += "\\t";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\r':
            escaped += "\\r";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

void DescribeInto(const KR::RCPtr<KR::LControl>& control, const std::string& parentPath, std::string& out)
{
    const std::string path =
        (parentPath.empty() ? std::string() : parentPath + "/") + control->GetName().ToUtf8().GetPtr();
    const KR::ConstRCPtr<KR::LControlDescriptor>& descriptor = control->GetControlDescriptor();
    const KR::PointD corner = control->GetAbsolutePosition();
    const KR::PointD size = control->GetSize();
    char numbers[160];
    std::snprintf(numbers, sizeof numbers, "\tshown=%d\tframe=%ld,%ld,%ld,%ld\tvalue=%g",
                  control->IsShown(true) ? 1 : 0, std::lround(corner.x), std::lround(corner.y),
                  std::lround(size.x), std::lround(size.y), control->GetValue());
    out += path;
    out += "\tclass=";
    out += descriptor ? descriptor->GetClass().ToUtf8().GetPtr() : "";
    out += numbers;
    out += "\ttext=" + Escaped(control->GetText());
    if (const auto* combo = dynamic_cast<const KR::LComboBox*>(control.Get()))
    {
        out += "\tselected=" + std::to_string(combo->GetSelectedIndex()) +
               "\titems=" + std::to_string(combo->GetItemCount());
    }
    out += '\n';
    const KR::LControl::ChildControlList& children = control->GetChildren();
    for (std::uint32_t i = 0; i < children.GetCount(); ++i)
    {
        DescribeInto(children.GetAt(i, KR::kInsertionOrder), path, out);
    }
}

} // namespace

LTreeDump::LTreeDump(const std::string& path)
    : mPath(path), mWatch(std::make_unique<KR::Platform::SignalWatch>(SIGUSR1))
{
}

LTreeDump::~LTreeDump() = default;

std::unique_ptr<LTreeDump> LTreeDump::FromEnvironment()
{
    const char* path = std::getenv(kVariable);
    if (path == nullptr || *path == '\0')
    {
        return nullptr;
    }
    return std::make_unique<LTreeDump>(path);
}

KR::Result LTreeDump::WriteIfAsked(const std::vector<KR::RCPtr<KR::LControl>>& roots)
{
    if (mWatch->Take() == 0)
    {
        return KR::kNothingDone;
    }
    std::string text;
    for (const KR::RCPtr<KR::LControl>& root : roots)
    {
        if (root)
        {
            text += Describe(root);
        }
    }
    const std::string aside = mPath + ".part";
    {
        std::ofstream out(aside, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush())
        {
            return KR::kFail;
        }
    }
    return std::rename(aside.c_str(), mPath.c_str()) == 0 ? KR::kOk : KR::kFail;
}

std::string LTreeDump::Describe(const KR::RCPtr<KR::LControl>& root)
{
    std::string out;
    DescribeInto(root, std::string(), out);
    return out;
}
