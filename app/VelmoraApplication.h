#pragma once

#include <QApplication>

// The application under its title. Every handler catches its own errors; this is the last
// guard, so that no exception ever unwinds through Qt's event loop.
class TVelmoraApplication : public QApplication {
 public:
  TVelmoraApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// Runs an event handler; an error it raises ends the handler and is shown in the error box.
template <typename THandler>
void RunHandler(THandler&& handler);

void ShowHandlerError(std::exception_ptr error);

template <typename THandler>
void RunHandler(THandler&& handler) {
  try {
    handler();
  } catch (...) {
    ShowHandlerError(std::current_exception());
  }
}
