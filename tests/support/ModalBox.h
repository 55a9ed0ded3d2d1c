#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>

struct TSeenBox {
  bool Shown = false;
  QString Title;
  QString Text;
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
  int Buttons = 0;
  QString ButtonText;
};

// Runs `action` and accepts every modal box it opens, remembering the last one.
inline TSeenBox RunAndAcceptBoxes(const std::function<void()>& action) {
  auto seen = std::make_shared<TSeenBox>();
  QTimer watcher;
  watcher.setInterval(10);
  QObject::connect(&watcher, &QTimer::timeout, [seen] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      seen->Shown = true;
      seen->Title = box->windowTitle();
      seen->Text = box->text();
      seen->Icon = box->icon();
      seen->Buttons = int(box->buttons().size());
      seen->ButtonText = box->buttons().isEmpty() ? QString() : box->buttons().first()->text();
      box->accept();
    }
  });
  watcher.start();
  action();
  QApplication::processEvents();
  return *seen;
}
