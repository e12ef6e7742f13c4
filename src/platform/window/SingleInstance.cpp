#include "platform/window/SingleInstance.h"

#include <glib-unix.h>
#include <glib.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <map>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace KR::Platform
{
namespace
{

constexpr std::size_t kHeaderBytes = 8;
// How often a connect that found the listener's backlog full is tried again.
constexpr std::chrono::milliseconds kConnectRetry{10};
// Hand-offs served at once; more wait in the socket's backlog.
constexpr std::size_t kMaxConnections = 8;
// How long the listener stops looking at its socket when there is no descriptor to accept
// with: the waiting connection stays ready, and looking again at once would only spin.
constexpr guint kAcceptPauseMs = 100;

std::uint32_t ReadLe32(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

void WriteLe32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
    {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

bool FitsSocketAddress(const std::string& path)
{
    return !path.empty() && path.size() < sizeof(sockaddr_un{}.sun_path);
}

sockaddr_un SocketAddress(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    return address;
}

// The private folder under the temporary folder, when it is safe to put the mark there.
bool PrivateTemporaryFolder(std::string& folder, std::string& problem)
{
    const uid_t uid = getuid();
    folder = std::string(g_get_tmp_dir()) + "/kr-" + std::to_string(uid);
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
    {
        problem = "cannot make " + folder + ": " + std::strerror(errno);
        return false;
    }
    struct stat info
    {
    };
    if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != uid ||
        (info.st_mode & 0777) != 0700)
    {
        problem = folder + " is not a folder of this user's alone (0700)";
        return false;
    }
    return true;
}

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Waits for the descriptor to become ready for `events`, until the deadline.
bool WaitReady(int descriptor, short events, Clock::time_point deadline)
{
    for (;;)
    {
        pollfd entry{descriptor, events, 0};
        const int ready = poll(&entry, 1, MillisecondsLeft(deadline));
        if (ready > 0)
        {
            return true;
        }
        if (ready == 0 || errno != EINTR)
        {
            return false;
        }
    }
}

} // namespace

InstancePaths GetInstancePaths(const std::string& fileStem)
{
    InstancePaths paths;
    std::string folder;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/')
    {
        folder = runtime;
    }
    else if (!PrivateTemporaryFolder(folder, paths.problem))
    {
        return paths;
    }
    paths.lockPath = folder + "/" + fileStem + ".lock";
    const std::string socketPath = folder + "/" + fileStem + ".socket";
    if (FitsSocketAddress(socketPath))
    {
        paths.socketPath = socketPath;
        paths.handOff = true;
    }
    else
    {
        paths.problem = "the hand-off socket's path is too long: " + socketPath;
    }
    return paths;
}

InstanceLock::~InstanceLock()
{
    Release();
}

bool InstanceLock::Acquire(const std::string& path)
{
    if (mDescriptor >= 0)
    {
        return true;
    }
    const int descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0)
    {
        return false;
    }
    int locked = 0;
    do
    {
        locked = flock(descriptor, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0)
    {
        close(descriptor);
        return false;
    }
    mDescriptor = descriptor;
    return true;
}

void InstanceLock::Release()
{
    if (mDescriptor >= 0)
    {
        close(mDescriptor);
        mDescriptor = -1;
    }
}

HandOffResult SendCommandLine(const std::string& socketPath, const std::string& utf8, int timeoutMs)
{
    if (!FitsSocketAddress(socketPath))
    {
        return HandOffResult::kNoListener;
    }
    const int sock = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (sock < 0)
    {
        return HandOffResult::kNoListener;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    const sockaddr_un address = SocketAddress(socketPath);
    int connected = 0;
    for (;;)
    {
        connected = connect(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        if (connected == 0)
        {
            break;
        }
        if (errno == EINTR)
        {
            continue;
        }
        if (errno == EINPROGRESS)
        {
            int error = 0;
            socklen_t length = sizeof error;
            if (!WaitReady(sock, POLLOUT, deadline) ||
                getsockopt(sock, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
            {
                close(sock);
                return HandOffResult::kFailed;
            }
            break;
        }
        if (errno != EAGAIN)
        {
            close(sock);
            return HandOffResult::kNoListener;
        }
        // A full backlog: the listener exists but is slow to accept (a flood of other
        // connections, say). A local socket does not finish such a connect later, so it
        // is tried again while there is time.
        if (MillisecondsLeft(deadline) == 0)
        {
            close(sock);
            return HandOffResult::kFailed;
        }
        std::this_thread::sleep_for(kConnectRetry);
    }
    const std::size_t count = utf8.size() + 1;
    if (utf8.empty() || count > kHandOffMaxBytes)
    {
        close(sock);
        return utf8.empty() ? HandOffResult::kDelivered : HandOffResult::kFailed;
    }
    std::vector<std::uint8_t> message;
    message.reserve(kHeaderBytes + count);
    WriteLe32(message, kHandOffMessageId);
    WriteLe32(message, static_cast<std::uint32_t>(count));
    message.insert(message.end(), utf8.begin(), utf8.end());
    message.push_back(0);

    std::size_t sent = 0;
    while (sent < message.size())
    {
        const ssize_t written = send(sock, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
        if (written > 0)
        {
            sent += static_cast<std::size_t>(written);
        }
        else if (written < 0 && errno == EINTR)
        {
            continue;
        }
        else if (written < 0 && errno == EAGAIN && WaitReady(sock, POLLOUT, deadline))
        {
            continue;
        }
        else
        {
            close(sock);
            return HandOffResult::kFailed;
        }
    }
    std::uint8_t answer = 0;
    for (;;)
    {
        const ssize_t got = recv(sock, &answer, 1, 0);
        if (got == 1)
        {
            break;
        }
        if ((got < 0 && errno == EINTR) || (got < 0 && errno == EAGAIN && WaitReady(sock, POLLIN, deadline)))
        {
            continue;
        }
        close(sock);
        return HandOffResult::kFailed;
    }
    close(sock);
    return answer == 1 ? HandOffResult::kDelivered : HandOffResult::kFailed;
}

HandOffCheck CheckHandOff(const std::uint8_t* bytes, std::size_t count, std::string& text)
{
    if (count >= 4 && ReadLe32(bytes) != kHandOffMessageId)
    {
        return HandOffCheck::kRefused;
    }
    if (count < kHeaderBytes)
    {
        return HandOffCheck::kIncomplete;
    }
    const std::uint32_t size = ReadLe32(bytes + 4);
    if (size < 1 || size > kHandOffMaxBytes || count > kHeaderBytes + size)
    {
        return HandOffCheck::kRefused;
    }
    if (count < kHeaderBytes + size)
    {
        return HandOffCheck::kIncomplete;
    }
    const std::uint8_t* body = bytes + kHeaderBytes;
    if (body[size - 1] != 0)
    {
        return HandOffCheck::kRefused;
    }
    // A zero inside ends the text, as it would for the C string it is.
    text.assign(reinterpret_cast<const char*>(body), std::strlen(reinterpret_cast<const char*>(body)));
    return HandOffCheck::kComplete;
}

struct CommandLineListener::State
{
    struct Connection
    {
        int descriptor = -1;
        guint watch = 0;
        guint timeout = 0;
        std::vector<std::uint8_t> bytes;
    };

    int listening = -1;
    guint acceptWatch = 0;
    guint resumeTimer = 0; // accepting paused until it fires
    std::string path;
    Receiver receiver;
    std::map<int, Connection> connections;

    void Drop(int descriptor)
    {
        auto found = connections.find(descriptor);
        if (found == connections.end())
        {
            return;
        }
        if (found->second.watch != 0)
        {
            g_source_remove(found->second.watch);
        }
        if (found->second.timeout != 0)
        {
            g_source_remove(found->second.timeout);
        }
        close(descriptor);
        connections.erase(found);
        Watch();
    }

    // Watches the socket for connections, unless it does already, or a pause runs, or the
    // connections served are at the limit.
    void Watch()
    {
        if (listening >= 0 && acceptWatch == 0 && resumeTimer == 0 && connections.size() < kMaxConnections)
        {
            acceptWatch = g_unix_fd_add(listening, G_IO_IN, &State::OnAccept, this);
        }
    }

    // Stops watching the socket for a while (the watch's own source ends by returning false).
    void PauseAccepting()
    {
        acceptWatch = 0;
        resumeTimer = g_timeout_add(
            kAcceptPauseMs,
            [](gpointer data) -> gboolean
            {
                auto* state = static_cast<State*>(data);
                state->resumeTimer = 0;
                state->Watch();
                return G_SOURCE_REMOVE;
            },
            this);
    }

    static gboolean OnAccept(gint descriptor, GIOCondition, gpointer data)
    {
        auto* state = static_cast<State*>(data);
        while (state->connections.size() < kMaxConnections)
        {
            const int peer = accept4(descriptor, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (peer < 0 && errno == EINTR)
            {
                continue;
            }
            if (peer < 0 && (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM))
            {
                // The process (or the system) has no descriptor to spare: the peer waits in
                // the backlog while the listener looks away for a moment.
                state->PauseAccepting();
                return G_SOURCE_REMOVE;
            }
            if (peer < 0)
            {
                return G_SOURCE_CONTINUE; // none left, or one that gave up meanwhile
            }
            Connection& connection = state->connections[peer];
            connection.descriptor = peer;
            connection.watch = g_unix_fd_add(peer, static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR),
                                             &State::OnReadable, state);
            struct TimeoutKey
            {
                State* state;
                int descriptor;
            };
            connection.timeout = g_timeout_add_full(
                G_PRIORITY_DEFAULT, kHandOffPeerTimeoutMs,
                [](gpointer key) -> gboolean
                {
                    auto* timeout = static_cast<TimeoutKey*>(key);
                    auto found = timeout->state->connections.find(timeout->descriptor);
                    if (found != timeout->state->connections.end())
                    {
                        found->second.timeout = 0; // this source ends by returning
                        timeout->state->Drop(timeout->descriptor);
                    }
                    return G_SOURCE_REMOVE;
                },
                new TimeoutKey{state, peer}, [](gpointer key) { delete static_cast<TimeoutKey*>(key); });
        }
        // As many as are served at once: the next waits until one of them is done.
        state->acceptWatch = 0;
        return G_SOURCE_REMOVE;
    }

    static gboolean OnReadable(gint descriptor, GIOCondition, gpointer data)
    {
        auto* state = static_cast<State*>(data);
        auto found = state->connections.find(descriptor);
        if (found == state->connections.end())
        {
            return G_SOURCE_REMOVE;
        }
        Connection& connection = found->second;
        std::uint8_t chunk[4096];
        // Never more than the largest hand-off and one byte past it, which refuses it.
        const std::size_t room = kHeaderBytes + kHandOffMaxBytes + 1 - connection.bytes.size();
        const ssize_t got = recv(descriptor, chunk, std::min(room, sizeof chunk), 0);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
        {
            return G_SOURCE_CONTINUE;
        }
        if (got <= 0)
        {
            connection.watch = 0; // removed by returning
            state->Drop(descriptor);
            return G_SOURCE_REMOVE;
        }
        connection.bytes.insert(connection.bytes.end(), chunk, chunk + got);
        std::string text;
        const HandOffCheck check = CheckHandOff(connection.bytes.data(), connection.bytes.size(), text);
        if (check == HandOffCheck::kIncomplete)
        {
            return G_SOURCE_CONTINUE;
        }
        connection.watch = 0;
        if (check == HandOffCheck::kComplete)
        {
            // The receiver may stop the listener, which drops this connection: answer first
            // only after it has the text, from a copy of what is needed.
            const Receiver receiver = state->receiver;
            if (receiver)
            {
                receiver(text);
            }
            auto still = state->connections.find(descriptor);
            if (still == state->connections.end())
            {
                return G_SOURCE_REMOVE;
            }
            const std::uint8_t done = 1;
            (void)send(descriptor, &done, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        }
        state->Drop(descriptor);
        return G_SOURCE_REMOVE;
    }
};

CommandLineListener::CommandLineListener() : mState(std::make_unique<State>())
{
}

CommandLineListener::~CommandLineListener()
{
    Stop();
}

bool CommandLineListener::Start(const std::string& socketPath, Receiver receiver, std::string& problem)
{
    Stop();
    if (!FitsSocketAddress(socketPath))
    {
        problem = "the hand-off socket's path is too long or empty: " + socketPath;
        return false;
    }
    const int sock = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (sock < 0)
    {
        problem = std::string("no socket: ") + std::strerror(errno);
        return false;
    }
    unlink(socketPath.c_str());
    const sockaddr_un address = SocketAddress(socketPath);
    if (bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || listen(sock, 8) != 0)
    {
        problem = "cannot listen at " + socketPath + ": " + std::strerror(errno);
        close(sock);
        return false;
    }
    mState->listening = sock;
    mState->path = socketPath;
    mState->receiver = std::move(receiver);
    mState->Watch();
    return true;
}

void CommandLineListener::Stop()
{
    while (!mState->connections.empty())
    {
        mState->Drop(mState->connections.begin()->first);
    }
    if (mState->listening >= 0)
    {
        for (guint* source : {&mState->acceptWatch, &mState->resumeTimer})
        {
            if (*source != 0)
            {
                g_source_remove(*source);
                *source = 0;
            }
        }
        close(mState->listening);
        mState->listening = -1;
        unlink(mState->path.c_str());
    }
    mState->receiver = nullptr;
}

bool CommandLineListener::IsListening() const
{
    return mState->listening >= 0;
}

} // namespace KR::Platform
