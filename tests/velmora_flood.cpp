// Floods one UDP endpoint with a mix of valid replies, garbage, tiny, truncated and oversized
// datagrams, at a fixed rate for a fixed time, then stops by itself.
// Usage: velmora-flood TARGET-ADDRESS PORT RATE-PER-SECOND SECONDS [SEED]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: velmora-flood TARGET PORT RATE SECONDS [SEED]\n");
    return 2;
  }
  const long rate = std::min(std::atol(argv[3]), 200000L);
  const double seconds = std::min(std::atof(argv[4]), 60.0);
  std::mt19937 random(argc > 5 ? std::atoi(argv[5]) : 7);

  const int s = socket(AF_INET, SOCK_DGRAM, 0);
  int buffer = 4 << 20;
  setsockopt(s, SOL_SOCKET, SO_SNDBUF, &buffer, sizeof buffer);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<std::uint16_t>(std::atoi(argv[2])));
  if (inet_pton(AF_INET, argv[1], &to.sin_addr) != 1) return 2;

  const std::vector<std::vector<std::uint8_t>> fixed = {
      // a full configuration reply and a temperatures reply of 255 samples
      {0xAA, 0x55, 0,  0, 1, 192, 168,  77, 66, 192, 168, 77,  1,   255, 255,
       255,  0,    10, 0, 0, 1,   0xAE, 5,  0,  7,   'E', 'V', 'I', 'L'},
      {0xAA, 0x55, 0, 0, 9, 2, 0x50, 0x01, 0xFF, 0xFF},
      {0xAA},
      {0xAA, 0x55, 0x00, 0x00},
      {0xAA, 0x55, 0, 0, 1, 0xC0},          // network record cut short
      {0xAA, 0x55, 0, 0, 3, 1, 200, 0x5B},  // server name longer than the datagram
      {0xAA, 0x55, 0, 0, 9, 255, 1, 0},     // 255 samples announced, one present
  };
  std::vector<std::uint8_t> big(65507);
  for (auto& b : big) b = static_cast<std::uint8_t>(random());
  big[0] = 0xAA;
  big[1] = 0x55;

  const auto start = std::chrono::steady_clock::now();
  const auto end = start + std::chrono::duration<double>(seconds);
  const long total = static_cast<long>(rate * seconds);
  long sent = 0;
  std::vector<std::uint8_t> garbage(64);
  for (long i = 0; i < total && std::chrono::steady_clock::now() < end; ++i) {
    const unsigned kind = random() % 100;
    if (kind < 60) {
      const auto& d = fixed[random() % fixed.size()];
      sent += sendto(s, d.data(), d.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) > 0;
    } else if (kind < 98) {
      garbage.resize(1 + random() % 64);
      for (auto& b : garbage) b = static_cast<std::uint8_t>(random());
      if (kind < 80) garbage[0] = 0xAA, garbage.size() > 1 ? garbage[1] = 0x55 : 0;
      sent += sendto(s, garbage.data(), garbage.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) > 0;
    } else {
      const std::size_t size = 1025 + random() % (big.size() - 1025);
      sent += sendto(s, big.data(), size, 0, reinterpret_cast<sockaddr*>(&to), sizeof to) > 0;
    }
    // Keep to the rate: the i-th datagram is due at i / rate seconds.
    const auto due = start + std::chrono::duration<double>(static_cast<double>(i) / rate);
    if (due > std::chrono::steady_clock::now()) std::this_thread::sleep_until(due);
  }
  const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("velmora-flood: %ld datagrams in %.1f s (%.0f a second)\n", sent, took, sent / took);
  close(s);
  return 0;
}
