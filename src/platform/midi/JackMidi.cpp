#include "platform/midi/JackMidi.h"

#include "platform/midi/JackRequests.h"

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <utility>

#include <unistd.h>

namespace KR::Platform::Detail
{
namespace
{

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Ports a client can hold at once; ports are reused, so this bounds what is open at
// one time, not how often ports open.
constexpr std::size_t kMaxSlots = 64;
// Bytes an output may queue ahead of the process cycle.
constexpr std::size_t kQueueBytes = 64 * 1024;
// A message goes out in events of at most this size, so each fits a port buffer whatever
// the server's period; our receivers join the pieces of a system-exclusive message.
constexpr std::size_t kMaxEventBytes = 1024;

enum SlotState : int
{
    kFree, // no port registered
    kIdle, // registered, not connected: kept for the next open
    kOpen,
};

} // namespace

struct JackSlot
{
    // Written while the slot is free and read by the process thread only when it is
    // not: the state's store and load order them.
    jack_port_t* port = nullptr;
    bool input = false;
    bool pooled = false; // a connection port kept between opens; virtual ports go at close
    JackReceiver receiver = nullptr;
    void* context = nullptr;
    jack_ringbuffer_t* queue = nullptr; // outputs only
    std::atomic<int> state = kFree;
    // Never reset: the queue is empty exactly when they are equal.
    std::atomic<std::uint64_t> written = 0; // events queued
    std::atomic<std::uint64_t> drained = 0; // events handed to JACK

    // Guarded by the client's mutex.
    bool inUse = false;
    // Closed while the server held back what was queued: the slot stays open, and taken,
    // until the process thread has sent it.
    bool closing = false;
    std::string fullName;
    std::string target;
};

class JackMidiClient
{
public:
    static JackMidiClient* Get(const std::string& name, std::string* error);

    // Closed by then (Close), or never opened: no process thread uses the slots any more.
    ~JackMidiClient()
    {
        for (JackSlot& slot : slots_)
        {
            if (slot.queue != nullptr)
            {
                jack_ringbuffer_free(slot.queue);
            }
        }
    }

    bool Gone() const { return gone_.load(); }
    jack_client_t* Handle() const { return client_; }
    // Closes the client (which stops its process thread first); false when the server did
    // not answer in time, or has gone, and the client must then stay as it is.
    bool Close();

    JackSlot* Open(bool input, bool pooled, const std::string& name, JackReceiver receiver, void* context,
                   std::string* error);
    // False, with the reason in `error`, when what was written had not gone to the server
    // in time; it still goes if the server runs again.
    bool Release(JackSlot* slot, std::string* error);
    // The wait of Release without the release.
    bool WaitUntilSent(JackSlot* slot, std::string* error);
    bool Write(JackSlot* slot, std::span<const std::uint8_t> bytes, std::string* error);

private:
    JackMidiClient() = default;
    // On the request thread: opens and activates the client; what went wrong, or nothing.
    std::string OpenOnServer(const std::string& name);
    // On the request thread: closes what is open.
    void CloseOnServer();
    static int Process(jack_nframes_t frames, void* arg);
    static void Drain(JackSlot& slot, void* buffer);
    static void OnShutdown(void* arg) { static_cast<JackMidiClient*>(arg)->gone_.store(true); }
    // On the request thread, right before a call into the JACK library: the handle, or
    // null once the server has gone. The library frees the clients of a server that went
    // away as soon as the process opens another client, which it does only on this thread,
    // so a handle is never used after that.
    jack_client_t* Live() const { return gone_.load() ? nullptr : client_; }

    JackSlot* TakeSlot(bool input, bool pooled, const std::string& name, std::string* error);
    void SetState(JackSlot* slot, SlotState state);
    // Under the mutex: disconnects (or unregisters) a slot whose queue is empty and frees it.
    void FinishRelease(JackSlot* slot);
    // Under the mutex: finishes the closes whose queues the server has taken since.
    void FinishClosing();
    // On the request thread: takes down a connection of ours, unless the server has gone.
    void Disconnect(const std::string& source, const std::string& destination);
    // Waits, at most `timeout`, until `done` holds; it is checked after every cycle. Not at
    // all while the server is known to run no cycles (ServerStalled).
    template <typename Done>
    bool WaitForCycles(std::chrono::milliseconds timeout, Done done);
    // How long a release waits for its disconnect to be answered.
    static std::chrono::milliseconds DisconnectWait();

    jack_client_t* client_ = nullptr;
    std::mutex mutex_; // opens and closes, one at a time
    std::array<JackSlot, kMaxSlots> slots_;
    std::atomic<std::size_t> slotCount_ = 0;
    std::atomic<bool> inProcess_ = false;
    std::atomic<bool> gone_ = false;
    std::atomic<int> waiters_ = 0;
    std::atomic<std::uint64_t> cycles_ = 0; // process cycles run
    std::mutex cycleMutex_;
    std::condition_variable cycleDone_;
};

namespace
{

// Set when a wait for a client's cycles ran out with no cycle run in its second half: the
// server has stopped (SIGSTOP, a hang, a machine that gives it no processor). Until a cycle
// of any client runs again, or a client opens, nothing here waits for cycles or for the
// server to answer a release, and no connection is asked for: an operation that meets a
// stopped server fails after one wait of the server's answer time, not after one such wait
// for each port it opens or closes.
std::atomic<bool> gServerStalled = false;

// The process's clients, by name. A client whose server went away stays here, unused,
// since ports still open may refer to it; a new one takes its name. A client ends only
// once closed, after every request queued on the request thread before its close, so
// it outlives a late answer.
struct Registry
{
    // The process's end closes the clients, so a synchronous server does not wait for
    // them; one whose close the server does not answer is left as it is, and so is one
    // whose server went away (the JACK library may have freed it already).
    ~Registry()
    {
        for (auto& [name, client] : clients)
        {
            gone.push_back(std::move(client));
        }
        for (std::shared_ptr<JackMidiClient>& client : gone)
        {
            if (!client->Close())
            {
                Unclosed().push_back(std::move(client));
            }
        }
    }

    static std::vector<std::shared_ptr<JackMidiClient>>& Unclosed()
    {
        static auto* const kept = new std::vector<std::shared_ptr<JackMidiClient>>();
        return *kept;
    }

    std::mutex mutex;
    std::map<std::string, std::shared_ptr<JackMidiClient>> clients;
    std::vector<std::shared_ptr<JackMidiClient>> gone;
    std::set<std::string> pooledPorts; // full names, left out of listings
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

} // namespace

JackMidiClient* JackMidiClient::Get(const std::string& name, std::string* error)
{
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    auto found = registry.clients.find(name);
    if (found != registry.clients.end())
    {
        if (!found->second->Gone())
        {
            return found->second.get();
        }
        registry.gone.push_back(std::move(found->second));
        registry.clients.erase(found);
    }
    const auto made = std::shared_ptr<JackMidiClient>(new JackMidiClient());
    std::string ignored;
    std::string& reason = error != nullptr ? *error : ignored;
    // A client the server makes after we gave up on it is closed again at once.
    const std::optional<std::string> problem =
        AskJackServer<std::string>([made, name] { return made->OpenOnServer(name); },
                                   [made](const std::string&) { made->CloseOnServer(); }, &reason);
    if (!problem || !problem->empty())
    {
        if (problem)
        {
            reason = *problem;
            PostJackRequest([made] { made->CloseOnServer(); });
        }
        return nullptr;
    }
    // The server answered: whatever stalled it is over.
    gServerStalled.store(false);
    registry.clients.emplace(name, made);
    return made.get();
}

std::string JackMidiClient::OpenOnServer(const std::string& name)
{
    jack_status_t status{};
    client_ = jack_client_open(name.c_str(), JackNoStartServer, &status);
    if (client_ == nullptr)
    {
        return "cannot reach the JACK server (status 0x" + std::to_string(status) + ")";
    }
    jack_set_process_callback(client_, &JackMidiClient::Process, this);
    jack_on_shutdown(client_, &JackMidiClient::OnShutdown, this);
    if (jack_activate(client_) != 0)
    {
        return "the JACK server refused to activate \"" + name + "\"";
    }
    return std::string();
}

void JackMidiClient::CloseOnServer()
{
    if (client_ != nullptr)
    {
        jack_client_close(client_);
        client_ = nullptr;
    }
}

bool JackMidiClient::Close()
{
    // Nothing is left to close on a server that has gone, and the handle may be freed.
    return client_ == nullptr || (!Gone() && RunJackRequest([this] { CloseOnServer(); }, {}, nullptr));
}

int JackMidiClient::Process(jack_nframes_t frames, void* arg)
{
    auto* self = static_cast<JackMidiClient*>(arg);
    self->inProcess_.store(true);
    const std::size_t count = self->slotCount_.load();
    for (std::size_t i = 0; i < count; ++i)
    {
        JackSlot& slot = self->slots_[i];
        const int state = slot.state.load();
        if (state == kFree)
        {
            continue;
        }
        void* buffer = jack_port_get_buffer(slot.port, frames);
        if (!slot.input)
        {
            // An output buffer keeps what it held until cleared: a port reconnected
            // later would send last time's events again.
            jack_midi_clear_buffer(buffer);
            if (state == kOpen)
            {
                Drain(slot, buffer);
            }
            continue;
        }
        if (state != kOpen)
        {
            continue;
        }
        const jack_nframes_t events = jack_midi_get_event_count(buffer);
        for (jack_nframes_t e = 0; e < events; ++e)
        {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, buffer, e) == 0 && event.size > 0)
            {
                slot.receiver(std::span<const std::uint8_t>(event.buffer, event.size), slot.context);
            }
        }
    }
    self->inProcess_.store(false);
    self->cycles_.fetch_add(1);
    if (gServerStalled.load(std::memory_order_relaxed))
    {
        gServerStalled.store(false);
    }
    if (self->waiters_.load() > 0)
    {
        self->cycleDone_.notify_all();
    }
    return 0;
}

void JackMidiClient::Drain(JackSlot& slot, void* buffer)
{
    std::uint32_t size = 0;
    while (jack_ringbuffer_read_space(slot.queue) >= sizeof size)
    {
        jack_ringbuffer_peek(slot.queue, reinterpret_cast<char*>(&size), sizeof size);
        if (jack_ringbuffer_read_space(slot.queue) < sizeof size + size)
        {
            break; // the writer is halfway through
        }
        jack_midi_data_t* event = jack_midi_event_reserve(buffer, 0, size);
        if (event == nullptr)
        {
            break; // the buffer is full; the rest goes next cycle
        }
        jack_ringbuffer_read_advance(slot.queue, sizeof size);
        jack_ringbuffer_read(slot.queue, reinterpret_cast<char*>(event), size);
        slot.drained.fetch_add(1);
    }
}

template <typename Done>
bool JackMidiClient::WaitForCycles(std::chrono::milliseconds timeout, Done done)
{
    if (gServerStalled.load())
    {
        return done();
    }
    const Clock::time_point deadline = Clock::now() + timeout;
    std::uint64_t cycles = cycles_.load();
    Clock::time_point lastCycle = Clock::now();
    waiters_.fetch_add(1);
    bool result = false;
    std::unique_lock lock(cycleMutex_);
    while (!(result = done()) && !gone_.load() && Clock::now() < deadline)
    {
        // The process thread notifies without the lock, so a wake-up can slip in
        // between the test and the wait: the slice bounds what that costs.
        cycleDone_.wait_for(lock, 2ms);
        if (cycles_.load() != cycles)
        {
            cycles = cycles_.load();
            lastCycle = Clock::now();
        }
    }
    waiters_.fetch_sub(1);
    // A server that stopped just after the wait began ran a cycle or two at its start.
    if (!result && !gone_.load() && Clock::now() - lastCycle >= timeout / 2)
    {
        gServerStalled.store(true);
    }
    return result;
}

std::chrono::milliseconds JackMidiClient::DisconnectWait()
{
    // Behind a request the stopped server will not answer for as long as it stays stopped;
    // the disconnect still takes its turn.
    return gServerStalled.load() ? 0ms : JackAnswerTimeout();
}

void JackMidiClient::SetState(JackSlot* slot, SlotState state)
{
    slot->state.store(state);
    // A cycle that read the old state may still be using it; it ends within
    // microseconds, since the process thread waits for nothing of ours.
    while (inProcess_.load())
    {
        std::this_thread::yield();
    }
}

JackSlot* JackMidiClient::TakeSlot(bool input, bool pooled, const std::string& name, std::string* error)
{
    if (pooled)
    {
        for (std::size_t i = 0; i < slotCount_.load(); ++i)
        {
            JackSlot& slot = slots_[i];
            if (!slot.inUse && slot.pooled && slot.input == input && slot.state.load() == kIdle)
            {
                slot.inUse = true;
                return &slot;
            }
        }
    }
    JackSlot* slot = nullptr;
    for (std::size_t i = 0; i < slotCount_.load() && slot == nullptr; ++i)
    {
        if (!slots_[i].inUse && slots_[i].state.load() == kFree)
        {
            slot = &slots_[i];
        }
    }
    if (slot == nullptr && slotCount_.load() < kMaxSlots)
    {
        slot = &slots_[slotCount_.load()];
    }
    if (slot == nullptr)
    {
        *error = "too many MIDI ports open at once";
        return nullptr;
    }
    // Pooled ports get numbered names of their own; the first of a kind keeps the plain one.
    std::string portName = name;
    const std::string prefix = std::string(jack_get_client_name(client_)) + ":";
    for (int number = 2; pooled && jack_port_by_name(client_, (prefix + portName).c_str()) != nullptr;
         ++number)
    {
        portName = name + " " + std::to_string(number);
    }
    const unsigned long flags = input ? JackPortIsInput : JackPortIsOutput;
    const std::optional<jack_port_t*> registered = AskJackServer<jack_port_t*>(
        [this, portName, flags]() -> jack_port_t*
        {
            jack_client_t* const client = Live();
            return client ? jack_port_register(client, portName.c_str(), JACK_DEFAULT_MIDI_TYPE, flags, 0)
                          : nullptr;
        },
        [this](jack_port_t* late)
        {
            if (jack_client_t* const client = Live(); client && late)
            {
                jack_port_unregister(client, late);
            }
        },
        error);
    if (!registered || *registered == nullptr)
    {
        if (registered)
        {
            *error = "JACK refused the port \"" + portName + "\"";
        }
        return nullptr;
    }
    jack_port_t* const port = *registered;
    if (!input && slot->queue == nullptr)
    {
        slot->queue = jack_ringbuffer_create(kQueueBytes);
    }
    slot->port = port;
    slot->input = input;
    slot->pooled = pooled;
    slot->fullName = jack_port_name(port);
    slot->inUse = true;
    if (slot == &slots_[slotCount_.load()])
    {
        slotCount_.fetch_add(1); // published with its port set and its state still free
    }
    if (pooled)
    {
        std::lock_guard lock(TheRegistry().mutex);
        TheRegistry().pooledPorts.insert(slot->fullName);
    }
    return slot;
}

JackSlot* JackMidiClient::Open(bool input, bool pooled, const std::string& name, JackReceiver receiver,
                               void* context, std::string* error)
{
    std::string ignored;
    std::string& reason = error != nullptr ? *error : ignored;
    std::lock_guard lock(mutex_);
    if (gone_.load())
    {
        reason = "the JACK server has gone";
        return nullptr;
    }
    if (pooled && gServerStalled.load())
    {
        // Its connection could not come up without cycles.
        reason = "the JACK server has stopped running its cycles";
        return nullptr;
    }
    FinishClosing();
    JackSlot* slot = TakeSlot(input, pooled, pooled ? std::string(input ? "in" : "out") : name, &reason);
    if (slot == nullptr)
    {
        return nullptr;
    }
    // A slot is only ever taken with its queue empty, so it is never reset: what a send
    // reported sent stays queued until the process thread has sent it.
    slot->receiver = receiver;
    slot->context = context;
    slot->target = pooled ? name : std::string();
    SetState(slot, kOpen);
    if (!pooled)
    {
        return slot;
    }
    const std::string source = input ? slot->target : slot->fullName;
    const std::string destination = input ? slot->fullName : slot->target;
    // A connection the server makes after we gave up on it is cut again at once.
    const std::optional<int> connected = AskJackServer<int>(
        [this, source, destination]
        {
            jack_client_t* const client = Live();
            return client ? jack_connect(client, source.c_str(), destination.c_str()) : ESHUTDOWN;
        },
        [this, source, destination](int late)
        {
            if (jack_client_t* const client = Live(); client && late == 0)
            {
                jack_disconnect(client, source.c_str(), destination.c_str());
            }
        },
        &reason);
    const bool made = connected && (*connected == 0 || *connected == EEXIST);
    // The connection is made in the server's next graph; a message sent before that
    // graph runs would go nowhere, so the open waits until the port reports it. A loaded
    // machine can hold the graph back for many periods: it gets as long as any request to
    // the server, or an open fails on a server that is only slow.
    if (!made || !WaitForCycles(JackAnswerTimeout(), [&]
                                { return jack_port_connected_to(slot->port, slot->target.c_str()) != 0; }))
    {
        if (connected)
        {
            reason = gone_.load() ? "the JACK server has gone"
                     : made       ? "the connection to \"" + slot->target + "\" did not come up in time"
                                  : "JACK did not connect \"" + source + "\" to \"" + destination + "\"";
        }
        SetState(slot, kIdle);
        if (made)
        {
            PostJackRequest([this, source, destination] { Disconnect(source, destination); });
        }
        slot->inUse = false;
        return nullptr;
    }
    return slot;
}

bool JackMidiClient::WaitUntilSent(JackSlot* slot, std::string* error)
{
    const auto queued = [slot] { return slot->written.load() - slot->drained.load(); };
    // What was queued leaves within a cycle; the open connection carries it. A server held
    // back (a loaded machine, a stopped process) gets as long as any request to it.
    if (slot->input || WaitForCycles(JackAnswerTimeout(), [&] { return queued() == 0; }))
    {
        return true;
    }
    *error = "what was sent (" + std::to_string(queued()) + " MIDI events) had not gone to the JACK server " +
             (gone_.load() ? "when it went away" : "by the time it stopped answering");
    return false;
}

bool JackMidiClient::Release(JackSlot* slot, std::string* error)
{
    const bool sent = WaitUntilSent(slot, error);
    std::lock_guard lock(mutex_);
    if (!sent)
    {
        // The slot stays open and connected, so that the messages still go if the server
        // runs again, and taken, so that no open reuses it meanwhile; the next open after
        // they have gone finishes the close.
        slot->closing = true;
        return false;
    }
    FinishRelease(slot);
    return true;
}

void JackMidiClient::FinishClosing()
{
    for (std::size_t i = 0; i < slotCount_.load(); ++i)
    {
        JackSlot& slot = slots_[i];
        if (slot.closing && slot.drained.load() == slot.written.load())
        {
            slot.closing = false;
            FinishRelease(&slot);
        }
    }
}

void JackMidiClient::Disconnect(const std::string& source, const std::string& destination)
{
    if (jack_client_t* const client = Live())
    {
        jack_disconnect(client, source.c_str(), destination.c_str());
    }
}

void JackMidiClient::FinishRelease(JackSlot* slot)
{
    SetState(slot, slot->pooled ? kIdle : kFree);
    // Whatever the server's answer, the request takes its turn (behind any still
    // unanswered), and whatever opens next asks after it.
    if (slot->pooled)
    {
        const std::string source = slot->input ? slot->target : slot->fullName;
        const std::string destination = slot->input ? slot->fullName : slot->target;
        // A port that vanished took the connection with it (and JACK would complain), and
        // a server that went away took them all.
        if (!gone_.load() && jack_port_by_name(client_, slot->target.c_str()) != nullptr)
        {
            PostJackRequest([this, source, destination] { Disconnect(source, destination); },
                            DisconnectWait());
        }
    }
    else
    {
        PostJackRequest(
            [this, port = slot->port]
            {
                if (jack_client_t* const client = Live())
                {
                    jack_port_unregister(client, port);
                }
            },
            DisconnectWait());
        slot->port = nullptr;
    }
    slot->receiver = nullptr;
    slot->context = nullptr;
    slot->inUse = false;
}

bool JackMidiClient::Write(JackSlot* slot, std::span<const std::uint8_t> bytes, std::string* error)
{
    if (gone_.load())
    {
        *error = "the JACK server has gone";
        return false;
    }
    // A device unplugged since the open took its port and our connection with it; what
    // is written now would go nowhere, so it is refused instead of reported sent.
    // (Looked up by name: asking JACK about connections sleeps a period while the server
    // has a graph change pending, and a send must not wait on other programs.)
    if (slot->pooled && jack_port_by_name(client_, slot->target.c_str()) == nullptr)
    {
        *error = "\"" + slot->target + "\" is no longer there";
        return false;
    }
    const std::size_t events = (bytes.size() + kMaxEventBytes - 1) / kMaxEventBytes;
    if (jack_ringbuffer_write_space(slot->queue) < bytes.size() + events * sizeof(std::uint32_t))
    {
        *error = "the MIDI output queue is full";
        return false;
    }
    for (std::size_t at = 0; at < bytes.size(); at += kMaxEventBytes)
    {
        const auto size = static_cast<std::uint32_t>(std::min(kMaxEventBytes, bytes.size() - at));
        jack_ringbuffer_write(slot->queue, reinterpret_cast<const char*>(&size), sizeof size);
        jack_ringbuffer_write(slot->queue, reinterpret_cast<const char*>(bytes.data() + at), size);
        slot->written.fetch_add(1);
    }
    return true;
}

JackMidiPort::~JackMidiPort()
{
    Close(nullptr);
}

std::unique_ptr<JackMidiPort> JackMidiPort::Connect(const std::string& clientName, bool input,
                                                    const std::string& target, JackReceiver receiver,
                                                    void* context, std::string* error)
{
    JackMidiClient* client = JackMidiClient::Get(clientName, error);
    JackSlot* slot =
        client != nullptr ? client->Open(input, true, target, receiver, context, error) : nullptr;
    return slot != nullptr ? std::unique_ptr<JackMidiPort>(new JackMidiPort(client, slot)) : nullptr;
}

std::unique_ptr<JackMidiPort> JackMidiPort::CreateVirtual(const std::string& clientName, bool input,
                                                          const std::string& portName, JackReceiver receiver,
                                                          void* context, std::string* error)
{
    JackMidiClient* client = JackMidiClient::Get(clientName, error);
    JackSlot* slot =
        client != nullptr ? client->Open(input, false, portName, receiver, context, error) : nullptr;
    return slot != nullptr ? std::unique_ptr<JackMidiPort>(new JackMidiPort(client, slot)) : nullptr;
}

bool JackMidiPort::Write(std::span<const std::uint8_t> bytes, std::string* error)
{
    return slot_ != nullptr && client_->Write(slot_, bytes, error);
}

bool JackMidiPort::WaitUntilSent(std::string* error)
{
    std::string ignored;
    return slot_ == nullptr || client_->WaitUntilSent(slot_, error != nullptr ? error : &ignored);
}

bool JackMidiPort::Close(std::string* error)
{
    JackSlot* const slot = std::exchange(slot_, nullptr);
    std::string ignored;
    return slot == nullptr || client_->Release(slot, error != nullptr ? error : &ignored);
}

std::vector<std::string> ListJackPorts(const std::string& clientName, bool sources)
{
    JackMidiClient* client = JackMidiClient::Get(clientName, nullptr);
    if (client == nullptr)
    {
        return {};
    }
    std::vector<std::string> names;
    const char** ports = jack_get_ports(client->Handle(), nullptr, JACK_DEFAULT_MIDI_TYPE,
                                        sources ? JackPortIsOutput : JackPortIsInput);
    if (ports == nullptr)
    {
        return names;
    }
    const std::string ownIn = DefaultClientName("In") + ":";
    const std::string ownOut = DefaultClientName("Out") + ":";
    Registry& registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    for (const char** port = ports; *port != nullptr; ++port)
    {
        const std::string_view name = *port;
        if (registry.pooledPorts.count(*port) == 0 && !name.starts_with(ownIn) && !name.starts_with(ownOut))
        {
            names.emplace_back(name);
        }
    }
    jack_free(ports);
    return names;
}

std::string DefaultClientName(std::string_view role)
{
    const std::string suffix = " " + std::string(role) + " " + std::to_string(getpid());
    std::string program = program_invocation_short_name;
    const auto limit = static_cast<std::size_t>(jack_client_name_size() - 1);
    program.resize(std::min(program.size(), limit > suffix.size() ? limit - suffix.size() : 0));
    return program + suffix;
}

} // namespace KR::Platform::Detail
