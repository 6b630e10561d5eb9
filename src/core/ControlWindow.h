#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace orvane {

// The one way logic code reaches a window: every control is addressed by its
// numeric id, exactly as the dialog layouts number them. Logic never sees a
// widget; tests use MemoryControlWindow, the application QtControlWindow.
//
// Every operation may be called from any thread. Called from a worker, the
// operations that answer nothing (setters, SetFocus, SetTitle, MessageBox)
// return at once, and the window applies them in the order made; the others
// wait for their answer, which reflects every earlier call of the same
// thread. A message box raised by a worker never holds the worker up.
class ControlWindow {
public:
    virtual ~ControlWindow() = default;

    // Edits, labels, group captions, buttons; for an editable combo box the
    // text of its edit part.
    virtual void SetText(int id, const QString& text) = 0;
    virtual QString Text(int id) const = 0;

    // Combo boxes.
    virtual void SetItems(int id, const QStringList& items) = 0;
    virtual int ItemCount(int id) const = 0;
    virtual QString ItemText(int id, int index) const = 0;
    // Selects the item equal to `text` ignoring case; when none matches the
    // selection is cleared. Returns whether an item was selected.
    virtual bool SelectText(int id, const QString& text) = 0;
    virtual void SelectIndex(int id, int index) = 0;  // -1 clears
    virtual int SelectedIndex(int id) const = 0;      // -1 when none

    // Check boxes and radio buttons.
    virtual void SetChecked(int id, bool checked) = 0;
    virtual bool IsChecked(int id) const = 0;

    virtual void SetEnabled(int id, bool enabled) = 0;
    virtual bool IsEnabled(int id) const = 0;
    virtual void SetVisible(int id, bool visible) = 0;
    virtual bool IsVisible(int id) const = 0;

    // Attaches or replaces the tooltip of a control.
    virtual void SetToolTip(int id, const QString& text) = 0;
    virtual QString ToolTip(int id) const = 0;

    // Date and time pickers.
    virtual void SetDateTime(int id, const QDateTime& value) = 0;
    virtual QDateTime DateTime(int id) const = 0;

    virtual void SetStatusText(int part, const QString& text) = 0;
    virtual QString StatusText(int part) const = 0;

    virtual void SetFocus(int id) = 0;
    virtual void SetTitle(const QString& title) = 0;
    virtual QString Title() const = 0;

    // A message box with an OK button, captioned with the application name.
    virtual void MessageBox(const QString& text) = 0;
    // OK/Cancel with a warning icon and Cancel as default; true for OK.
    virtual bool Confirm(const QString& text) = 0;
};

}  // namespace orvane
