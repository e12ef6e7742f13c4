#pragma once
// A fresh folder under the test's temporary folder, removed with everything in it.

#include "kr/core/StringT.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

namespace KRTest
{

class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern = ::testing::TempDir() + "kr-system-XXXXXX";
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

} // namespace KRTest
