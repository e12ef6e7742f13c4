#include "platform/midi/MidiInput.h"

#include "platform/midi/JackMidi.h"
#include "platform/midi/MidiMessageAssembler.h"
#include "platform/midi/PortNameMatch.h"
#include "platform/midi/RtMidiSupport.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace KR::Platform
{
namespace
{

const std::string kOwnPortName = "in";

// Bytes the backend may queue ahead of a slow callback before input is dropped (and
// treated as an input error, so no message is glued together across the gap).
constexpr std::size_t kMaxQueuedBytes = 1024 * 1024;

} // namespace

// Shared by the port object, the backend's callback and the delivery thread, so a port
// closed from inside its own callback can let the thread finish on its own.
struct MidiInput::Impl
{
    struct Chunk
    {
        std::uint32_t size;
        std::uint32_t timeMs;
        bool afterError; // input was lost just before this chunk
    };

    explicit Impl(Callback cb) : callback(std::move(cb)) {}

    // Run on the backend's thread: they copy and wake the delivery thread, nothing else.
    static void OnRtMidiInput(double, std::vector<unsigned char>* message, void* userData)
    {
        if (message != nullptr)
        {
            static_cast<Impl*>(userData)->Queue(*message);
        }
    }

    static void OnJackInput(std::span<const std::uint8_t> bytes, void* userData)
    {
        static_cast<Impl*>(userData)->Queue(bytes);
    }

    void Queue(std::span<const std::uint8_t> message)
    {
        if (message.empty())
        {
            return;
        }
        const auto timeMs = ElapsedMs();
        {
            std::lock_guard lock(mutex);
            if (stopping)
            {
                return;
            }
            if (queued.size() + message.size() > kMaxQueuedBytes)
            {
                inputLost = true;
                return;
            }
            queued.insert(queued.end(), message.begin(), message.end());
            chunks.push_back({static_cast<std::uint32_t>(message.size()), timeMs, inputLost});
            inputLost = false;
        }
        wake.notify_one();
    }

    void OnBackendError(const std::string& text)
    {
        std::lock_guard lock(mutex);
        lastError = text;
        ++errorCount;
        inputLost = true;
    }

    int ErrorCount()
    {
        std::lock_guard lock(mutex);
        return errorCount;
    }

    std::string LastError()
    {
        std::lock_guard lock(mutex);
        return lastError;
    }

    std::uint32_t ElapsedMs() const
    {
        const auto elapsed = std::chrono::steady_clock::now() - start;
        return static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    }

    void Deliver()
    {
        std::vector<std::uint8_t> bytes;
        std::vector<Chunk> batch;
        std::uint32_t timeMs = 0;
        const MidiMessageAssembler::Sink sink = [this, &timeMs](std::span<const std::uint8_t> message)
        {
            if (closed.load())
            {
                return;
            }
            try
            {
                callback(message, timeMs);
            }
            catch (...)
            {
                // The callback's owner has no way to hear about it here; the port goes on.
            }
        };
        for (;;)
        {
            {
                std::unique_lock lock(mutex);
                wake.wait(lock, [this] { return stopping || !chunks.empty(); });
                if (stopping)
                {
                    return;
                }
                bytes.swap(queued);
                batch.swap(chunks);
            }
            std::size_t offset = 0;
            for (const Chunk& chunk : batch)
            {
                if (chunk.afterError)
                {
                    assembler.Reset();
                }
                timeMs = chunk.timeMs;
                assembler.Feed(std::span<const std::uint8_t>(bytes.data() + offset, chunk.size), sink);
                offset += chunk.size;
            }
            bytes.clear();
            batch.clear();
        }
    }

    Callback callback;
    Detail::RtMidiErrorHandler errorHandler = [this](const std::string& text) { OnBackendError(text); };
    std::unique_ptr<RtMidiIn> midi;
    std::unique_ptr<Detail::JackMidiPort> jack;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();

    std::mutex mutex; // guards the fields below, up to the delivery thread's own state
    std::condition_variable wake;
    std::vector<std::uint8_t> queued;
    std::vector<Chunk> chunks;
    bool stopping = false;
    bool inputLost = false;
    std::string lastError;
    int errorCount = 0;

    // Set first thing by Close; a callback that closes its own port must not be
    // followed by the rest of the batch it came from.
    std::atomic<bool> closed = false;

    std::mutex closeMutex; // one Close at a time
    std::thread thread;
    MidiMessageAssembler assembler; // delivery thread only
};

MidiInput::MidiInput(std::shared_ptr<Impl> impl, std::string name)
    : impl_(std::move(impl)), name_(std::move(name))
{
}

MidiInput::~MidiInput()
{
    Close();
}

std::unique_ptr<MidiInput> MidiInput::Open(std::string_view namePart, Callback callback,
                                           const MidiPortOptions& options, std::string* error)
{
    return OpenPort(namePart, false, std::move(callback), options, error);
}

std::unique_ptr<MidiInput> MidiInput::CreateVirtual(const std::string& portName, Callback callback,
                                                    const MidiPortOptions& options, std::string* error)
{
    return OpenPort(portName, true, std::move(callback), options, error);
}

std::unique_ptr<MidiInput> MidiInput::OpenPort(std::string_view name, bool isVirtual, Callback callback,
                                               const MidiPortOptions& options, std::string* error)
{
    auto impl = std::make_shared<Impl>(std::move(callback));
    const bool onJack = ResolveMidiApi(options.api) == MidiApi::kJack;
    const std::string clientName =
        options.clientName.empty() ? Detail::DefaultClientName("In") : options.clientName;
    if (!onJack)
    {
        impl->midi = Detail::CreateRtMidiIn(options.api, clientName, &impl->errorHandler, error);
        if (!impl->midi)
        {
            return nullptr;
        }
    }
    std::string portName(name);
    std::optional<unsigned int> index;
    if (!isVirtual)
    {
        const std::vector<std::string> names =
            onJack ? Detail::ListJackPorts(clientName, true) : Detail::PortNames(*impl->midi);
        const auto found = FindPortByName(names, name, PortDirection::kInput);
        if (!found)
        {
            if (error != nullptr)
            {
                *error = "no MIDI input port goes by \"" + portName + "\"";
            }
            return nullptr;
        }
        index = static_cast<unsigned int>(*found);
        portName = names[*found];
    }

    impl->thread = std::thread([impl] { impl->Deliver(); });
    auto port = std::unique_ptr<MidiInput>(new MidiInput(impl, portName));
    if (onJack)
    {
        impl->jack = isVirtual ? Detail::JackMidiPort::CreateVirtual(clientName, true, portName,
                                                                     &Impl::OnJackInput, impl.get(), error)
                               : Detail::JackMidiPort::Connect(clientName, true, portName, &Impl::OnJackInput,
                                                               impl.get(), error);
        return impl->jack ? std::move(port) : nullptr; // the port's destructor stops the thread
    }

    // System-exclusive replies are the point of this port, and the clock and active
    // sensing bytes reach the caller as they would from any MIDI input.
    impl->midi->ignoreTypes(false, false, false);
    impl->midi->setCallback(&Impl::OnRtMidiInput, impl.get());
    const int errorsBefore = impl->ErrorCount();
    if (isVirtual)
    {
        impl->midi->openVirtualPort(portName);
    }
    else
    {
        impl->midi->openPort(*index, kOwnPortName);
    }
    // RtMidi counts only connections to other ports as open, not ports of our own.
    if ((!isVirtual && !impl->midi->isPortOpen()) || impl->ErrorCount() != errorsBefore)
    {
        if (error != nullptr)
        {
            *error = impl->LastError();
            if (error->empty())
            {
                *error = "the MIDI system did not open \"" + portName + "\"";
            }
        }
        return nullptr; // the port's destructor closes what was opened
    }
    return port;
}

void MidiInput::Close()
{
    const std::shared_ptr<Impl> impl = impl_;
    std::lock_guard closeLock(impl->closeMutex);
    impl->closed = true;
    // RtMidi waits for its own input thread (ALSA) here, our JACK port for a cycle in
    // progress; the backend callback takes only the queue lock, which nothing holds
    // across this.
    impl->midi.reset();
    if (impl->jack)
    {
        impl->jack->Close(nullptr);
    }
    {
        std::lock_guard lock(impl->mutex);
        impl->stopping = true;
    }
    impl->wake.notify_all();
    if (impl->thread.joinable())
    {
        if (impl->thread.get_id() == std::this_thread::get_id())
        {
            impl->thread.detach(); // closed from the callback: the thread ends by itself
        }
        else
        {
            impl->thread.join();
        }
    }
}

} // namespace KR::Platform
