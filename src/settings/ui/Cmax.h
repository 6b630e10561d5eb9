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

private:
    void Fill();

    std::function<UiLanguage()> m_language;
    QString m_replyText;
    QtControlWindow* m_controls = nullptr;
    std::array<QPlainTextEdit*, 4> m_blocks{};
    QPushButton* m_exit = nullptr;
};

}  // namespace orvane
