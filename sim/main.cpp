// velmora-device: a stand-in for the temperature-monitoring device, answering on UDP.
#include "DeviceModel.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>

namespace {

volatile std::sig_atomic_t g_stop = 0;

const char* const kUsage = R"(Usage: velmora-device [options]
Answers the Velmora protocol on UDP as a device would, to whoever asked.

  --bind ADDRESS       local address to listen on (default 0.0.0.0)
  --port PORT          UDP port (default 3333)
  --ip ADDRESS         the device address it reports (default: the bind address, or 192.168.77.10)
  --delay MS           wait this long before each reply (default 0)
  --reboot-ms MS       silence after Save&Reboot before the stored settings are announced (default 500)
  --sensors N          temperature sensors to report, 0 to 255 (default 2)
  --negative           report temperatures below zero
  --loss FRACTION      drop this share of replies, 0 to 1 (default 0)
  --seed N             seed for --loss (default 1)
  --interval MINUTES   reporting interval it reports, 0 to 255 (default 1)
  --no-interval-record leave the interval record out of the discovery reply, so that the
                       tool keeps polling at its start-up pace (10 s) instead of every minute
  --log FILE           append every frame received to FILE, as hex, one a line
  --log-detail         add the sender and the destination address to each log line
  --help               show this text
)";

bool ParseIp(const char* text, sim::Ip& ip) {
  in_addr a{};
  if (inet_pton(AF_INET, text, &a) != 1) return false;
  std::memcpy(ip.data(), &a.s_addr, 4);
  return true;
}

long Number(const char* text, long low, long high, const char* what) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (!*text || *end || v < low || v > high) {
    std::fprintf(stderr, "velmora-device: %s must be a number from %ld to %ld, not '%s'\n", what, low, high, text);
    std::exit(2);
  }
  return v;
}

std::string Hex(const sim::Bytes& bytes) {
  std::string out;
  char b[3];
  for (auto v : bytes) {
    std::snprintf(b, sizeof b, "%02X", v);
    out += b;
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  std::string bind = "0.0.0.0";
  std::string reported;
  int port = 3333;
  long delayMs = 0;
  long rebootMs = 500;
  double loss = 0;
  unsigned seed = 1;
  bool detail = false;
  FILE* log = nullptr;
  sim::Settings settings;
  sim::Options options;

  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](const char* name) -> const char* {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "velmora-device: %s needs a value\n", name);
        std::exit(2);
      }
      return argv[++i];
    };
    if (a == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "--bind") {
      bind = value("--bind");
    } else if (a == "--port") {
      port = static_cast<int>(Number(value("--port"), 1, 65535, "--port"));
    } else if (a == "--ip") {
      reported = value("--ip");
    } else if (a == "--delay") {
      delayMs = Number(value("--delay"), 0, 600000, "--delay");
    } else if (a == "--reboot-ms") {
      rebootMs = Number(value("--reboot-ms"), 0, 600000, "--reboot-ms");
    } else if (a == "--sensors") {
      options.Sensors = static_cast<int>(Number(value("--sensors"), 0, 255, "--sensors"));
    } else if (a == "--negative") {
      options.Negative = true;
    } else if (a == "--loss") {
      loss = std::atof(value("--loss"));
      if (loss < 0 || loss > 1) {
        std::fprintf(stderr, "velmora-device: --loss must lie between 0 and 1\n");
        return 2;
      }
    } else if (a == "--seed") {
      seed = static_cast<unsigned>(Number(value("--seed"), 0, 1L << 30, "--seed"));
    } else if (a == "--interval") {
      settings.IntervalMinutes = static_cast<std::uint8_t>(Number(value("--interval"), 0, 255, "--interval"));
    } else if (a == "--no-interval-record") {
      options.IntervalInDiscovery = false;
    } else if (a == "--log") {
      const char* path = value("--log");
      log = std::fopen(path, "a");
      if (!log) {
        std::fprintf(stderr, "velmora-device: cannot open log file %s\n", path);
        return 2;
      }
    } else if (a == "--log-detail") {
      detail = true;
    } else {
      std::fprintf(stderr, "velmora-device: unknown option '%s' (see --help)\n", a.c_str());
      return 2;
    }
  }
  if (reported.empty()) reported = bind == "0.0.0.0" ? "192.168.77.10" : bind;
  if (!ParseIp(reported.c_str(), settings.Address)) {
    std::fprintf(stderr, "velmora-device: '%s' is not an IPv4 address\n", reported.c_str());
    return 2;
  }

  const int s = socket(AF_INET, SOCK_DGRAM, 0);
  const int on = 1;
  setsockopt(s, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
  setsockopt(s, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(static_cast<std::uint16_t>(port));
  if (inet_pton(AF_INET, bind.c_str(), &local.sin_addr) != 1 ||
      ::bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
    std::fprintf(stderr, "velmora-device: cannot listen on %s:%d: %s\n", bind.c_str(), port, std::strerror(errno));
    return 1;
  }
  std::signal(SIGTERM, [](int) { g_stop = 1; });
  std::signal(SIGINT, [](int) { g_stop = 1; });
  timeval tick{0, 200000};
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, &tick, sizeof tick);

  std::printf("velmora-device listening on %s:%d\n", bind.c_str(), port);
  std::fflush(stdout);

  sim::Device device(settings, options);
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> chance(0, 1);
  std::uint8_t buffer[65536];

  while (!g_stop) {
    sockaddr_in from{};
    char control[256];
    iovec io{buffer, sizeof buffer};
    msghdr msg{};
    msg.msg_name = &from;
    msg.msg_namelen = sizeof from;
    msg.msg_iov = &io;
    msg.msg_iovlen = 1;
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;
    const ssize_t n = recvmsg(s, &msg, 0);
    if (n < 0) continue;
    const sim::Bytes frame(buffer, buffer + n);

    if (log) {
      std::string line = Hex(frame);
      if (detail) {
        char dst[INET_ADDRSTRLEN] = "?";
        for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c))
          if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO)
            inet_ntop(AF_INET, &reinterpret_cast<in_pktinfo*>(CMSG_DATA(c))->ipi_addr, dst, sizeof dst);
        char src[INET_ADDRSTRLEN];
        inet_ntop(AF_INET, &from.sin_addr, src, sizeof src);
        line += " " + std::string(src) + ":" + std::to_string(ntohs(from.sin_port)) + " " + dst;
      }
      std::fprintf(log, "%s\n", line.c_str());
      std::fflush(log);
    }

    sim::Reaction reaction = device.Handle(frame);
    if (reaction.Reboot) {
      std::this_thread::sleep_for(std::chrono::milliseconds(rebootMs));
      reaction.Reply = device.Reboot();
    }
    if (!reaction.Reply || (loss > 0 && chance(random) < loss)) continue;
    if (delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    sendto(s, reaction.Reply->data(), reaction.Reply->size(), 0, reinterpret_cast<sockaddr*>(&from), sizeof from);
  }
  if (log) std::fclose(log);
  return 0;
}
