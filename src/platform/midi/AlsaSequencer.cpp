#include "platform/midi/AlsaSequencer.h"

#include "platform/midi/MidiApi.h"

#include <alsa/asoundlib.h>

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <system_error>

// alsa-lib 1.2.8 declares this after its header's extern "C" block has ended, so C++ would
// look for a mangled name; this declaration names the library's own symbol.
extern "C" snd_local_error_handler_t
SetAlsaLibLocalErrorHandler(snd_local_error_handler_t handler) __asm__("snd_lib_error_set_local");

namespace KR::Platform
{
namespace
{

constinit std::atomic<MidiLogSink> gLogSink{nullptr};

} // namespace

void SetMidiLogSink(MidiLogSink sink)
{
    gLogSink.store(sink);
}

bool CheckMidiSystem(MidiApi api)
{
    return ResolveMidiApi(api) == MidiApi::kJack || Detail::TheAlsaSequencer().IsReachable(nullptr);
}

namespace Detail
{
namespace
{

// alsa-lib prints its errors on standard error unless a handler takes them; this one
// gives them to the MIDI log, worded as alsa-lib words them.
__attribute__((format(printf, 5, 0))) void ForwardAlsaLibMessage(const char* file, int line,
                                                                 const char* function, int err,
                                                                 const char* format, va_list args)
{
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    std::string message = "MIDI: alsa-lib reports (" + std::string(file != nullptr ? file : "?") + ":" +
                          std::to_string(line) + ", " + (function != nullptr ? function : "?") + "): " + text;
    if (err != 0)
    {
        message += ": ";
        message += snd_strerror(err);
    }
    LogMidiMessage(message);
}

} // namespace

AlsaLibMessagesToLog::AlsaLibMessagesToLog()
    : previous_(reinterpret_cast<void (*)()>(SetAlsaLibLocalErrorHandler(&ForwardAlsaLibMessage)))
{
}

AlsaLibMessagesToLog::~AlsaLibMessagesToLog()
{
    SetAlsaLibLocalErrorHandler(reinterpret_cast<snd_local_error_handler_t>(previous_));
}

void LogMidiMessage(std::string_view message)
{
    if (const MidiLogSink sink = gLogSink.load())
    {
        sink(message);
    }
}

bool AlsaSequencerWatch::NodeState::operator==(const NodeState& other) const
{
    return statError == other.statError && device == other.device && inode == other.inode &&
           changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
}

AlsaSequencerWatch::AlsaSequencerWatch(std::string devicePath) : devicePath_(std::move(devicePath))
{
}

AlsaSequencerWatch::NodeState AlsaSequencerWatch::ReadNode() const
{
    NodeState node;
    struct stat status = {};
    if (stat(devicePath_.c_str(), &status) != 0)
    {
        node.statError = errno;
        return node;
    }
    node.device = status.st_dev;
    node.inode = status.st_ino;
    node.changed = status.st_ctim;
    return node;
}

bool AlsaSequencerWatch::IsReachable(std::string* error)
{
    std::lock_guard lock(mutex_);
    const NodeState node = ReadNode();
    if (answeredFor_ != node)
    {
        const bool known = answeredFor_.has_value();
        const bool wasReachable = reachable_;
        const std::string previousReason = reason_;
        answeredFor_ = node;
        if (node.statError != 0)
        {
            // No node: alsa-lib would only fail to open it, and say so on standard error.
            reachable_ = false;
            reason_ = "no ALSA sequencer (" + devicePath_ + ": " +
                      std::generic_category().message(node.statError) + ")";
        }
        else
        {
            const AlsaLibMessagesToLog alsaLibMessages;
            snd_seq_t* sequencer = nullptr;
            const int result = snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK);
            reachable_ = result >= 0;
            reason_ = reachable_
                          ? std::string()
                          : "the ALSA sequencer cannot be opened (" + std::string(snd_strerror(result)) + ")";
            if (reachable_)
            {
                snd_seq_close(sequencer);
            }
        }
        if (!reachable_ && reason_ != previousReason)
        {
            LogMidiMessage("MIDI: " + reason_ + ": no MIDI device can be reached until that changes");
        }
        else if (reachable_ && known && !wasReachable)
        {
            LogMidiMessage("MIDI: the ALSA sequencer can be opened now");
        }
    }
    if (!reachable_ && error != nullptr)
    {
        *error = reason_;
    }
    return reachable_;
}

void AlsaSequencerWatch::Forget()
{
    std::lock_guard lock(mutex_);
    answeredFor_.reset();
}

AlsaSequencerWatch& TheAlsaSequencer()
{
    static AlsaSequencerWatch watch("/dev/snd/seq");
    return watch;
}

} // namespace Detail
} // namespace KR::Platform
