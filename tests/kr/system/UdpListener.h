#pragma once
// A UDP socket bound to a free port of 127.0.0.1 that receives the log's datagrams.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <optional>
#include <string>

namespace KRTest
{

class UdpListener
{
public:
    UdpListener()
    {
        mSocket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (mSocket < 0 || ::bind(mSocket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            ::getsockname(mSocket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        {
            return;
        }
        mPort = ntohs(address.sin_port);
    }
    ~UdpListener()
    {
        if (mSocket >= 0)
        {
            ::close(mSocket);
        }
    }
    UdpListener(const UdpListener&) = delete;
    UdpListener& operator=(const UdpListener&) = delete;

    // 0 when no port could be bound.
    std::int32_t Port() const { return mPort; }

    // The next datagram, waiting at most timeoutMs for it.
    std::optional<std::string> Receive(int timeoutMs = 5000) const
    {
        pollfd ready = {mSocket, POLLIN, 0};
        if (::poll(&ready, 1, timeoutMs) != 1)
        {
            return std::nullopt;
        }
        char buffer[65536];
        const ssize_t length = ::recv(mSocket, buffer, sizeof(buffer), 0);
        if (length < 0)
        {
            return std::nullopt;
        }
        return std::string(buffer, static_cast<std::size_t>(length));
    }

private:
    int mSocket = -1;
    std::int32_t mPort = 0;
};

} // namespace KRTest
