#include "simkeyboard/SimKeyboard.h"

#include <algorithm>

namespace kp = KeyboardProtocol;

namespace
{

// Factory values of the global settings, each within what the editor may set.
constexpr std::array<std::uint16_t, kp::kGlobalNames.size()> kFactoryGlobals = {
    0, 0, 0, 0, 0, 5, 12, 3, 5, 12, 5, 0, 5, 0, 0, 0,
};

} // namespace

SimKeyboard::SimKeyboard() : globals_(kFactoryGlobals)
{
}

SimKeyboard::PresetData& SimKeyboard::Slot(std::uint8_t slot)
{
    auto [it, added] = slots_.try_emplace(slot);
    if (added)
    {
        for (std::size_t i = 0; i < it->second.size(); ++i)
        {
            it->second[i] = static_cast<std::uint8_t>((i + slot) % 128);
        }
    }
    return it->second;
}

SimKeyboard::Bytes SimKeyboard::Shaped(Bytes reply) const
{
    if (faults_.lengthDelta > 0)
    {
        reply.insert(reply.end() - 1, static_cast<std::size_t>(faults_.lengthDelta), 0x00);
    }
    else if (faults_.lengthDelta < 0)
    {
        // Keep F0 and F7: the reply stays a well-formed message, only too short.
        const std::size_t cut = std::min(static_cast<std::size_t>(-faults_.lengthDelta), reply.size() - 2);
        reply.erase(reply.end() - 1 - static_cast<std::ptrdiff_t>(cut), reply.end() - 1);
    }
    return reply;
}

std::vector<SimKeyboard::Bytes> SimKeyboard::Answer(Bytes reply)
{
    // Called under mutex_ for every request, answered or not.
    if (faults_.silent || requestsSeen_++ < faults_.replyAfter)
    {
        return {};
    }
    std::vector<Bytes> replies = {Shaped(std::move(reply))};
    if (faults_.unsolicited)
    {
        replies.push_back(StrayReply());
    }
    return replies;
}

std::vector<SimKeyboard::Bytes> SimKeyboard::Receive(std::span<const std::uint8_t> message)
{
    std::lock_guard lock(mutex_);
    if (kp::IsIdentityRequest(message))
    {
        const std::uint8_t addressedTo = message[kp::kIdentityDeviceAt];
        if (addressedTo != 0x7F && addressedTo != kDeviceId)
        {
            return {};
        }
        return Answer(kp::IdentityReply(kDeviceId, faults_.oldFirmware ? kOldFirmware : firmware_));
    }
    if (kp::IsDeviceMessage(message, kp::kPresetRequest, kp::kPresetRequestBytes))
    {
        const std::uint8_t slot = message[kp::kPresetRequestSlotAt];
        return Answer(kp::PresetMessage(kp::kPresetReply, slot, Slot(slot)));
    }
    if (kp::IsDeviceMessage(message, kp::kGlobalRequest, kp::kGlobalRequestBytes))
    {
        const std::uint8_t index = message[kp::kGlobalIndexAt];
        if (index >= globals_.size())
        {
            return {};
        }
        return Answer(kp::GlobalMessage(kp::kGlobalReply, index, globals_[index]));
    }
    if (kp::IsDeviceMessage(message, kp::kPresetDump, kp::kPresetMessageBytes))
    {
        std::copy_n(message.begin() + kp::kPresetDataAt, kp::kPresetDataBytes,
                    Slot(message[kp::kPresetSlotAt]).begin());
        return {};
    }
    if (kp::IsDeviceMessage(message, kp::kGlobalSet, kp::kGlobalSetBytes))
    {
        const std::uint8_t index = message[kp::kGlobalIndexAt];
        if (index < globals_.size())
        {
            globals_[index] = static_cast<std::uint16_t>(message[kp::kGlobalValueAt] * 128 +
                                                         message[kp::kGlobalValueAt + 1]);
        }
        return {};
    }
    return {};
}

SimKeyboard::Bytes SimKeyboard::PresetReply(std::uint8_t slot)
{
    std::lock_guard lock(mutex_);
    return Shaped(kp::PresetMessage(kp::kPresetReply, slot, Slot(slot)));
}

SimKeyboard::Bytes SimKeyboard::StrayReply() const
{
    PresetData stray;
    stray.fill(kStrayDataByte);
    return Shaped(kp::PresetMessage(kp::kPresetReply, 0, stray));
}

SimKeyboard::Bytes SimKeyboard::StrayPresetReply()
{
    std::lock_guard lock(mutex_);
    return StrayReply();
}

void SimKeyboard::SetFaults(const SimFaults& faults)
{
    std::lock_guard lock(mutex_);
    faults_ = faults;
    requestsSeen_ = 0;
}

bool SimKeyboard::SetFirmware(const std::string& digits)
{
    if (digits.size() != 4 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    {
        return false;
    }
    std::lock_guard lock(mutex_);
    firmware_ = digits;
    return true;
}

std::array<std::uint8_t, kp::kPresetDataBytes> SimKeyboard::SlotData(std::uint8_t slot)
{
    std::lock_guard lock(mutex_);
    return Slot(slot);
}

std::uint16_t SimKeyboard::GlobalValue(std::uint8_t index)
{
    std::lock_guard lock(mutex_);
    return index < globals_.size() ? globals_[index] : 0;
}
