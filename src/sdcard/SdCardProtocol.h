#pragma once

#include <QString>
#include <QStringList>

namespace orvane {

// The SD-card file list and the names it may hold. Pure functions of text;
// any thread. (The request texts are in Requests.h.)

inline constexpr int kMaxListedFiles = 1000;

// The names of a complete "SDcard file:" reply, in reply order. Each name
// ends at an "&"; what follows the last "&" (the terminator) is ignored, as
// are empty names. At most kMaxListedFiles names.
QStringList ParseFileList(const QString& replyText);

// Whether a listed name may be requested and stored in the data folder: it
// must not break the request grammar ("&", "<", ">", "="), must fit a byte
// per character, and must not leave the folder (no separators, "." or "..").
bool IsSafeFileName(const QString& name);

}  // namespace orvane
