#pragma once
// JACK MIDI without a client per port. Internal to this folder.
//
// Making a JACK client costs a server round trip and a thread, 75-130 ms in all, and the
// device operations open and close their ports every time. So the process keeps one
// client per name for its whole life, and its registered ports in a pool: opening a
// port takes an idle one and connects it, closing disconnects it and gives it back.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace KR::Platform::Detail
{

// Called on JACK's process thread with one MIDI event, as JACK delivered it.
using JackReceiver = void (*)(std::span<const std::uint8_t> bytes, void* context);

class JackMidiClient;
struct JackSlot;

// One port of ours. For an input `receiver` gets what arrives until Close; an output
// ignores it.
class JackMidiPort
{
public:
    JackMidiPort(const JackMidiPort&) = delete;
    JackMidiPort& operator=(const JackMidiPort&) = delete;
    ~JackMidiPort();

    // Connects to the other program's port `target` (full name) and returns once the
    // connection carries data, or fails after a bounded wait.
    static std::unique_ptr<JackMidiPort> Connect(const std::string& clientName, bool input,
                                                 const std::string& target, JackReceiver receiver,
                                                 void* context, std::string* error);

    // A port named `portName` that other programs connect to themselves.
    static std::unique_ptr<JackMidiPort> CreateVirtual(const std::string& clientName, bool input,
                                                       const std::string& portName, JackReceiver receiver,
                                                       void* context, std::string* error);

    // Queues one message for the next process cycle. False when the queue is full or
    // the server has gone.
    bool Write(std::span<const std::uint8_t> bytes, std::string* error);

    // Waits (bounded by the server's answer time) until what was written has gone to the
    // server, keeping the port open. False, with the reason in `error`, when it had not: it
    // still goes if the server runs again.
    bool WaitUntilSent(std::string* error);

    // Waits (bounded by the server's answer time) until what was written has gone to the
    // server, then disconnects. False, with the reason in `error`, when it had not: the
    // port then stays connected, out of use, and sends it if the server runs again. For
    // an input, the receiver is not called once this returns. Closing twice is harmless.
    bool Close(std::string* error);

private:
    JackMidiPort(JackMidiClient* client, JackSlot* slot) : client_(client), slot_(slot) {}

    JackMidiClient* client_;
    JackSlot* slot_;
};

// Full names of the other programs' ports of one kind: `sources` are the ports that
// send (what an input connects to), else the ports that receive. In JACK's order,
// without this process's connection ports: those of its pools, and those of the
// default "In" and "Out" clients, which a second copy of this layer in the process
// (the device-control library has its own) cannot see in this one's pools. Empty when
// no server can be reached.
std::vector<std::string> ListJackPorts(const std::string& clientName, bool sources);

// A client name of this process: the program's name, what the client is for ("In",
// "Out") and the process id, so that two processes never share one.
std::string DefaultClientName(std::string_view role);

} // namespace KR::Platform::Detail
