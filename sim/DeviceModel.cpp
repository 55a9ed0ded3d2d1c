#include "DeviceModel.h"

#include <cmath>

namespace sim {
namespace {

constexpr std::uint8_t kDhcpOnByte = 0xAE;

void Put(Bytes& out, std::initializer_list<std::uint8_t> bytes) { out.insert(out.end(), bytes); }
void PutIp(Bytes& out, const Ip& ip) { out.insert(out.end(), ip.begin(), ip.end()); }
void PutLe16(Bytes& out, std::uint16_t v) {
  Put(out, {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)});
}
std::uint16_t Le16(const Bytes& f, std::size_t at) { return static_cast<std::uint16_t>(f[at] | f[at + 1] << 8); }
Ip IpAt(const Bytes& f, std::size_t at) { return {f[at], f[at + 1], f[at + 2], f[at + 3]}; }

Bytes Header() { return {0xAA, 0x55, 0x00, 0x00}; }

void NetworkRecord(Bytes& out, const Settings& s) {
  out.push_back(1);
  PutIp(out, s.Address);
  PutIp(out, s.Gateway);
  PutIp(out, s.Mask);
  PutIp(out, s.Dns);
  out.push_back(s.Dhcp ? kDhcpOnByte : 0x00);
}

void HostPortRecord(Bytes& out, const Settings& s) {
  out.push_back(2);
  PutLe16(out, s.HostPort);
}

// Kind, name length, server port, then the name or the address, then interval and host port.
void ServerRecord(Bytes& out, const Settings& s) {
  out.push_back(3);
  out.push_back(s.ServerByName ? 1 : 2);
  out.push_back(s.ServerByName ? static_cast<std::uint8_t>(s.ServerName.size()) : 0);
  PutLe16(out, s.ServerPort);
  if (s.ServerByName)
    out.insert(out.end(), s.ServerName.begin(), s.ServerName.end());
  else
    PutIp(out, s.ServerIp);
  out.push_back(s.IntervalMinutes);
  PutLe16(out, s.HostPort);
}

void MacRecord(Bytes& out, const Settings& s) {
  out.push_back(4);
  out.insert(out.end(), s.Mac.begin(), s.Mac.end());
}

void IntervalRecord(Bytes& out, const Settings& s) { Put(out, {5, s.IntervalMinutes}); }

void FirmwareRecord(Bytes& out, const Settings& s) {
  out.push_back(7);
  out.insert(out.end(), s.Firmware.begin(), s.Firmware.end());
}

}  // namespace

std::array<std::uint8_t, 2> EncodeCelsius(double celsius) {
  const auto count = static_cast<std::int16_t>(std::lround(celsius * 16.0));
  const auto raw = static_cast<std::uint16_t>(count);
  return {static_cast<std::uint8_t>(raw & 0xFF), static_cast<std::uint8_t>(raw >> 8)};
}

Device::Device(Settings settings, Options options) : Pending(settings), Stored(settings), Opts(options) {}

Bytes Device::ConfigurationReply() const {
  Bytes out = Header();
  NetworkRecord(out, Stored);
  ServerRecord(out, Stored);
  MacRecord(out, Stored);
  if (Opts.IntervalInDiscovery) IntervalRecord(out, Stored);
  FirmwareRecord(out, Stored);
  return out;
}

Bytes Device::Reboot() {
  Stored = Pending;
  return ConfigurationReply();
}

Bytes Device::TemperatureReply() {
  Bytes out = Header();
  out.push_back(9);
  out.push_back(static_cast<std::uint8_t>(Opts.Sensors));
  const double t = Polls++ * 0.35;
  for (int i = 0; i < Opts.Sensors; ++i) {
    const double base = Opts.Negative ? -12.0 - 3 * i : 21.0 + 3 * i;
    const auto raw = EncodeCelsius(base + 2.5 * std::sin(t + i));
    out.insert(out.end(), raw.begin(), raw.end());
  }
  return out;
}

Reaction Device::Handle(const Bytes& f) {
  if (f.size() < 3 || f[0] != 0xEE || f[1] != 0xBB) return {};
  Bytes out = Header();
  switch (f[2]) {
    case 1:
      if (f.size() != 15) return {};
      Pending.Address = IpAt(f, 3);
      Pending.Gateway = IpAt(f, 7);
      Pending.Mask = IpAt(f, 11);
      NetworkRecord(out, Pending);
      return {out};
    case 2:
      if (f.size() != 5) return {};
      Pending.HostPort = Le16(f, 3);
      HostPortRecord(out, Pending);
      return {out};
    case 3:
      if (f.size() >= 10 && f[3] == 2) {
        Pending.ServerByName = false;
        Pending.ServerIp = IpAt(f, 4);
        Pending.ServerPort = Le16(f, 8);
      } else if (f.size() >= 7 && f[3] == 1 && f.size() == 7u + f[4]) {
        Pending.ServerByName = true;
        Pending.ServerName.assign(f.begin() + 5, f.begin() + 5 + f[4]);
        Pending.ServerPort = Le16(f, 5 + f[4]);
      } else {
        return {};
      }
      ServerRecord(out, Pending);
      return {out};
    case 4:
      if (f.size() != 9) return {};
      std::copy(f.begin() + 3, f.end(), Pending.Mac.begin());
      MacRecord(out, Pending);
      return {out};
    case 5:
      if (f.size() != 4) return {};
      Pending.IntervalMinutes = f[3];
      IntervalRecord(out, Pending);
      return {out};
    case 6:
      return {std::nullopt, true};
    case 8:
      return {ConfigurationReply()};
    case 9:
      return {TemperatureReply()};
    default:
      return {};
  }
}

}  // namespace sim
