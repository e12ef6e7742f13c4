#include "kr/midi/MidiCaptureNotificationData.h"

#include <cstring>
#include <new>

namespace KR
{

RCPtr<LMidiCaptureNotificationData> LMidiCaptureNotificationData::Create(std::span<const std::uint8_t> bytes,
                                                                         const String& portName,
                                                                         std::uint32_t timeStamp)
{
    RCPtr<LMidiCaptureNotificationData> data(new LMidiCaptureNotificationData(portName, timeStamp));
    const auto count = static_cast<std::uint32_t>(bytes.size());
    if (data->mBytes.Resize(count) != static_cast<Result>(count))
    {
        throw std::bad_alloc();
    }
    if (count != 0)
    {
        std::memcpy(data->mBytes.GetData(), bytes.data(), count);
    }
    return data;
}

std::span<const std::uint8_t> LMidiCaptureNotificationData::GetData() const
{
    return {reinterpret_cast<const std::uint8_t*>(mBytes.GetData()), mBytes.GetCount()};
}

} // namespace KR
