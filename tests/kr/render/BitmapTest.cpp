#include "kr/render/Bitmap.h"

#include "kr/render/BitmapHoldScope.h"
#include "kr/render/BitmapSource.h"
#include "kr/render/PictureDecodeAhead.h"
#include "platform/png/PngCodec.h"
#include "support/Files.h"
#include "support/PngChecksums.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace
{

using KR::ColorF;
using KR::ConstRCPtr;
using KR::LBitmap;
using KR::String;

using KR::TestSupport::TempFolder;

// The file's path, as GetBitmap takes it.
String WritePng(const TempFolder& folder, const std::string& name, std::int32_t width, std::int32_t height,
                const std::vector<std::uint32_t>& pixels)
{
    EXPECT_TRUE(KR::Platform::WritePngFile((folder / name).string(), width, height, pixels.data())) << name;
    return folder.Text(name);
}

// The bitmap's own rectangle as straight 0xAARRGGBB values, row by row.
std::vector<std::uint32_t> ReadPixels(const LBitmap& bitmap)
{
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = 0; y < bitmap.GetHeight(); ++y)
    {
        for (std::int32_t x = 0; x < bitmap.GetWidth(); ++x)
        {
            pixels.push_back(bitmap.GetColorAtPoint(x, y).GetARGB());
        }
    }
    return pixels;
}

// Let go while a hold scope lives, a picture stays in the table and is not decoded again;
// when the scope goes, it leaves. A scope made inside another holds nothing of its own.
TEST(Bitmap, AHoldScopeKeepsWhatWasDecodedWhileItLives)
{
    const std::size_t before = LBitmap::GetTableSize();
    const TempFolder folder;
    const String sheet = WritePng(folder, "sheet.png", 2, 1, {0xFF102030u, 0x80FFFFFFu});
    const String other = WritePng(folder, "other.png", 1, 1, {0xFF405060u});
    {
        const KR::LBitmapHoldScope outer;
        ASSERT_TRUE(LBitmap::GetBitmap(sheet));
        // Let go by its only user, still in the table: the next request is not decoded again.
        EXPECT_EQ(LBitmap::GetTableSize(), before + 1);
        {
            const KR::LBitmapHoldScope inner;
            EXPECT_TRUE(LBitmap::GetBitmap(other));
        }
        EXPECT_EQ(LBitmap::GetTableSize(), before + 2) << "the inner scope let go of what the outer holds";
        const ConstRCPtr<LBitmap> again = LBitmap::GetBitmap(sheet);
        EXPECT_EQ(ReadPixels(*again), (std::vector<std::uint32_t>{0xFF102030u, 0x80FFFFFFu}));
    }
    EXPECT_EQ(LBitmap::GetTableSize(), before);
}

// What GetBitmap gives for a name: null, or the pixels.
std::vector<std::uint32_t> Loaded(const String& name)
{
    const ConstRCPtr<LBitmap> bitmap = LBitmap::GetBitmap(name);
    return bitmap ? ReadPixels(*bitmap) : std::vector<std::uint32_t>{};
}

// Named ahead from another thread, as the skin's reader names them; asked for afterwards
// under a name of the same key or not at all. A file is never decoded ahead.
TEST(Bitmap, APictureDecodedAheadIsWhatGetBitmapDecodesAndWhatNobodyTookGoesWithTheScope)
{
    const TempFolder folder;
    const String file = WritePng(folder, "file.png", 1, 1, {0xFF405060u});
    struct Case
    {
        const char16_t* ahead;
        const char16_t* asked;
        bool waits; // decoded ahead, waiting until asked for
    };
    const Case cases[] = {
        {u"::Button.png", u"::Button.png", true},
        {u"::BUTTON.PNG", u"::button.png", true},
        {u"::a b.c.png", u"::a b.c.png", true},
        {u"::Missing.png", u"::Missing.png", true},
        {u"::Button.png", nullptr, true},
        {nullptr, u"::Button.png", false},
        {u"", u"", false},
    };
    for (const Case& c : cases)
    {
        const String ahead = c.ahead ? String(c.ahead) : String();
        const String asked = c.asked ? String(c.asked) : String();
        std::vector<std::uint32_t> plain;
        {
            const KR::LBitmapHoldScope scope;
            plain = Loaded(asked);
        }
        const std::size_t tableBefore = LBitmap::GetTableSize();
        {
            const KR::LBitmapHoldScope scope;
            if (c.ahead)
            {
                std::thread reader(
                    [&ahead, &file]
                    {
                        LBitmap::DecodeAhead(ahead);
                        LBitmap::DecodeAhead(ahead);
                        LBitmap::DecodeAhead(file);
                    });
                reader.join();
            }
            EXPECT_EQ(KR::PictureDecodeAhead::GetWaitingCount(), c.waits ? 1u : 0u)
                << ahead.ToUtf8().GetPtr();
            if (c.asked)
            {
                EXPECT_EQ(Loaded(asked), plain) << asked.ToUtf8().GetPtr();
                EXPECT_EQ(KR::PictureDecodeAhead::GetWaitingCount(), 0u) << "taken by the ask";
            }
        }
        EXPECT_EQ(KR::PictureDecodeAhead::GetWaitingCount(), 0u) << "left with the scope";
        EXPECT_EQ(LBitmap::GetTableSize(), tableBefore);
    }
}

TEST(Bitmap, SharesLoadedBitmapsByKeyWhileHeld)
{
    const std::size_t before = LBitmap::GetTableSize();
    const TempFolder folder;
    const std::vector<std::uint32_t> pixel{0xFF102030u};
    const String button = WritePng(folder, "Button.png", 1, 1, pixel);
    const String lower = WritePng(folder, "a.png", 1, 1, pixel),
                 upper = WritePng(folder, "A.png", 1, 1, pixel);
    {
        const auto resource = LBitmap::GetBitmap(u"::Button.png");
        ASSERT_TRUE(resource);
        EXPECT_EQ(resource, LBitmap::GetBitmap(u"::BUTTON.PNG"));
        KR::LoadingBitmapSource source;
        const auto part = source.LoadBitmap({String(u"::Button.png"), 1, 0, 2, 1});
        EXPECT_EQ(part->GetRect(), (KR::RectI{1, 0, 2, 1}));
        EXPECT_EQ(part->GetParent(), resource);
        EXPECT_EQ(part->GetColorAtPoint(1, 0).GetARGB(), 0xFF102030u);
        const auto file = LBitmap::GetBitmap(button);
        ASSERT_TRUE(file);
        EXPECT_NE(file, resource);
        EXPECT_EQ(file, LBitmap::GetBitmap(folder.Text("./Button.png")));
        EXPECT_NE(LBitmap::GetBitmap(lower), LBitmap::GetBitmap(upper));
        EXPECT_TRUE(LBitmap::GetBitmap(u"::a b.c.png"));
        EXPECT_EQ(LBitmap::GetTableSize(), before + 2);

        for (const char* missing : {"::Missing.png", "/no/such/file.png", ""})
        {
            EXPECT_FALSE(LBitmap::GetBitmap(String(missing))) << missing;
        }
        EXPECT_EQ(LBitmap::GetTableSize(), before + 2);
    }
    EXPECT_EQ(LBitmap::GetTableSize(), before);
}

TEST(Bitmap, RefusesBrokenPngsAndKeepsTheTable)
{
    using Bytes = std::vector<std::uint8_t>;
    const Bytes whole = KR::Platform::EncodePng(2, 2, std::vector<std::uint32_t>{1, 2, 3, 4}.data());
    // Width and height sit in the header at bytes 16-23.
    Bytes wide = whole, claim = whole, corrupt = whole;
    wide[18] = 0x40, wide[19] = 0x01;                                 // 16385 pixels wide
    claim[18] = 0x40, claim[19] = 0, claim[22] = 0x40, claim[23] = 0; // 16384 x 16384 from 70 bytes
    corrupt[whole.size() / 2] ^= 0xFF;
    KRTest::FixPngChecksums(wide.data(), wide.size());
    KRTest::FixPngChecksums(claim.data(), claim.size());
    const Bytes truncated(whole.begin(), whole.end() - 20);
    const Bytes cases[] = {truncated, corrupt, wide, claim, Bytes()};
    const char* names[] = {"truncated", "corrupt", "too wide", "giant claim", "empty"};
    for (std::size_t i = 0; i < std::size(cases); ++i)
    {
        EXPECT_FALSE(LBitmap::CreateFromPng(cases[i].data(), cases[i].size())) << names[i];
    }
    const std::size_t before = LBitmap::GetTableSize();
    const TempFolder folder;
    KR::TestSupport::WriteBytes(folder / "truncated.png", truncated);
    EXPECT_FALSE(LBitmap::GetBitmap(folder.Text("truncated.png")));
    EXPECT_EQ(LBitmap::GetTableSize(), before);
}

// The peak of the process's resident memory since the last ResetPeakMemory, in bytes.
std::int64_t PeakMemory()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
    {
        if (line.rfind("VmHWM:", 0) == 0)
        {
            return std::stoll(line.substr(6)) * 1024;
        }
    }
    return -1;
}

bool ResetPeakMemory()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return static_cast<bool>(clear);
}

TEST(Bitmap, HostileImageFilesAreRefusedAtOnceAndWithoutTheMemoryTheyClaim)
{
    const TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "fifo.png").c_str(), 0600), 0);
    // Random pixels do not compress: a real PNG of about 40 KB, whose header is then
    // made to claim a larger image.
    std::vector<std::uint32_t> noise(100 * 100);
    std::mt19937 random(7);
    std::generate(noise.begin(), noise.end(), random);
    const std::vector<std::uint8_t> png = KR::Platform::EncodePng(100, 100, noise.data());
    ASSERT_GT(png.size(), 40000u);
    const auto writeClaim = [&](const std::string& name, std::uint8_t sideHigh)
    {
        std::vector<std::uint8_t> claim = png;
        claim[18] = claim[22] = sideHigh, claim[19] = claim[23] = 0; // width and height, big-endian
        KRTest::FixPngChecksums(claim.data(), claim.size());
        KR::TestSupport::WriteBytes(folder / name, claim);
        return folder.Text(name);
    };
    struct Row
    {
        const char* guards;
        String path;
    };
    const Row rows[] = {
        {"a FIFO without a writer is refused, not waited on", folder.Text("fifo.png")},
        {"a device is refused, not read to its end", String(u"/dev/zero")},
        {"16384 x 16384 (1 GiB) from 40 KB: past the largest image drawn", writeClaim("giant.png", 0x40)},
        {"4096 x 4096 (64 MiB) from 40 KB: more than its data can inflate to", writeClaim("large.png", 0x10)},
    };
    const std::size_t before = LBitmap::GetTableSize();
    ASSERT_TRUE(ResetPeakMemory());
    const std::int64_t start = PeakMemory();
    for (const Row& row : rows)
    {
        EXPECT_FALSE(LBitmap::GetBitmap(row.path)) << row.guards;
    }
    EXPECT_LT(PeakMemory() - start, std::int64_t{16} << 20);
    EXPECT_EQ(LBitmap::GetTableSize(), before);
}

TEST(Bitmap, ReadsStraightPixelsAndCutsSheets)
{
    const std::vector<std::uint32_t> pixels{0xFF112233u, 0x00000000u, 0x80FF0000u,
                                            0xFFFFFFFFu, 0x7F010203u, 0xFF000000u};
    const auto sheet = LBitmap::GetBitmap(WritePng(TempFolder(), "sheet.png", 3, 2, pixels));
    ASSERT_TRUE(sheet);
    const auto data = sheet->LockPixels();
    ASSERT_EQ(data->GetStride(), 12);
    EXPECT_EQ(std::memcmp(data->GetPixelAddress(0, 0), pixels.data(), 24), 0);
    EXPECT_EQ(data->GetPixelAddress(3, 0), nullptr);
    EXPECT_EQ(ReadPixels(*sheet), pixels);

    const auto whole = sheet->CreateSubBitmap(0, 0, 0, 0);
    EXPECT_EQ(whole->GetRect(), (KR::RectI{0, 0, 3, 2}));
    const auto sub = sheet->CreateSubBitmap(1, 0, 2, 2)->CreateSubBitmap(1, 1, 1.4, 1.5);
    EXPECT_EQ(sub->GetRect(), (KR::RectI{2, 1, 1, 2}));
    EXPECT_EQ(sub->GetParent(), sheet);
    EXPECT_EQ(LBitmap::GetHandle(sub), LBitmap::GetHandle(sheet));
    EXPECT_NE(LBitmap::GetHandle(sub), LBitmap::GetHandle(LBitmap::CreateFilledBitmap(1, 1, ColorF())));

    const auto past = sheet->CreateSubBitmap(2, 0, 6, 2);
    EXPECT_EQ(ReadPixels(*past),
              (std::vector<std::uint32_t>{0x80FF0000u, 0, 0, 0, 0, 0, 0xFF000000u, 0, 0, 0, 0, 0}));
    EXPECT_EQ(ReadPixels(*past->Clone()), ReadPixels(*past));
    EXPECT_EQ(past->GetColorAtPoint(-1, 0).GetARGB(), 0u);
    EXPECT_FALSE(sheet->CreateSubBitmap(0, 0, 20000, 1)->Clone());
    EXPECT_FALSE(sheet->CreateSubBitmap(INT32_MAX, 0, 2, 2)->Clone()->GetColorAtPoint(1, 1).alpha);
}

struct TintCase
{
    const char* name;
    ColorF color;
    float modulation;
    std::uint32_t expected; // from 0x80402010
};

TEST(Bitmap, TintsByTheColorizerFormula)
{
    const TintCase cases[] = {
        {"a = 0 changes nothing", ColorF(1, 1, 1, 0), 1.0f, 0x80402010u},
        {"a = 1 takes the colour", ColorF(0.2f, 0.5f, 1.0f, 1), 1.0f, 0x803380FFu},
        {"half mixes", ColorF(1, 0, 0, 1), 0.5f, 0x80A01008u},
        {"modulation 2 clamps", ColorF(1, 0.25f, 0, 1), 2.0f, 0x80FF6000u},
    };
    for (const TintCase& c : cases)
    {
        const KR::BitmapColorizer colorizer{0, c.color, ColorF()};
        const auto source = LBitmap::CreateFilledBitmap(1, 1, ColorF::FromARGB(0x80402010u));
        const auto tinted = LBitmap::ApplyColorizer(&colorizer, c.modulation, 9, 9, source, nullptr);
        EXPECT_EQ(tinted->GetColorAtPoint(0, 0).GetARGB(), c.expected) << c.name;
        EXPECT_EQ(source->GetColorAtPoint(0, 0).GetARGB(), 0x80402010u) << c.name;
    }
    const KR::BitmapColorizer flatGradient{1, ColorF(0, 0, 1, 1), ColorF(0, 0, 1, 1)};
    EXPECT_EQ(
        LBitmap::ApplyColorizer(&flatGradient, 0.5f, 2, 3, nullptr, nullptr)->GetColorAtPoint(1, 2).GetARGB(),
        0x800000FFu);
}

TEST(Bitmap, RefusalsThrowTheirTexts)
{
    const KR::BitmapColorizer gradient{1, ColorF(0, 0, 0, 1), ColorF(1, 1, 1, 1)};
    const KR::BitmapColorizer solid{0, ColorF(0, 0, 0, 1), ColorF()};
    const auto bitmap = LBitmap::CreateFilledBitmap(1, 1, ColorF(1, 0, 0, 1));
    EXPECT_EQ(bitmap->GetColorAtPoint(0, 0).GetARGB(), 0xFFFF0000u);
    using testing::StrEq;
    using testing::ThrowsMessage;
    const std::string site = " : Utilities\\Graphics\\Bitmap : Line ";
    EXPECT_THAT([&] { LBitmap::ApplyColorizer(&gradient, 1, 2, 2, nullptr, nullptr); },
                ThrowsMessage<std::domain_error>(
                    StrEq("Domain Error : KR::LBitmap::CreateGradientFilledBitmap" + site + "354")));
    EXPECT_THAT([&] { LBitmap::ApplyColorizer(bitmap, &gradient, 1); },
                ThrowsMessage<std::domain_error>(
                    StrEq("Domain Error : KR::LBitmap::CreateGradientFilledBitmap" + site + "354")));
    EXPECT_THAT(
        [&] { LBitmap::ApplyColorizer(&solid, 1, 2, 2, bitmap, bitmap); },
        ThrowsMessage<std::domain_error>(StrEq("Domain Error : KR::LBitmap::ApplyColorizer" + site + "432")));
    EXPECT_THAT([&] { LBitmap::ApplyColorizer(nullptr, &solid, 1); },
                ThrowsMessage<std::runtime_error>(
                    StrEq("Runtime Error : KR::LBitmap::ApplyColorizer" + site + "366")));
    for (const std::int32_t height : {5, 100000})
    {
        EXPECT_THAT([&] { LBitmap::CreateFilledBitmap(height == 5 ? 0 : 5, height, ColorF()); },
                    ThrowsMessage<std::runtime_error>(
                        StrEq("Runtime Error : KR::LBitmap::CreateFilledBitmap" + site + "319")));
    }
    EXPECT_THAT([&] { LBitmap::CreateColorizedBitmap(&solid, 1, 0, 5); },
                ThrowsMessage<std::runtime_error>(
                    StrEq("Runtime Error : KR::LBitmap::CreateColorizedBitmap" + site + "290")));
    EXPECT_THAT(
        [&] { KR::LBitmapData data(static_cast<KR::IPixelBuffer<std::uint32_t>&>(*bitmap->LockPixels())); },
        ThrowsMessage<std::domain_error>(
            StrEq("Domain Error : KR::LBitmapData::LBitmapData" + site + "477")));
}

} // namespace
