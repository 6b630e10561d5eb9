#include "Console.h"

#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <iostream>
#include <string>

namespace orvane::ctl {

Console::Console(bool json, bool assumeYes) : m_json(json), m_assumeYes(assumeYes) {}

void Console::Line(const QString& text) const {
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void Console::PrintJson(const QJsonValue& value) const {
    QJsonDocument doc =
        value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    std::fputs(doc.toJson(QJsonDocument::Indented).constData(), stdout);
    std::fflush(stdout);
}

void Console::Note(const QString& text) const {
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
}

bool Console::Confirm(const QString& question) const {
    if (m_assumeYes) return true;
    if (!isatty(STDIN_FILENO)) return false;
    std::fputs((question + QStringLiteral(" [y/N] ")).toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    std::string answer;
    if (!std::getline(std::cin, answer)) return false;
    return answer == "y" || answer == "Y" || answer == "yes";
}

Progress::Progress(QString label, qint64 total)
    : m_label(std::move(label)), m_total(total), m_terminal(isatty(STDERR_FILENO) != 0) {}

Progress::~Progress() {
    Finish();
}

void Progress::Update(qint64 done) {
    if (m_finished || m_total <= 0) return;
    const int percent =
        static_cast<int>(qBound<qint64>(qint64{0}, done * 100 / m_total, qint64{100}));
    if (m_terminal) {
        if (percent == m_lastShown) return;
        m_lastShown = percent;
        const int filled = percent * 30 / 100;
        const QString bar = QString(filled, u'#') + QString(30 - filled, u'.');
        std::fprintf(stderr, "\r%s [%s] %3d%%", m_label.toLocal8Bit().constData(),
                     bar.toLatin1().constData(), percent);
        std::fflush(stderr);
        return;
    }
    const int tenth = percent / 10;
    if (tenth == 0 || tenth == m_lastShown) return;
    m_lastShown = tenth;
    std::fprintf(stderr, "%s: %d%%\n", m_label.toLocal8Bit().constData(), tenth * 10);
}

void Progress::Finish() {
    if (m_finished) return;
    m_finished = true;
    if (m_terminal && m_lastShown >= 0) std::fputc('\n', stderr);
}

}  // namespace orvane::ctl
