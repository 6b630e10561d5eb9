#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <functional>

#include "StringTable.h"

class QPlainTextEdit;
class QPushButton;

namespace orvane {

class QtControlWindow;

// The max/min window: the four record blocks of a "MAX MIN:" reply, with
// the station's keywords in the user-interface language. The object lives
// as long as the settings window; every complete reply opens it anew.
// GUI thread only, except where noted.
class Cmax : public QDialog {
    Q_OBJECT
public:
    // `language` is asked at every opening: the window follows the choice
    // stored in Main.ini at that moment.
    explicit Cmax(std::function<UiLanguage()> language, QWidget* parent = nullptr);
    ~Cmax() override;

    // Stores the complete reply text and shows the window modally without
    // blocking the caller.
    void Open(const QString& replyText);

    const QString& ReplyText() const { return m_replyText; }
    QtControlWindow& Controls() { return *m_controls; }

    // The four blocks (history max, history min, today max, today min),
    // cut from a reply with every "@" removed. Each runs from its keyword to
    // the nearest later keyword found, or to the end; a block whose keyword
    // is missing is empty. Pure.
    static std::array<QString, 4> SplitBlocks(const QString& replyText);
    // Replaces the station keywords of one block by the language's texts,
    // every occurrence, in the fixed table order. Pure.
    static QString Localise(const QString& block, UiLanguage language);

private:
    void Fill();

    std::function<UiLanguage()> m_language;
    QString m_replyText;
    QtControlWindow* m_controls = nullptr;
    std::array<QPlainTextEdit*, 4> m_blocks{};
    QPushButton* m_exit = nullptr;
};

}  // namespace orvane
