#include "QtControlWindow.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QTimeEdit>

namespace orvane {

namespace {
const QString kAppName = QStringLiteral("Orvane");

bool IsOfKind(const QWidget* w, ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return qobject_cast<const QLabel*>(w);
        case ControlKind::Group:
            return qobject_cast<const QGroupBox*>(w);
        case ControlKind::Edit:
            return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w);
        case ControlKind::Button:
            return qobject_cast<const QPushButton*>(w);
        case ControlKind::CheckBox:
            return qobject_cast<const QCheckBox*>(w);
        case ControlKind::Radio:
            return qobject_cast<const QRadioButton*>(w);
        case ControlKind::Combo:
        case ControlKind::EditableCombo: {
            auto* c = qobject_cast<const QComboBox*>(w);
            return c && c->isEditable() == (kind == ControlKind::EditableCombo);
        }
        case ControlKind::DatePicker:
            return qobject_cast<const QDateEdit*>(w);
        case ControlKind::TimePicker:
            return qobject_cast<const QTimeEdit*>(w);
        case ControlKind::View:
            return w != nullptr;
    }
    return false;
}

void CheckPart(int part) {
    if (part < 0 || part > 1) throw UnknownControl(part);
}
}  // namespace

QtControlWindow::QtControlWindow(QWidget* window) : m_window(window), m_gui(window) {}

void QtControlWindow::Register(int id, QWidget* control) {
    if (!m_layout.empty()) {
        const ControlSpec* spec = FindControl(m_layout, id);
        if (!spec) throw UnknownControl(id);
        if (!IsOfKind(control, spec->kind))
            throw std::logic_error("control " + std::to_string(id) +
                                   " is not of the kind its layout entry names");
    }
    m_controls.insert(id, control);
}

void QtControlWindow::VerifyLayout() const {
    for (const ControlSpec& spec : m_layout)
        if (!m_controls.contains(spec.id)) throw UnknownControl(spec.id);
}

QWidget* QtControlWindow::Require(int id) const {
    // Registration ends before any worker calls in, so this read needs no
    // lock; it runs in the caller's thread so the caller sees the error.
    if (!m_controls.contains(id)) throw UnknownControl(id);
    return m_controls.value(id);
}

QWidget* QtControlWindow::Control(int id) const {
    return m_controls.value(id);
}

void QtControlWindow::SetStatusParts(QLabel* part0, QLabel* part1) {
    m_status[0] = part0;
    m_status[1] = part1;
}

void QtControlWindow::Shutdown() {
    m_boxes->open = false;
    m_gui.Shutdown();
}

void QtControlWindow::SetText(int id, const QString& text) {
    Require(id);
    Apply(id, [text](QWidget* w) {
        if (auto* e = qobject_cast<QLineEdit*>(w))
            e->setText(text);
        else if (auto* c = qobject_cast<QComboBox*>(w)) {
            if (c->isEditable()) c->setEditText(text);
        } else if (auto* l = qobject_cast<QLabel*>(w))
            l->setText(text);
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            b->setText(text);
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            g->setTitle(text);
        else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
            p->setPlainText(text);
        else if (auto* t = qobject_cast<QTextEdit*>(w))
            t->setPlainText(text);
        else
            w->setWindowTitle(text);
    });
}

QString QtControlWindow::Text(int id) const {
    Require(id);
    return OnGui([&]() -> QString {
        QWidget* w = Control(id);
        if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
        if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
        if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
        if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
        if (auto* p = qobject_cast<QPlainTextEdit*>(w)) return p->toPlainText();
        if (auto* t = qobject_cast<QTextEdit*>(w)) return t->toPlainText();
        if (auto* d = qobject_cast<QDateTimeEdit*>(w)) return d->text();
        return w ? w->windowTitle() : QString();
    });
}

void QtControlWindow::SetItems(int id, const QStringList& items) {
    Require(id);
    Apply(id, [items](QWidget* w) {
        if (auto* c = qobject_cast<QComboBox*>(w)) {
            c->clear();
            c->addItems(items);
            c->setCurrentIndex(-1);
        }
    });
}

int QtControlWindow::ItemCount(int id) const {
    Require(id);
    return OnGui([&] {
        auto* c = qobject_cast<QComboBox*>(Control(id));
        return c ? c->count() : 0;
    });
}

QString QtControlWindow::ItemText(int id, int index) const {
    Require(id);
    return OnGui([&] {
        auto* c = qobject_cast<QComboBox*>(Control(id));
        return c ? c->itemText(index) : QString();
    });
}

bool QtControlWindow::SelectText(int id, const QString& text) {
    Require(id);
    return OnGui([&] {
        auto* c = qobject_cast<QComboBox*>(Control(id));
        if (!c) return false;
        for (int i = 0; i < c->count(); ++i) {
            if (c->itemText(i).compare(text, Qt::CaseInsensitive) == 0) {
                c->setCurrentIndex(i);
                return true;
            }
        }
        c->setCurrentIndex(-1);
        if (c->isEditable()) c->setEditText(QString());
        return false;
    });
}

void QtControlWindow::SelectIndex(int id, int index) {
    Require(id);
    Apply(id, [index](QWidget* w) {
        if (auto* c = qobject_cast<QComboBox*>(w))
            c->setCurrentIndex(index >= 0 && index < c->count() ? index : -1);
    });
}

int QtControlWindow::SelectedIndex(int id) const {
    Require(id);
    return OnGui([&] {
        auto* c = qobject_cast<QComboBox*>(Control(id));
        if (!c) return -1;
        // A typed host in an editable combo is no list selection.
        if (c->isEditable() && c->currentIndex() >= 0 &&
            c->currentText() != c->itemText(c->currentIndex()))
            return -1;
        return c->currentIndex();
    });
}

void QtControlWindow::SetChecked(int id, bool checked) {
    Require(id);
    Apply(id, [checked](QWidget* w) {
        auto* b = qobject_cast<QAbstractButton*>(w);
        if (!b) return;
        // An exclusive radio cannot be cleared by itself; a window
        // operation may clear it, as the dialog's check state can.
        const bool exclusive = b->autoExclusive();
        if (!checked && exclusive) b->setAutoExclusive(false);
        b->setChecked(checked);
        if (!checked && exclusive) b->setAutoExclusive(true);
    });
}

bool QtControlWindow::IsChecked(int id) const {
    Require(id);
    return OnGui([&] {
        auto* b = qobject_cast<QAbstractButton*>(Control(id));
        return b && b->isChecked();
    });
}

void QtControlWindow::SetEnabled(int id, bool enabled) {
    Require(id);
    Apply(id, [enabled](QWidget* w) { w->setEnabled(enabled); });
}

bool QtControlWindow::IsEnabled(int id) const {
    Require(id);
    return OnGui([&] {
        QWidget* w = Control(id);
        return w && w->isEnabled();
    });
}

void QtControlWindow::SetVisible(int id, bool visible) {
    Require(id);
    Apply(id, [visible](QWidget* w) { w->setVisible(visible); });
}

bool QtControlWindow::IsVisible(int id) const {
    Require(id);
    return OnGui([&] {
        QWidget* w = Control(id);
        return w && !w->isHidden();
    });
}

void QtControlWindow::SetToolTip(int id, const QString& text) {
    Require(id);
    Apply(id, [text](QWidget* w) { w->setToolTip(text); });
}

QString QtControlWindow::ToolTip(int id) const {
    Require(id);
    return OnGui([&] {
        QWidget* w = Control(id);
        return w ? w->toolTip() : QString();
    });
}

void QtControlWindow::SetDateTime(int id, const QDateTime& value) {
    Require(id);
    Apply(id, [value](QWidget* w) {
        if (auto* d = qobject_cast<QDateTimeEdit*>(w)) d->setDateTime(value);
    });
}

QDateTime QtControlWindow::DateTime(int id) const {
    Require(id);
    return OnGui([&] {
        auto* d = qobject_cast<QDateTimeEdit*>(Control(id));
        return d ? d->dateTime() : QDateTime();
    });
}

void QtControlWindow::SetStatusText(int part, const QString& text) {
    CheckPart(part);
    m_gui.Post([this, part, text] {
        if (m_status[part]) m_status[part]->setText(text);
    });
}

QString QtControlWindow::StatusText(int part) const {
    CheckPart(part);
    return OnGui([&] {
        return part >= 0 && part < 2 && m_status[part] ? m_status[part]->text() : QString();
    });
}

void QtControlWindow::SetFocus(int id) {
    Require(id);
    Apply(id, [](QWidget* w) { w->setFocus(Qt::OtherFocusReason); });
}

void QtControlWindow::SetTitle(const QString& title) {
    m_gui.Post([this, title] {
        if (m_window) m_window->setWindowTitle(title);
    });
}

QString QtControlWindow::Title() const {
    return OnGui([&] { return m_window ? m_window->windowTitle() : QString(); });
}

void QtControlWindow::MessageBox(const QString& text) {
    // The GUI thread's own box is shown before the call returns; a worker
    // (the receive thread above all) must not stop while the user reads.
    if (m_gui.OnGuiThread()) {
        QMessageBox::information(m_window, kAppName, text);
        return;
    }
    m_gui.Post([boxes = m_boxes, window = m_window, text] { ShowInTurn(boxes, window, text); });
}

void QtControlWindow::ShowInTurn(const std::shared_ptr<PostedBoxes>& boxes,
                                 const QPointer<QWidget>& window, const QString& text) {
    boxes->waiting.append(text);
    // A posted box runs its own event loop, in which the next posted call
    // runs: the box open further up this thread's stack shows this one next.
    if (boxes->showing) return;
    boxes->showing = true;
    while (!boxes->waiting.isEmpty() && boxes->open)
        QMessageBox::information(window, kAppName, boxes->waiting.takeFirst());
    boxes->waiting.clear();
    boxes->showing = false;
}

bool QtControlWindow::Confirm(const QString& text) {
    // A question nobody could answer (the window closed first) is no "OK".
    const std::optional<bool> answer = m_gui.TryCall([&] {
        QMessageBox box(QMessageBox::Warning, kAppName, text, QMessageBox::Ok | QMessageBox::Cancel,
                        m_window);
        box.setDefaultButton(QMessageBox::Cancel);
        return box.exec() == QMessageBox::Ok;
    });
    return answer.value_or(false);
}

}  // namespace orvane
