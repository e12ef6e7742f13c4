#include "kr/system/File.h"

#include "kr/core/Exception.h"
#include "platform/system/FileDescriptor.h"
#include "platform/system/FileSystem.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace KR
{

namespace
{

constexpr const char* kInvalidPathText =
    "Runtime Error : invalid pathname : KR::File::Open : Utilities\\Storage\\KRFile : Line 294";
constexpr const char* kOpenText =
    "Runtime Error : open : KR::File::Open : Utilities\\Storage\\KRFile : Line 422";
constexpr const char* kReadSeekText =
    "Runtime Error : lseek : KR::File::Read : Utilities\\Storage\\KRFile : Line 476";
constexpr const char* kReadText =
    "Runtime Error : read : KR::File::Read : Utilities\\Storage\\KRFile : Line 503";
constexpr const char* kReadOnlyText =
    "Runtime Error : file is read only : KR::File::Write : Utilities\\Storage\\KRFile : Line 598";
constexpr const char* kWriteSeekText =
    "Runtime Error : lseek : KR::File::Write : Utilities\\Storage\\KRFile : Line 607";
constexpr const char* kWriteText =
    "Runtime Error : write : KR::File::Write : Utilities\\Storage\\KRFile : Line 643";
constexpr const char* kLengthText =
    "Runtime Error : fstat : KR::File::GetLength : Utilities\\Storage\\KRFile : Line 113";

// Counts beyond what the signed result can report are cut there.
std::size_t CountFor(std::uint32_t count)
{
    return std::min<std::size_t>(count, std::numeric_limits<std::int32_t>::max());
}

} // namespace

File::File(const String& directory, const String& name, std::uint32_t flags) : mFlags(flags)
{
    Open(directory, name, flags);
}

File::File(const File& other)
    : mDescriptor(other.mDescriptor), mName(other.mName), mPath(other.mPath), mFlags(other.mFlags)
{
}

File& File::operator=(const File& other)
{
    if (this != &other)
    {
        Close();
        mDescriptor = other.mDescriptor;
        mName = other.mName;
        mPath = other.mPath;
        mFlags = other.mFlags;
    }
    return *this;
}

File::~File()
{
    Close();
}

Result File::Open(const String& directory, const String& name, std::uint32_t flags)
{
    if (mDescriptor)
    {
        return kNothingDone;
    }
    if (!name.IsEmpty())
    {
        mName = name;
        if (directory.IsEmpty())
        {
            mPath = name;
        }
        else
        {
            const std::uint32_t length = directory.GetLength();
            mPath = directory.GetPtr()[length - 1] == u'/' ? directory + name : directory + u"/" + name;
        }
    }
    else if (!directory.IsEmpty())
    {
        mPath = directory;
    }
    else
    {
        Throw<std::runtime_error>(kInvalidPathText);
    }
    mFlags = flags;
    Platform::FileOpenMode mode;
    mode.readWrite = (flags & kReadWrite) != 0;
    mode.create = (flags & kCreate) != 0;
    mode.exclusive = mode.create && (flags & kExclusive) != 0;
    const int descriptor = Platform::OpenFile(mPath.ToUtf8().GetPtr(), mode);
    if (descriptor < 0)
    {
        Throw<std::runtime_error>(kOpenText);
    }
    mDescriptor = new LHolder<int>(descriptor);
    return kOk;
}

Result File::Close()
{
    if (!mDescriptor || mDescriptor->GetRefCount() != 1)
    {
        return kOk;
    }
    Platform::CloseFile(mDescriptor->Get());
    if ((mFlags & kDeleteOnClose) != 0)
    {
        Platform::RemoveFile(mPath.ToUtf8().GetPtr());
    }
    mDescriptor = nullptr;
    return kOk;
}

void File::MoveTo(std::uint32_t position, const char* errorText) const
{
    if (position == kCurrentPosition)
    {
        return;
    }
    if (Platform::SeekFile(Descriptor(), position, Platform::SeekOrigin::kStart) != position)
    {
        Throw<std::runtime_error>(errorText);
    }
}

std::int32_t File::Read(void* buffer, std::uint32_t count, std::uint32_t position)
{
    MoveTo(position, kReadSeekText);
    const std::int64_t read = Platform::ReadFile(Descriptor(), buffer, CountFor(count));
    if (read < 0)
    {
        Throw<std::runtime_error>(kReadText);
    }
    return static_cast<std::int32_t>(read);
}

std::int32_t File::Write(const void* buffer, std::uint32_t count, std::uint32_t position)
{
    if ((mFlags & kReadWrite) == 0)
    {
        Throw<std::runtime_error>(kReadOnlyText);
    }
    MoveTo(position, kWriteSeekText);
    const std::int64_t written = Platform::WriteFile(Descriptor(), buffer, CountFor(count));
    if (written < 0)
    {
        Throw<std::runtime_error>(kWriteText);
    }
    return static_cast<std::int32_t>(written);
}

std::int32_t File::Seek(std::int32_t offset, std::int32_t origin)
{
    if (origin < 0 || origin > 2)
    {
        return -1;
    }
    const std::int64_t position =
        Platform::SeekFile(Descriptor(), offset, static_cast<Platform::SeekOrigin>(origin));
    return position < 0 || position > std::numeric_limits<std::int32_t>::max()
               ? -1
               : static_cast<std::int32_t>(position);
}

std::uint32_t File::GetLength() const
{
    const std::int64_t size = Platform::GetFileSize(Descriptor());
    if (size < 0)
    {
        Throw<std::runtime_error>(kLengthText);
    }
    return static_cast<std::uint32_t>(std::min<std::int64_t>(size, 0xFFFFFFFF));
}

} // namespace KR
