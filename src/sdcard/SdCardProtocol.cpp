#include "SdCardProtocol.h"

#include "Readings.h"

namespace orvane {

QString BuildFileSizeRequest(const QString& fileName) {
    return QStringLiteral("Read&File Size=%1&http 1.0").arg(fileName);
}

QString BuildReadFileRequest(const QString& fileName, qint64 startOffset) {
    return QStringLiteral("read&File=%1&Start=%2&http 1.0").arg(fileName).arg(startOffset);
}

QString BuildDeleteFileRequest(const QString& fileName) {
    return QStringLiteral("Write&Delet file=%1&http 1.0").arg(fileName);
}

QStringList ParseFileList(const QString& replyText) {
    QString text = replyText;
    // A 0 character ends a received text.
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0) text.truncate(nul);
    text.remove(QStringLiteral("SDcard file:File<"));
    text.remove(QLatin1Char('>'));
    const qsizetype lastAmp = text.lastIndexOf(QLatin1Char('&'));
    if (lastAmp < 0) return {};
    QStringList names;
    for (const QString& name : text.left(lastAmp).split(QLatin1Char('&'))) {
        if (name.isEmpty()) continue;
        if (names.size() == kMaxListedFiles) break;
        names.append(name);
    }
    return names;
}

std::optional<qint64> ParseFileSizeReply(const QString& report) {
    static const QString kMarker = QStringLiteral("File<size=");
    if (!report.contains(QStringLiteral("File<size"))) return std::nullopt;
    const qsizetype at = report.indexOf(kMarker);
    QString rest = at >= 0 ? report.mid(at) : QString();
    rest.remove(kMarker);
    rest.remove(QLatin1Char('>'));
    qint64 bytes = 0;
    for (QChar c : rest) {
        if (!c.isDigit() || c.unicode() > 127) break;
        bytes = bytes * 10 + (c.unicode() - '0');
        if (bytes > (qint64(1) << 50)) break;
    }
    return bytes;
}

QString FormatFileSize(qint64 bytes) {
    const float kilobytes = float(bytes) * (1.0f / 1024.0f);
    if (kilobytes > 1000.0f) return Format2(kilobytes * (1.0f / 1024.0f)) + QStringLiteral("MB");
    return Format2(kilobytes) + QStringLiteral("KB");
}

ReadFileHeader ParseReadFileHeader(const QString& report) {
    ReadFileHeader header;
    const qsizetype g = report.indexOf(QLatin1Char('>'));
    const qsizetype e = report.indexOf(QLatin1Char('='));
    header.data = g >= 0 ? report.mid(g + 1) : report;
    // The digits between "=" and ">"; a header without "=" reads from the
    // start of the text, which holds the tag and so gives 0.
    const qsizetype from = e >= 0 ? e + 1 : 0;
    const qsizetype to = g >= 0 ? g : report.size();
    for (qsizetype i = from; i < to; ++i) {
        const QChar c = report.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
        header.total = header.total * 10 + (c.unicode() - '0');
        if (header.total > (qint64(1) << 50)) break;
    }
    return header;
}

QByteArray ReportBytes(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text) bytes.append(char(c.unicode() & 0xFF));
    return bytes;
}

bool IsSafeFileName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u > 0xFF) return false;
        if (u == '&' || u == '<' || u == '>' || u == '=' || u == '/' || u == '\\') return false;
    }
    return true;
}

}  // namespace orvane
