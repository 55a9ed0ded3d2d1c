#include "protocol/FieldView.h"

namespace {

template <typename TMap, typename TValue>
TValue Lookup(const TMap& map, const typename TMap::key_type& key, TValue fallback) {
  const auto found = map.find(key);
  return found == map.end() ? fallback : found->second;
}

}  // namespace

QString TFieldView::Text(TControl control) const { return Lookup(Texts, control, QString()); }
void TFieldView::SetText(TControl control, const QString& text) {
  Written.insert(control);
  Texts[control] = text;
}
bool TFieldView::Checked(TControl control) const { return Lookup(Checks, control, false); }
void TFieldView::SetChecked(TControl control, bool checked) {
  Written.insert(control);
  Checks[control] = checked;
  // The two server radio buttons are one group: checking one unchecks the other.
  if (checked && control == TControl::rbServerName) Checks[TControl::rbServerIP] = false;
  if (checked && control == TControl::rbServerIP) Checks[TControl::rbServerName] = false;
}
void TFieldView::SetEnabled(TControl control, bool enabled) { Enabled[control] = enabled; }
void TFieldView::SetReadOnly(TControl control, bool readOnly) { ReadOnly[control] = readOnly; }
void TFieldView::SetPanelText(int panel, const QString& text) { Panels[panel] = text; }
void TFieldView::AddItem(TControl combo, const QString& item) { Items[combo].append(item); }
int TFieldView::ItemIndex(TControl combo) const { return Lookup(Indexes, combo, -1); }
void TFieldView::SetItemIndex(TControl combo, int index) { Indexes[combo] = index; }
void TFieldView::AppendLine(TControl memo, const QString& line) { Lines[memo].append(line); }
void TFieldView::DeleteFirstLine(TControl memo) {
  if (!Lines[memo].isEmpty()) Lines[memo].removeFirst();
}
void TFieldView::SetTimerInterval(int milliseconds) { TimerInterval = milliseconds; }
void TFieldView::SetTimerEnabled(bool enabled) { TimerEnabled = enabled; }
