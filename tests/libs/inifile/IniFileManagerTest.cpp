#include "libs/inifile/IniFileManagerApi.h"

#include "libs/RunTimeLibrary.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;

struct IniApi
{
#define KR_DECLARE_ENTRY(name) PFN_##name name = nullptr;
    INIFM_FOR_EACH_ENTRY_POINT(KR_DECLARE_ENTRY)
#undef KR_DECLARE_ENTRY
};

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

class IniFileManagerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        library_ = std::make_unique<KRTest::RunTimeLibrary>(INIFM_LIBRARY_FILE_NAME);
#define KR_RESOLVE_ENTRY(name) api_.name = library_->Resolve<PFN_##name>(#name);
        INIFM_FOR_EACH_ENTRY_POINT(KR_RESOLVE_ENTRY)
#undef KR_RESOLVE_ENTRY
    }
    static void TearDownTestSuite()
    {
        library_.reset();
    }

    void SetUp() override
    {
        ASSERT_TRUE(library_->IsLoaded()) << library_->Error();
        std::string pattern = ::testing::TempDir() + "kr-inifile-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override
    {
        fs::remove_all(folder_);
    }

    fs::path PathOf(const std::string& name) const
    {
        return folder_ / name;
    }

    std::int32_t Open(const std::string& name)
    {
        std::int32_t handle = -1;
        EXPECT_EQ(api_.OpenIniFile(PathOf(name).c_str(), "1_0_0", "PresetEditor", &handle), INIFM_OK);
        EXPECT_GT(handle, 0);
        return handle;
    }

    // Reads a text the way the program's proxy does: a 1024-byte buffer first, and
    // a buffer of the size asked for when that was too small.
    std::string GetString(std::int32_t handle, const char* node, const char* fallback = "",
                          std::int32_t* result = nullptr)
    {
        std::vector<char> buffer(1024);
        std::uint32_t needed = 0;
        std::int32_t r = api_.GetIniValueStr(handle, node, fallback, buffer.data(), 1024, &needed);
        if (r == INIFM_BUFFER_TOO_SMALL)
        {
            buffer.assign(needed, '\0');
            r = api_.GetIniValueStr(handle, node, fallback, buffer.data(), needed, &needed);
        }
        if (result != nullptr)
        {
            *result = r;
        }
        return r >= 0 ? std::string(buffer.data()) : std::string();
    }

    std::string GetItem(std::int32_t handle, const char* node, std::int32_t index)
    {
        char buffer[256] = {};
        std::uint32_t needed = 0;
        EXPECT_EQ(api_.GetArrayItemAt(handle, node, index, buffer, sizeof(buffer), &needed), INIFM_OK);
        return buffer;
    }

    std::vector<std::string> KeyNames(std::int32_t handle, const char* node)
    {
        std::int32_t count = -1;
        EXPECT_GE(api_.GetKeyCount(handle, node, &count), 0);
        std::vector<std::string> names;
        for (std::int32_t i = 0; i < count; ++i)
        {
            char buffer[256] = {};
            std::uint32_t needed = 0;
            EXPECT_EQ(api_.GetKeyNameAt(handle, node, i, buffer, sizeof(buffer), &needed), INIFM_OK);
            names.emplace_back(buffer);
        }
        return names;
    }

    static inline std::unique_ptr<KRTest::RunTimeLibrary> library_;
    static inline IniApi api_;
    fs::path folder_;
};

TEST_F(IniFileManagerTest, ExportsAllFifteenEntryPointsByName)
{
    std::vector<std::string> missing;
#define KR_CHECK_ENTRY(name)                                                                                 \
    if (api_.name == nullptr)                                                                                \
    {                                                                                                        \
        missing.emplace_back(#name);                                                                         \
    }
    INIFM_FOR_EACH_ENTRY_POINT(KR_CHECK_ENTRY)
#undef KR_CHECK_ENTRY
    EXPECT_TRUE(missing.empty()) << missing.front();
}

TEST_F(IniFileManagerTest, OpenCreatesAMissingFileAndFailsWithHandleZeroInAMissingFolder)
{
    const std::int32_t handle = Open("UserSettings.ini");
    EXPECT_TRUE(fs::exists(PathOf("UserSettings.ini")));
    EXPECT_EQ(api_.CloseIniFile(handle, 1), INIFM_OK);

    std::int32_t missing = -1;
    EXPECT_EQ(api_.OpenIniFile(PathOf("absent/UserSettings.ini").c_str(), "1_0_0", "PresetEditor", &missing),
              INIFM_E_FAIL);
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(api_.OpenIniFile(nullptr, nullptr, nullptr, &missing), INIFM_E_INVALIDARG);
}

TEST_F(IniFileManagerTest, IntegerIsStoredAtOnceAndReadBackAfterReopening)
{
    // The program never closes its settings files: a value must be on disk as soon
    // as it is set.
    const std::int32_t handle = Open("UserSettings.ini");
    EXPECT_EQ(api_.SetIniValueInt(handle, "CurrentSkinIndex", -7), INIFM_OK);
    EXPECT_EQ(ReadText(PathOf("UserSettings.ini")), "[" INIFM_DEFAULT_SECTION "]\nCurrentSkinIndex = -7\n");
    EXPECT_EQ(api_.CloseIniFile(handle, 0), INIFM_OK);

    const std::int32_t reopened = Open("UserSettings.ini");
    std::int32_t value = 0;
    EXPECT_EQ(api_.GetIniValueInt(reopened, "CurrentSkinIndex", 0, &value), INIFM_OK);
    EXPECT_EQ(value, -7);
}

TEST_F(IniFileManagerTest, MissingOrUnreadableValuesHandBackTheDefault)
{
    WriteText(PathOf("a.ini"), "[Settings]\nWord = abc\nColour = 0xFF000000\n");
    const std::int32_t handle = Open("a.ini");

    std::int32_t value = 0;
    EXPECT_EQ(api_.GetIniValueInt(handle, "Absent", 42, &value), INIFM_NOT_FOUND);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(api_.GetIniValueInt(handle, "Word", 42, &value), INIFM_E_FAIL);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(api_.GetIniValueInt(handle, "Settings/Colour", 0, &value), INIFM_OK);
    EXPECT_EQ(value, static_cast<std::int32_t>(0xFF000000u));

    std::int32_t result = 0;
    EXPECT_EQ(GetString(handle, "Absent", "fallback", &result), "fallback");
    EXPECT_EQ(result, INIFM_NOT_FOUND);
    EXPECT_EQ(api_.GetIniValueInt(0, "Word", 5, &value), INIFM_E_INVALIDARG);
    EXPECT_EQ(value, 5);
}

TEST_F(IniFileManagerTest, LongTextComesBackWholeThroughTheBufferTooSmallProtocol)
{
    const std::int32_t handle = Open("a.ini");
    std::string text;
    for (int i = 0; i < 2000; ++i)
    {
        text += static_cast<char>('a' + i % 26);
    }
    ASSERT_EQ(api_.SetIniValueStr(handle, "Paths/Long", text.c_str()), INIFM_OK);

    char small[1024] = {'x'};
    std::uint32_t needed = 0;
    EXPECT_EQ(api_.GetIniValueStr(handle, "Paths/Long", "", small, sizeof(small), &needed),
              INIFM_BUFFER_TOO_SMALL);
    EXPECT_EQ(needed, 2001u);
    std::vector<char> exact(needed);
    EXPECT_EQ(api_.GetIniValueStr(handle, "Paths/Long", "", exact.data(), needed, &needed), INIFM_OK);
    EXPECT_EQ(std::string(exact.data()), text);
    // A default longer than the buffer follows the same protocol.
    EXPECT_EQ(api_.GetIniValueStr(handle, "Paths/Absent", text.c_str(), small, sizeof(small), &needed),
              INIFM_BUFFER_TOO_SMALL);
    EXPECT_EQ(needed, 2001u);
}

TEST_F(IniFileManagerTest, WrittenFileIsReadByPythonConfigparser)
{
    const std::int32_t handle = Open("UserSettings.ini");
    ASSERT_EQ(api_.SetIniValueInt(handle, "CurrentSkinIndex", 3), INIFM_OK);
    ASSERT_EQ(api_.SetIniValueStr(handle, "PresetEditor/WP", "2c 00 00 00 % = ; x"), INIFM_OK);
    ASSERT_EQ(api_.SetIniValueStr(handle, "Recent/Files/Name", "caf\xC3\xA9.preset"), INIFM_OK);

    const std::string script = "import configparser,sys\n"
                               "c = configparser.RawConfigParser(strict=True)\n"
                               "c.optionxform = str\n"
                               "c.read(sys.argv[1], encoding='utf-8')\n"
                               "print(c['" INIFM_DEFAULT_SECTION "']['CurrentSkinIndex'])\n"
                               "print(c['PresetEditor']['WP'])\n"
                               "print(c['Recent/Files']['Name'])\n";
    WriteText(PathOf("read.py"), script);
    const std::string command = std::string(KR_TEST_PYTHON3) + " '" + PathOf("read.py").string() + "' '" +
                                PathOf("UserSettings.ini").string() + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char chunk[256];
    while (std::fgets(chunk, sizeof(chunk), pipe) != nullptr)
    {
        output += chunk;
    }
    EXPECT_EQ(::pclose(pipe), 0);
    EXPECT_EQ(output, "3\n2c 00 00 00 % = ; x\ncaf\xC3\xA9.preset\n");
}

TEST_F(IniFileManagerTest, FailedWriteKeepsTheChangeForALaterWriteAndLeavesNoTemporaryFile)
{
    fs::create_directory(PathOf("sub"));
    std::int32_t handle = 0;
    ASSERT_EQ(api_.OpenIniFile(PathOf("sub/a.ini").c_str(), "1_0_0", "PresetEditor", &handle), INIFM_OK);
    fs::remove_all(PathOf("sub"));

    EXPECT_EQ(api_.SetIniValueInt(handle, "Kept", 9), INIFM_E_FAIL);
    // Closing with save cannot store it either, so the handle stays open.
    EXPECT_EQ(api_.CloseIniFile(handle, 1), INIFM_E_FAIL);

    fs::create_directory(PathOf("sub"));
    EXPECT_EQ(api_.WriteIniFile(handle), INIFM_OK);
    EXPECT_NE(ReadText(PathOf("sub/a.ini")).find("Kept = 9"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(PathOf("sub")), fs::directory_iterator()), 1);
    EXPECT_EQ(api_.CloseIniFile(handle, 1), INIFM_OK);
    EXPECT_EQ(api_.CloseIniFile(handle, 1), INIFM_E_INVALIDARG);
}

TEST_F(IniFileManagerTest, AReadOnlySettingsFileIsNotSavedOverAndALongNameIsSaved)
{
    // A file the user made read-only stays as it was, though root could replace it.
    WriteText(PathOf("locked.ini"), "[Settings]\nKept = 1\n");
    fs::permissions(PathOf("locked.ini"), fs::perms::owner_read | fs::perms::group_read);
    std::int32_t handle = Open("locked.ini");
    EXPECT_EQ(api_.SetIniValueInt(handle, "Kept", 2), INIFM_E_FAIL);
    EXPECT_EQ(api_.CloseIniFile(handle, 0), INIFM_OK);
    EXPECT_EQ(ReadText(PathOf("locked.ini")), "[Settings]\nKept = 1\n");

    // 250 bytes: the file system takes 255, and the save's own file must fit beside it.
    const std::string longName = std::string(246, 'n') + ".ini";
    handle = Open(longName);
    EXPECT_EQ(api_.SetIniValueInt(handle, "Volume", 7), INIFM_OK);
    EXPECT_EQ(api_.CloseIniFile(handle, 1), INIFM_OK);
    handle = Open(longName);
    EXPECT_EQ(GetString(handle, "Volume"), "7");
    EXPECT_EQ(api_.CloseIniFile(handle, 0), INIFM_OK);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
}

TEST_F(IniFileManagerTest, RefusesFilesThatCouldNotBeWrittenBackWholeAndLeavesThemUntouched)
{
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"zero byte", std::string("[A]\nk = v\0w\n", 13)},
        {"line without equals", "[A]\nk = v\njust words\n"},
        {"unclosed section", "[A\nk = v\n"},
        {"text after section", "[A] tail\nk = v\n"},
        {"empty key", "[A]\n = v\n"},
        {"line without equals after a lone CR", "[A]\nk = v\rjust words\n"},
        {"key opening with a byte-order mark", "\r\xEF\xBB\xBF=\n"},
        {"too large", "[A]\nk = " + std::string(1024 * 1024, 'x') + "\n"},
    };
    for (const auto& [what, text] : cases)
    {
        WriteText(PathOf("bad.ini"), text);
        std::int32_t handle = -1;
        EXPECT_EQ(api_.OpenIniFile(PathOf("bad.ini").c_str(), "1_0_0", "PresetEditor", &handle), INIFM_E_FAIL)
            << what;
        EXPECT_EQ(handle, 0) << what;
        EXPECT_EQ(ReadText(PathOf("bad.ini")), text) << what;
    }
}

TEST_F(IniFileManagerTest, HandEditedCommentsAndWindowsLineEndsSurviveAWrite)
{
    WriteText(PathOf("a.ini"),
              "\xEF\xBB\xBF; written by hand\r\n[Settings]\r\n; the skin\r\nCurrentSkinIndex=1\r\n");
    const std::int32_t handle = Open("a.ini");
    EXPECT_EQ(api_.SetIniValueInt(handle, "CurrentSkinIndex", 2), INIFM_OK);
    const std::string text = ReadText(PathOf("a.ini"));
    EXPECT_NE(text.find("; written by hand"), std::string::npos);
    EXPECT_NE(text.find("; the skin"), std::string::npos);
    std::int32_t value = 0;
    EXPECT_EQ(api_.GetIniValueInt(handle, "currentskinindex", 0, &value), INIFM_OK);
    EXPECT_EQ(value, 2);
}

TEST_F(IniFileManagerTest, ALoneCarriageReturnEndsALineAsItDoesForTheParser)
{
    WriteText(PathOf("a.ini"), "[Settings]\rVolume=3\r[Other]\rKey=1\n");
    std::int32_t handle = Open("a.ini");
    EXPECT_EQ(api_.SetIniValueInt(handle, "Other/Added", 2), INIFM_OK);
    EXPECT_EQ(api_.CloseIniFile(handle, 1), INIFM_OK);
    handle = Open("a.ini");
    EXPECT_EQ(GetString(handle, "Volume"), "3");
    EXPECT_EQ(KeyNames(handle, "Other"), (std::vector<std::string>{"Key", "Added"}));
}

TEST_F(IniFileManagerTest, NothingButARegularFileOpensAndNothingWaitsForAWriter)
{
    ASSERT_EQ(::mkfifo(PathOf("fifo").c_str(), 0600), 0);
    for (const std::string& path : {PathOf("fifo").string(), folder_.string(), std::string("/dev/zero"),
                                    std::string("/proc/self/status")})
    {
        std::int32_t handle = -1;
        EXPECT_EQ(api_.OpenIniFile(path.c_str(), "1_0_0", "PresetEditor", &handle), INIFM_E_FAIL) << path;
        EXPECT_EQ(handle, 0) << path;
    }
    Open("a.ini");
}

TEST_F(IniFileManagerTest, WritingThroughALinkReplacesTheFileItLeadsTo)
{
    fs::create_directory(PathOf("kept"));
    WriteText(PathOf("kept/real.ini"), "[Settings]\nOld = 1\n");
    fs::create_symlink("kept/real.ini", PathOf("link.ini"));
    const std::int32_t handle = Open("link.ini");
    EXPECT_EQ(api_.SetIniValueInt(handle, "New", 2), INIFM_OK);
    EXPECT_TRUE(fs::is_symlink(PathOf("link.ini")));
    EXPECT_EQ(ReadText(PathOf("kept/real.ini")), "[Settings]\nOld = 1\nNew = 2\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(PathOf("kept")), fs::directory_iterator()), 1);
}

TEST_F(IniFileManagerTest, RefusesNamesAndValuesThatWouldNotReadBackUnchanged)
{
    const std::int32_t handle = Open("a.ini");
    const std::string before = ReadText(PathOf("a.ini"));
    EXPECT_EQ(api_.SetIniValueStr(handle, "Key", "two\nlines"), INIFM_E_INVALIDARG);
    EXPECT_EQ(api_.SetIniValueStr(handle, "Key", " padded"), INIFM_E_INVALIDARG);
    EXPECT_EQ(api_.SetIniValueStr(handle, "Key", "padded\t"), INIFM_E_INVALIDARG);
    EXPECT_EQ(api_.SetIniValueStr(handle, "Key", nullptr), INIFM_E_INVALIDARG);
    EXPECT_EQ(api_.SetIniValueInt(handle, "a=b", 1), INIFM_E_INVALIDARG);
    EXPECT_EQ(api_.SetIniValueInt(handle, "a:b", 1), INIFM_E_INVALIDARG);
    EXPECT_EQ(api_.SetIniValueInt(handle, "[Key", 1), INIFM_E_INVALIDARG);
    EXPECT_EQ(api_.SetIniValueInt(handle, ";Key", 1), INIFM_E_INVALIDARG);
    EXPECT_EQ(api_.SetIniValueInt(handle, "\xEF\xBB\xBFKey", 1), INIFM_E_INVALIDARG);
    EXPECT_EQ(api_.SetIniValueInt(handle, "Sec]tion/Key", 1), INIFM_E_INVALIDARG);
    EXPECT_EQ(api_.SetIniValueInt(handle, "Section/", 1), INIFM_E_INVALIDARG);
    EXPECT_EQ(api_.SetIniValueInt(handle, "/Key", 1), INIFM_E_INVALIDARG);
    EXPECT_EQ(api_.SetArrayItemAt(handle, "List", 0, "a\rb"), INIFM_E_INVALIDARG);
    EXPECT_EQ(ReadText(PathOf("a.ini")), before);
}

TEST_F(IniFileManagerTest, KeysAreCountedAndNamedInFileOrder)
{
    const std::int32_t handle = Open("a.ini");
    ASSERT_EQ(api_.SetIniValueInt(handle, "Window/Width", 1), INIFM_OK);
    ASSERT_EQ(api_.SetIniValueInt(handle, "Window/Height", 2), INIFM_OK);
    ASSERT_EQ(api_.SetIniValueInt(handle, "Window/Left", 3), INIFM_OK);
    ASSERT_EQ(api_.SetIniValueInt(handle, "Window/Width", 4), INIFM_OK);
    EXPECT_EQ(KeyNames(handle, "Window"), (std::vector<std::string>{"Width", "Height", "Left"}));

    char buffer[8];
    std::uint32_t needed = 0;
    EXPECT_EQ(api_.GetKeyNameAt(handle, "Window", 3, buffer, sizeof(buffer), &needed), INIFM_E_INVALIDARG);
    EXPECT_EQ(api_.GetKeyNameAt(handle, "Window", -1, buffer, sizeof(buffer), &needed), INIFM_E_INVALIDARG);
    EXPECT_EQ(api_.GetKeyNameAt(handle, "Window", 1, buffer, 3, &needed), INIFM_BUFFER_TOO_SMALL);
    EXPECT_EQ(needed, 7u);

    std::int32_t count = -1;
    EXPECT_EQ(api_.GetKeyCount(handle, "Absent", &count), INIFM_NOT_FOUND);
    EXPECT_EQ(count, 0);
}

TEST_F(IniFileManagerTest, NodesExistAsSectionsOrValues)
{
    const std::int32_t handle = Open("a.ini");
    ASSERT_EQ(api_.SetIniValueInt(handle, "Window/Width", 1), INIFM_OK);
    ASSERT_EQ(api_.SetIniValueInt(handle, "CurrentSkinIndex", 1), INIFM_OK);
    EXPECT_EQ(api_.DoesNodeExist(handle, "Window"), 1);
    EXPECT_EQ(api_.DoesNodeExist(handle, "Window/Width"), 1);
    EXPECT_EQ(api_.DoesNodeExist(handle, "CurrentSkinIndex"), 1);
    EXPECT_EQ(api_.DoesNodeExist(handle, "Window/Height"), 0);
    EXPECT_EQ(api_.DoesNodeExist(handle, "Door"), 0);
    EXPECT_EQ(api_.DoesNodeExist(handle, nullptr), 0);
    EXPECT_EQ(api_.DoesNodeExist(handle + 100, "Window"), 0);
}

TEST_F(IniFileManagerTest, ArrayGrowsShrinksAndClosesGapsOnRemoval)
{
    const std::int32_t handle = Open("a.ini");
    std::int32_t count = -1;
    EXPECT_EQ(api_.GetArrayCount(handle, "Recent", &count), INIFM_NOT_FOUND);
    EXPECT_EQ(count, 0);

    ASSERT_EQ(api_.SetArrayItemAt(handle, "Recent", 0, "a"), INIFM_OK);
    ASSERT_EQ(api_.SetArrayItemAt(handle, "Recent", 1, "b"), INIFM_OK);
    ASSERT_EQ(api_.SetArrayItemAt(handle, "Recent", 2, "c"), INIFM_OK);
    EXPECT_EQ(api_.SetArrayItemAt(handle, "Recent", 4, "gap"), INIFM_E_INVALIDARG);

    ASSERT_EQ(api_.RemoveArrayItemAt(handle, "Recent", 0), INIFM_OK);
    EXPECT_EQ(api_.GetArrayCount(handle, "Recent", &count), INIFM_OK);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(GetItem(handle, "Recent", 0), "b");
    EXPECT_EQ(GetItem(handle, "Recent", 1), "c");
    EXPECT_EQ(api_.RemoveArrayItemAt(handle, "Recent", 2), INIFM_E_INVALIDARG);

    ASSERT_EQ(api_.SetArrayCount(handle, "Recent", 4), INIFM_OK);
    EXPECT_EQ(GetItem(handle, "Recent", 3), "");
    ASSERT_EQ(api_.SetArrayCount(handle, "Recent", 1), INIFM_OK);
    EXPECT_EQ(api_.GetArrayCount(handle, "Recent", &count), INIFM_OK);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(api_.SetArrayCount(handle, "Recent", -1), INIFM_E_INVALIDARG);

    // An emptied array stays a node, and the state is what the file holds.
    ASSERT_EQ(api_.RemoveArrayItemAt(handle, "Recent", 0), INIFM_OK);
    EXPECT_EQ(api_.CloseIniFile(handle, 0), INIFM_OK);
    const std::int32_t reopened = Open("a.ini");
    EXPECT_EQ(api_.DoesNodeExist(reopened, "Recent"), 1);
    EXPECT_EQ(api_.GetArrayCount(reopened, "Recent", &count), INIFM_OK);
    EXPECT_EQ(count, 0);
}

TEST_F(IniFileManagerTest, TwoHandlesOnOneFileSeeEachOthersChanges)
{
    const std::int32_t first = Open("a.ini");
    const std::int32_t second = Open("a.ini");
    EXPECT_NE(first, second);
    ASSERT_EQ(api_.SetIniValueInt(first, "One", 1), INIFM_OK);
    ASSERT_EQ(api_.SetIniValueInt(second, "Two", 2), INIFM_OK);
    EXPECT_EQ(api_.CloseIniFile(first, 1), INIFM_OK);

    std::int32_t value = 0;
    EXPECT_EQ(api_.GetIniValueInt(second, "One", 0, &value), INIFM_OK);
    EXPECT_EQ(value, 1);
    const std::string text = ReadText(PathOf("a.ini"));
    EXPECT_NE(text.find("One = 1"), std::string::npos);
    EXPECT_NE(text.find("Two = 2"), std::string::npos);
}

} // namespace
