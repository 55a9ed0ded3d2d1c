// Sends each HEX argument as one UDP datagram from a chosen address and port, for tests that
// need a reply that the simulator would never give. Runs in the test bed only.
// Usage: velmora-send FROM-ADDRESS FROM-PORT TO-ADDRESS TO-PORT HEX...
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool Endpoint(const char* address, const char* port, sockaddr_in& out) {
  out = {};
  out.sin_family = AF_INET;
  out.sin_port = htons(static_cast<std::uint16_t>(std::atoi(port)));
  return inet_pton(AF_INET, address, &out.sin_addr) == 1;
}

bool Bytes(const std::string& hex, std::vector<std::uint8_t>& out) {
  if (hex.size() % 2) return false;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    char* end = nullptr;
    const std::string pair = hex.substr(i, 2);
    out.push_back(static_cast<std::uint8_t>(std::strtoul(pair.c_str(), &end, 16)));
    if (*end) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  sockaddr_in from{}, to{};
  if (argc < 6 || !Endpoint(argv[1], argv[2], from) || !Endpoint(argv[3], argv[4], to)) {
    std::fprintf(stderr, "usage: velmora-send FROM-ADDRESS FROM-PORT TO-ADDRESS TO-PORT HEX...\n");
    return 2;
  }
  const int s = socket(AF_INET, SOCK_DGRAM, 0);
  if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0) {
    std::perror("velmora-send: bind");
    return 1;
  }
  for (int i = 5; i < argc; ++i) {
    std::vector<std::uint8_t> datagram;
    if (!Bytes(argv[i], datagram)) {
      std::fprintf(stderr, "velmora-send: '%s' is not hexadecimal\n", argv[i]);
      return 2;
    }
    if (sendto(s, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) < 0) {
      std::perror("velmora-send: sendto");
      return 1;
    }
    usleep(2000);  // keeps the captured order the order given
  }
  close(s);
  return 0;
}
