#include "kr/render/gl/FontFileInfo.h"

#include "kr/core/Exception.h"
#include "libs/fontnames/FontNameReader.h"
#include "platform/fonts/FontFiles.h"
#include "platform/graphics/Font.h"

#include <algorithm>
#include <map>
#include <stdexcept>

namespace KR
{
namespace
{

struct Registry
{
    std::vector<RCPtr<LFontFileInfo>> records;
    // By the font's unique id: ids are never given twice, where addresses are.
    std::map<std::int32_t, RCPtr<LFontFileInfo>> fonts;
    LFontFileInfo::SystemFamilySource systemFamily;
    LFontFileInfo::MatchSource match;
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

String FromUtf8(const std::string& text)
{
    String out;
    out.AssignUtf8(text.c_str(), static_cast<std::uint32_t>(text.size()));
    return out;
}

String DefaultSystemFamily()
{
    return FromUtf8(Platform::GetSystemFontName().family);
}

String DefaultMatch(const String& face, std::int32_t style)
{
    return FromUtf8(Platform::GetFontFamily(Platform::ResolveFont(face.GetView(), style)));
}

bool EndsWithIgnoringCase(const std::string& text, const char* suffix)
{
    const std::size_t length = std::char_traits<char>::length(suffix);
    if (text.size() < length)
    {
        return false;
    }
    return std::equal(text.end() - static_cast<std::ptrdiff_t>(length), text.end(), suffix,
                      [](char a, char b) { return (a >= 'A' && a <= 'Z' ? a + 32 : a) == b; });
}

RCPtr<LFontFileInfo> FindFamily(const String& family)
{
    const auto& records = TheRegistry().records;
    for (auto it = records.rbegin(); it != records.rend(); ++it)
    {
        if ((*it)->GetFamilyName() == family)
        {
            return *it;
        }
    }
    return nullptr;
}

// The slot a subfamily name fills; -1: the regular slot, unless a file holds it already.
std::int32_t SlotOfStyle(const std::u16string& style)
{
    if (style == u"bold")
    {
        return 1;
    }
    if (style == u"italic" || style == u"oblique")
    {
        return 2;
    }
    if (style == u"bold italic" || style == u"bold oblique")
    {
        return 3;
    }
    return style == u"regular" ? 0 : -1;
}

} // namespace

Result LFontFileInfo::ScanFontFolder()
{
    std::vector<std::string> files = Platform::ListFontFiles();
    std::vector<std::string> ordered;
    for (const char* suffix : {".ttf", ".ttc"})
    {
        std::copy_if(files.begin(), files.end(), std::back_inserter(ordered),
                     [suffix](const std::string& path) { return EndsWithIgnoringCase(path, suffix); });
    }
    ScanFontFiles(ordered);
    return kOk;
}

std::int32_t LFontFileInfo::ScanFontFiles(const std::vector<std::string>& paths)
{
    Clear();
    std::int32_t skipped = 0;
    for (const std::string& path : paths)
    {
        skipped += ScanFontFile(path) ? 0 : 1;
    }
    return skipped;
}

bool LFontFileInfo::ScanFontFile(const std::string& path)
{
    FontNames::FileByteSource file(path);
    std::vector<FontNames::FontNamePair> names;
    std::string error;
    if (!file.IsOpen() || !FontNames::ReadFontNames(file, names, error))
    {
        return false;
    }
    const String filePath = FromUtf8(path);
    for (const FontNames::FontNamePair& name : names)
    {
        const String family(std::u16string_view(name.family));
        RCPtr<LFontFileInfo> record = FindFamily(family);
        if (!record)
        {
            record = AddFontFileInfo();
            record->mFamilyName = family;
        }
        const std::int32_t slot = SlotOfStyle(name.style);
        if (slot >= 0)
        {
            record->mPaths[static_cast<std::size_t>(slot)] = filePath;
        }
        else if (record->mPaths[0].IsEmpty())
        {
            // "Book", "Medium" and the like stand for regular only when nothing else does.
            record->mPaths[0] = filePath;
        }
    }
    return true;
}

void LFontFileInfo::Clear()
{
    Registry& registry = TheRegistry();
    registry.fonts.clear();
    registry.records.clear();
}

RCPtr<LFontFileInfo> LFontFileInfo::AddFontFileInfo()
{
    auto& records = TheRegistry().records;
    RCPtr<LFontFileInfo> record(new LFontFileInfo(static_cast<std::int32_t>(records.size())));
    records.push_back(record);
    return record;
}

std::int32_t LFontFileInfo::GetFileID(const ConstRCPtr<LFont>& font)
{
    Registry& registry = TheRegistry();
    if (!font)
    {
        Throw<std::runtime_error>(kNoFileText);
    }
    RCPtr<LFontFileInfo> record;
    const auto known = registry.fonts.find(font->GetUniqueID());
    if (known != registry.fonts.end())
    {
        record = known->second;
    }
    else
    {
        record = FindFamily(font->GetFaceName());
        if (!record)
        {
            record = FindFamily(registry.systemFamily ? registry.systemFamily() : DefaultSystemFamily());
        }
        if (!record)
        {
            // Skins name faces the machine may not have ("Arial"); fontconfig knows what
            // stands in for them.
            record = FindFamily(registry.match ? registry.match(font->GetFaceName(), font->GetStyle())
                                               : DefaultMatch(font->GetFaceName(), font->GetStyle()));
        }
        if (!record)
        {
            Throw<std::runtime_error>(kNoFileText);
        }
        registry.fonts.emplace(font->GetUniqueID(), record);
    }
    static constexpr std::int32_t kOrder[4][4] = {{0, 1, 2, 3}, {1, 3, 0, 2}, {2, 3, 0, 1}, {3, 1, 2, 0}};
    const std::int32_t style = font->GetStyle() & 3;
    const String* chosen = &record->mPaths[static_cast<std::size_t>(kOrder[style][3])];
    for (std::int32_t i = 0; i < 3; ++i)
    {
        const String& path = record->mPaths[static_cast<std::size_t>(kOrder[style][i])];
        if (!path.IsEmpty())
        {
            chosen = &path;
            break;
        }
    }
    String& own = record->mPaths[static_cast<std::size_t>(style)];
    if (own.IsEmpty())
    {
        own = *chosen;
    }
    return record->mIndex * 4 + style;
}

const String& LFontFileInfo::GetFileName(std::int32_t fileId)
{
    static const String kEmpty;
    const auto& records = TheRegistry().records;
    const std::int32_t index = fileId >> 2;
    if (index < 0 || index >= static_cast<std::int32_t>(records.size()))
    {
        return kEmpty;
    }
    return records[static_cast<std::size_t>(index)]->mPaths[static_cast<std::size_t>(fileId & 3)];
}

const std::vector<RCPtr<LFontFileInfo>>& LFontFileInfo::GetRecords()
{
    return TheRegistry().records;
}

void LFontFileInfo::SetSystemFamilySource(SystemFamilySource source)
{
    TheRegistry().systemFamily = std::move(source);
}

void LFontFileInfo::SetMatchSource(MatchSource source)
{
    TheRegistry().match = std::move(source);
}

} // namespace KR
