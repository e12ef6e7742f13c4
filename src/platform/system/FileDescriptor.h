#pragma once
// Raw file descriptors: open, position, read, write, size, close. Every call retries
// when a signal interrupts it; -1 reports a failure, as the C library does.

#include <cstddef>
#include <cstdint>
#include <string>

namespace KR::Platform
{

struct FileOpenMode
{
    bool readWrite = false; // else read only
    bool create = false;    // make the file when it does not exist
    bool exclusive = false; // with create: fail when the file exists
};

// Binary, not inherited by child programs; a new file gets read and write permission
// as the user's umask leaves it. The descriptor, or -1.
//
// Only regular files open. A folder, FIFO, socket or device, and the files of the
// kernel's own file systems (/proc, /sys), whose sizes say nothing of what they hold,
// are refused with EINVAL. The open never waits (a FIFO without a writer would hold it
// for good), and a device is not even opened: opening one can act on it.
int OpenFile(const std::string& path, FileOpenMode mode);

int CloseFile(int descriptor);

enum class SeekOrigin
{
    kStart = 0,
    kCurrent = 1,
    kEnd = 2,
};

// The new position, or -1.
std::int64_t SeekFile(int descriptor, std::int64_t offset, SeekOrigin origin);

// Up to count bytes; 0 at the end of the file; -1 on failure.
std::int64_t ReadFile(int descriptor, void* buffer, std::size_t count);

// Writes all count bytes unless the system refuses part of them; the bytes written, or
// -1 when not even the first could be written.
std::int64_t WriteFile(int descriptor, const void* buffer, std::size_t count);

// The size in bytes, or -1.
std::int64_t GetFileSize(int descriptor);

} // namespace KR::Platform
