#pragma once

#include "app/MainForm.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// Presses "Found Device" and waits until the reply has rewritten the device's last octet.
inline bool DiscoverSimulator(TMainForm& form, int timeoutMs = 5000) {
  form.meDevIP[3]->setText(QStringLiteral("1"));
  form.btFind->click();
  return QTest::qWaitFor([&] { return form.meDevIP[3]->text() == QLatin1String("10"); }, timeoutMs);
}
