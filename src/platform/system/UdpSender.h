#pragma once
// The datagram socket through which the debug log reaches a log collector.

#include <cstdint>
#include <string>
#include <string_view>

namespace KR::Platform
{

class UdpSender
{
public:
    UdpSender() = default;
    ~UdpSender();
    UdpSender(const UdpSender&) = delete;
    UdpSender& operator=(const UdpSender&) = delete;

    // Fixes the destination and makes the socket. The destination is the first IPv4
    // address of host when host is given and resolves, else that of this machine's name,
    // else the loopback address. False, with no socket, when the port is outside 1-65535
    // or no socket could be made; Open may then be called again.
    bool Open(const char* host, std::int32_t port);
    bool IsOpen() const { return mSocket >= 0; }

    // The destination's address in dotted form, once Open has run.
    const std::string& GetAddressText() const { return mAddressText; }

    // Sends the bytes as one datagram. A failed send is ignored: log text may be lost,
    // but logging never fails its caller.
    void Send(std::string_view bytes) const;

private:
    int mSocket = -1;
    std::uint32_t mAddress = 0; // network byte order
    std::uint16_t mPort = 0;    // network byte order
    std::string mAddressText;
};

} // namespace KR::Platform
