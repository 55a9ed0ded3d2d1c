#pragma once

#include "protocol/Controls.h"

#include <QChar>

// The characters that an octet edit lets through: digits, the full stop, backspace, the
// percent sign and the apostrophe. The last three fail the range rule's conversion.
bool IsOctetKeyAllowed(QChar typed);

// The range rule: a value above 255 becomes "0"; a text that is not a number raises the
// conversion error and stays as typed.
void CheckOctetRange(IMainView& view, TControl octet);

// "Enable Fields", after the click has toggled the box.
void EnableFieldsClick(IMainView& view);

// The server switch: the name edit or the four server octets, as the selected radio says.
void ServerIPClick(IMainView& view);
void ServerNameClick(IMainView& view);

bool IsOctetEdit(TControl control);
