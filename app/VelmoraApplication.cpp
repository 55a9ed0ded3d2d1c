#include "app/VelmoraApplication.h"

#include "app/ErrorBox.h"

#include <QIcon>

#include <exception>

TVelmoraApplication::TVelmoraApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // The application name, not the display name: Qt would append a display name to every window caption.
  setApplicationName(QStringLiteral("Velmora"));
  setDesktopFileName(QStringLiteral("velmora"));
  setWindowIcon(QIcon(QStringLiteral(":/velmora.png")));
}

bool TVelmoraApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowHandlerError(std::current_exception());
    return true;
  }
}

void ShowHandlerError(std::exception_ptr error) {
  QString message;
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    message = QString::fromStdString(e.what());
  } catch (...) {
  }
  ShowErrorBox(message);
}
