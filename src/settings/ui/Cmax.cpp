#include "Cmax.h"

#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "QtControlWindow.h"

namespace orvane {

namespace {

constexpr int kBlockIds[4] = {1197, 1198, 1199, 1200};
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

Cmax::Cmax(std::function<UiLanguage()> language, QWidget* parent)
    : QDialog(parent), m_language(std::move(language)), m_controls(new QtControlWindow(this)) {
    setWindowTitle(QStringLiteral("Max/Min"));
    auto* grid = new QGridLayout(this);
    const char* placeholders[4] = {"Max", "Min", "Today Max", "Today Min"};
    for (int i = 0; i < 4; ++i) {
        auto* edit = new QPlainTextEdit(this);
        edit->setReadOnly(true);
        edit->setPlaceholderText(QString::fromLatin1(placeholders[i]));
        edit->setMinimumSize(220, 160);
        m_blocks[i] = edit;
        m_controls->Register(kBlockIds[i], edit);
        grid->addWidget(edit, i / 2, i % 2);
    }
    m_exit = new QPushButton(QStringLiteral("Exit"), this);
    m_controls->Register(1, m_exit);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(m_exit, 2, 1, Qt::AlignRight);
}

Cmax::~Cmax() {
    m_controls->Shutdown();
    delete m_controls;
}

void Cmax::Open(const QString& replyText) {
    m_replyText = replyText;
    Fill();
    // Modeless: the settings window goes on while the max/min window is up.
    show();
    raise();
    activateWindow();
}

std::array<QString, 4> Cmax::SplitBlocks(const QString& replyText) {
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
        blocks[i] = text.mid(starts[i], end - starts[i]);
    }
    return blocks;
}

QString Cmax::Localise(const QString& block, UiLanguage language) {
    QString text = block;
    for (const Replacement& r : kLocalisation)
        text.replace(QLatin1String(r.keyword), LoadString(r.stringId, language));
    return text;
}

void Cmax::Fill() {
    const UiLanguage language = m_language ? m_language() : CurrentLanguage();
    m_exit->setText(LoadString(170, language));
    setWindowTitle(LoadString(135, language));
    const auto blocks = SplitBlocks(m_replyText);
    // The station ends its lines with "\r\n"; a text edit wants "\n".
    for (int i = 0; i < 4; ++i)
        m_controls->SetText(
            kBlockIds[i],
            Localise(blocks[i], language).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

}  // namespace orvane
