#pragma once
// The debug streams: standard output streams whose buffer hands each finished piece of
// text, at most 1023 bytes, to an output function (the debugger output, the UDP log
// collector or the console; see DebugLog.h).
//
// A piece ends when the stream is flushed (std::flush, std::endl) or when the buffer is
// full. A full buffer never cuts a UTF-8 character in two: the bytes of an unfinished
// character move on to the next piece, so every datagram a collector receives is text.
//
// The wide stream takes UTF-16 text (char16_t strings, KR::String) besides everything a
// narrow stream takes, and holds it as UTF-8: the standard library gives char16_t
// streams no facets, so a basic_ostream<char16_t> could not even write a number.
//
//     KR::WideDebugStream& wide = ...;
//     wide << u"Encoder " << 3 << std::endl;

#include "kr/core/StringT.h"
#include "kr/thread/Mutex.h"

#include <cstddef>
#include <functional>
#include <ostream>
#include <streambuf>
#include <string_view>
#include <type_traits>

namespace KR
{

class DebugBuffer : public std::streambuf
{
public:
    static constexpr std::size_t kPieceLength = 1023;

    using Output = std::function<void(std::string_view piece)>;

    // Every operation holds lock while it changes the buffer or emits a piece.
    DebugBuffer(Mutex& lock, Output output);
    // Emits the text still held.
    ~DebugBuffer() override;
    DebugBuffer(const DebugBuffer&) = delete;
    DebugBuffer& operator=(const DebugBuffer&) = delete;

protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int_type overflow(int_type character) override;
    int sync() override;

private:
    std::size_t Held() const { return static_cast<std::size_t>(pptr() - pbase()); }
    // Emits the held text; with keepUnfinished, the bytes of a UTF-8 character that the
    // held text ends inside stay for the next piece.
    void EmitHeld(bool keepUnfinished);

    Mutex& mLock;
    Output mOutput;
    char mPiece[kPieceLength];
};

class DebugStream : public std::ostream
{
public:
    DebugStream(Mutex& lock, DebugBuffer::Output output);
    // Emits pending text before the buffer goes.
    ~DebugStream() override;

private:
    DebugBuffer mBuffer;
};

class WideDebugStream : public DebugStream
{
public:
    using DebugStream::DebugStream;

    // Everything answers the wide stream itself, so texts, numbers and manipulators mix
    // in one chain.
    template <typename T>
    requires std::is_arithmetic_v<T> WideDebugStream& operator<<(T value)
    {
        static_cast<std::ostream&>(*this) << value;
        return *this;
    }
    WideDebugStream& operator<<(const void* pointer);
    WideDebugStream& operator<<(std::ostream& (*manipulator)(std::ostream&));
    WideDebugStream& operator<<(std::ios_base& (*manipulator)(std::ios_base&));

    // UTF-16 in, UTF-8 held; an unpaired surrogate is kept as its own three bytes.
    WideDebugStream& operator<<(std::u16string_view text);
    WideDebugStream& operator<<(const char16_t* text);
    WideDebugStream& operator<<(const String& text) { return *this << text.GetView(); }
    WideDebugStream& operator<<(char16_t character) { return *this << std::u16string_view(&character, 1); }
    WideDebugStream& operator<<(const char* text);
    WideDebugStream& operator<<(char character);
};

// Framework strings on any narrow standard stream, as UTF-8.
std::ostream& operator<<(std::ostream& stream, const String& text);
std::ostream& operator<<(std::ostream& stream, const Utf8String& text);

} // namespace KR
