#pragma once
// Files for the tests of saving and loading: a fresh folder removed with everything in
// it, whole files read and written, the names a folder holds, and a real write failure.

#include "kr/core/StringT.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace KR::TestSupport
{

class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern = ::testing::TempDir() + "kr-test-XXXXXX";
        if (::mkdtemp(pattern.data()) != nullptr)
        {
            mPath = pattern;
        }
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(mPath, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return mPath; }
    std::filesystem::path operator/(const std::string& name) const { return mPath / name; }
    // The folder, or a path inside it, as a framework string.
    KR::String Text(const std::string& name = std::string()) const
    {
        const std::string path = name.empty() ? mPath.string() : (mPath / name).string();
        return KR::String(path.c_str());
    }

private:
    std::filesystem::path mPath;
};

// The names in a folder, sorted, for tests that no stray file was left behind.
inline std::vector<std::string> NamesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
    {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

inline KR::String WidePath(const std::filesystem::path& path)
{
    KR::String text;
    text.AssignUtf8(path.c_str());
    return text;
}

inline std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Lowers the largest file this process may write, so that writing past it fails with
// EFBIG. Tests run as root, which no folder permission stops; a file-size limit binds
// root too, so it gives a real failed write.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &mSaved);
        mOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = mSaved;
        lowered.rlim_cur = bytes;
        mActive = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &mSaved);
        std::signal(SIGXFSZ, mOldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool Active() const { return mActive; }

private:
    rlimit mSaved{};
    void (*mOldHandler)(int) = nullptr;
    bool mActive = false;
};

} // namespace KR::TestSupport
