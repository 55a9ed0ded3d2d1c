#include "protocol/CommandFrames.h"

#include "protocol/Conversions.h"

namespace {

// Writes one frame into the shared slot, CommandLength doubling as the write position.
class TFrameWriter {
 public:
  TFrameWriter(TLinkExchange& exchange, TCommandCode code) : Exchange(exchange) {
    Exchange.CommandLength = 0;
    Append(CommandMagic[0]);
    Append(CommandMagic[1]);
    Append(code);
  }

  void Append(std::uint8_t byte) {
    // Every caller checks its lengths first; this only keeps a fault from writing past the slot.
    if (Exchange.CommandLength >= kCommandBufferSize)
      throw EVelmoraError(QStringLiteral("The command frame is too long"));
    Exchange.CommandBuffer[Exchange.CommandLength++] = byte;
  }

  void AppendPort(std::uint16_t port) {
    Append(static_cast<std::uint8_t>(port & 0xFF));
    Append(static_cast<std::uint8_t>(port >> 8));
  }

  // Hands a copy of the finished frame to the worker and wakes it.
  void Submit() {
    if (!Exchange.WakeEvent) throw EVelmoraError(QStringLiteral("The device link is not running; nothing was sent"));
    TFrame frame(Exchange.CommandBuffer.begin(), Exchange.CommandBuffer.begin() + Exchange.CommandLength);
    if (!Exchange.PendingFrames.Push(std::move(frame), *Exchange.WakeEvent))
      throw EVelmoraError(QStringLiteral("Too many commands are waiting for the device; this one was not sent"));
  }

 private:
  TLinkExchange& Exchange;
};

std::int32_t RangedField(const IMainView& view, TControl control, std::int32_t maximum, const char* what) {
  const QString text = view.Text(control);
  const std::int32_t value = StrToInt(text);
  if (value < 0 || value > maximum)
    throw EVelmoraError(QStringLiteral("'%1' is not a valid %2: it must lie between 0 and %3")
                            .arg(text, QLatin1String(what))
                            .arg(maximum));
  return value;
}

std::uint8_t ByteField(const IMainView& view, TControl control) {
  return static_cast<std::uint8_t>(RangedField(view, control, 255, "one-byte value"));
}

std::uint16_t PortField(const IMainView& view, TControl control) {
  return static_cast<std::uint16_t>(RangedField(view, control, 65535, "port"));
}

void AppendOctets(TFrameWriter& frame, const IMainView& view, const TOctetRow& row) {
  for (const TControl octet : row) frame.Append(ByteField(view, octet));
}

}  // namespace

void BuildSetParams(TLinkExchange& exchange, IMainView& view) {
  view.AppendLine(TControl::mLog, QStringLiteral("Setting Params..."));
  TFrameWriter frame(exchange, ccSetParams);
  AppendOctets(frame, view, kDeviceIpRow);
  AppendOctets(frame, view, kGatewayRow);
  AppendOctets(frame, view, kMaskRow);
  frame.Submit();
}

void BuildSetHostPort(TLinkExchange& exchange, IMainView& view) {
  view.AppendLine(TControl::mLog, QStringLiteral("Setting Port..."));
  TFrameWriter frame(exchange, ccSetHostPort);
  frame.AppendPort(PortField(view, TControl::mePort));
  frame.Submit();
}

void BuildSetServer(TLinkExchange& exchange, IMainView& view) {
  view.AppendLine(TControl::mLog, QStringLiteral("Setting Server..."));
  TFrameWriter frame(exchange, ccSetServer);
  if (view.Checked(TControl::rbServerName)) {
    frame.Append(sakHostName);
    const QString name = view.Text(TControl::meServerName);
    if (name.size() > kMaxServerNameLength)
      throw EVelmoraError(QStringLiteral("The server name has %1 characters; at most %2 fit in a frame")
                              .arg(name.size())
                              .arg(kMaxServerNameLength));
    for (const QChar c : name)
      if (c.unicode() > 0xFF)
        throw EVelmoraError(
            QStringLiteral("The server name '%1' holds a character that cannot be sent as one byte").arg(name));
    frame.Append(static_cast<std::uint8_t>(name.size()));
    for (const QChar c : name) frame.Append(static_cast<std::uint8_t>(c.unicode()));
  } else {
    frame.Append(sakIpAddress);
    AppendOctets(frame, view, kServerIpRow);
  }
  frame.AppendPort(PortField(view, TControl::meServerPort));
  frame.Submit();
}

void BuildSetMac(TLinkExchange& exchange, IMainView& view) {
  view.AppendLine(TControl::mLog, QStringLiteral("Setting MAC..."));
  TFrameWriter frame(exchange, ccSetMac);
  const QString text = view.Text(TControl::meMAC);
  const auto mac = MacTextToBytes(text);
  if (!mac)
    throw EVelmoraError(
        QStringLiteral("'%1' is not a valid MAC address: it needs exactly twelve hexadecimal digits").arg(text));
  for (const auto byte : *mac) frame.Append(byte);
  frame.Submit();
}

void BuildSetInterval(TLinkExchange& exchange, IMainView& view) {
  view.AppendLine(TControl::mLog, QStringLiteral("Setting Timeout..."));
  TFrameWriter frame(exchange, ccSetInterval);
  frame.Append(ByteField(view, TControl::cbTime));
  frame.Submit();
}

void BuildApplyRestart(TLinkExchange& exchange, IMainView& view) {
  view.AppendLine(TControl::mLog, QStringLiteral("Apply and Restart"));
  TFrameWriter(exchange, ccApplyRestart).Submit();
}

void BuildFindDevice(TLinkExchange& exchange, IMainView& view) {
  view.AppendLine(TControl::mLog, QStringLiteral("Found device"));
  TFrameWriter(exchange, ccFindDevice).Submit();
}

void BuildReadTemperatures(TLinkExchange& exchange) { TFrameWriter(exchange, ccReadTemperatures).Submit(); }
