#pragma once

#include <QString>

class QWidget;

// The message as the error box shows it: a full stop is added unless the text already ends
// in one (or in a character that sorts before it).
QString ErrorBoxText(const QString& message);

// A modal box captioned with the application title, with the error icon and one OK button.
void ShowErrorBox(const QString& message, QWidget* parent = nullptr);
