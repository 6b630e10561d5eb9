#include "Requests.h"

#include "Readings.h"

namespace orvane {

QString BuildFileSizeRequest(const QString& fileName) {
    return FormatRequest(Request::kReadFileSize, {fileName});
}

QString BuildFileReadRequest(const QString& fileName, qint64 startOffset) {
    return FormatRequest(Request::kReadFile, {fileName, startOffset});
}

QString BuildDeleteFileRequest(const QString& fileName) {
    return FormatRequest(Request::kWriteDeleteFile, {fileName});
}

QString FormatRequest(const char* templ, const QList<QVariant>& args) {
    const QString pattern = QString::fromLatin1(templ);
    QString out;
    int next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c != u'%') {
            out += c;
            continue;
        }
        const QString rest = pattern.mid(i + 1);
        const QVariant arg = next < args.size() ? args[next] : QVariant();
        if (rest.startsWith(u'%')) {
            out += u'%';
            i += 1;
        } else if (rest.startsWith(u's')) {
            out += arg.toString();
            ++next;
            i += 1;
        } else if (rest.startsWith(u'd')) {
            out += FormatInt(arg.toLongLong());
            ++next;
            i += 1;
        } else if (rest.startsWith(u"02d")) {
            out += QString::asprintf("%02lld", arg.toLongLong());
            ++next;
            i += 3;
        } else if (rest.startsWith(u"0.1f")) {
            out += Format1(arg.toDouble());
            ++next;
            i += 4;
        } else if (rest.startsWith(u"0.2f")) {
            out += Format2(arg.toDouble());
            ++next;
            i += 4;
        } else {
            out += c;  // not a placeholder of the catalogue: kept as written
        }
    }
    return out;
}

}  // namespace orvane
