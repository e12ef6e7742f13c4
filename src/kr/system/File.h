#pragma once
// KR::File: a file of raw bytes, opened by folder and name, read and written at
// explicit positions. Every failure throws the framework's runtime error.
//
//     KR::File preset(folder, u"Init.preset", KR::File::kRead);
//     const std::uint32_t size = preset.GetLength();
//
// Copies share one descriptor (and its position); the last of them to close it closes
// the descriptor, and with kDeleteOnClose removes the file.

#include "kr/core/Holder.h"
#include "kr/core/RCPtr.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"

#include <cstdint>

namespace KR
{

class File
{
public:
    // Open flags; other bits are ignored.
    // Reading is always allowed; callers pass kRead to say they read.
    static constexpr std::uint32_t kRead = 0x10000;
    // Without it the file is read only.
    static constexpr std::uint32_t kReadWrite = 0x20000;
    // Only with kCreate: the file must not exist yet.
    static constexpr std::uint32_t kExclusive = 0x40000;
    // Make the file when it does not exist.
    static constexpr std::uint32_t kCreate = 0x80000;
    // Remove the file when its last holder closes it.
    static constexpr std::uint32_t kDeleteOnClose = 0x100000;

    // Read and Write at this position continue from the current one.
    static constexpr std::uint32_t kCurrentPosition = 0xFFFFFFFF;

    // Opens at once; see Open. Throws when the file cannot be opened.
    File(const String& directory, const String& name, std::uint32_t flags);
    File(const File& other);
    File& operator=(const File& other);
    virtual ~File();

    // The path is directory + "/" + name; with an empty name the directory is the whole
    // path, with an empty directory the name is. 1 when already open (nothing changes),
    // 0 when opened; throws for an empty path and when the file cannot be opened, which
    // includes anything but a regular file (a folder, FIFO, device or /proc file is
    // refused at once, never waited on).
    virtual Result Open(const String& directory, const String& name, std::uint32_t flags);

    // Always 0. While a copy still shares the descriptor, nothing changes.
    virtual Result Close();

    // Reads up to count bytes at position (from the start of the file); the bytes read,
    // 0 at the end.
    virtual std::int32_t Read(void* buffer, std::uint32_t count, std::uint32_t position);

    // Writes count bytes at position; the bytes written. Throws for a file opened
    // without kReadWrite before anything is touched.
    virtual std::int32_t Write(const void* buffer, std::uint32_t count, std::uint32_t position);

    // Origin 0: from the start, 1: from the current position, 2: from the end. The new
    // position, or -1.
    virtual std::int32_t Seek(std::int32_t offset, std::int32_t origin);

    // The size in bytes (0xFFFFFFFF for a file of 4 GiB or more).
    std::uint32_t GetLength() const;

    bool IsOpen() const { return static_cast<bool>(mDescriptor); }
    const String& GetName() const { return mName; }
    const String& GetPath() const { return mPath; }
    std::uint32_t GetFlags() const { return mFlags; }

private:
    int Descriptor() const { return mDescriptor ? mDescriptor->Get() : -1; }
    void MoveTo(std::uint32_t position, const char* errorText) const;

    RCPtr<LHolder<int>> mDescriptor;
    String mName;
    String mPath;
    std::uint32_t mFlags;
};

} // namespace KR
