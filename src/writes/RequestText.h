#pragma once

#include <QString>

#include "ControlWindow.h"

namespace orvane {

// Free-text values go into requests without escaping, so a value holding
// "&", "<", ">" or "=" would change the meaning of the request, and a
// character outside ISO-8859-1 cannot be sent at all. These checks refuse
// such a value before anything is sent.

// The refusal message for `value` in the field called `fieldName`, or the
// empty text when the value can be sent as it is.
QString RequestValueProblem(const QString& fieldName, const QString& value);

// Shows the refusal message in a message box and returns false when the
// value cannot be sent. Any thread (the message box is the window's).
bool AcceptRequestValue(ControlWindow& window, const QString& fieldName, const QString& value);

}  // namespace orvane
