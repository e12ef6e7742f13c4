#include "engine/MidiManager.h"

#include "device/ParamLayout.h"
#include "engine/GlobalSettings.h"
#include "kr/core/Array.h"
#include "kr/core/Exception.h"
#include "kr/core/ParamValues.h"
#include "kr/core/Variant.h"
#include "kr/midi/MidiCaptureNotificationData.h"
#include "kr/midi/MidiComm.h"
#include "kr/notify/ApplicationCenter.h"

#include <chrono>
#include <cstring>
#include <exception>
#include <system_error>
#include <thread>
#include <utility>

namespace KR
{
namespace
{

using KeyboardSysEx::Bytes;

// Whether the model's table of block sizes makes the preset's data block; a model that
// does not is never read into or written from a message.
bool LayoutMakesPresetData()
{
    return ParamLayout::BlockOffset(ParamLayout::kParamCount) == KeyboardSysEx::kPresetDataBytes;
}

// Runs `first` on a thread of its own while `second` runs on this one, and returns when
// both are done. Each port open waits for its connection to carry data (on JACK, a
// process cycle), so the input and the output opened side by side cost one wait, not
// two. When no thread can be had, they run one after the other.
template <typename First, typename Second>
void OpenSideBySide(First first, Second second)
{
    std::exception_ptr failure;
    {
        // Joined when this block is left, also when `second` throws.
        std::jthread helper;
        try
        {
            helper = std::jthread(
                [&]
                {
                    try
                    {
                        first();
                    }
                    catch (...)
                    {
                        failure = std::current_exception();
                    }
                });
        }
        catch (const std::system_error&)
        {
            first();
        }
        second();
    }
    if (failure)
    {
        std::rethrow_exception(failure);
    }
}

} // namespace

// The rest of the texts of the request cycles' exceptions, after "Failed Result : <code>".
const LMidiManager::CycleSite LMidiManager::kPresetSite = {
    " : KR::LMidiManager::GetPresetFromMidiDevice : Engine\\PresetEditorCommon\\MidiManager : Line 265",
    " : KR::LMidiManager::GetPresetFromMidiDevice : Engine\\PresetEditorCommon\\MidiManager : Line 301",
};
const LMidiManager::CycleSite LMidiManager::kParameterSite = {
    " : KR::LMidiManager::RequestNonPresetParameterFromDevice : Engine\\PresetEditorCommon\\MidiManager : "
    "Line 419",
    " : KR::LMidiManager::RequestNonPresetParameterFromDevice : Engine\\PresetEditorCommon\\MidiManager : "
    "Line 450",
};
const LMidiManager::CycleSite LMidiManager::kFirmwareSite = {
    " : KR::LMidiManager::IsDeviceFirmwareVersionUseable : Engine\\PresetEditorCommon\\MidiManager : Line "
    "487",
    " : KR::LMidiManager::IsDeviceFirmwareVersionUseable : Engine\\PresetEditorCommon\\MidiManager : Line "
    "518",
};

// Lets go of the held ports when a device operation ends, however it ends.
class LMidiManager::OperationScope
{
public:
    explicit OperationScope(LMidiManager& manager) : mManager(manager) {}
    ~OperationScope() { mManager.ReleasePorts(); }
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

private:
    LMidiManager& mManager;
};

RCPtr<LMidiManager> LMidiManager::Create()
{
    return Create(Options{});
}

RCPtr<LMidiManager> LMidiManager::Create(Options options)
{
    RCPtr<LMidiManager> manager(new LMidiManager(std::move(options)));
    manager->mHandler = LNotificationHandler<LMidiManager>::Create(manager.Get());
    {
        RCPtr<LMidiCommInterface> comm = manager->mOptions.makeComm();
        const MutexLocker lock(manager->mLock);
        manager->mComm = std::move(comm);
    }
    manager->mAppCenter = GetApplicationNotificationCenter();
    if (manager->mAppCenter)
    {
        // Only a null sender or a name without id is refused, and neither is possible here.
        manager->mHandler->Register(&LMidiManager::OnParameterPosted, manager->mAppCenter,
                                    kNidMidiManagerParameterRecieved);
    }
    return manager;
}

LMidiManager::LMidiManager(Options options) : mOptions(WithDefaults(std::move(options)))
{
}

LMidiManager::Options LMidiManager::WithDefaults(Options options)
{
    if (!options.makeComm)
    {
        options.makeComm = [] { return RCPtr<LMidiCommInterface>(LMidiComm::Create()); };
        if (!options.portsFingerprint)
        {
            options.portsFingerprint = [] { return LMidiComm::GetPortsFingerprint(); };
        }
    }
    if (!options.pause)
    {
        options.pause = [](std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
    }
    return options;
}

LMidiManager::~LMidiManager() = default;

void LMidiManager::SetRootModuleEngine(const RCPtr<LRootModuleEngine>& engine)
{
    const MutexLocker lock(mLock);
    mEngine = engine;
}

RCPtr<LRootModuleEngine> LMidiManager::GetRootModuleEngine() const
{
    const MutexLocker lock(mLock);
    return mEngine;
}

RCPtr<LMidiCommInterface> LMidiManager::GetComm() const
{
    const MutexLocker lock(mLock);
    return mComm;
}

void LMidiManager::ReleasePorts()
{
    // Closing a port may wait for the MIDI system; never under the lock, which the MIDI
    // worker thread takes.
    RCPtr<LRefCountedObject> capture;
    RCPtr<LRefCountedObject> render;
    {
        const MutexLocker lock(mLock);
        capture = std::move(mCapturePort);
        render = std::move(mRenderPort);
    }
}

// ---- Ports --------------------------------------------------------------------------------

String LMidiManager::GetMidiInPortName()
{
    return String(kMidiInPortName);
}

String LMidiManager::GetMidiOutPortName()
{
    return String(kMidiOutPortName);
}

bool LMidiManager::OpenMidiPorts(const String& inputName, const String& outputName)
{
    RCPtr<LMidiCommInterface> old;
    RCPtr<LRefCountedObject> oldCapture;
    RCPtr<LRefCountedObject> oldRender;
    {
        const MutexLocker lock(mLock);
        old = std::move(mComm);
        oldCapture = std::move(mCapturePort);
        oldRender = std::move(mRenderPort);
    }
    if (old)
    {
        UnregisterForNotification(old, kNidMidiDataCaptured);
    }

    RCPtr<LMidiCommInterface> comm = mOptions.makeComm();
    {
        const MutexLocker lock(mLock);
        mComm = comm;
    }
    if (!comm)
    {
        return false;
    }
    mHandler->Register(&LMidiManager::OnMidiDataCaptured, comm, kNidMidiDataCaptured);
    RCPtr<LRefCountedObject> capture;
    RCPtr<LRefCountedObject> render;
    OpenSideBySide([&] { comm->OpenCapturePort(inputName, capture); },
                   [&] { comm->OpenRenderPort(outputName, render); });
    const bool opened = capture && render;
    {
        const MutexLocker lock(mLock);
        if (mComm == comm)
        {
            mCapturePort = std::move(capture);
            mRenderPort = std::move(render);
        }
    }
    return opened;
}

bool LMidiManager::AreMidiPortsAvailable()
{
    // Taken before the check: a change while it runs makes the next one check again.
    const std::optional<std::uint64_t> fingerprint =
        mOptions.portsFingerprint ? std::optional<std::uint64_t>(mOptions.portsFingerprint()) : std::nullopt;
    {
        const MutexLocker lock(mLock);
        if (fingerprint && mPortsFoundAt == fingerprint)
        {
            return true;
        }
        mPortsFoundAt.reset();
    }
    const OperationScope scope(*this);
    // Only a found pair is kept: a failure may be a moment's (a connection a loaded
    // server did not make in time), and without the keyboard the check fails at once.
    const bool found = OpenMidiPorts(GetMidiInPortName(), GetMidiOutPortName());
    if (found && fingerprint)
    {
        const MutexLocker lock(mLock);
        mPortsFoundAt = fingerprint;
    }
    return found;
}

// ---- Sending ------------------------------------------------------------------------------

void LMidiManager::Pause(std::uint32_t ms) const
{
    mOptions.pause(ms);
}

Result LMidiManager::SendSysEx(Bytes& message, const RCPtr<LRefCountedObject>& outputPort, bool prefixSent)
{
    using KeyboardSysEx::kSysExEnd;
    using KeyboardSysEx::kSysExStart;
    if (message.empty())
    {
        return kInvalidArg;
    }
    if (message.size() < 2)
    {
        if (message[0] == kSysExStart || message[0] == kSysExEnd)
        {
            return kFail;
        }
        message.insert(message.begin(), kSysExStart);
        message.push_back(kSysExEnd);
    }
    else
    {
        if (message.front() != kSysExStart)
        {
            message.insert(message.begin(), kSysExStart);
        }
        if (message.back() != kSysExEnd)
        {
            message.push_back(kSysExEnd);
        }
    }
    // A status byte inside would end the message early at the keyboard, and what
    // followed would be read as something else.
    if (!KeyboardSysEx::HasOnlyDataBytesInside(message))
    {
        return kInvalidArg;
    }

    const RCPtr<LMidiCommInterface> comm = GetComm();
    if (!outputPort || !comm)
    {
        return kPortsUnavailable;
    }
    if (!prefixSent)
    {
        Bytes prefix = KeyboardSysEx::PrefixMessage();
        if (Failed(SendSysEx(prefix, outputPort, true)))
        {
            return kPortsUnavailable;
        }
    }
    Array<signed char> piece;
    for (std::size_t offset = 0; offset < message.size(); offset += kPieceSize)
    {
        const std::size_t count = std::min<std::size_t>(kPieceSize, message.size() - offset);
        piece.SetCount(static_cast<std::uint32_t>(count));
        std::memcpy(piece.GetData(), message.data() + offset, count);
        // The port answers with a byte count on success; callers get 0 or -1 only.
        if (Failed(comm->SendMidi(outputPort, piece)))
        {
            return kPortsUnavailable;
        }
        Pause(kPiecePauseMs);
    }
    return kOk;
}

Result LMidiManager::SendDeviceInquiry(const RCPtr<LRefCountedObject>& outputPort)
{
    if (!outputPort)
    {
        return kFail;
    }
    Bytes request = KeyboardSysEx::IdentityRequest();
    return SendSysEx(request, outputPort, false);
}

// ---- Request cycles -----------------------------------------------------------------------

TrafficLight& LMidiManager::GetGate(Gate gate)
{
    switch (gate)
    {
    case Gate::kPreset:
        return mPresetGate;
    case Gate::kParameter:
        return mParameterGate;
    case Gate::kIdentity:
        break;
    }
    return mIdentityGate;
}

void LMidiManager::Arm(Gate gate, std::int32_t globalIndex)
{
    GetGate(gate).SetRed();
    if (gate == Gate::kPreset)
    {
        mAwaitingPreset.store(true);
    }
    else if (gate == Gate::kParameter)
    {
        mAwaitedGlobalIndex.store(globalIndex);
    }
}

bool LMidiManager::Disarm(Gate gate)
{
    if (gate == Gate::kPreset)
    {
        return !mAwaitingPreset.exchange(false);
    }
    if (gate == Gate::kParameter)
    {
        return mAwaitedGlobalIndex.exchange(-1) < 0;
    }
    return false;
}

Result LMidiManager::RunRequestCycle(Gate gate, const Bytes& request, std::int32_t globalIndex,
                                     bool stopOnFailedSend, const CycleSite& site)
{
    const RCPtr<LMidiCommInterface> comm = GetComm();
    if (!comm)
    {
        return kPortsUnavailable;
    }
    RCPtr<LRefCountedObject> render;
    RCPtr<LRefCountedObject> capture;
    if (Failed(comm->OpenRenderPort(GetMidiOutPortName(), render)) ||
        Failed(comm->OpenCapturePort(GetMidiInPortName(), capture)) || !render || !capture)
    {
        return kPortsUnavailable;
    }
    const Result registered =
        mHandler->Register(&LMidiManager::OnMidiDataCaptured, comm, kNidMidiDataCaptured);
    if (Failed(registered))
    {
        ThrowFailedResult(registered, site.registerSite);
    }

    TrafficLight& light = GetGate(gate);
    Arm(gate, globalIndex);
    Result result = kNoReply;
    for (std::uint32_t attempt = 0; attempt < kTries; ++attempt)
    {
        Bytes message = request;
        if (Failed(SendSysEx(message, render, false)))
        {
            result = kPortsUnavailable;
            if (stopOnFailedSend)
            {
                break;
            }
            continue;
        }
        // A request that has not left never reaches the keyboard, so its silence says
        // nothing of the keyboard: the MIDI system is not taking what is sent, and another
        // try would only queue behind it. (A reply already here says it left.)
        if (!light.IsSignaled() && Failed(comm->WaitUntilSent(render)))
        {
            result = kPortsUnavailable;
            break;
        }
        result = kNoReply;
        if (light.IsSignaled() || light.Wait(mOptions.replyWaitMs) == kWaitObject0)
        {
            result = kOk;
            break;
        }
    }
    // A reply that came as the last wait ran out is being applied on the MIDI thread
    // now: wait for it rather than report it lost while the model changes.
    if (Disarm(gate) && result != kOk && light.Wait(kReplyWaitMs) == kWaitObject0)
    {
        result = kOk;
    }

    const bool hadEntry = mHandler->Unregister(comm, kNidMidiDataCaptured);
    const Result removed = LNotificationClient::UnregisterForNotification(comm, kNidMidiDataCaptured);
    if (!hadEntry)
    {
        ThrowFailedResult(kFail, site.unregisterSite);
    }
    if (Failed(removed))
    {
        ThrowFailedResult(removed, site.unregisterSite);
    }
    return result;
}

Result LMidiManager::CheckFirmware()
{
    return RunRequestCycle(Gate::kIdentity, KeyboardSysEx::IdentityRequest(), -1, false, kFirmwareSite);
}

Result LMidiManager::StartOperation(Result portsMissing, bool skipFirmwareCheck)
{
    if (!OpenMidiPorts(GetMidiInPortName(), GetMidiOutPortName()))
    {
        const MutexLocker lock(mLock);
        mPortsFoundAt.reset();
        return portsMissing;
    }
    if (skipFirmwareCheck)
    {
        return kOk;
    }
    // Only a keyboard that was reached and did not answer with usable firmware has old
    // firmware; requests that did not get out are a connection failure.
    const Result checked = CheckFirmware();
    return checked == kOk || checked == kPortsUnavailable ? checked : kFirmwareNotUsable;
}

Result LMidiManager::SendToKeyboard(Bytes& message)
{
    const RCPtr<LMidiCommInterface> comm = GetComm();
    RCPtr<LRefCountedObject> render;
    const Result opened = comm ? comm->OpenRenderPort(GetMidiOutPortName(), render) : kPortsUnavailable;
    if (!render)
    {
        return Failed(opened) ? opened : kPortsUnavailable;
    }
    const Result sent = SendSysEx(message, render, false);
    if (Failed(sent))
    {
        return sent;
    }
    // The port takes the pieces into a queue of the MIDI system's; the keyboard has them
    // only once they have left it, and a server that stalls or goes away keeps them.
    return Failed(comm->WaitUntilSent(render)) ? kPortsUnavailable : kOk;
}

bool LMidiManager::IsDeviceFirmwareVersionUseable()
{
    return CheckDeviceFirmware() == kOk;
}

Result LMidiManager::CheckDeviceFirmware()
{
    const OperationScope scope(*this);
    return StartOperation(kPortsUnavailable, false);
}

// ---- Presets ------------------------------------------------------------------------------

bool LMidiManager::ReadPresetData(Bytes& data) const
{
    const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
    if (!engine || !LayoutMakesPresetData())
    {
        return false;
    }
    const std::int32_t first = engine->GetFirstParamID();
    Array<ParamValue> values;
    engine->GetParamValues(ParamRange{first, ParamLayout::kParamCount}, values, -1);
    if (values.GetCount() != static_cast<std::uint32_t>(ParamLayout::kParamCount))
    {
        return false;
    }
    data.clear();
    data.reserve(KeyboardSysEx::kPresetDataBytes);
    for (std::int32_t i = 0; i < ParamLayout::kParamCount; ++i)
    {
        const ParamValue& entry = values[static_cast<std::uint32_t>(i)];
        std::uint32_t count = 0;
        const std::uint8_t* bytes = entry.value.GetBytes(count);
        if (entry.descriptor.id != first + i || entry.value.GetType() != Variant::kBlob ||
            count != ParamLayout::BlockSize(i))
        {
            return false;
        }
        data.insert(data.end(), bytes, bytes + count);
    }
    return true;
}

void LMidiManager::ApplyPresetData(std::span<const std::uint8_t> data) const
{
    const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
    if (!engine || !LayoutMakesPresetData() || data.size() != KeyboardSysEx::kPresetDataBytes)
    {
        return;
    }
    const std::int32_t first = engine->GetFirstParamID();
    for (std::int32_t i = 0; i < ParamLayout::kParamCount; ++i)
    {
        Variant value;
        value.SetBlob(data.data() + ParamLayout::BlockOffset(i), ParamLayout::BlockSize(i));
        // A value the model refuses keeps its old bytes; the others are applied all the same.
        engine->SetParamValue(ParamDescriptor(first + i), value);
    }
}

Result LMidiManager::SendPresetToMidiDevice(std::uint8_t slot)
{
    if (slot > KeyboardSysEx::kMaxSlot)
    {
        return kInvalidArg;
    }
    // The preset is read first, so that one which cannot go out costs no traffic.
    Bytes data;
    if (!ReadPresetData(data))
    {
        return kFail;
    }
    Bytes dump = KeyboardSysEx::PresetDump(slot, data);
    if (dump.empty())
    {
        return kFail;
    }

    const OperationScope scope(*this);
    const Result started = StartOperation(kPortsUnavailable, false);
    return Succeeded(started) ? SendToKeyboard(dump) : started;
}

Result LMidiManager::GetPresetFromMidiDevice(std::uint8_t slot)
{
    if (slot > KeyboardSysEx::kMaxSlot)
    {
        return kInvalidArg;
    }
    if (!GetRootModuleEngine() || !LayoutMakesPresetData())
    {
        return kFail;
    }

    const OperationScope scope(*this);
    const Result started = StartOperation(kPortsUnavailable, false);
    return Succeeded(started)
               ? RunRequestCycle(Gate::kPreset, KeyboardSysEx::PresetRequest(slot), -1, true, kPresetSite)
               : started;
}

// ---- Global settings ----------------------------------------------------------------------

StringArray LMidiManager::GetNonPresetParameterNames()
{
    return GlobalSettings::GetNames();
}

std::int32_t LMidiManager::GetNonPresetParameterIndex(const String& name)
{
    return GlobalSettings::GetIndex(name);
}

bool LMidiManager::IsNonPresetParameterValueInRange(const String& name, std::int32_t value)
{
    return GlobalSettings::IsValueInRange(name, value);
}

String LMidiManager::GetNonPresetParameterName(std::span<const std::uint8_t> reply)
{
    return GlobalSettings::GetNameOfReply(reply);
}

Result LMidiManager::SendNonPresetParameterToDevice(const String& name, std::int32_t value,
                                                    bool skipFirmwareCheck)
{
    const std::int32_t index = GlobalSettings::GetIndex(name);
    if (index < 0)
    {
        return kInvalidArg;
    }
    if (!GlobalSettings::IsValueInRange(name, value))
    {
        return kFail;
    }
    Bytes message =
        KeyboardSysEx::GlobalSet(static_cast<std::uint8_t>(index), static_cast<std::uint16_t>(value));

    const OperationScope scope(*this);
    const Result started = StartOperation(kPortsUnavailable, skipFirmwareCheck);
    return Succeeded(started) ? SendToKeyboard(message) : started;
}

Result LMidiManager::RequestNonPresetParameterFromDevice(const String& name, bool skipFirmwareCheck)
{
    const std::int32_t index = GlobalSettings::GetIndex(name);
    if (index < 0)
    {
        return kInvalidArg;
    }

    const OperationScope scope(*this);
    const Result started = StartOperation(kFail, skipFirmwareCheck);
    if (Failed(started))
    {
        return started;
    }
    return RunRequestCycle(Gate::kParameter, KeyboardSysEx::GlobalRequest(static_cast<std::uint8_t>(index)),
                           index, false, kParameterSite);
}

// ---- Notifications ------------------------------------------------------------------------

Result LMidiManager::Receive(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification)
{
    return mHandler ? mHandler->HandleNotification(sender, notification) : 0;
}

Result LMidiManager::UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                               NotificationName name)
{
    if (mHandler)
    {
        mHandler->Unregister(sender, name);
    }
    return LNotificationClient::UnregisterForNotification(sender, name);
}

Result LMidiManager::ReleaseInternalReferences()
{
    UnregisterForAllNotifications();
    RemoveAllClients();
    return LRefCountedObject::ReleaseInternalReferences();
}

Result LMidiManager::OnMidiDataCaptured(const RCPtr<LNotificationDistributor>& sender,
                                        const RCPtr<LNotification>& notification)
{
    const RCPtr<LMidiCaptureNotificationData> data = notification->GetDataAs<LMidiCaptureNotificationData>();
    {
        const MutexLocker lock(mLock);
        if (!data || !mComm || sender.Get() != static_cast<LNotificationDistributor*>(mComm.Get()))
        {
            return 1;
        }
    }
    const std::span<const std::uint8_t> bytes = data->GetData();

    if (const auto preset = KeyboardSysEx::PresetReplyData(bytes))
    {
        if (mAwaitingPreset.exchange(false))
        {
            ApplyPresetData(*preset);
            mPresetGate.SetGreen();
        }
    }
    if (const auto reply = KeyboardSysEx::ParseGlobalReply(bytes))
    {
        if (mAppCenter)
        {
            // The listeners are user-interface code: they hear of it on the UI thread.
            mAppCenter->PostNotificationByName(
                kNidMidiManagerParameterRecieved,
                LMidiParameterNotification::Create(GlobalSettings::GetName(reply->index), reply->value));
        }
        std::int32_t awaited = reply->index;
        if (mAwaitedGlobalIndex.compare_exchange_strong(awaited, -1))
        {
            mParameterGate.SetGreen();
        }
    }
    if (const auto firmware = KeyboardSysEx::ParseIdentityReply(bytes))
    {
        if (KeyboardSysEx::IsFirmwareUsable(*firmware))
        {
            mIdentityGate.SetGreen();
        }
    }
    return 1;
}

Result LMidiManager::OnParameterPosted(const RCPtr<LNotificationDistributor>& /*sender*/,
                                       const RCPtr<LNotification>& notification)
{
    if (notification->GetDataAs<LMidiParameterNotification>())
    {
        SendNotificationByName(kNidMidiManagerParameterRecieved, notification->GetData());
    }
    return 1;
}

} // namespace KR
