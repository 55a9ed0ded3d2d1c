#pragma once

#include "app/MainForm.h"

#include <QElapsedTimer>

#include <memory>

// A fresh window with its own exchange state, for each test that asks for one.
struct TFormHolder {
  std::unique_ptr<TLinkExchange> Exchange;
  std::unique_ptr<TMainForm> Form;

  void MakeForm(TFormOptions options = {}) {
    Form.reset();
    Exchange = std::make_unique<TLinkExchange>();
    Form = std::make_unique<TMainForm>(*Exchange, std::move(options));
  }
  // Closes the window and destroys it with its worker; how long that took, in milliseconds.
  qint64 CloseForm() {
    QElapsedTimer clock;
    clock.start();
    Form->close();
    Form.reset();
    return clock.elapsed();
  }
  void DropForm() {
    Form.reset();
    Exchange.reset();
  }
};
