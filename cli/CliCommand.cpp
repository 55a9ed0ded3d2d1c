#include "cli/CliCommand.h"

#include "protocol/Conversions.h"

#include <map>

namespace {

const std::map<QString, int> kSetValueCounts{
    {QStringLiteral("network"), 3}, {QStringLiteral("host-port"), 1}, {QStringLiteral("server"), 2},
    {QStringLiteral("mac"), 1},     {QStringLiteral("interval"), 1},
};

int NumberOption(const QString& option, const QString& text, int minimum, int maximum) {
  const auto value = TryStrToInt(text);
  if (!value || *value < minimum || *value > maximum)
    throw TCliError{
        QStringLiteral("%1 needs a number from %2 to %3, not '%4'").arg(option).arg(minimum).arg(maximum).arg(text)};
  return *value;
}

// Options are the same words for every command, but each command takes only some of them.
bool CommandTakes(TCliCommand::TKind kind, const QString& option) {
  using K = TCliCommand::TKind;
  if (option == "--local" || option == "--port" || option == "--timeout" || option == "--help") return true;
  if (option == "--json") return kind == K::Find;
  if (option == "--device") return kind == K::Set || kind == K::Apply || kind == K::Watch;
  if (option == "--name") return kind == K::Set;
  if (option == "--every" || option == "--count" || option == "--csv") return kind == K::Watch;
  return false;
}

}  // namespace

TCliCommand ParseCliCommand(const QStringList& words) {
  TCliCommand command;
  if (words.isEmpty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
    command.HelpTopic = words.size() > 1 && words[0] == "help" ? words[1] : QString();
    return command;
  }
  const QString name = words[0];
  using K = TCliCommand::TKind;
  static const std::map<QString, K> kinds{{"find", K::Find}, {"set", K::Set}, {"apply", K::Apply}, {"watch", K::Watch}};
  const auto kind = kinds.find(name);
  if (kind == kinds.end()) throw TCliError{QStringLiteral("unknown command '%1'; see velmora-cli --help").arg(name)};
  command.Kind = kind->second;

  QStringList positional;
  for (int i = 1; i < words.size(); ++i) {
    const QString& word = words[i];
    if (!word.startsWith("--")) {
      positional << word;
      continue;
    }
    if (!CommandTakes(command.Kind, word))
      throw TCliError{QStringLiteral("'%1' does not take the option %2").arg(name, word)};
    const auto value = [&]() -> QString {
      if (i + 1 >= words.size()) throw TCliError{QStringLiteral("%1 needs a value").arg(word)};
      return words[++i];
    };
    if (word == "--help") {
      command.HelpTopic = name;
      command.Kind = K::Help;
      return command;
    } else if (word == "--local") {
      command.LocalAddress = value();
    } else if (word == "--port") {
      command.HostPort = QString::number(NumberOption(word, value(), 0, 65535));
    } else if (word == "--timeout") {
      command.TimeoutMs = NumberOption(word, value(), 1, 600000);
    } else if (word == "--device") {
      command.Device = value();
    } else if (word == "--json") {
      command.Json = true;
    } else if (word == "--csv") {
      command.Csv = true;
    } else if (word == "--name") {
      command.ServerByName = true;
    } else if (word == "--every") {
      command.EverySeconds = NumberOption(word, value(), 1, 86400);
    } else if (word == "--count") {
      command.Count = NumberOption(word, value(), 1, 1000000000);
    }
  }

  if (command.Kind == K::Set) {
    if (positional.isEmpty())
      throw TCliError{QStringLiteral("'set' needs what to set: network, host-port, server, mac or interval")};
    command.SetWhat = positional.takeFirst();
    const auto count = kSetValueCounts.find(command.SetWhat);
    if (count == kSetValueCounts.end())
      throw TCliError{QStringLiteral("'set' cannot set '%1'; it sets network, host-port, server, mac or interval")
                          .arg(command.SetWhat)};
    if (positional.size() != count->second)
      throw TCliError{QStringLiteral("'set %1' needs %2 value(s), %3 given; see velmora-cli set --help")
                          .arg(command.SetWhat)
                          .arg(count->second)
                          .arg(positional.size())};
    if (command.ServerByName && command.SetWhat != "server")
      throw TCliError{QStringLiteral("--name goes with 'set server' only")};
    command.Values = positional;
  } else if (!positional.isEmpty()) {
    throw TCliError{QStringLiteral("'%1' takes no value '%2'").arg(name, positional[0])};
  }
  return command;
}

QString CliHelp(const QString& topic) {
  static const QString common = QStringLiteral(
      "  --local ADDRESS  send from this local address (default: the one the window chooses)\n"
      "  --port PORT      the host port the device answers to (default 2222)\n"
      "  --timeout MS     how long to wait for the device's reply (default 1000)\n");
  static const QString device =
      QStringLiteral("  --device ADDRESS talk to this address instead of finding the device by discovery first\n");
  if (topic == "find")
    return QStringLiteral(
               "Usage: velmora-cli find [--local ADDRESS] [--port PORT] [--timeout MS] [--json]\n"
               "Broadcasts the discovery request and prints the device's configuration.\n") +
           common + QStringLiteral("  --json           print one JSON object\n");
  if (topic == "set")
    return QStringLiteral(
               "Usage: velmora-cli set WHAT VALUES... [--device ADDRESS] [--local ADDRESS] [--port PORT] [--timeout "
               "MS]\n"
               "Sends the one frame that the window's button sends, and prints the device's answer.\n"
               "  set network ADDRESS GATEWAY MASK   (\"Set Network\")\n"
               "  set host-port PORT                 (\"Set Host Port\")\n"
               "  set server NAME|ADDRESS PORT       (\"Set Server\"; a dotted address unless --name)\n"
               "  set mac MAC                        (\"Set MAC\"; twelve hexadecimal digits)\n"
               "  set interval MINUTES               (\"Set Time\")\n") +
           common + device + QStringLiteral("  --name           take the server value as a name\n");
  if (topic == "apply")
    return QStringLiteral(
               "Usage: velmora-cli apply [--device ADDRESS] [--local ADDRESS] [--port PORT] [--timeout MS]\n"
               "Sends \"Save&Reboot\" and waits for the device to announce its stored settings.\n") +
           common + device;
  if (topic == "watch")
    return QStringLiteral(
               "Usage: velmora-cli watch [--every SECONDS] [--count N] [--csv] [--device ADDRESS] [--local ADDRESS]\n"
               "                         [--port PORT] [--timeout MS]\n"
               "Polls the temperatures and prints one line per reading; Ctrl-C ends it.\n"
               "  --every SECONDS  time between polls (default 1)\n"
               "  --count N        stop after N polls (default: until Ctrl-C)\n"
               "  --csv            a header, then comma-separated rows: time,sensor,celsius,status\n") +
           common + device;
  return QStringLiteral(
      "Usage: velmora-cli COMMAND [OPTIONS]\n"
      "Finds, configures and watches a Velmora temperature device over UDP port 3333.\n"
      "Commands:\n"
      "  find    broadcast the discovery request and print the device's configuration\n"
      "  set     send one setting (network, host-port, server, mac, interval)\n"
      "  apply   make the device store its settings and reboot (\"Save&Reboot\")\n"
      "  watch   poll the temperatures\n"
      "velmora-cli COMMAND --help tells more.\n"
      "Exit status: 0 success, 1 no device answered in time, 2 bad arguments.\n");
}
