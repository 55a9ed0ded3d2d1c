#pragma once

#include "app/MainForm.h"

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
  void DropForm() {
    Form.reset();
    Exchange.reset();
  }
};
