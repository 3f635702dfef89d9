#include "app/udp_sender.h"

#include <netdb.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

struct UdpSender {
  int socket = -1;
  sockaddr_storage address{};
  socklen_t addressLength = 0;
};

namespace {

constexpr long kHighestPort = 65535;

// Splits "host:port" at its last colon; "[v6]:port" loses its brackets. The
// port is a number from 1 to 65535.
bool splitHostPort(const std::string& text, std::string& host, std::string& port) {
  size_t colon = text.rfind(':');
  if (colon == std::string::npos || colon == 0) return false;
  host = text.substr(0, colon);
  port = text.substr(colon + 1);
  if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos) return false;
  long number = std::stol(port);
  if (number < 1 || number > kHighestPort) return false;
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  return !host.empty();
}

}  // namespace

UdpSender* openUdpSender(const std::string& hostPort, std::string& why) {
  std::string host, port;
  if (!splitHostPort(hostPort, host, port)) {
    why = "'" + hostPort + "' is not HOST:PORT with a port from 1 to 65535";
    return nullptr;
  }
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_DGRAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  int rc = getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
  if (rc != 0) {
    why = "cannot resolve '" + hostPort + "': " + gai_strerror(rc);
    return nullptr;
  }
  UdpSender* sender = new UdpSender;
  sender->socket = ::socket(found->ai_family, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (sender->socket < 0) {
    why = std::string("cannot open a UDP socket: ") + std::strerror(errno);
    freeaddrinfo(found);
    delete sender;
    return nullptr;
  }
  std::memcpy(&sender->address, found->ai_addr, found->ai_addrlen);
  sender->addressLength = socklen_t(found->ai_addrlen);
  freeaddrinfo(found);
  return sender;
}

bool sendUdp(UdpSender& sender, const void* data, size_t size, std::string& why) {
  // Not connected: a dashboard that is not listening yet makes no error, and
  // sends go on reaching it once it starts.
  ssize_t sent = ::sendto(sender.socket, data, size, MSG_NOSIGNAL,
                          reinterpret_cast<const sockaddr*>(&sender.address), sender.addressLength);
  if (sent >= 0 || errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return true;
  why = std::string("cannot send: ") + std::strerror(errno);
  return false;
}

void closeUdpSender(UdpSender* sender) {
  if (sender == nullptr) return;
  if (sender->socket >= 0) ::close(sender->socket);
  delete sender;
}
