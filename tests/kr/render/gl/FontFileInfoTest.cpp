#include "kr/render/gl/FontFileInfo.h"
#include "FontFileBuilder.h"
#include "libs/fontnames/FontNameReader.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

namespace KR::Test
{
namespace
{

using TestSupport::TempFolder;

class FontFileInfoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LFontFileInfo::SetSystemFamilySource([this] { return systemFamily; });
        LFontFileInfo::SetMatchSource([this](const String&, std::int32_t) { return matchFamily; });
    }
    void TearDown() override
    {
        LFontFileInfo::Clear();
        LFontFileInfo::SetSystemFamilySource({});
        LFontFileInfo::SetMatchSource({});
    }

    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        const std::string path = (folder / name).string();
        TestSupport::WriteBytes(path, bytes);
        return path;
    }
    static String Path(const std::string& path) { return String(path.c_str()); }
    static std::string Family(std::size_t record)
    {
        return std::string(LFontFileInfo::GetRecords()[record]->GetFamilyName().ToUtf8().GetView());
    }
    static std::int32_t Id(const char16_t* face, std::int32_t style)
    {
        return LFontFileInfo::GetFileID(LFont::GetFont(face, 10.0f, style));
    }

    TempFolder folder;
    String systemFamily = u"Nothing";
    String matchFamily = u"Nothing";
};

TEST_F(FontFileInfoTest, ResolvesFacesToTheirFilesByStyle)
{
    const std::string regular = Write("a.ttf", MakeFont(Named("Family A", "Regular")));
    const std::string bold = Write("b.ttf", MakeFont(Named("Family B", "Bold")));
    const std::string boldItalic = Write("bi.ttf", MakeFont(Named("Family B", "Bold Italic")));
    const std::string oblique = Write("o.ttf", MakeFont(Named("Family B", "Oblique")));
    const std::string book = Write("book.ttf", MakeFont(Named("Family C", "Book")));
    const std::string cOblique = Write("co.ttf", MakeFont(Named("Family C", "Oblique")));
    const std::string medium = Write("m.ttf", MakeFont(Named("Family C", "Medium")));
    ASSERT_EQ(LFontFileInfo::ScanFontFiles({regular, bold, boldItalic, oblique, book, cOblique, medium}), 0);
    ASSERT_EQ(LFontFileInfo::GetRecords().size(), 3u);

    struct Row
    {
        const char16_t* face;
        std::int32_t style;
        std::int32_t id;
        std::string path;
    };
    const Row rows[] = {
        // A regular-only family serves bold, and the bold slot keeps it from now on.
        {u"Family A", kFontStyleBold, 1, regular},
        {u"Family B", kFontStyleBold, 5, bold},
        {u"Family B", kFontStyleBoldItalic, 7, boldItalic},
        {u"Family B", kFontStyleItalic, 6, oblique},
        {u"Family B", kFontStyleRegular, 4, bold},
        // "Book" is the regular face: the oblique and the "Medium" after it do not replace it.
        {u"Family C", kFontStyleRegular, 8, book},
        {u"Family C", kFontStyleItalic, 10, cOblique},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(std::string(String(row.face).ToUtf8().GetView()) + " style " +
                     std::to_string(row.style));
        EXPECT_EQ(Id(row.face, row.style), row.id);
        EXPECT_EQ(LFontFileInfo::GetFileName(row.id), Path(row.path));
    }
    EXPECT_EQ(LFontFileInfo::GetRecords()[0]->GetPath(kFontStyleBold), Path(regular));
    EXPECT_TRUE(LFontFileInfo::GetFileName(12).IsEmpty());
    EXPECT_TRUE(LFontFileInfo::GetFileName(-1).IsEmpty());
}

TEST_F(FontFileInfoTest, FamilyCaseMattersAndUnknownFacesFallBackToTheSystemFontThenFontconfig)
{
    const std::string a = Write("a.ttf", MakeFont(Named("Family A", "Regular")));
    const std::string b = Write("b.ttf", MakeFont(Named("Family B", "Regular")));
    ASSERT_EQ(LFontFileInfo::ScanFontFiles({a, b}), 0);

    systemFamily = u"Family B";
    EXPECT_EQ(Id(u"family a", kFontStyleRegular), 4);
    systemFamily = u"Nothing";
    matchFamily = u"Family A";
    EXPECT_EQ(Id(u"Arial", kFontStyleRegular), 0);
    matchFamily = u"Nothing";
    try
    {
        Id(u"Unheard Of", kFontStyleRegular);
        ADD_FAILURE() << "no throw";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_STREQ(error.what(), LFontFileInfo::kNoFileText);
    }
}

TEST_F(FontFileInfoTest, RegistersEveryEnglishNameAndEveryFontOfACollection)
{
    const std::string both = Write("both.ttf", MakeFont({{1, 0, 1, "Mac Name"},
                                                         {1, 0, 2, "Regular"},
                                                         {3, 0x0407, 1, "German Name"},
                                                         {3, 0x0409, 1, "Win Name"},
                                                         {3, 0x0409, 2, "Regular"}}));
    const std::string collection =
        Write("pair.ttc", MakeCollection({Named("Pair One", "Regular"), Named("Pair Two", "Bold")}));
    ASSERT_EQ(LFontFileInfo::ScanFontFiles({both, collection}), 0);
    ASSERT_EQ(LFontFileInfo::GetRecords().size(), 4u);
    EXPECT_EQ(Family(0), "Mac Name");
    EXPECT_EQ(Family(1), "Win Name");
    EXPECT_EQ(Family(2), "Pair One");
    EXPECT_EQ(Family(3), "Pair Two");
    EXPECT_EQ(LFontFileInfo::GetRecords()[1]->GetPath(0), Path(both));
    EXPECT_EQ(LFontFileInfo::GetRecords()[2]->GetPath(0), Path(collection));
    EXPECT_EQ(LFontFileInfo::GetRecords()[3]->GetPath(kFontStyleBold), Path(collection));
}

std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> bytes, std::size_t size)
{
    bytes.resize(size);
    return bytes;
}

std::vector<std::uint8_t> Patched(std::vector<std::uint8_t> bytes, std::size_t at, std::uint32_t value,
                                  int width)
{
    width == 2 ? Put16(bytes, at, value) : Put32(bytes, at, value);
    return bytes;
}

TEST_F(FontFileInfoTest, BrokenFilesAreSkippedAndTheScanGoesOn)
{
    const std::vector<std::uint8_t> font = MakeFont(Named("Broken", "Regular"));
    const std::vector<std::uint8_t> pair =
        MakeCollection({Named("Broken", "Regular"), Named("Broken", "Bold")});
    struct Row
    {
        const char* name;
        std::vector<std::uint8_t> bytes;
        bool skipped;
    };
    const Row rows[] = {
        {"empty", {}, true},
        {"cut in the offset table", Cut(font, 8), true},
        {"cut in the table records", Cut(font, 30), true},
        {"cut in the name header", Cut(font, 47), true},
        {"cut in a name record", Cut(font, 60), true},
        {"cut in the strings", Cut(font, font.size() - 3), true},
        {"cut in the collection offsets", Cut(pair, 14), true},
        {"name table offset past the end", Patched(font, 36, 0x7FFFFFF0, 4), true},
        {"string offset past the end", Patched(font, 50 + 10, 0xFFF0, 2), true},
        {"65535 tables", Patched(font, 4, 0xFFFF, 2), true},
        {"65535 name records", Patched(font, 46, 0xFFFF, 2), true},
        {"huge font count", Patched(pair, 8, 0xFFFFFFFF, 4), true},
        {"font offset past the end", Patched(pair, 16, 0xFFFFFF00, 4), true},
        {"no name table", MakeFont(Named("Broken", "Regular"), 0, false), false},
        {"garbage", std::vector<std::uint8_t>(300, 0xA5), true},
    };
    const std::string good = Write("good.ttf", MakeFont(Named("Good", "Regular")));
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        const std::string bad = Write("bad.ttf", row.bytes);
        EXPECT_EQ(LFontFileInfo::ScanFontFiles({bad, good, (folder / "missing.ttf").string()}),
                  row.skipped ? 2 : 1);
        ASSERT_EQ(LFontFileInfo::GetRecords().size(), 1u);
        EXPECT_EQ(Family(0), "Good");
    }
}

// Mutated fonts and collections through the reader: whatever it accepts holds only names
// that came from the file, and it never reads outside it (AddressSanitizer watches).
TEST(FontNameReaderTest, SurvivesMutatedFiles)
{
    const std::vector<std::vector<std::uint8_t>> seeds = {
        MakeFont(Named("Seed", "Bold")),
        MakeCollection({Named("Seed One", "Regular"), Named("Seed Two", "Italic")}),
        MakeFont({{1, 0, 1, "Mac"}, {1, 0, 2, "Regular"}, {3, 0x0409, 1, "Win"}, {3, 0x0409, 2, "Bold"}}),
    };
    std::mt19937 random(20261207);
    int accepted = 0;
    constexpr int kInputs = 30000;
    for (int i = 0; i < kInputs; ++i)
    {
        std::vector<std::uint8_t> bytes = seeds[static_cast<std::size_t>(i) % seeds.size()];
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e)
        {
            const std::size_t at = random() % bytes.size();
            switch (random() % 4)
            {
            case 0:
                bytes[at] = static_cast<std::uint8_t>(random());
                break;
            case 1:
                bytes[at] ^= static_cast<std::uint8_t>(1u << (random() % 8));
                break;
            case 2:
                bytes.resize(at + 1);
                break;
            default:
                bytes[at] = 0xFF;
                break;
            }
        }
        FontNames::MemoryByteSource source(bytes.data(), bytes.size());
        std::vector<FontNames::FontNamePair> names;
        std::string error;
        const bool read = FontNames::ReadFontNames(source, names, error);
        ASSERT_EQ(read, error.empty());
        ASSERT_TRUE(read || names.empty());
        for (const auto& name : names)
        {
            ASSERT_LE(name.family.size() + name.style.size(), bytes.size());
        }
        accepted += read ? 1 : 0;
    }
    // Both kinds of outcome were reached.
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, kInputs);
}

} // namespace
} // namespace KR::Test
