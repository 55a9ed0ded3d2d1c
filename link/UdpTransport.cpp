#include "link/UdpTransport.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace {

constexpr int kStopCheckMs = 20;

sockaddr_in Endpoint(in_addr_t address, std::uint16_t port) {
  sockaddr_in endpoint{};
  endpoint.sin_family = AF_INET;
  endpoint.sin_port = htons(port);
  endpoint.sin_addr.s_addr = address;
  return endpoint;
}

}  // namespace

TUdpTransport::TUdpTransport(TLinkExchange& exchange, std::uint16_t hostPort, std::uint16_t devicePort)
    : Exchange(exchange), HostPort(hostPort), DevicePort(devicePort) {}

TUdpTransport::~TUdpTransport() { Release(); }

void TUdpTransport::Release() {
  if (KeptSocket >= 0) ::close(KeptSocket);
  KeptSocket = -1;
}

void TUdpTransport::Keep(int socket) {
  KeptSocket = socket;
  KeptLocalIp = CurrentLocalIp;
}

int TUdpTransport::AcquireSocket(bool& bound) {
  CurrentLocalIp = Exchange.LocalIpText.Get();
  if (KeptSocket >= 0 && KeptLocalIp == CurrentLocalIp) {
    const int socket = KeptSocket;
    KeptSocket = -1;
    bound = true;
    return socket;
  }
  Release();
  const int socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
  if (socket < 0) return -1;
  const sockaddr_in local = Endpoint(ParseInetAddr(CurrentLocalIp).s_addr, HostPort);
  bound = ::bind(socket, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
  return socket;
}

std::int32_t TUdpTransport::SendFrame(const std::uint8_t* bytes, std::uint8_t count, bool broadcast) {
  bool bound = false;
  const int socket = AcquireSocket(bound);
  if (socket < 0) return 0;

  const int allow = broadcast ? 1 : 0;
  ::setsockopt(socket, SOL_SOCKET, SO_BROADCAST, &allow, sizeof allow);
  sockaddr_in destination = broadcast ? Endpoint(INADDR_BROADCAST, DevicePort) : Exchange.DeviceAddress;
  destination.sin_family = AF_INET;
  const ssize_t sent =
      ::sendto(socket, bytes, count, 0, reinterpret_cast<const sockaddr*>(&destination), sizeof destination);
  const std::int32_t result = sent < 0 ? -1 : static_cast<std::int32_t>(sent);

  // Only a socket bound to the host port can take the reply; an unbound one got a port of the OS's choosing.
  if (result > 0 && bound)
    Keep(socket);
  else
    ::close(socket);
  return result;
}

std::int32_t TUdpTransport::ReceiveFrame(std::uint8_t* buffer, const std::function<bool()>& stopRequested) {
  bool bound = false;
  const int socket = AcquireSocket(bound);
  if (socket < 0) return -1;
  if (!bound) {
    ::close(socket);
    return -1;
  }

  // Wait in short slices so that a stop request ends the receive at once.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kReceiveTimeoutMs);
  bool readable = false;
  while (!readable) {
    if (stopRequested && stopRequested()) break;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd watch{socket, POLLIN, 0};
    const int ready = ::poll(&watch, 1, static_cast<int>(std::min<long long>(left.count(), kStopCheckMs)));
    if (ready < 0 && errno != EINTR) break;
    readable = ready > 0;
  }
  if (!readable) {
    Keep(socket);  // still awaiting: a late reply queues on the host port for the next receive
    return -1;
  }

  sockaddr_in sender{};
  socklen_t senderLength = sizeof sender;
  const ssize_t received = ::recvfrom(socket, buffer, kReplyBufferSize, MSG_TRUNC | MSG_DONTWAIT,
                                      reinterpret_cast<sockaddr*>(&sender), &senderLength);
  if (received < 0 || received > static_cast<ssize_t>(kReplyBufferSize)) {
    Keep(socket);
    return -1;
  }
  if (received > 0) {
    Exchange.DeviceAddress = sender;
    Exchange.DeviceKnown = 1;
  }
  ::close(socket);
  return static_cast<std::int32_t>(received);
}
