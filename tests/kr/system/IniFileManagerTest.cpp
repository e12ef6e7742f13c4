#include "kr/system/IniFileManager.h"

#include "kr/core/RCPtr.h"
#include "kr/system/IniFileManagerProxy.h"
#include "kr/system/fakeinifile/FakeIniFileManager.h"
#include "platform/system/FileSystem.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>

namespace
{

using KR::String;
constexpr KR::Result kFail = static_cast<KR::Result>(0x80004005);

String FolderText(const std::string& folder)
{
    return String(folder.c_str());
}

// The build puts the real library beside the test program, the stand-in one folder down.
std::string RealLibraryFolder()
{
    return KR::Platform::ExecutableFolder();
}

std::string FakeLibraryFolder()
{
    return KR::Platform::ExecutableFolder() + "/fakeinifile";
}

bool IsLoaded(const std::string& folder)
{
    const std::string path = folder + "/" + INIFM_LIBRARY_FILE_NAME;
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (library != nullptr)
    {
        ::dlclose(library);
    }
    return library != nullptr;
}

class IniProxyTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_EQ(proxy_.LoadLibrary(String()), 0); }

    std::int32_t Open(const std::string& name)
    {
        std::int32_t handle = 0;
        EXPECT_EQ(proxy_.OpenIniFile(folder_.Text(name), u"1_0_0", u"PresetEditor", handle), 0);
        EXPECT_GT(handle, 0);
        return handle;
    }

    KR::TestSupport::TempFolder folder_;
    CIniFileManagerProxy proxy_;
};

TEST(IniProxyLoadTest, FolderWithOrWithoutTrailingSlashLoadsTheSameLibraryOnce)
{
    CIniFileManagerProxy plain;
    EXPECT_EQ(plain.LoadLibrary(FolderText(RealLibraryFolder())), 0);
    EXPECT_EQ(plain.LoadLibrary(FolderText(FakeLibraryFolder())), 1);
    CIniFileManagerProxy slashed;
    EXPECT_EQ(slashed.LoadLibrary(FolderText(RealLibraryFolder() + "/")), 0);
    EXPECT_EQ(plain.UnloadLibrary(), 0);
    EXPECT_EQ(plain.UnloadLibrary(), 1);
}

TEST(IniProxyLoadTest, WithoutLibraryEveryCallFailsAndLeavesDefaults)
{
    CIniFileManagerProxy proxy;
    EXPECT_EQ(proxy.LoadLibrary(u"/no/such/folder"), kFail);
    EXPECT_FALSE(proxy.IsLoaded());

    std::int32_t handle = 5;
    EXPECT_EQ(proxy.OpenIniFile(u"/tmp/x.ini", u"1_0_0", u"P", handle), kFail);
    EXPECT_EQ(handle, 0);
    std::int32_t value = 0;
    EXPECT_EQ(proxy.GetIniValueInt(1, u"CurrentSkinIndex", 7, value), kFail);
    EXPECT_EQ(value, 7);
    String text = u"old";
    EXPECT_EQ(proxy.GetIniValueStr(1, u"Name", u"default", text), kFail);
    EXPECT_EQ(text, String(u"default"));
    std::int32_t count = 9;
    EXPECT_EQ(proxy.GetKeyCount(1, u"Settings", count), kFail);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(proxy.DoesNodeExist(1, u"Settings"));
    EXPECT_EQ(proxy.SetIniValueInt(1, u"Key", 1), kFail);
    EXPECT_EQ(proxy.RemoveArrayItemAt(1, u"List", 0), kFail);
}

TEST_F(IniProxyTest, LongValueComesBackWholeThroughTheBufferTooSmallPath)
{
    const std::int32_t handle = Open("UserSettings.ini");
    std::string bytes;
    for (int i = 0; i < 1000; ++i)
    {
        bytes += (i % 2 == 0) ? "a" : "\xC3\xA9"; // "é" takes two bytes
    }
    bytes.resize(2000, 'z');
    const String value(bytes.c_str());
    ASSERT_EQ(proxy_.SetIniValueStr(handle, u"Presets/LastFile", value), 0);

    String read;
    EXPECT_EQ(proxy_.GetIniValueStr(handle, u"Presets/LastFile", u"none", read), 0);
    EXPECT_EQ(read, value);
    EXPECT_EQ(read.ToUtf8().GetLength(), 2000u);
    EXPECT_EQ(proxy_.CloseIniFile(handle, 0), 0);
}

TEST_F(IniProxyTest, ValuesKeysAndArraysRoundTrip)
{
    const std::int32_t handle = Open("AppSettings.ini");
    EXPECT_EQ(proxy_.SetIniValueInt(handle, u"CurrentSkinIndex", 2), 0);
    std::int32_t number = 0;
    EXPECT_EQ(proxy_.GetIniValueInt(handle, u"CurrentSkinIndex", 0, number), 0);
    EXPECT_EQ(number, 2);
    EXPECT_NE(proxy_.GetIniValueInt(handle, u"Missing", -5, number), 0);
    EXPECT_EQ(number, -5);
    EXPECT_TRUE(proxy_.DoesNodeExist(handle, u"CurrentSkinIndex"));
    EXPECT_EQ(proxy_.GetKeyCount(handle, u"", number), 0);
    EXPECT_EQ(number, 1);
    String text;
    EXPECT_EQ(proxy_.GetKeyNameAt(handle, u"", 0, text), 0);
    EXPECT_EQ(text, String(u"CurrentSkinIndex"));

    EXPECT_EQ(proxy_.SetArrayItemAt(handle, u"Recent", 0, u"/a.preset"), 0);
    EXPECT_EQ(proxy_.SetArrayItemAt(handle, u"Recent", 1, u"/b.preset"), 0);
    EXPECT_EQ(proxy_.RemoveArrayItemAt(handle, u"Recent", 0), 0);
    EXPECT_EQ(proxy_.GetArrayCount(handle, u"Recent", number), 0);
    EXPECT_EQ(number, 1);
    EXPECT_EQ(proxy_.GetArrayItemAt(handle, u"Recent", 0, text), 0);
    EXPECT_EQ(text, String(u"/b.preset"));
    EXPECT_EQ(proxy_.SetArrayCount(handle, u"Recent", 0), 0);
    EXPECT_EQ(proxy_.WriteIniFile(handle), 0);
    EXPECT_EQ(proxy_.CloseIniFile(handle, 1), 0);
}

TEST(IniManagerTest, ManagerForwardsAndLeavesTheLibraryLoadedWhenItGoes)
{
    KR::TestSupport::TempFolder folder;
    {
        KR::RCPtr<KR::LIniFileManager> manager = new KR::LIniFileManager;
        KR::IIniFileManager& ini = *manager;
        EXPECT_EQ(ini.LoadLibrary(FolderText(RealLibraryFolder())), 0);
        std::int32_t handle = 0;
        EXPECT_EQ(ini.OpenIniFile(folder.Text("Settings.ini"), u"1_0_0", u"PresetEditor", handle), 0);
        EXPECT_EQ(ini.SetIniValueStr(handle, u"Name", u"value"), 0);
        String value;
        EXPECT_EQ(ini.GetIniValueStr(handle, u"Name", String(), value), 0);
        EXPECT_EQ(value, String(u"value"));
        EXPECT_EQ(ini.CloseIniFile(handle, 1), 0);
    }
    EXPECT_TRUE(IsLoaded(RealLibraryFolder()));
}

// The stand-in lets a test script the library's answers.
class IniProxyFakeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // It lacks one entry point, which LoadLibrary reports; the others still work.
        ASSERT_EQ(proxy_.LoadLibrary(FolderText(FakeLibraryFolder())), kFail);
        ASSERT_TRUE(proxy_.IsLoaded());
        library_ =
            ::dlopen((FakeLibraryFolder() + "/" + INIFM_LIBRARY_FILE_NAME).c_str(), RTLD_NOW | RTLD_NOLOAD);
        ASSERT_NE(library_, nullptr);
        script_ = reinterpret_cast<PFN_FakeIni_Script>(::dlsym(library_, "FakeIni_Script"));
        callCount_ = reinterpret_cast<PFN_FakeIni_CallCount>(::dlsym(library_, "FakeIni_CallCount"));
        ASSERT_NE(script_, nullptr);
        ASSERT_NE(callCount_, nullptr);
    }
    void TearDown() override
    {
        if (library_ != nullptr)
        {
            ::dlclose(library_);
        }
    }

    CIniFileManagerProxy proxy_;
    void* library_ = nullptr;
    PFN_FakeIni_Script script_ = nullptr;
    PFN_FakeIni_CallCount callCount_ = nullptr;
};

TEST_F(IniProxyFakeTest, MissingEntryPointFailsWithoutACall)
{
    script_(0, 0, 0, "");
    EXPECT_EQ(proxy_.RemoveArrayItemAt(7, u"Recent", 0), kFail);
    EXPECT_EQ(callCount_(), 0);

    std::int32_t value = 0;
    EXPECT_EQ(proxy_.GetIniValueInt(7, u"Key", 1, value), 0);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(callCount_(), 1);
}

TEST_F(IniProxyFakeTest, ImplausibleNeededSizesAreErrorsNotAllocations)
{
    // Zero, a size the first buffer already had, and sizes no settings text needs
    // (including what a negative size becomes).
    for (const std::uint32_t needed : {0u, 1u, 1024u, (16u << 20) + 1, 0x80000000u, 0xFFFFFFFFu})
    {
        script_(-2, needed, 0, "never read");
        String value = u"old";
        EXPECT_EQ(proxy_.GetIniValueStr(7, u"Key", u"default", value), kFail) << needed;
        EXPECT_EQ(value, String(u"default")) << needed;
        EXPECT_EQ(callCount_(), 1) << needed;

        script_(-2, needed, 0, "never read");
        String name = u"kept";
        EXPECT_EQ(proxy_.GetKeyNameAt(7, u"Section", 0, name), kFail) << needed;
        EXPECT_EQ(name, String(u"kept")) << needed;
    }
}

TEST_F(IniProxyFakeTest, SecondCallIsTrustedOnlyWhenItSucceeds)
{
    script_(-2, 3000, 0, "whole text");
    String item;
    EXPECT_EQ(proxy_.GetArrayItemAt(7, u"List", 0, item), 0);
    EXPECT_EQ(item, String(u"whole text"));
    EXPECT_EQ(callCount_(), 2);

    // A library that is still not satisfied (the value grew in between) is reported.
    script_(-2, 3000, -2, "grown");
    String value;
    EXPECT_EQ(proxy_.GetIniValueStr(7, u"Key", u"default", value), -2);
    EXPECT_EQ(value, String(u"default"));
}

TEST_F(IniProxyFakeTest, OtherResultsPassThroughAndTextThatIsNotUtf8ReadsUpToItsFirstBadByte)
{
    script_(1, 0, 0, "ignored");
    String value;
    EXPECT_EQ(proxy_.GetIniValueStr(7, u"Missing", u"default", value), 1);
    EXPECT_EQ(value, String(u"default"));

    const struct
    {
        const char* stored;
        const char16_t* read;
    } cases[] = {{"bad \xFF bytes", u"bad "}, {"caf\xE9", u"caf"}, {"\xE9t\xE9", u""}};
    for (const auto& c : cases)
    {
        script_(0, 0, 0, c.stored);
        EXPECT_EQ(proxy_.GetIniValueStr(7, u"Key", u"default", value), 0) << c.stored;
        EXPECT_EQ(value, String(c.read)) << c.stored;
        script_(0, 0, 0, c.stored);
        EXPECT_EQ(proxy_.GetKeyNameAt(7, u"Section", 0, value), 0) << c.stored;
        EXPECT_EQ(value, String(c.read)) << c.stored;
    }
}

} // namespace
