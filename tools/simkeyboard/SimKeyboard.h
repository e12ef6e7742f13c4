#pragma once
// What the simulated keyboard answers, with its preset slots, global settings and
// fault modes. No MIDI here: it turns one received message into the replies to send.

#include "simkeyboard/KeyboardProtocol.h"

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <vector>

struct SimFaults
{
    bool silent = false;      // answer nothing
    unsigned replyAfter = 0;  // leave the first N requests unanswered
    int lengthDelta = 0;      // make every reply this many bytes longer (or shorter)
    bool oldFirmware = false; // report firmware "1040", too old for the editor
    bool unsolicited = false; // follow every reply with a preset reply nobody asked for
};

class SimKeyboard
{
public:
    using Bytes = KeyboardProtocol::Bytes;

    static constexpr std::uint8_t kDeviceId = 0x00;
    static constexpr std::string_view kOldFirmware = "1040";
    // Data of the unsolicited preset reply: every byte 0x55, unlike any slot's pattern.
    static constexpr std::uint8_t kStrayDataByte = 0x55;

    SimKeyboard();

    // The replies to one received message, in sending order. Requests are the identity
    // request, a preset request and a global request; a preset dump and a global set are
    // stored without a reply, everything else is ignored.
    std::vector<Bytes> Receive(std::span<const std::uint8_t> message);

    // A preset reply for the slot, as if asked for (faults of length apply).
    Bytes PresetReply(std::uint8_t slot);
    // The unsolicited preset reply: slot 0, every data byte kStrayDataByte.
    Bytes StrayPresetReply();

    void SetFaults(const SimFaults& faults);
    // Four ASCII digits; false (and unchanged) otherwise.
    bool SetFirmware(const std::string& digits);

    // A slot never written holds the pattern (i + slot) % 128 at data byte i.
    std::array<std::uint8_t, KeyboardProtocol::kPresetDataBytes> SlotData(std::uint8_t slot);
    std::uint16_t GlobalValue(std::uint8_t index);

private:
    using PresetData = std::array<std::uint8_t, KeyboardProtocol::kPresetDataBytes>;

    PresetData& Slot(std::uint8_t slot); // under mutex_
    Bytes Shaped(Bytes reply) const;     // under mutex_: applies lengthDelta
    Bytes StrayReply() const;            // under mutex_
    std::vector<Bytes> Answer(Bytes reply);

    std::mutex mutex_;
    std::map<std::uint8_t, PresetData> slots_;
    std::array<std::uint16_t, KeyboardProtocol::kGlobalNames.size()> globals_;
    std::string firmware_ = "1041";
    SimFaults faults_;
    unsigned requestsSeen_ = 0;
};
