#pragma once
// KR::LFontFileInfo: the registry that turns a font (face, size, style) into a font file
// for FreeType. Every TrueType file and collection that fontconfig lists is read for its
// family and style names; each family gets one record with the file of each of its four
// styles, and a font's file id is record index x 4 + style. The registry is process-wide,
// rebuilt by each FreeType font renderer and emptied when it goes. UI thread only.
//
//     LFontFileInfo::ScanFontFolder();
//     const std::int32_t id = LFontFileInfo::GetFileID(font);   // throws when nothing fits
//     const String& path = LFontFileInfo::GetFileName(id);

#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/render/Font.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace KR
{

class LFontFileInfo : public virtual LRefCountedObject
{
public:
    static constexpr char kNoFileText[] =
        "Runtime Error : KR::LFontFileInfo::GetFileID : Renderer\\FontRenderer\\FontFileInfo : Line 464";

    // The desktop's interface font's family; without one installed, GTK's setting.
    using SystemFamilySource = std::function<String()>;
    // The family fontconfig substitutes for a face and style; without one installed,
    // fontconfig's own match.
    using MatchSource = std::function<String(const String& face, std::int32_t style)>;

    // Rebuilds the registry from the files fontconfig lists: ".ttf" files, then ".ttc"
    // (suffix case ignored). kOk.
    static Result ScanFontFolder();
    // Rebuilds the registry from these files in order. A file that cannot be read or is
    // malformed adds nothing; the scan goes on. The number of files skipped so.
    static std::int32_t ScanFontFiles(const std::vector<std::string>& paths);
    // Empties the font map and the registry.
    static void Clear();

    // Record index x 4 + style. A face that no record has resolves to the system font's
    // family, then to fontconfig's substitute; throws kNoFileText when none is registered.
    static std::int32_t GetFileID(const ConstRCPtr<LFont>& font);
    // The file of the id's record and style; the empty string for an index out of range.
    static const String& GetFileName(std::int32_t fileId);
    // A new record at the end of the registry.
    static RCPtr<LFontFileInfo> AddFontFileInfo();

    static const std::vector<RCPtr<LFontFileInfo>>& GetRecords();
    // Empty sources bring back the defaults.
    static void SetSystemFamilySource(SystemFamilySource source);
    static void SetMatchSource(MatchSource source);

    const String& GetFamilyName() const { return mFamilyName; }
    // Style 0 regular, 1 bold, 2 italic, 3 bold italic.
    const String& GetPath(std::int32_t style) const { return mPaths[static_cast<std::size_t>(style & 3)]; }
    std::int32_t GetIndex() const { return mIndex; }

private:
    explicit LFontFileInfo(std::int32_t index) : mIndex(index) {}

    static bool ScanFontFile(const std::string& path);

    String mFamilyName;
    std::array<String, 4> mPaths;
    std::int32_t mIndex;
};

} // namespace KR
