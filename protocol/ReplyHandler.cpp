#include "protocol/ReplyHandler.h"

#include "protocol/CommandFrames.h"
#include "protocol/Conversions.h"

namespace {

constexpr std::uint8_t kDhcpOn = 0xAE;
constexpr int kMillisecondsPerMinute = 60000;

// Reads a reply's records. Bytes past the datagram read as the zeros the cleared buffer holds.
class TRecordReader {
 public:
  explicit TRecordReader(const TLinkExchange& exchange) : Buffer(exchange.ReplyBuffer) {}

  std::uint8_t Byte(int offset) const { return Buffer[static_cast<std::size_t>(offset)]; }
  std::uint16_t Port(int offset) const { return static_cast<std::uint16_t>(Byte(offset) | Byte(offset + 1) << 8); }
  QString Decimal(int offset) const { return IntToStr(Byte(offset)); }
  // Single-byte characters, cut before the first zero byte.
  QString Chars(int offset, int count) const {
    QString text;
    for (int i = 0; i < count && Byte(offset + i) != 0; ++i) text += QChar(Byte(offset + i));
    return text;
  }

 private:
  const std::array<std::uint8_t, kReplyBufferSize>& Buffer;
};

class TReplyWalk {
 public:
  TReplyWalk(TLinkExchange& exchange, IMainView& view, ITemperatureSink& temperatures)
      : Exchange(exchange), Reply(exchange), View(view), Temperatures(temperatures) {}

  void Run() {
    int cursor = 4;
    while (cursor < Exchange.ReplyLength && cursor < kCursorReach) {
      const std::uint8_t code = Reply.Byte(cursor);
      const int length = RecordLength(code, cursor);
      // A record that the one-byte cursor cannot address to its end ends the walk unapplied.
      if (cursor + length > kCursorReach) return;
      ApplyRecord(code, cursor);
      AfterRecord();
      cursor += length;
    }
  }

 private:
  // Bytes in the record, code byte included.
  int RecordLength(std::uint8_t code, int at) const {
    switch (code) {
      case rcNetwork:
        return 18;
      case rcHostPort:
        return 3;
      case rcServer:
        return Reply.Byte(at + 1) == sakHostName ? 8 + Reply.Byte(at + 2) : 12;
      case rcMac:
        return 7;
      case rcInterval:
        return 2;
      case rcFirmware:
        return 5;
      case rcTemperatures:
        return 2 + 2 * Reply.Byte(at + 1);
      default:
        return 1;
    }
  }

  void ApplyRecord(std::uint8_t code, int at) {
    switch (code) {
      case rcNetwork:
        return ApplyNetwork(at);
      case rcHostPort:
        return View.SetText(TControl::mePort, IntToStr(Reply.Port(at + 1)));
      case rcServer:
        return ApplyServer(at);
      case rcMac:
        return ApplyMac(at);
      case rcInterval:
        return ApplyInterval(at);
      case rcFirmware:
        return View.SetPanelText(1, QStringLiteral("FW:") + Reply.Chars(at + 1, 4));
      case rcTemperatures:
        return ApplyTemperatures(at);
      default:
        return;
    }
  }

  void SetOctets(const TOctetRow& row, int at) {
    for (int i = 0; i < 4; ++i) View.SetText(row[i], Reply.Decimal(at + i));
  }

  void ApplyNetwork(int at) {
    SetOctets(kDeviceIpRow, at + 1);
    SetOctets(kGatewayRow, at + 5);
    SetOctets(kMaskRow, at + 9);
    View.SetText(TControl::meDNS, QStringLiteral("%1.%2.%3.%4")
                                      .arg(Reply.Decimal(at + 13), Reply.Decimal(at + 14), Reply.Decimal(at + 15),
                                           Reply.Decimal(at + 16)));
    View.SetChecked(TControl::cbDHCP, Reply.Byte(at + 17) == kDhcpOn);
  }

  void ApplyServer(int at) {
    const bool byName = Reply.Byte(at + 1) == sakHostName;
    View.SetChecked(byName ? TControl::rbServerName : TControl::rbServerIP, true);
    const int nameLength = Reply.Byte(at + 2);
    View.SetText(TControl::meServerPort, IntToStr(Reply.Port(at + 3)));
    int next = at + 5;
    if (byName) {
      View.SetText(TControl::meServerName, Reply.Chars(next, nameLength));
      next += nameLength;
    } else {
      SetOctets(kServerIpRow, next);
      next += 4;
    }
    View.SetText(TControl::cbTime, Reply.Decimal(next));
    View.SetText(TControl::mePort, IntToStr(Reply.Port(next + 1)));
  }

  void ApplyMac(int at) {
    std::array<std::uint8_t, 6> mac{};
    for (int i = 0; i < 6; ++i) mac[i] = Reply.Byte(at + 1 + i);
    View.SetText(TControl::meMAC, MacBytesToText(mac));
  }

  void ApplyInterval(int at) {
    const std::uint8_t minutes = Reply.Byte(at + 1);
    View.SetTimerInterval(minutes * kMillisecondsPerMinute);
    View.SetText(TControl::cbTime, IntToStr(minutes));
  }

  void ApplyTemperatures(int at) {
    const std::uint8_t count = Reply.Byte(at + 1);
    for (int i = 0; i < count; ++i) {
      const int sample = at + 2 + 2 * i;
      Temperatures.RecordTemperature(TRawSample{Reply.Byte(sample), Reply.Byte(sample + 1)},
                                     static_cast<std::uint8_t>(i));
    }
  }

  void AfterRecord() {
    for (const TControl button : kSettingButtons) View.SetEnabled(button, true);
    View.SetTimerEnabled(true);
    View.SetEnabled(TControl::cbEnableFields, false);
  }

  TLinkExchange& Exchange;
  TRecordReader Reply;
  IMainView& View;
  ITemperatureSink& Temperatures;
};

void ReportSend(TLinkExchange& exchange, IMainView& view) {
  if (exchange.SentCount == 0) return;
  view.AppendLine(TControl::mLog, exchange.SentCount > 0
                                      ? IntToStr(exchange.SentCount) + QStringLiteral(" bytes have been sent to device")
                                      : QStringLiteral("Send bytes error"));
  exchange.CommandLength = 0;
  exchange.SentCount = 0;
}

}  // namespace

void ReplyHandler(TLinkExchange& exchange, IMainView& view, ITemperatureSink& temperatures) {
  if (exchange.ReplyLength > 0) {
    exchange.DeviceIpText = Ipv4Text(exchange.DeviceAddress.sin_addr);
    view.SetPanelText(0, QStringLiteral("Connected: ") + exchange.DeviceIpText);
    TReplyWalk(exchange, view, temperatures).Run();
  }
  ReportSend(exchange, view);
}
