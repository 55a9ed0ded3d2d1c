#include "app/ErrorBox.h"

#include <QCoreApplication>
#include <QMessageBox>

QString ErrorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
  return message;
}

void ShowErrorBox(const QString& message, QWidget* parent) {
  QMessageBox box(QMessageBox::Critical, QCoreApplication::applicationName(), ErrorBoxText(message), QMessageBox::Ok,
                  parent);
  box.setObjectName(QStringLiteral("VelmoraErrorBox"));
  box.exec();
}
