#pragma once

#include <QString>

#include "ControlWindow.h"

namespace orvane {

// Requests of the Telephone, GPRS and Web Server groups. Each builder reads
// its fields, and on the first value it refuses shows that value's message
// and returns the empty text; otherwise it returns the request. Texts are
// sent as entered, so values that would change the request's meaning or
// cannot be encoded are refused too (see RequestText.h). None of them moves
// the focus. Any thread.

QString BuildTelephoneRequest(ControlWindow& window);
QString BuildSmsIdRequest(ControlWindow& window);    // the ID as "Send"
QString BuildSmsTestRequest(ControlWindow& window);  // the ID as "ID"
QString BuildGprsRequest(ControlWindow& window);
QString BuildWebRequest(ControlWindow& window);
QString BuildWebLoginRequest(ControlWindow& window);
QString BuildServerTypeRequest(ControlWindow& window);

}  // namespace orvane
