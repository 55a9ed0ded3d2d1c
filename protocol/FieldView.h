#pragma once

#include "protocol/Controls.h"

#include <QStringList>

#include <map>
#include <set>

// A window without widgets: it keeps what the logic shows and hands it back when asked.
// The command-line client fills it from its arguments; tests read what a reply wrote.
class TFieldView : public IMainView {
 public:
  std::map<TControl, QString> Texts;
  std::map<TControl, bool> Checks;
  std::map<TControl, bool> Enabled;
  std::map<TControl, bool> ReadOnly;
  std::map<int, QString> Panels;
  std::map<TControl, QStringList> Lines;
  std::map<TControl, QStringList> Items;
  std::map<TControl, int> Indexes;
  int TimerInterval = 10000;
  bool TimerEnabled = false;
  // Every control whose text or check the logic has set.
  std::set<TControl> Written;

  QString Text(TControl control) const override;
  void SetText(TControl control, const QString& text) override;
  bool Checked(TControl control) const override;
  void SetChecked(TControl control, bool checked) override;
  void SetEnabled(TControl control, bool enabled) override;
  void SetReadOnly(TControl control, bool readOnly) override;
  void SetPanelText(int panel, const QString& text) override;
  void AddItem(TControl combo, const QString& item) override;
  int ItemIndex(TControl combo) const override;
  void SetItemIndex(TControl combo, int index) override;
  void AppendLine(TControl memo, const QString& line) override;
  void DeleteFirstLine(TControl memo) override;
  void SetTimerInterval(int milliseconds) override;
  void SetTimerEnabled(bool enabled) override;
};
