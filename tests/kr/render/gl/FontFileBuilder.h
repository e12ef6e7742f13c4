#pragma once
// Minimal TrueType files for the font-file registry: an offset table with a dummy "head"
// record and a name table, or a collection of such fonts. Only what the registry reads.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace KR::Test
{

struct NameEntry
{
    std::uint16_t platform = 3; // 1 Macintosh (UTF-8 bytes), 3 Windows (UTF-16 big-endian)
    std::uint16_t language = 0x0409;
    std::uint16_t nameId = 1;
    std::string text; // ASCII
};

inline void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value)
{
    out[at] = static_cast<std::uint8_t>(value >> 8);
    out[at + 1] = static_cast<std::uint8_t>(value);
}

inline void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value)
{
    Put16(out, at, value >> 16);
    Put16(out, at + 2, value & 0xFFFF);
}

// A font whose tables' offsets count from `base`, its place in the file.
inline std::vector<std::uint8_t> MakeFont(const std::vector<NameEntry>& names, std::size_t base = 0,
                                          bool withNameTable = true)
{
    std::vector<std::uint8_t> storage;
    std::vector<std::uint8_t> records(names.size() * 12);
    for (std::size_t i = 0; i < names.size(); ++i)
    {
        const NameEntry& name = names[i];
        const std::size_t start = storage.size();
        for (char c : name.text)
        {
            if (name.platform == 3)
            {
                storage.push_back(0);
            }
            storage.push_back(static_cast<std::uint8_t>(c));
        }
        Put16(records, i * 12, name.platform);
        Put16(records, i * 12 + 2, name.platform == 3 ? 1 : 0);
        Put16(records, i * 12 + 4, name.language);
        Put16(records, i * 12 + 6, name.nameId);
        Put16(records, i * 12 + 8, static_cast<std::uint32_t>(storage.size() - start));
        Put16(records, i * 12 + 10, static_cast<std::uint32_t>(start));
    }
    std::vector<std::uint8_t> font(12 + 32 + 6);
    Put32(font, 0, 0x00010000);
    Put16(font, 4, 2);
    const std::uint32_t nameOffset = static_cast<std::uint32_t>(base + 12 + 32);
    std::copy_n("head", 4, font.begin() + 12);
    Put32(font, 12 + 8, nameOffset);
    std::copy_n(withNameTable ? "name" : "post", 4, font.begin() + 28);
    Put32(font, 28 + 8, nameOffset);
    Put32(font, 28 + 12, static_cast<std::uint32_t>(6 + records.size() + storage.size()));
    Put16(font, 44 + 2, static_cast<std::uint32_t>(names.size()));
    Put16(font, 44 + 4, static_cast<std::uint32_t>(6 + records.size()));
    font.insert(font.end(), records.begin(), records.end());
    font.insert(font.end(), storage.begin(), storage.end());
    return font;
}

inline std::vector<std::uint8_t> MakeCollection(const std::vector<std::vector<NameEntry>>& fonts)
{
    std::vector<std::uint8_t> file(12 + 4 * fonts.size());
    std::copy_n("ttcf", 4, file.begin());
    Put32(file, 4, 0x00010000);
    Put32(file, 8, static_cast<std::uint32_t>(fonts.size()));
    for (std::size_t i = 0; i < fonts.size(); ++i)
    {
        Put32(file, 12 + 4 * i, static_cast<std::uint32_t>(file.size()));
        const std::vector<std::uint8_t> font = MakeFont(fonts[i], file.size());
        file.insert(file.end(), font.begin(), font.end());
    }
    return file;
}

// Family and subfamily in Windows English.
inline std::vector<NameEntry> Named(const std::string& family, const std::string& style)
{
    return {{3, 0x0409, 1, family}, {3, 0x0409, 2, style}};
}

} // namespace KR::Test
