#pragma once
// The family and subfamily names of every font of a TrueType file or collection, from its
// name tables: the Macintosh English (language 0) and Windows US English (0x0409) records
// of name ids 1 and 2, in record order, a pair each time both are known. Font files come
// from anywhere, so every count and offset is held against the file's size before it is
// used, and a file that breaks any rule gives no names at all.
//
//     FileByteSource file("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
//     std::vector<FontNamePair> names;
//     std::string error;
//     if (ReadFontNames(file, names, error)) ...

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace KR::FontNames
{

// Bytes by offset; reads past the end fail.
class IByteSource
{
public:
    virtual ~IByteSource() = default;
    virtual std::uint64_t GetSize() const = 0;
    // False unless all `size` bytes at `offset` were read.
    virtual bool Read(std::uint64_t offset, std::size_t size, std::uint8_t* out) = 0;
};

class MemoryByteSource final : public IByteSource
{
public:
    MemoryByteSource(const std::uint8_t* data, std::size_t size) : mData(data), mSize(size) {}
    std::uint64_t GetSize() const override { return mSize; }
    bool Read(std::uint64_t offset, std::size_t size, std::uint8_t* out) override;

private:
    const std::uint8_t* mData;
    std::size_t mSize;
};

class FileByteSource final : public IByteSource
{
public:
    explicit FileByteSource(const std::string& path);
    bool IsOpen() const { return mOpen; }
    std::uint64_t GetSize() const override { return mSize; }
    bool Read(std::uint64_t offset, std::size_t size, std::uint8_t* out) override;

private:
    std::ifstream mStream;
    bool mOpen = false;
    std::uint64_t mSize = 0;
};

struct FontNamePair
{
    std::u16string family; // as the file writes it
    std::u16string style;  // lower-cased
};

// More fonts in a collection or tables in a font than any real file has: such a file is
// refused rather than read.
inline constexpr std::uint32_t kMaxFonts = 4096;
inline constexpr std::uint32_t kMaxTables = 1024;
// Name records read in one file, over all its fonts: the fonts of a collection may all
// point at one huge name table.
inline constexpr std::uint32_t kMaxNameRecords = 1u << 18;

// The names of every font in order. False, with the reason and no names, for a file that
// cannot be read or is malformed; a well-formed file without a name table is true and
// gives nothing.
bool ReadFontNames(IByteSource& source, std::vector<FontNamePair>& names, std::string& error);

} // namespace KR::FontNames
