#pragma once

#include <QString>

namespace orvane {

// The user-interface language ids of the string tables.
enum class UiLanguage : int {
    SystemDefault = 0,
    English = 0x409,  // table 1033
    Chinese = 0x804,  // table 2052
};

// The process-wide user-interface language, applied once at start-up.
// Safe to call from any thread.
void SetCurrentLanguage(UiLanguage language);
UiLanguage CurrentLanguage();

// The language that "system default" stands for: Chinese when the system
// locale is Chinese, English otherwise.
UiLanguage EffectiveLanguage(UiLanguage language);

// Text of a string-table entry in the given (or current) language; the
// empty text for an id that the table does not hold.
QString LoadString(int id, UiLanguage language);
QString LoadString(int id);

// Loads Qt's own translation of its standard texts (the OK and Cancel of a
// message box, the context menus of edits) for the language and installs it
// in the application, replacing one installed before. False when the
// language needs none or Qt's translation is not installed. GUI thread,
// after the application object exists.
bool InstallQtTranslation(UiLanguage language);

}  // namespace orvane
