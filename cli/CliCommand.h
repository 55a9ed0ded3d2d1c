#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks for, once its words have been checked.
struct TCliCommand {
  enum class TKind { Help, Find, Set, Apply, Watch };

  TKind Kind = TKind::Help;
  QString HelpTopic;     // the command whose --help was asked for; empty for the overview
  QString SetWhat;       // network, host-port, server, mac or interval
  QStringList Values;    // the values of a set command, as typed
  QString LocalAddress;  // empty: the address the window would choose
  QString HostPort = QStringLiteral("2222");
  QString Device;  // empty: find the device by discovery first
  int TimeoutMs = 1000;
  bool Json = false;
  bool Csv = false;
  bool ServerByName = false;  // set server: take the value as a name even if it looks like an address
  int EverySeconds = 1;
  std::optional<int> Count;  // watch: how many polls; none for until Ctrl-C
};

// A word that the command line cannot take; the message names it.
struct TCliError {
  QString Message;
};

// Parses the words after the program's name. Throws TCliError.
TCliCommand ParseCliCommand(const QStringList& words);

// The help text of a command, or of the whole program for an empty topic.
QString CliHelp(const QString& topic);
