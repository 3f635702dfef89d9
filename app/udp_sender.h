#pragma once

#include <cstddef>
#include <string>

// A UDP socket that sends datagrams to one address, resolved once when it is
// opened. Sending never waits: the socket is non-blocking.
struct UdpSender;

// Resolves HOST:PORT (a name or a numeric address; an IPv6 address in
// brackets) and opens the socket. Null with the reason in `why` when the text
// is malformed, the name does not resolve or no socket can be made.
UdpSender* openUdpSender(const std::string& hostPort, std::string& why);

// Sends one datagram. A full socket buffer drops it, which is no failure for
// telemetry; any other error returns false with the reason in `why`.
bool sendUdp(UdpSender& sender, const void* data, size_t size, std::string& why);

// Closes the socket; null is allowed.
void closeUdpSender(UdpSender* sender);
