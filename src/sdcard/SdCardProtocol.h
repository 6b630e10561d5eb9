#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace orvane {

// The SD-card requests and the pure readings of their replies. Pure
// functions of text; any thread.

inline constexpr int kMaxListedFiles = 1000;

inline const QString kSdCardListRequest = QStringLiteral("read&SDCard file&http 1.0");
QString BuildFileSizeRequest(const QString& fileName);
QString BuildReadFileRequest(const QString& fileName, qint64 startOffset);
QString BuildDeleteFileRequest(const QString& fileName);

// The names of a complete "SDcard file:" reply, in reply order. Each name
// ends at an "&"; what follows the last "&" (the terminator) is ignored, as
// are empty names. At most kMaxListedFiles names.
QStringList ParseFileList(const QString& replyText);

// The byte count of a "File Size:" report, or nothing when the report holds
// no "File<size".
std::optional<qint64> ParseFileSizeReply(const QString& report);

// "%0.2fKB" up to 1000 kilobytes, "%0.2fMB" beyond, computed in single
// precision as the station's own tools show it.
QString FormatFileSize(qint64 bytes);

// The first report of a download: the announced total size of the station's
// file (leading digits after the first "=", 0 when none) and the file data
// after the first ">" (the whole text when there is no ">").
struct ReadFileHeader {
    qint64 total = 0;
    QString data;
};
ReadFileHeader ParseReadFileHeader(const QString& report);

// Report text to file bytes: every character stands for the byte of the
// same code, so the local copy holds exactly what the station sent.
QByteArray ReportBytes(const QString& text);

// Whether a listed name may be requested and stored in the data folder: it
// must not break the request grammar ("&", "<", ">", "="), must fit a byte
// per character, and must not leave the folder (no separators, "." or "..").
bool IsSafeFileName(const QString& name);

}  // namespace orvane
