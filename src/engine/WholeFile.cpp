#include "engine/WholeFile.h"

#include "platform/system/FileDescriptor.h"
#include "platform/system/ReplaceFile.h"

#include <string>
#include <utility>

namespace KR
{

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
    return Platform::ReplaceFile(std::string(path.ToUtf8().GetView()), bytes) ? kOk : kFail;
}

} // namespace KR
