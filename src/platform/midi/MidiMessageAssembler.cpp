#include "platform/midi/MidiMessageAssembler.h"

namespace KR::Platform
{
namespace
{

constexpr std::uint8_t kSysExStart = 0xF0;
constexpr std::uint8_t kSysExEnd = 0xF7;

bool IsDataByte(std::uint8_t byte)
{
    return byte < 0x80;
}
bool IsRealTime(std::uint8_t byte)
{
    return byte >= 0xF8;
}

} // namespace

std::size_t MidiMessageLength(std::uint8_t status)
{
    if (IsDataByte(status) || status == kSysExStart)
    {
        return 0;
    }
    switch (status >> 4)
    {
    case 0x8:
    case 0x9:
    case 0xA:
    case 0xB:
    case 0xE:
        return 3;
    case 0xC:
    case 0xD:
        return 2;
    default:
        break;
    }
    switch (status)
    {
    case 0xF2:
        return 3;
    case 0xF1:
    case 0xF3:
        return 2;
    default:
        return 1; // F4..F7 and the real-time bytes
    }
}

void MidiMessageAssembler::Begin(State state, std::uint8_t status, std::size_t expected)
{
    state_ = state;
    expected_ = expected;
    message_.clear();
    message_.push_back(status);
}

void MidiMessageAssembler::Reset()
{
    state_ = State::kIdle;
    message_.clear();
}

void MidiMessageAssembler::Feed(std::span<const std::uint8_t> chunk, const Sink& sink)
{
    for (std::uint8_t byte : chunk)
    {
        if (IsRealTime(byte))
        {
            sink(std::span<const std::uint8_t>(&byte, 1));
            continue;
        }
        if (IsDataByte(byte))
        {
            switch (state_)
            {
            case State::kSysEx:
                if (message_.size() + 1 >= kMaxSysExBytes) // keep room for the closing F7
                {
                    state_ = State::kDiscarding;
                    message_.clear();
                }
                else
                {
                    message_.push_back(byte);
                }
                break;
            case State::kShortMessage:
                message_.push_back(byte);
                if (message_.size() == expected_)
                {
                    sink(message_);
                    Reset();
                }
                break;
            case State::kIdle:
            case State::kDiscarding:
                break;
            }
            continue;
        }
        if (byte == kSysExEnd)
        {
            if (state_ == State::kSysEx)
            {
                message_.push_back(byte);
                sink(message_);
            }
            Reset(); // a stray F7 also ends whatever was unfinished
            continue;
        }
        // Any other status byte ends an unfinished message and starts its own.
        if (byte == kSysExStart)
        {
            Begin(State::kSysEx, byte, 0);
            continue;
        }
        const std::size_t length = MidiMessageLength(byte);
        if (length == 1)
        {
            Reset();
            sink(std::span<const std::uint8_t>(&byte, 1));
        }
        else
        {
            Begin(State::kShortMessage, byte, length);
        }
    }
}

} // namespace KR::Platform
