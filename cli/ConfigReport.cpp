#include "cli/ConfigReport.h"

#include "protocol/Conversions.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

QString Dotted(const TFieldView& view, const TOctetRow& row) {
  QStringList octets;
  for (const TControl octet : row) octets << view.Text(octet);
  return octets.join('.');
}

// A number where the field holds one, the text as it stands otherwise.
QJsonValue NumberOrText(const QString& text) {
  const auto value = TryStrToInt(text);
  return value ? QJsonValue(*value) : QJsonValue(text);
}

class TEntries {
 public:
  TEntries(const TFieldView& view, const std::set<TControl>* only) : View(view), Only(only) {}

  void Add(const QString& key, std::initializer_list<TControl> controls, const QJsonValue& value) {
    const bool wanted =
        !Only || std::any_of(controls.begin(), controls.end(), [&](TControl c) { return Only->count(c) > 0; });
    const bool known = std::any_of(controls.begin(), controls.end(),
                                   [&](TControl c) { return View.Texts.count(c) > 0 || View.Checks.count(c) > 0; });
    if (wanted && known) List.push_back({key, value});
  }
  void AddRow(const QString& key, const TOctetRow& row) {
    Add(key, {row[0], row[1], row[2], row[3]}, Dotted(View, row));
  }
  std::vector<TConfigEntry> Take() { return std::move(List); }

 private:
  const TFieldView& View;
  const std::set<TControl>* Only;
  std::vector<TConfigEntry> List;
};

}  // namespace

std::vector<TConfigEntry> ConfigEntries(const TFieldView& view, const std::set<TControl>* only) {
  TEntries entries(view, only);
  entries.AddRow(QStringLiteral("address"), kDeviceIpRow);
  entries.AddRow(QStringLiteral("gateway"), kGatewayRow);
  entries.AddRow(QStringLiteral("mask"), kMaskRow);
  entries.Add(QStringLiteral("dns"), {TControl::meDNS}, view.Text(TControl::meDNS));
  if (view.Checks.count(TControl::cbDHCP))
    entries.Add(QStringLiteral("dhcp"), {TControl::cbDHCP}, view.Checked(TControl::cbDHCP));
  entries.Add(QStringLiteral("mac"), {TControl::meMAC}, view.Text(TControl::meMAC));
  entries.Add(QStringLiteral("host_port"), {TControl::mePort}, NumberOrText(view.Text(TControl::mePort)));
  if (view.Checked(TControl::rbServerName))
    entries.Add(QStringLiteral("server_name"), {TControl::meServerName, TControl::rbServerName},
                view.Text(TControl::meServerName));
  else if (view.Checked(TControl::rbServerIP))
    entries.AddRow(QStringLiteral("server_address"), kServerIpRow);
  entries.Add(QStringLiteral("server_port"), {TControl::meServerPort}, NumberOrText(view.Text(TControl::meServerPort)));
  entries.Add(QStringLiteral("interval"), {TControl::cbTime}, NumberOrText(view.Text(TControl::cbTime)));
  auto list = entries.Take();
  const auto panel = view.Panels.find(1);
  if (!only && panel != view.Panels.end() && panel->second.startsWith(QLatin1String("FW:")))
    list.push_back({QStringLiteral("firmware"), panel->second.mid(3)});
  return list;
}

QString ConfigText(const std::vector<TConfigEntry>& entries) {
  int width = 0;
  for (const auto& e : entries) width = std::max(width, int(e.Key.size()) + 1);
  QString text;
  for (const auto& e : entries) {
    QString value;
    if (e.Value.isBool())
      value = e.Value.toBool() ? QStringLiteral("on") : QStringLiteral("off");
    else if (e.Value.isDouble())
      value = QString::number(e.Value.toInteger());
    else
      value = e.Value.toString();
    text += (e.Key + ':').leftJustified(width + 1) + value + '\n';
  }
  return text;
}

QString ConfigJson(const std::vector<TConfigEntry>& entries) {
  QJsonObject object;
  for (const auto& e : entries) object.insert(e.Key, e.Value);
  return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}
