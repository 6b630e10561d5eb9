#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace orvane {

// The log window: one read-only text (ShowLogId::kLogText) showing the log text it holds.
// The object lives as long as the settings window; each opening shows the
// current log text. GUI thread only.
class ShowLog : public QDialog {
    Q_OBJECT
public:
    explicit ShowLog(QWidget* parent = nullptr);

    void SetLogText(const QString& text) { m_logText = text; }
    const QString& LogText() const { return m_logText; }

    // Shows the window (modeless; the settings window goes on) or brings the
    // open one to the front.
    void Open();

    QPlainTextEdit* Edit() const { return m_edit; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QString m_logText;
    QPlainTextEdit* m_edit = nullptr;
};

}  // namespace orvane
