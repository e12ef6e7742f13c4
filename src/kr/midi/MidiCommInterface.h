#pragma once
// Named MIDI ports as the rest of the program sees them.
//
//     RCPtr<LMidiComm> midi = LMidiComm::Create();
//     client->RegisterForNotification(midi, kNidMidiDataCaptured);
//     RCPtr<LRefCountedObject> in, out;
//     if (Succeeded(midi->OpenCapturePort(u"MIDIIN4 (Vantor)", in)) &&
//         Succeeded(midi->OpenRenderPort(u"MIDIOUT4 (Vantor)", out)))
//     {
//         midi->SendMidi(out, request);   // the reply reaches client->Receive on the
//     }                                   // MIDI object's worker thread
//     in = nullptr;                       // the last holder closes the device
//
// Ports:
// - A port is opened by a part of its name, letter case ignored (ASCII and Latin-1,
//   whatever the locale). An open port of that direction whose name contains the part
//   (or that was opened by that name) is handed out again, the most recently opened
//   first; otherwise the port the platform layer's name rule picks is opened: the
//   lowest-numbered port whose name contains the part, else for "MIDIIN<n> (<device>)"
//   and "MIDIOUT<n> (<device>)" the n-th port whose name contains the device
//   (FindPortByName). An empty part matches every name.
// - A port is open for as long as anybody holds it. While it is held, opening a name
//   it matches gives the same object; when the last holder lets go, the device is
//   closed and the next open opens it anew. There is no close operation.
// - Ports are handed out as plain reference-counted objects, to be kept and handed
//   back to SendMidi; LMidiCapturePort (MidiCapturePort.h) and LMidiRenderPort
//   (MidiRenderPort.h) tell more.
//
// Threads: opening, sending and releasing ports may happen on any thread. Captured
// messages are sent as "NID_MIDI_DATA_CAPTURED" on the MIDI object's own worker
// thread, one at a time in the order they arrived - never on the thread that opened
// the port, never on the MIDI system's threads.

#include "kr/core/IArray.h"
#include "kr/core/RCPtr.h"
#include "kr/core/RefCountedObject.h"
#include "kr/core/StringT.h"
#include "kr/core/Types.h"
#include "kr/notify/NotificationDistributor.h"

namespace KR
{

// "NID_MIDI_DATA_CAPTURED": sent by the MIDI object (LMidiComm) on its worker thread,
// once per captured message in the order of arrival; payload one
// LMidiCaptureNotificationData (MidiCaptureNotificationData.h). Handlers run on that
// thread: they must not touch controls, and the next message waits until they return.
inline constexpr const char16_t* kNidMidiDataCaptured = u"NID_MIDI_DATA_CAPTURED";

class LMidiCommInterface : public LNotificationDistributor
{
public:
    // Opens (or finds open) the input port whose name contains `name`, as above.
    // kOk with the port in `port`; kFail with `port` cleared when no port matches or
    // the MIDI system refuses.
    virtual Result OpenCapturePort(const String& name, RCPtr<LRefCountedObject>& port) = 0;

    // The same for an output port.
    virtual Result OpenRenderPort(const String& name, RCPtr<LRefCountedObject>& port) = 0;

    // Sends `bytes` through an output port opened by OpenRenderPort, on the calling
    // thread; sends through one port are serialised. Returns once the bytes are handed
    // to the MIDI system: the caller may reuse or free them at once.
    //
    // First byte F0, F7 or a data byte (below 80): system-exclusive bytes, a whole
    // message or one piece of one (send a long message as pieces in order, the first
    // beginning with F0, the last ending with F7). Result: the number of bytes sent.
    //
    // Any other first byte is a status byte, and the message it begins goes out with as
    // many bytes as that status calls for; bytes past the array's end are sent as 0,
    // extra bytes are not sent. Result: 0 for a channel message (80..EF); for a system
    // message its length: 3 for F2, 2 for F1 and F3, 1 for the others.
    //
    // kInvalidArg for a null port, a port that is not an output port, or no bytes;
    // kFail when the MIDI system does not take the bytes (never a success then).
    virtual Result SendMidi(const RCPtr<LRefCountedObject>& port, const IArray<signed char>& bytes) = 0;

    // Waits until everything sent through the output port has left for the MIDI system,
    // at most as long as that system may keep a request waiting (on JACK, where sends are
    // queued for the server's next cycle). kOk when it has; kFail when it has not: the
    // server stalled or went away, and what it may still send later cannot be counted on.
    // A sender that reports success only for what has left asks this before it does.
    // kInvalidArg for a null port or one that is not an output port.
    virtual Result WaitUntilSent(const RCPtr<LRefCountedObject>& port) = 0;
};

} // namespace KR
