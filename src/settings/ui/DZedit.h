#pragma once

#include <QLineEdit>
#include <functional>

namespace orvane {

// An edit that tells the user its valid range: when it receives the
// keyboard focus it writes the range hint of its control id into part 0 of
// the settings window's status bar. The hint is built afresh at every focus
// (language and units may have changed). GUI thread only.
class DZedit : public QLineEdit {
    Q_OBJECT
public:
    using HintFunction = std::function<QString(int id)>;
    using StatusFunction = std::function<void(const QString& hint)>;

    explicit DZedit(int id, QWidget* parent = nullptr);

    // Binds the edit to the window that shows its hints.
    void Bind(HintFunction hint, StatusFunction status);
    int Id() const { return m_id; }

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    int m_id;
    HintFunction m_hint;
    StatusFunction m_status;
};

}  // namespace orvane
