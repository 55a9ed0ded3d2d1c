// velmora-cli: finds, configures and watches a device from a shell, on the window's core.
#include "cli/CliCommand.h"
#include "cli/ConfigReport.h"
#include "cli/DeviceSession.h"
#include "cli/ReadingLines.h"
#include "protocol/CommandFrames.h"
#include "protocol/Conversions.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>

#include <unistd.h>
#include <csignal>
#include <cstdio>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitNoAnswer = 1;
constexpr int kExitBadArguments = 2;

using TBuilder = std::function<void(TLinkExchange&, IMainView&)>;

void Out(const QString& text) {
  std::fputs(text.toUtf8().constData(), stdout);
  std::fflush(stdout);
}

int Fail(int status, const QString& message) {
  std::fprintf(stderr, "velmora-cli: %s\n", message.toUtf8().constData());
  return status;
}

// Four decimal numbers 0..255 separated by dots, as the device and the window's fields hold them.
std::optional<QStringList> Octets(const QString& text) {
  const QStringList parts = text.split('.');
  if (parts.size() != 4) return std::nullopt;
  for (const QString& part : parts) {
    bool ok = false;
    const int value = part.toInt(&ok);
    if (!ok || value < 0 || value > 255 || part.isEmpty()) return std::nullopt;
  }
  return parts;
}

void CheckAddressOption(const QString& option, const QString& text) {
  if (!text.isEmpty() && !Octets(text))
    throw TCliError{QStringLiteral("%1 needs an IPv4 address such as 192.168.1.10, not '%2'").arg(option, text)};
}

// Puts one dotted value into a row of octet fields; the builder then checks each octet as the
// window's button does.
void FillRow(TFieldView& view, const TOctetRow& row, const QString& text, const char* what) {
  const QStringList parts = text.split('.');
  if (parts.size() != 4)
    throw EVelmoraError(QStringLiteral("'%1' is not a valid %2: it needs four numbers separated by dots")
                            .arg(text, QLatin1String(what)));
  for (int i = 0; i < 4; ++i) view.Texts[row[i]] = parts[i];
}

// Writes the set command's values into the fields that its button reads, and names its builder.
TBuilder PrepareSet(const TCliCommand& command, TFieldView& view) {
  const QStringList& v = command.Values;
  if (command.SetWhat == "network") {
    FillRow(view, kDeviceIpRow, v[0], "device address");
    FillRow(view, kGatewayRow, v[1], "gateway");
    FillRow(view, kMaskRow, v[2], "mask");
    return BuildSetParams;
  }
  if (command.SetWhat == "host-port") {
    view.Texts[TControl::mePort] = v[0];
    return BuildSetHostPort;
  }
  if (command.SetWhat == "server") {
    const bool byName = command.ServerByName || !Octets(v[0]);
    view.Checks[TControl::rbServerName] = byName;
    view.Checks[TControl::rbServerIP] = !byName;
    if (byName)
      view.Texts[TControl::meServerName] = v[0];
    else
      FillRow(view, kServerIpRow, v[0], "server address");
    view.Texts[TControl::meServerPort] = v[1];
    return BuildSetServer;
  }
  if (command.SetWhat == "mac") {
    view.Texts[TControl::meMAC] = v[0];
    return BuildSetMac;
  }
  view.Texts[TControl::cbTime] = v[0];
  return BuildSetInterval;
}

// Builds the frame once into an exchange that sends nothing, so that a bad value is refused
// before any datagram leaves, discovery included.
void CheckBuildable(const TCliCommand& command) {
  TLinkExchange dry;
  dry.WakeEvent = std::make_unique<TWakeEvent>();
  TFieldView view;
  PrepareSet(command, view)(dry, view);
}

int FindDevice(TDeviceSession& session, const TCliCommand& command) {
  if (session.LocalAddress().isEmpty())
    return Fail(kExitNoAnswer, QStringLiteral("this host has no 192.168.x.x address to send from; give --local"));
  if (!session.Ask(BuildFindDevice, command.TimeoutMs))
    return Fail(kExitNoAnswer, QStringLiteral("no device answered the discovery from %1 within %2 ms")
                                   .arg(session.LocalAddress())
                                   .arg(command.TimeoutMs));
  return kExitOk;
}

// The device to talk to: the one given, or the one that answers discovery.
int ReachDevice(TDeviceSession& session, const TCliCommand& command) {
  return command.Device.isEmpty() ? FindDevice(session, command) : kExitOk;
}

int RunFind(TDeviceSession& session, const TCliCommand& command) {
  if (const int status = FindDevice(session, command)) return status;
  auto entries = ConfigEntries(session.View());
  entries.push_back({QStringLiteral("answered_by"), session.AnsweredBy()});
  Out(command.Json ? ConfigJson(entries) + '\n' : ConfigText(entries));
  return kExitOk;
}

int RunSet(TDeviceSession& session, const TCliCommand& command) {
  if (const int status = ReachDevice(session, command)) return status;
  const TBuilder build = PrepareSet(command, session.View());
  if (!session.Ask(build, command.TimeoutMs))
    return Fail(
        kExitNoAnswer,
        QStringLiteral("the device did not answer 'set %1' within %2 ms").arg(command.SetWhat).arg(command.TimeoutMs));
  Out(ConfigText(ConfigEntries(session.View(), &session.Written())));
  return kExitOk;
}

int RunApply(TDeviceSession& session, const TCliCommand& command) {
  if (const int status = ReachDevice(session, command)) return status;
  // The device stays silent while it stores and reboots, then announces what it stored.
  if (!session.Ask(BuildApplyRestart, command.TimeoutMs))
    return Fail(kExitNoAnswer,
                QStringLiteral("the device did not come back within %1 ms of Save&Reboot").arg(command.TimeoutMs));
  Out(ConfigText(ConfigEntries(session.View(), &session.Written())));
  return kExitOk;
}

int RunWatch(TDeviceSession& session, const TCliCommand& command) {
  if (const int status = ReachDevice(session, command)) return status;
  if (command.Csv) Out(CsvHeader() + '\n');
  const int everyMs = command.EverySeconds * 1000;
  const int waitMs = std::min(command.TimeoutMs, everyMs);
  const auto read = [](TLinkExchange& exchange, IMainView&) { BuildReadTemperatures(exchange); };
  bool anyAnswer = false;
  for (int poll = 0; !command.Count || poll < *command.Count; ++poll) {
    QElapsedTimer started;
    started.start();
    const bool answered = session.Ask(read, waitMs);
    if (session.Interrupted()) break;
    anyAnswer = anyAnswer || answered;
    const QDateTime at = QDateTime::currentDateTime();
    QString lines;
    if (!answered) lines = MissedReplyLine(at, waitMs, command.Csv) + '\n';
    for (const auto& reading : session.Readings())
      lines += ReadingLine(at, reading.Sensor, reading.Celsius, command.Csv) + '\n';
    Out(lines);
    if (command.Count && poll + 1 == *command.Count) break;
    session.Pause(everyMs - static_cast<int>(started.elapsed()));
    if (session.Interrupted()) break;
  }
  return anyAnswer ? kExitOk : Fail(kExitNoAnswer, QStringLiteral("the device answered none of the polls"));
}

int SignalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const auto written = ::write(SignalPipe[1], &byte, 1);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("velmora-cli"));

  TCliCommand command;
  try {
    command = ParseCliCommand(app.arguments().mid(1));
    CheckAddressOption(QStringLiteral("--local"), command.LocalAddress);
    CheckAddressOption(QStringLiteral("--device"), command.Device);
    if (command.Kind == TCliCommand::TKind::Set) CheckBuildable(command);
  } catch (const TCliError& e) {
    return Fail(kExitBadArguments, e.Message);
  } catch (const EVelmoraError& e) {
    return Fail(kExitBadArguments, e.Message());
  }
  if (command.Kind == TCliCommand::TKind::Help) {
    Out(CliHelp(command.HelpTopic));
    return kExitOk;
  }

  TDeviceSession session(command.LocalAddress, command.HostPort, command.Device);
  // Ctrl-C ends the current wait; the session then stops its worker on the way out.
  std::unique_ptr<QSocketNotifier> interrupted;
  if (::pipe(SignalPipe) == 0) {
    interrupted = std::make_unique<QSocketNotifier>(SignalPipe[0], QSocketNotifier::Read);
    QObject::connect(interrupted.get(), &QSocketNotifier::activated, [&] { session.Interrupt(); });
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
  }

  try {
    switch (command.Kind) {
      case TCliCommand::TKind::Find:
        return RunFind(session, command);
      case TCliCommand::TKind::Set:
        return RunSet(session, command);
      case TCliCommand::TKind::Apply:
        return RunApply(session, command);
      case TCliCommand::TKind::Watch:
        return RunWatch(session, command);
      case TCliCommand::TKind::Help:
        break;
    }
  } catch (const EVelmoraError& e) {
    return Fail(kExitBadArguments, e.Message());
  }
  return kExitOk;
}
