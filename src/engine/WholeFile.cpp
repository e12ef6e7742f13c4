#include "engine/WholeFile.h"

#include "platform/system/FileDescriptor.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <utility>

namespace KR
{
namespace
{

namespace fs = std::filesystem;

fs::path PathOf(const String& path)
{
    const Utf8String utf8 = path.ToUtf8();
    return fs::path(std::string(utf8.GetView()));
}

class FileCloser
{
public:
    explicit FileCloser(std::FILE* file) : mFile(file) {}
    ~FileCloser()
    {
        if (mFile != nullptr)
        {
            std::fclose(mFile);
        }
    }
    FileCloser(const FileCloser&) = delete;
    FileCloser& operator=(const FileCloser&) = delete;

    std::FILE* Get() const { return mFile; }
    // Closes now; false when the close (which flushes what is still buffered) failed.
    bool Close() { return std::fclose(std::exchange(mFile, nullptr)) == 0; }

private:
    std::FILE* mFile;
};

// Makes a new, empty file beside target that no one else has: a hidden name built
// from the target's and a random suffix, opened exclusively. Null when none could be made.
std::FILE* CreateSiblingFile(const fs::path& target, fs::path& created)
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    const std::string stem = "." + target.filename().string() + ".";
    for (int attempt = 0; attempt < 16; ++attempt)
    {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
        created = target.parent_path() / (stem + suffix + ".tmp");
        // "x": fail rather than open a file that is already there.
        if (std::FILE* file = std::fopen(created.c_str(), "wbx"))
        {
            return file;
        }
        if (errno != EEXIST)
        {
            return nullptr;
        }
    }
    return nullptr;
}

} // namespace

Result ReadWholeFile(const String& path, std::uint32_t maxSize, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    const int descriptor = Platform::OpenFile(std::string(path.ToUtf8().GetView()), Platform::FileOpenMode{});
    if (descriptor < 0)
    {
        return kFail;
    }
    // One byte more than allowed tells an oversized file from one of exactly maxSize.
    const std::size_t limit = static_cast<std::size_t>(maxSize) + 1;
    std::vector<std::uint8_t> read(limit);
    std::size_t total = 0;
    bool failed = false;
    while (total < limit)
    {
        const std::int64_t got = Platform::ReadFile(descriptor, read.data() + total, limit - total);
        if (got <= 0)
        {
            failed = got < 0;
            break;
        }
        total += static_cast<std::size_t>(got);
    }
    Platform::CloseFile(descriptor);
    if (failed || total > maxSize)
    {
        return kFail;
    }
    read.resize(total);
    bytes = std::move(read);
    return kOk;
}

Result ReplaceWholeFile(const String& path, std::span<const std::uint8_t> bytes)
{
    const fs::path target = PathOf(path);
    if (target.empty() || !target.has_filename())
    {
        return kFail;
    }
    fs::path temporary;
    FileCloser file(CreateSiblingFile(target, temporary));
    if (file.Get() == nullptr)
    {
        return kFail;
    }
    bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file.Get()) == bytes.size();
    written = std::fflush(file.Get()) == 0 && written;
    written = file.Close() && written;

    std::error_code error;
    if (written)
    {
        // The saved file keeps the permissions the user gave the old one.
        const fs::file_status old = fs::status(target, error);
        if (!error && fs::exists(old))
        {
            fs::permissions(temporary, old.permissions(), error);
        }
        error.clear();
        fs::rename(temporary, target, error);
        if (!error)
        {
            return kOk;
        }
    }
    fs::remove(temporary, error);
    return kFail;
}

} // namespace KR
