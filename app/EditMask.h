#pragma once

#include <QString>

// Turns an edit mask written as "digits;literals-in-text;blank" ("0" a required digit, "9" an
// optional one, a leading "!" for leading blanks) into a QLineEdit input mask, whose letters
// mean the opposite ("9" required, "0" optional). Qt has no leading-blank mode, and its text
// always holds the literals, so those two settings have no counterpart.
QString QtInputMask(const QString& editMask);
