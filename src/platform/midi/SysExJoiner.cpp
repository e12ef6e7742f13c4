#include "platform/midi/SysExJoiner.h"

namespace KR::Platform
{

bool SysExJoiner::Add(std::span<const std::uint8_t> piece, const Sink& sink)
{
    if (piece.empty())
    {
        return false;
    }
    for (std::uint8_t byte : piece)
    {
        if (byte == 0xF0)
        {
            message_.assign(1, byte);
        }
        else if (message_.empty() || (byte >= 0x80 && byte != 0xF7) || message_.size() >= kMaxSysExBytes)
        {
            message_.clear();
            return false;
        }
        else
        {
            message_.push_back(byte);
            if (byte == 0xF7)
            {
                sink(message_);
                message_.clear();
            }
        }
    }
    return true;
}

} // namespace KR::Platform
