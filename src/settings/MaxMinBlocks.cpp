#include "MaxMinBlocks.h"

#include "ControlWindow.h"
#include "MaxMinControls.h"

namespace orvane {

namespace {

const char* const kBlockKeywords[4] = {"History Max", "History Min", "Today Max", "Today Min"};

struct Replacement {
    const char* keyword;
    int stringId;
};

// Order matters: "Temp" goes first, so a longer station word holding it is
// rewritten too, exactly as the station's table is applied.
constexpr Replacement kLocalisation[] = {
    {"Temp", 105},      {"Humi", 106},        {"Dewpoint", 123},    {"Wind", 107},
    {"Gust", 124},      {"Rainrate", 125},    {"DayRain", 126},     {"WeekRain", 127},
    {"MonthRain", 128}, {"YearRain", 129},    {"Light", 109},       {"Today Max", 140},
    {"Today Min", 141}, {"History Max", 138}, {"History Min", 139},
};

}  // namespace

std::array<QString, 4> SplitMaxMinBlocks(const QString& replyText) {
    QString text = replyText;
    text.remove(QLatin1Char('@'));
    qsizetype starts[4];
    for (int i = 0; i < 4; ++i) starts[i] = text.indexOf(QLatin1String(kBlockKeywords[i]));
    std::array<QString, 4> blocks;
    for (int i = 0; i < 4; ++i) {
        if (starts[i] < 0) continue;
        // A block ends where the next block the station did send begins, so
        // a missing or reordered keyword never hides the records before it.
        qsizetype end = text.size();
        for (qsizetype other : starts)
            if (other > starts[i] && other < end) end = other;
        blocks[static_cast<std::size_t>(i)] = text.mid(starts[i], end - starts[i]);
    }
    return blocks;
}

QString LocaliseMaxMinBlock(const QString& block, UiLanguage language) {
    QString text = block;
    for (const Replacement& r : kLocalisation)
        text.replace(QLatin1String(r.keyword), LoadString(r.stringId, language));
    return text;
}

void ShowMaxMinRecords(ControlWindow& window, const QString& replyText, UiLanguage language) {
    window.SetText(MaxMinId::kExit, LoadString(170, language));
    window.SetTitle(LoadString(135, language));
    const std::array<QString, 4> blocks = SplitMaxMinBlocks(replyText);
    // The station ends its lines with "\r\n"; a text edit wants "\n".
    for (std::size_t i = 0; i < blocks.size(); ++i)
        window.SetText(MaxMinId::kBlocks[i],
                       LocaliseMaxMinBlock(blocks[i], language)
                           .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

}  // namespace orvane
