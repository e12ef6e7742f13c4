#pragma once
// What the MIDI manager's tests share, with the fake ports and over JACK: a listener of
// the global values it passes on, and the model's preset as the bytes a dump carries.

#include "device/ParamLayout.h"
#include "engine/MidiParameterNotification.h"
#include "engine/RootModuleEngine.h"
#include "kr/core/Array.h"
#include "kr/core/ParamValues.h"
#include "kr/notify/NotificationClient.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace support
{

// Hears "NID_MIDIMANAGER_PARAMETER_RECIEVED" and notes on which thread.
class ParameterListener final : public KR::LNotificationClient
{
public:
    struct Heard
    {
        std::string name;
        std::int32_t value = 0;
        std::thread::id thread;

        bool operator==(const Heard&) const = default;
    };

    static KR::RCPtr<ParameterListener> Create()
    {
        return KR::RCPtr<ParameterListener>(new ParameterListener());
    }

    KR::Result Receive(const KR::RCPtr<KR::LNotificationDistributor>& /*sender*/,
                       const KR::RCPtr<KR::LNotification>& notification) override
    {
        const auto parameter = notification->GetDataAs<KR::LMidiParameterNotification>();
        std::lock_guard lock(mMutex);
        mHeard.push_back(Heard{parameter ? parameter->GetName().ToUtf8().GetPtr() : "?",
                               parameter ? parameter->GetValue() : -1, std::this_thread::get_id()});
        return 1;
    }

    std::vector<Heard> Taken()
    {
        std::lock_guard lock(mMutex);
        return mHeard;
    }

    // What the test thread heard, as the UI thread would have.
    static Heard OnThisThread(const char* name, std::int32_t value)
    {
        return Heard{name, value, std::this_thread::get_id()};
    }

private:
    ParameterListener() = default;

    std::mutex mMutex;
    std::vector<Heard> mHeard;
};

// The model's 131 values laid end to end, as the 1338 data bytes of a dump.
inline std::vector<std::uint8_t> ModelData(LRootModuleEngine& engine)
{
    KR::Array<KR::ParamValue> values;
    engine.GetParamValues(KR::ParamRange{engine.GetFirstParamID(), ParamLayout::kParamCount}, values, -1);
    std::vector<std::uint8_t> data;
    for (std::uint32_t i = 0; i < values.GetCount(); ++i)
    {
        std::uint32_t count = 0;
        const std::uint8_t* bytes = values[i].value.GetBytes(count);
        data.insert(data.end(), bytes, bytes + count);
    }
    return data;
}

} // namespace support
