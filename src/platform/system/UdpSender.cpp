#include "platform/system/UdpSender.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace KR::Platform
{

namespace
{

// The first IPv4 address of a name, or false.
bool Resolve(const char* name, in_addr& address)
{
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name, nullptr, &hints, &found) != 0 || found == nullptr)
    {
        return false;
    }
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
    return true;
}

} // namespace

UdpSender::~UdpSender()
{
    if (mSocket >= 0)
    {
        ::close(mSocket);
    }
}

bool UdpSender::Open(const char* host, std::int32_t port)
{
    if (mSocket >= 0)
    {
        return true;
    }
    if (port < 1 || port > 65535)
    {
        return false;
    }
    in_addr address = {};
    bool resolved = host != nullptr && host[0] != '\0' && Resolve(host, address);
    if (!resolved)
    {
        char name[64] = {};
        resolved = ::gethostname(name, sizeof(name) - 1) == 0 && Resolve(name, address);
    }
    if (!resolved)
    {
        address.s_addr = htonl(INADDR_LOOPBACK);
    }
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address, text, sizeof(text));
    mAddressText = text;
    mAddress = address.s_addr;
    mPort = htons(static_cast<std::uint16_t>(port));
    mSocket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
    return mSocket >= 0;
}

void UdpSender::Send(std::string_view bytes) const
{
    if (mSocket < 0)
    {
        return;
    }
    sockaddr_in destination = {};
    destination.sin_family = AF_INET;
    destination.sin_addr.s_addr = mAddress;
    destination.sin_port = mPort;
    // MSG_NOSIGNAL: a log write must never raise a signal in the program.
    [[maybe_unused]] const ssize_t sent =
        ::sendto(mSocket, bytes.data(), bytes.size(), MSG_NOSIGNAL,
                 reinterpret_cast<const sockaddr*>(&destination), sizeof(destination));
}

} // namespace KR::Platform
