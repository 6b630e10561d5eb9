#pragma once

#include <QString>
#include <functional>

#include "AppIni.h"
#include "StringTable.h"

namespace orvane {

// "English" → English, "Chinese" → Chinese (exact, case-sensitive);
// anything else leaves the system default.
UiLanguage LanguageFromKey(const QString& key);

// The language choice of start-up: an empty key is first written as
// "English", then `askUser` runs (the language dialog, which may store
// another choice) and the key is read again. GUI thread.
UiLanguage ChooseLanguage(const AppIni& ini, const std::function<void()>& askUser);

}  // namespace orvane
