#include "libs/fontnames/FontNameReader.h"

#include <algorithm>
#include <cstring>

namespace KR::FontNames
{
namespace
{

std::uint32_t U32(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

std::uint16_t U16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

// Lenient UTF-8: a malformed byte stands for itself, as Latin-1.
std::u16string FromUtf8(const std::uint8_t* bytes, std::size_t length)
{
    std::u16string out;
    for (std::size_t i = 0; i < length && bytes[i] != 0;)
    {
        const std::uint8_t lead = bytes[i];
        std::size_t extra = lead >= 0xF0 && lead < 0xF8 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        if (lead >= 0xF8 || (lead >= 0x80 && lead < 0xC0))
        {
            extra = 0;
        }
        std::uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        bool valid = i + extra < length;
        for (std::size_t k = 1; valid && k <= extra; ++k)
        {
            valid = (bytes[i + k] & 0xC0) == 0x80;
            code = (code << 6) | (bytes[i + k] & 0x3F);
        }
        if (!valid)
        {
            out.push_back(lead);
            ++i;
            continue;
        }
        if (code >= 0x10000)
        {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        }
        else
        {
            out.push_back(static_cast<char16_t>(code));
        }
        i += extra + 1;
    }
    return out;
}

std::u16string FromUtf16BigEndian(const std::uint8_t* bytes, std::size_t length)
{
    std::u16string out;
    for (std::size_t i = 0; i + 1 < length; i += 2)
    {
        const char16_t unit = U16(bytes + i);
        if (unit == 0)
        {
            break;
        }
        out.push_back(unit);
    }
    return out;
}

std::u16string Lower(std::u16string text)
{
    for (char16_t& c : text)
    {
        if (c >= u'A' && c <= u'Z')
        {
            c = static_cast<char16_t>(c + 32);
        }
    }
    return text;
}

class Reader
{
public:
    Reader(IByteSource& source, std::string& error) : mSource(source), mSize(source.GetSize()), mError(error)
    {
    }

    // Whether `count` items of `size` bytes fit at `offset`.
    bool Fits(std::uint64_t offset, std::uint64_t count, std::uint64_t size) const
    {
        return offset <= mSize && count <= (mSize - offset) / std::max<std::uint64_t>(size, 1);
    }
    bool Read(std::uint64_t offset, std::size_t size, std::uint8_t* out, const char* what)
    {
        if (!Fits(offset, 1, size) || !mSource.Read(offset, size, out))
        {
            return Fail(std::string(what) + " lies past the end of the file");
        }
        return true;
    }
    bool Fail(std::string reason)
    {
        mError = std::move(reason);
        return false;
    }

    bool ReadFont(std::uint64_t fontOffset, std::vector<FontNamePair>& names);

private:
    bool ReadNameTable(std::uint64_t tableOffset, std::uint64_t tableLength,
                       std::vector<FontNamePair>& names);

    IByteSource& mSource;
    std::uint64_t mSize;
    std::uint32_t mRecordsLeft = kMaxNameRecords;
    std::string& mError;
};

bool Reader::ReadFont(std::uint64_t fontOffset, std::vector<FontNamePair>& names)
{
    std::uint8_t header[12];
    if (!Read(fontOffset, sizeof header, header, "an offset table"))
    {
        return false;
    }
    const std::uint32_t tables = U16(header + 4);
    if (tables > kMaxTables || !Fits(fontOffset + 12, tables, 16))
    {
        return Fail("the table count " + std::to_string(tables) + " does not fit the file");
    }
    for (std::uint32_t i = 0; i < tables; ++i)
    {
        std::uint8_t record[16];
        if (!Read(fontOffset + 12 + 16ull * i, sizeof record, record, "a table record"))
        {
            return false;
        }
        // The tag as text up to its first zero byte; an empty tag ends the records.
        char tag[5] = {};
        std::memcpy(tag, record, 4);
        std::string text(tag);
        if (text.empty())
        {
            return true;
        }
        std::transform(text.begin(), text.end(), text.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
        if (text == "name")
        {
            return ReadNameTable(U32(record + 8), U32(record + 12), names);
        }
    }
    return true;
}

bool Reader::ReadNameTable(std::uint64_t tableOffset, std::uint64_t tableLength,
                           std::vector<FontNamePair>& names)
{
    if (!Fits(tableOffset, 1, tableLength))
    {
        return Fail("the name table lies past the end of the file");
    }
    std::uint8_t header[6];
    if (!Read(tableOffset, sizeof header, header, "the name table header"))
    {
        return false;
    }
    const std::uint32_t count = U16(header + 2);
    const std::uint64_t storage = tableOffset + U16(header + 4);
    if (!Fits(tableOffset + 6, count, 12))
    {
        return Fail("the name record count " + std::to_string(count) + " does not fit the file");
    }
    if (count > mRecordsLeft)
    {
        return Fail("more name records than any font file holds");
    }
    mRecordsLeft -= count;
    std::u16string family;
    std::u16string style;
    bool haveFamily = false;
    bool haveStyle = false;
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        std::uint8_t record[12];
        if (!Read(tableOffset + 6 + 12ull * i, sizeof record, record, "a name record"))
        {
            return false;
        }
        const std::uint16_t platform = U16(record);
        const std::uint16_t language = U16(record + 4);
        const std::uint16_t nameId = U16(record + 6);
        const std::uint16_t length = U16(record + 8);
        const std::uint64_t at = storage + U16(record + 10);
        const bool english = (platform == 1 && language == 0) || (platform == 3 && language == 0x0409);
        if ((nameId != 1 && nameId != 2) || !english)
        {
            continue;
        }
        bytes.resize(length);
        if (length != 0 && !Read(at, length, bytes.data(), "a name string"))
        {
            return false;
        }
        const std::u16string text = platform == 1 ? FromUtf8(bytes.data(), bytes.size())
                                                  : FromUtf16BigEndian(bytes.data(), bytes.size());
        if (text.empty())
        {
            continue;
        }
        if (nameId == 1 && !haveFamily)
        {
            family = text;
            haveFamily = true;
        }
        else if (nameId == 2 && !haveStyle)
        {
            style = Lower(text);
            haveStyle = true;
        }
        if (haveFamily && haveStyle)
        {
            names.push_back(FontNamePair{family, style});
            haveFamily = false;
            haveStyle = false;
        }
    }
    return true;
}

} // namespace

bool MemoryByteSource::Read(std::uint64_t offset, std::size_t size, std::uint8_t* out)
{
    if (offset > mSize || size > mSize - offset)
    {
        return false;
    }
    std::memcpy(out, mData + offset, size);
    return true;
}

FileByteSource::FileByteSource(const std::string& path) : mStream(path, std::ios::binary)
{
    mOpen = mStream.is_open();
    if (mOpen)
    {
        mStream.seekg(0, std::ios::end);
        const std::streamoff end = mStream.tellg();
        mOpen = end >= 0;
        mSize = mOpen ? static_cast<std::uint64_t>(end) : 0;
    }
}

bool FileByteSource::Read(std::uint64_t offset, std::size_t size, std::uint8_t* out)
{
    if (!mOpen || offset > mSize || size > mSize - offset)
    {
        return false;
    }
    mStream.clear();
    mStream.seekg(static_cast<std::streamoff>(offset));
    mStream.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(size));
    return mStream.gcount() == static_cast<std::streamsize>(size);
}

bool ReadFontNames(IByteSource& source, std::vector<FontNamePair>& names, std::string& error)
{
    names.clear();
    error.clear();
    Reader reader(source, error);
    std::uint8_t header[12];
    bool read = reader.Read(0, sizeof header, header, "the file header");
    std::vector<FontNamePair> found;
    if (read && std::memcmp(header, "ttcf", 4) == 0)
    {
        const std::uint32_t fonts = U32(header + 8);
        if (fonts > kMaxFonts || !reader.Fits(12, fonts, 4))
        {
            read = reader.Fail("the collection's font count " + std::to_string(fonts) +
                               " does not fit the file");
        }
        for (std::uint32_t i = 0; read && i < fonts; ++i)
        {
            std::uint8_t offset[4];
            read = reader.Read(12 + 4ull * i, sizeof offset, offset, "a collection offset") &&
                   reader.ReadFont(U32(offset), found);
        }
    }
    else if (read)
    {
        read = reader.ReadFont(0, found);
    }
    if (read)
    {
        names = std::move(found);
    }
    return read;
}

} // namespace KR::FontNames
