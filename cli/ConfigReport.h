#pragma once

#include "protocol/FieldView.h"

#include <QJsonValue>
#include <QString>

#include <set>
#include <vector>

// One line of a device's configuration, as the window shows it.
struct TConfigEntry {
  QString Key;
  QJsonValue Value;
};

// The configuration that replies have written into the view. With `only`, just the entries
// whose controls are in it: what one reply answered.
std::vector<TConfigEntry> ConfigEntries(const TFieldView& view, const std::set<TControl>* only = nullptr);

// "key: value" lines, the keys lined up.
QString ConfigText(const std::vector<TConfigEntry>& entries);
// One JSON object on one line.
QString ConfigJson(const std::vector<TConfigEntry>& entries);
