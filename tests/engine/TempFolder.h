#pragma once
// A fresh folder for one test, removed with everything in it afterwards.

#include "kr/core/StringT.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace support
{

class TempFolder
{
public:
    TempFolder()
    {
        std::random_device seed;
        mPath = std::filesystem::temp_directory_path() /
                ("kr-engine-test-" + std::to_string(seed()) + "-" + std::to_string(seed()));
        std::filesystem::create_directories(mPath);
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

    // The names in the folder, for tests that no stray file was left behind.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(mPath))
        {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

private:
    std::filesystem::path mPath;
};

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

} // namespace support
