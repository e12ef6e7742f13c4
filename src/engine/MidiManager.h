#pragma once
// KR::LMidiManager: moves presets and global settings between the editor and the
// keyboard, as the system-exclusive messages of SysExMessages.h, over the keyboard's two
// named MIDI ports.
//
//     RCPtr<LMidiManager> midi = LMidiManager::Create();       // application start-up
//     midi->SetRootModuleEngine(engine);
//     Result sent = midi->SendPresetToMidiDevice(3);            // UI thread; blocks
//     Result got = midi->GetPresetFromMidiDevice(5);            // the model now holds slot 5
//     listener->RegisterForNotification(midi, kNidMidiManagerParameterRecieved);
//     midi->RequestNonPresetParameterFromDevice(u"KEY_TRANSPOSE", false);
//     midi->SendNonPresetParameterToDevice(u"KEY_TRANSPOSE", 5, false);
//
// Results of the device operations:
//     0            done
//     -1           the ports are not there, or a send failed (never a byte count): a
//                  send succeeds only once every piece has left for the MIDI system
//     -2           the keyboard's firmware is too old (digits below "1041")
//     -3           no reply after 10 tries of 500 ms
//     0x80070057   refused before anything was sent: a slot above 127, a global name
//                  that names no setting, a message with a non-data byte inside
//     0x80004005   any other failure: a global value out of its range (nothing sent),
//                  a preset whose values do not make the 1338 data bytes (not 131
//                  blocks of their fixed sizes, or a byte of 80 or more), no engine
// RequestNonPresetParameterFromDevice gives 0x80004005 instead of -1 when the ports are
// not there. Every caller takes any negative result as a failure: the send and retrieve
// dialogs show their error for 0x80070057 and 0x80004005 as well as for -1, -2 and -3,
// so a refused slot or preset is never reported as sent or retrieved.
//
// Each device operation starts on a fresh MIDI communication object with both ports
// open (OpenMidiPorts) and, unless told to skip it, with the firmware check (identity
// request, up to 10 tries). Every message goes out behind the prefix message, in pieces
// of at most 256 bytes with a 10 ms pause after each piece, the last one included: a
// preset dump is six pieces. A request waits until it has left for the MIDI system
// (WaitUntilSent: on JACK at most the server's answer time), then for its reply through
// a gate (one manual-reset event per reply kind) for up to 500 ms per try, 10 tries; one
// that does not leave ends the tries with -1, the firmware check's included. A send
// reports success once its last piece has left. The ports are held for the operation and
// let go when it ends.
//
// Replies are recognised on the MIDI object's worker thread (OnMidiDataCaptured), only
// from the communication object the manager holds now:
// - a preset reply is applied only while a retrieve waits for one, once; its 1338 bytes
//   are cut by the model's fixed block sizes (ParamLayout) into the 131 values;
// - a global reply is passed to listeners on the user-interface thread: it is posted to
//   the application center's queue, and when the UI thread drains it the manager sends
//   "NID_MIDIMANAGER_PARAMETER_RECIEVED" to its own clients (clients of the center get it
//   too); a request ends only on the reply to its own wire index;
// - an identity reply with usable firmware opens the firmware gate.
//
// Threads: the operations run on the UI thread (one at a time) and block it. The MIDI
// worker thread reads the held communication object and the engine under the manager's
// lock; the gates and the awaited-reply marks are the only other hand-over.

#include "engine/MidiParameterNotification.h"
#include "engine/RootModuleEngine.h"
#include "engine/SysExMessages.h"
#include "kr/core/RCPtr.h"
#include "kr/core/StringArrayT.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/midi/MidiCommInterface.h"
#include "kr/notify/NotificationCenter.h"
#include "kr/notify/NotificationClient.h"
#include "kr/notify/NotificationDistributor.h"
#include "kr/notify/NotificationHandler.h"
#include "kr/thread/Event.h"
#include "kr/thread/Mutex.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

namespace KR
{

class LMidiManager : public LNotificationClient, public LNotificationDistributor
{
public:
    static constexpr Result kPortsUnavailable = -1; // also: a send failed
    static constexpr Result kFirmwareNotUsable = -2;
    static constexpr Result kNoReply = -3;

    static constexpr std::uint32_t kPieceSize = 256;
    static constexpr std::uint32_t kPiecePauseMs = 10;
    static constexpr std::uint32_t kReplyWaitMs = 500;
    static constexpr std::uint32_t kTries = 10;

    // The keyboard's ports, found by a part of their names.
    static constexpr std::u16string_view kMidiInPortName = u"MIDIIN4 (Vantor)";
    static constexpr std::u16string_view kMidiOutPortName = u"MIDIOUT4 (Vantor)";

    // What the manager is built on; the defaults are the real ones. Tests put a
    // recording port object and a recording pause in.
    struct Options
    {
        // Makes a new MIDI communication object; null: LMidiComm::Create().
        std::function<RCPtr<LMidiCommInterface>()> makeComm;
        // Pauses after each piece for the given milliseconds; null: the thread sleeps.
        std::function<void(std::uint32_t)> pause;
        // How long each try waits for its reply.
        std::uint32_t replyWaitMs = kReplyWaitMs;
        // A value that changes whenever the MIDI system's ports could make a port check
        // come out otherwise (LMidiComm::GetPortsFingerprint); null: with the real ports
        // that, with a made-up port object none, and every check opens the ports.
        std::function<std::uint64_t()> portsFingerprint;
    };

    // Makes the manager and its first communication object, and registers it with the
    // application center (GetApplicationNotificationCenter) to pass global values on.
    static RCPtr<LMidiManager> Create();
    static RCPtr<LMidiManager> Create(Options options);

    // The engine through which the 131 preset values are read and written. Until one is
    // set, the preset operations give 0x80004005 and send nothing.
    void SetRootModuleEngine(const RCPtr<LRootModuleEngine>& engine);
    RCPtr<LRootModuleEngine> GetRootModuleEngine() const;

    // ---- Device operations (UI thread; each blocks until it is done) --------------------

    // Sends the model's preset into the keyboard's slot: prefix, then the 1350-byte dump.
    virtual Result SendPresetToMidiDevice(std::uint8_t slot);
    // Asks the keyboard for its slot and writes the reply into the model.
    virtual Result GetPresetFromMidiDevice(std::uint8_t slot);
    // Sets one global setting; a value outside the setting's range gives 0x80004005.
    virtual Result SendNonPresetParameterToDevice(const String& name, std::int32_t value,
                                                  bool skipFirmwareCheck);
    // Asks the keyboard for one global setting; the value reaches the listeners of
    // "NID_MIDIMANAGER_PARAMETER_RECIEVED" at the UI thread's next idle drain.
    virtual Result RequestNonPresetParameterFromDevice(const String& name, bool skipFirmwareCheck);
    // OpenMidiPorts with the keyboard's two port names. Opening them takes tens of
    // milliseconds with the keyboard there, and menus ask on every opening: once both
    // opened, the answer stands without opening them again until the MIDI system's ports
    // change (Options::portsFingerprint) or a device operation finds them missing.
    virtual bool AreMidiPortsAvailable();
    // True when the keyboard answers the identity request with firmware "1041" or later.
    virtual bool IsDeviceFirmwareVersionUseable();
    // The same check with its cause, for a caller that tells the user which: 0 usable;
    // kPortsUnavailable when the keyboard could not be reached (its ports missing, or the
    // requests did not get out); kFirmwareNotUsable when it was reached and gave no usable
    // answer.
    virtual Result CheckDeviceFirmware();
    // Sends the identity request (behind the prefix) through an output port of the held
    // communication object: SendSysEx's result; 0x80004005 for a null port.
    virtual Result SendDeviceInquiry(const RCPtr<LRefCountedObject>& outputPort);
    // Replaces the communication object by a new one, registers for its captured data
    // and opens the input and output ports whose names contain the given parts. True
    // when both opened; the ports stay held until the operation that opened them ends.
    virtual bool OpenMidiPorts(const String& inputName, const String& outputName);

    // Frames `message` in place (F0 in front and F7 behind where missing; a one-byte F0
    // or F7 is refused with 0x80004005), sends it behind the prefix message unless
    // `prefixSent`, in pieces of kPieceSize with a pause of kPiecePauseMs after each.
    // 0 when every piece went; -1 when a piece failed, the port is null or there is no
    // communication object; 0x80070057, with nothing sent, for an empty message or one
    // with a byte of 80 or more between F0 and F7.
    Result SendSysEx(KeyboardSysEx::Bytes& message, const RCPtr<LRefCountedObject>& outputPort,
                     bool prefixSent);

    // ---- The port names and the global settings (GlobalSettings.h) -----------------------

    static String GetMidiInPortName();
    static String GetMidiOutPortName();
    static StringArray GetNonPresetParameterNames();
    static std::int32_t GetNonPresetParameterIndex(const String& name);
    static bool IsNonPresetParameterValueInRange(const String& name, std::int32_t value);
    static String GetNonPresetParameterName(std::span<const std::uint8_t> reply);

    // ---- Notifications -------------------------------------------------------------------

    // Through the handler table: the captured data of the held communication object (MIDI
    // worker thread), the posted global values (UI thread).
    Result Receive(const RCPtr<LNotificationDistributor>& sender,
                   const RCPtr<LNotification>& notification) override;
    // Removes the handler entry for the pair, then the registration.
    Result UnregisterForNotification(const RCPtr<LNotificationDistributor>& sender,
                                     NotificationName name) override;
    // Leaves every distributor it listens to and drops every client of its own; kOk when
    // that leaves the caller's as the only reference.
    Result ReleaseInternalReferences() override;

private:
    enum class Gate
    {
        kPreset,
        kParameter,
        kIdentity,
    };

    // One request cycle's operation, for the texts of its exceptions.
    struct CycleSite
    {
        std::string_view registerSite;
        std::string_view unregisterSite;
    };
    static const CycleSite kPresetSite;
    static const CycleSite kParameterSite;
    static const CycleSite kFirmwareSite;

    explicit LMidiManager(Options options);
    // Fills in the real port object and pause where `options` leaves them out.
    static Options WithDefaults(Options options);
    ~LMidiManager() override;

    // The held communication object and ports, read under the lock.
    RCPtr<LMidiCommInterface> GetComm() const;
    // Lets go of the held ports (the communication object stays).
    void ReleasePorts();
    // Let go of the ports when the operation that holds this ends.
    class OperationScope;

    // The firmware check without opening the ports anew: the identity request cycle's result.
    Result CheckFirmware();
    // The start of every device operation: fresh ports (`portsMissing` when they are not
    // there), then the firmware check unless skipped (-2 when the keyboard was reached but
    // gave no usable answer, -1 when the requests did not get out). 0 to go on.
    Result StartOperation(Result portsMissing, bool skipFirmwareCheck);
    // Sends a message of one of the operations, behind the prefix, through the held
    // communication object's output port, and waits until it has left: -1 when it did not.
    Result SendToKeyboard(KeyboardSysEx::Bytes& message);
    // Opens both ports, registers for captured data, arms the gate and runs up to kTries
    // sends of `request`, each followed by a wait for the gate. 0 on the reply; -1 when
    // the ports do not open, the last send failed (the first failed send when
    // `stopOnFailedSend`) or a request did not leave (no further try then); -3 otherwise. A global request
    // waits for the reply to `globalIndex`. Throws FailedResultException when the registration cannot be made
    // or removed.
    Result RunRequestCycle(Gate gate, const KeyboardSysEx::Bytes& request, std::int32_t globalIndex,
                           bool stopOnFailedSend, const CycleSite& site);
    TrafficLight& GetGate(Gate gate);
    void Arm(Gate gate, std::int32_t globalIndex);
    // Clears the awaited-reply mark; true when a reply took it meanwhile (and so the
    // gate is about to turn green).
    bool Disarm(Gate gate);

    void Pause(std::uint32_t ms) const;

    // The 131 values of the model as the 1338 data bytes; false when they do not make
    // them (not 131 values, a value that is not a block of its parameter's size).
    bool ReadPresetData(KeyboardSysEx::Bytes& data) const;
    void ApplyPresetData(std::span<const std::uint8_t> data) const;

    Result OnMidiDataCaptured(const RCPtr<LNotificationDistributor>& sender,
                              const RCPtr<LNotification>& notification);
    Result OnParameterPosted(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification);

    const Options mOptions; // complete: every function set
    RCPtr<LNotificationHandler<LMidiManager>> mHandler;

    // Guards the communication object, the ports and the engine across threads.
    mutable Mutex mLock;
    RCPtr<LMidiCommInterface> mComm;
    RCPtr<LRefCountedObject> mCapturePort;
    RCPtr<LRefCountedObject> mRenderPort;
    RCPtr<LRootModuleEngine> mEngine;
    // The ports' fingerprint when both ports last opened by AreMidiPortsAvailable.
    std::optional<std::uint64_t> mPortsFoundAt;

    // The application center, through whose queue global values reach the UI thread.
    RCPtr<LNotificationCenter> mAppCenter;

    TrafficLight mPresetGate;
    TrafficLight mParameterGate;
    TrafficLight mIdentityGate;
    // Set while a retrieve waits for its preset reply; the reply that clears it is applied.
    std::atomic<bool> mAwaitingPreset{false};
    // The wire index whose reply a global request waits for; -1 when none waits.
    std::atomic<std::int32_t> mAwaitedGlobalIndex{-1};
};

} // namespace KR
