#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

using Bytes = std::vector<std::uint8_t>;
using Ip = std::array<std::uint8_t, 4>;

struct Settings {
  Ip Address{192, 168, 77, 10};
  Ip Gateway{192, 168, 77, 1};
  Ip Mask{255, 255, 255, 0};
  Ip Dns{192, 168, 77, 1};
  bool Dhcp = false;
  std::array<std::uint8_t, 6> Mac{0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F};
  std::uint16_t HostPort = 2222;
  bool ServerByName = true;
  std::string ServerName = "collector.lan";
  Ip ServerIp{192, 168, 77, 1};
  std::uint16_t ServerPort = 8283;
  std::uint8_t IntervalMinutes = 1;
  std::array<char, 4> Firmware{'1', '.', '0', '5'};
};

struct Options {
  int Sensors = 2;
  bool Negative = false;
  // Without the interval record, the tool keeps polling at its own start-up pace.
  bool IntervalInDiscovery = true;
};

// What the device does with one datagram: the reply it sends (if any) and whether it reboots first.
struct Reaction {
  std::optional<Bytes> Reply;
  bool Reboot = false;
};

// A device as seen from the wire: settings being edited, settings stored, drifting sensors.
class Device {
 public:
  Device(Settings settings, Options options);

  Reaction Handle(const Bytes& frame);
  // The stored settings come into force; the reply announces them.
  Bytes Reboot();
  Bytes ConfigurationReply() const;

 private:
  Bytes TemperatureReply();

  Settings Pending;
  Settings Stored;
  Options Opts;
  unsigned Polls = 0;
};

// Sixteenths of a degree as a 16-bit two's-complement number, low byte first.
std::array<std::uint8_t, 2> EncodeCelsius(double celsius);

}  // namespace sim
