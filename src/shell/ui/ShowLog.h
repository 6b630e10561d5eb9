#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace orvane {

// The log window: one read-only text (ShowLogId::kLogText). Nothing in the program writes a
// log, so it always opens empty. The object lives as long as the settings
// window. GUI thread only.
class ShowLog : public QDialog {
    Q_OBJECT
public:
    explicit ShowLog(QWidget* parent = nullptr);

    // Shows the window (modeless; the settings window goes on) or brings the
    // open one to the front.
    void Open();

    QPlainTextEdit* Edit() const { return m_edit; }

private:
    QPlainTextEdit* m_edit = nullptr;
};

}  // namespace orvane
