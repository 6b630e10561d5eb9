#include "SdCardProtocol.h"

namespace orvane {

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
