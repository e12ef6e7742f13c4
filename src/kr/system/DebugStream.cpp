#include "kr/system/DebugStream.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace KR
{

namespace
{

// How many leading bytes of text end on a whole UTF-8 character. Text that is not
// UTF-8 at its end is taken whole: holding bytes back is only for a character that
// the next write completes.
std::size_t WholeCharactersLength(const char* text, std::size_t length)
{
    const std::size_t lookBack = std::min<std::size_t>(length, 4);
    for (std::size_t back = 1; back <= lookBack; ++back)
    {
        const auto byte = static_cast<unsigned char>(text[length - back]);
        if ((byte & 0xC0) == 0x80)
        {
            continue; // a continuation byte: its lead byte is further back
        }
        const std::size_t needed = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return needed > back && back < length ? length - back : length;
    }
    return length;
}

} // namespace

DebugBuffer::DebugBuffer(Mutex& lock, Output output) : mLock(lock), mOutput(std::move(output))
{
    setp(mPiece, mPiece + kPieceLength);
}

DebugBuffer::~DebugBuffer()
{
    const MutexLocker lock(mLock);
    if (Held() > 0)
    {
        EmitHeld(false);
    }
}

std::streamsize DebugBuffer::xsputn(const char* text, std::streamsize count)
{
    if (count <= 0)
    {
        return 0;
    }
    const MutexLocker lock(mLock);
    std::streamsize written = 0;
    while (written < count)
    {
        if (Held() >= kPieceLength)
        {
            EmitHeld(true);
        }
        const auto part =
            std::min<std::streamsize>(static_cast<std::streamsize>(kPieceLength - Held()), count - written);
        std::memcpy(pptr(), text + written, static_cast<std::size_t>(part));
        pbump(static_cast<int>(part));
        written += part;
    }
    return written;
}

DebugBuffer::int_type DebugBuffer::overflow(int_type character)
{
    if (traits_type::eq_int_type(character, traits_type::eof()))
    {
        return traits_type::not_eof(character);
    }
    // Single characters reach here only when the buffer is full, so the piece is bounded
    // for them as for bulk writes.
    const MutexLocker lock(mLock);
    if (Held() >= kPieceLength)
    {
        EmitHeld(true);
    }
    *pptr() = traits_type::to_char_type(character);
    pbump(1);
    return character;
}

int DebugBuffer::sync()
{
    const MutexLocker lock(mLock);
    EmitHeld(false);
    return 0;
}

void DebugBuffer::EmitHeld(bool keepUnfinished)
{
    const std::size_t held = Held();
    const std::size_t length = keepUnfinished ? WholeCharactersLength(mPiece, held) : held;
    // Reset before emitting: an output that throws must not leave the text to go out twice.
    const std::string piece(mPiece, length);
    std::memmove(mPiece, mPiece + length, held - length);
    setp(mPiece, mPiece + kPieceLength);
    pbump(static_cast<int>(held - length));
    if (mOutput)
    {
        mOutput(piece);
    }
}

DebugStream::DebugStream(Mutex& lock, DebugBuffer::Output output)
    : std::ostream(nullptr), mBuffer(lock, std::move(output))
{
    rdbuf(&mBuffer);
}

DebugStream::~DebugStream()
{
    flush();
    rdbuf(nullptr);
}

WideDebugStream& WideDebugStream::operator<<(const void* pointer)
{
    static_cast<std::ostream&>(*this) << pointer;
    return *this;
}

WideDebugStream& WideDebugStream::operator<<(std::ostream& (*manipulator)(std::ostream&))
{
    manipulator(*this);
    return *this;
}

WideDebugStream& WideDebugStream::operator<<(std::ios_base& (*manipulator)(std::ios_base&))
{
    manipulator(*this);
    return *this;
}

WideDebugStream& WideDebugStream::operator<<(std::u16string_view text)
{
    Utf8String bytes;
    Utf16ToUtf8(bytes, text.data(),
                static_cast<std::int32_t>(std::min<std::size_t>(text.size(), String::kMaxLength)));
    write(bytes.GetPtr(), bytes.GetLength());
    return *this;
}

WideDebugStream& WideDebugStream::operator<<(const char16_t* text)
{
    return *this << (text ? std::u16string_view(text) : std::u16string_view());
}

WideDebugStream& WideDebugStream::operator<<(const char* text)
{
    static_cast<std::ostream&>(*this) << (text ? text : "");
    return *this;
}

WideDebugStream& WideDebugStream::operator<<(char character)
{
    static_cast<std::ostream&>(*this) << character;
    return *this;
}

std::ostream& operator<<(std::ostream& stream, const String& text)
{
    const Utf8String bytes = text.ToUtf8();
    return stream.write(bytes.GetPtr(), bytes.GetLength());
}

std::ostream& operator<<(std::ostream& stream, const Utf8String& text)
{
    return stream.write(text.GetPtr(), text.GetLength());
}

} // namespace KR
