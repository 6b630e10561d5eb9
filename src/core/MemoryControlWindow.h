#pragma once

#include <QMap>
#include <QStringList>
#include <deque>
#include <mutex>

#include "ControlLayout.h"
#include "ControlWindow.h"

namespace orvane {

// An in-memory window for tests and for the headless tool. It has exactly
// the controls of the layout table it is built from, each behaving like the
// real widget of its kind; an operation on any other id throws
// UnknownControl, as the real window does. Built without a table it has no
// controls: message boxes, confirmations, the title and the status bar only.
// Message boxes are recorded; confirmations are answered from a queue the
// test fills (OK when empty). Status-bar parts 0 and 1 exist.
class MemoryControlWindow : public ControlWindow {
public:
    MemoryControlWindow() = default;
    explicit MemoryControlWindow(ControlLayout layout);

    struct Control {
        ControlKind kind = ControlKind::Edit;
        int radioGroup = 0;
        QString text;
        QStringList items;
        int selected = -1;
        bool checked = false;
        bool enabled = true;
        bool visible = true;
        QString toolTip;
        QDateTime dateTime;
    };

    void SetText(int id, const QString& text) override;
    QString Text(int id) const override;
    void SetItems(int id, const QStringList& items) override;
    int ItemCount(int id) const override;
    QString ItemText(int id, int index) const override;
    bool SelectText(int id, const QString& text) override;
    void SelectIndex(int id, int index) override;
    int SelectedIndex(int id) const override;
    void SetChecked(int id, bool checked) override;
    bool IsChecked(int id) const override;
    void SetEnabled(int id, bool enabled) override;
    bool IsEnabled(int id) const override;
    void SetVisible(int id, bool visible) override;
    bool IsVisible(int id) const override;
    void SetToolTip(int id, const QString& text) override;
    QString ToolTip(int id) const override;
    void SetDateTime(int id, const QDateTime& value) override;
    QDateTime DateTime(int id) const override;
    void SetStatusText(int part, const QString& text) override;
    QString StatusText(int part) const override;
    void SetFocus(int id) override;
    void SetTitle(const QString& title) override;
    QString Title() const override;
    void MessageBox(const QString& text) override;
    bool Confirm(const QString& text) override;

    // Test side.
    QStringList Messages() const;       // message boxes shown, in order
    QStringList Confirmations() const;  // confirmation questions asked
    void ClearMessages();
    void AnswerNextConfirm(bool ok);
    int FocusedControl() const;  // 0 when focus never moved
    Control Get(int id) const;

private:
    Control& At(int id);
    const Control& At(int id) const;
    static void CheckPart(int part);

    mutable std::recursive_mutex m_mutex;
    QMap<int, Control> m_controls;
    QMap<int, QString> m_status;
    QString m_title;
    QStringList m_messages;
    QStringList m_confirmations;
    std::deque<bool> m_answers;
    int m_focus = 0;
};

}  // namespace orvane
