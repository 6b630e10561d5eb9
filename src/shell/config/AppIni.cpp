#include "AppIni.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace orvane {

namespace {

// One line of the file with its own terminator, so that a rewrite gives
// back every untouched line exactly.
struct Line {
    QByteArray body;
    QByteArray end;
};

QList<Line> SplitLines(const QByteArray& data) {
    QList<Line> lines;
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype nl = data.indexOf('\n', start);
        if (nl < 0) {
            lines.append({data.mid(start), {}});
            break;
        }
        qsizetype bodyEnd = nl > start && data[nl - 1] == '\r' ? nl - 1 : nl;
        lines.append({data.mid(start, bodyEnd - start), data.mid(bodyEnd, nl + 1 - bodyEnd)});
        start = nl + 1;
    }
    return lines;
}

QString Decode(const QByteArray& bytes) {
    return QString::fromUtf8(bytes);
}

// "[name]" → name; otherwise a null string.
QString SectionName(const QString& line) {
    QString t = line.trimmed();
    if (!t.startsWith(u'[')) return QString();
    qsizetype close = t.indexOf(u']');
    if (close < 0) return QString();
    return t.mid(1, close - 1).trimmed();
}

bool SplitKeyValue(const QString& line, QString& key, QString& value) {
    QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(u';') || t.startsWith(u'[')) return false;
    qsizetype eq = t.indexOf(u'=');
    if (eq <= 0) return false;
    key = t.left(eq).trimmed();
    value = t.mid(eq + 1).trimmed();
    return !key.isEmpty();
}

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QByteArray ReadAll(const QString& path, bool* ok) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *ok = false;
        return {};
    }
    *ok = true;
    return file.readAll();
}

}  // namespace

QString AppIni::Read(const QString& section, const QString& key) const {
    bool ok = false;
    const QByteArray data = ReadAll(m_path, &ok);
    if (!ok) return QString();
    bool inSection = false;
    for (const Line& line : SplitLines(data)) {
        const QString text = Decode(line.body);
        const QString name = SectionName(text);
        if (!name.isNull()) {
            inSection = SameName(name, section);
            continue;
        }
        QString k, v;
        if (inSection && SplitKeyValue(text, k, v) && SameName(k, key)) {
            if (v.size() >= 2 && ((v.startsWith(u'"') && v.endsWith(u'"')) ||
                                  (v.startsWith(u'\'') && v.endsWith(u'\''))))
                v = v.mid(1, v.size() - 2);
            return v.left(kMaxValueLength);
        }
    }
    return QString();
}

bool AppIni::Write(const QString& section, const QString& key, const QString& value) const {
    bool exists = false;
    const QByteArray data = ReadAll(m_path, &exists);
    // A file marked read-only stays untouched, even for a user (root) whom
    // the system would let write it anyway.
    if (exists &&
        (!QFileInfo(m_path).isWritable() || !(QFile::permissions(m_path) & QFile::WriteOwner)))
        return false;
    QList<Line> lines = SplitLines(data);

    // The file's own line ending for the lines we add.
    QByteArray eol = "\r\n";
    for (const Line& l : lines)
        if (!l.end.isEmpty()) {
            eol = l.end;
            break;
        }
    const QByteArray newLine = (key + u'=' + value).toUtf8();

    qsizetype sectionAt = -1, lastKeyInSection = -1, keyAt = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString text = Decode(lines[i].body);
        const QString name = SectionName(text);
        if (!name.isNull()) {
            if (sectionAt >= 0) break;  // the section ended
            if (SameName(name, section)) sectionAt = i;
            continue;
        }
        QString k, v;
        if (sectionAt >= 0 && SplitKeyValue(text, k, v)) {
            lastKeyInSection = i;
            if (SameName(k, key)) {
                keyAt = i;
                break;
            }
        }
    }

    if (keyAt >= 0) {
        lines[keyAt].body = newLine;
    } else if (sectionAt >= 0) {
        const qsizetype after = lastKeyInSection >= 0 ? lastKeyInSection : sectionAt;
        if (lines[after].end.isEmpty()) lines[after].end = eol;
        lines.insert(after + 1, {newLine, eol});
    } else {
        if (!lines.isEmpty() && lines.last().end.isEmpty()) lines.last().end = eol;
        lines.append({("[" + section + "]").toUtf8(), eol});
        lines.append({newLine, eol});
    }

    QByteArray out;
    for (const Line& l : lines) out += l.body + l.end;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(out);
    return file.commit();
}

}  // namespace orvane
