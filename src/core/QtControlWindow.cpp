#include "QtControlWindow.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace orvane {

namespace {
const QString kAppName = QStringLiteral("Orvane");
}

QtControlWindow::QtControlWindow(QWidget* window) : m_window(window), m_gui(window) {}

void QtControlWindow::Register(int id, QWidget* control) {
    m_controls.insert(id, control);
}

QWidget* QtControlWindow::Control(int id) const {
    return m_controls.value(id);
}

void QtControlWindow::SetStatusParts(QLabel* part0, QLabel* part1) {
    m_status[0] = part0;
    m_status[1] = part1;
}

void QtControlWindow::SetText(int id, const QString& text) {
    OnGui([&] {
        QWidget* w = Control(id);
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
        else if (w)
            w->setWindowTitle(text);
    });
}

QString QtControlWindow::Text(int id) const {
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
    OnGui([&] {
        if (auto* c = qobject_cast<QComboBox*>(Control(id))) {
            c->clear();
            c->addItems(items);
            c->setCurrentIndex(-1);
        }
    });
}

int QtControlWindow::ItemCount(int id) const {
    return OnGui([&] {
        auto* c = qobject_cast<QComboBox*>(Control(id));
        return c ? c->count() : 0;
    });
}

QString QtControlWindow::ItemText(int id, int index) const {
    return OnGui([&] {
        auto* c = qobject_cast<QComboBox*>(Control(id));
        return c ? c->itemText(index) : QString();
    });
}

bool QtControlWindow::SelectText(int id, const QString& text) {
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
    OnGui([&] {
        if (auto* c = qobject_cast<QComboBox*>(Control(id)))
            c->setCurrentIndex(index >= 0 && index < c->count() ? index : -1);
    });
}

int QtControlWindow::SelectedIndex(int id) const {
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
    OnGui([&] {
        if (auto* b = qobject_cast<QAbstractButton*>(Control(id))) b->setChecked(checked);
    });
}

bool QtControlWindow::IsChecked(int id) const {
    return OnGui([&] {
        auto* b = qobject_cast<QAbstractButton*>(Control(id));
        return b && b->isChecked();
    });
}

void QtControlWindow::SetEnabled(int id, bool enabled) {
    OnGui([&] {
        if (QWidget* w = Control(id)) w->setEnabled(enabled);
    });
}

bool QtControlWindow::IsEnabled(int id) const {
    return OnGui([&] {
        QWidget* w = Control(id);
        return w && w->isEnabled();
    });
}

void QtControlWindow::SetVisible(int id, bool visible) {
    OnGui([&] {
        if (QWidget* w = Control(id)) w->setVisible(visible);
    });
}

bool QtControlWindow::IsVisible(int id) const {
    return OnGui([&] {
        QWidget* w = Control(id);
        return w && !w->isHidden();
    });
}

void QtControlWindow::SetToolTip(int id, const QString& text) {
    OnGui([&] {
        if (QWidget* w = Control(id)) w->setToolTip(text);
    });
}

QString QtControlWindow::ToolTip(int id) const {
    return OnGui([&] {
        QWidget* w = Control(id);
        return w ? w->toolTip() : QString();
    });
}

void QtControlWindow::SetDateTime(int id, const QDateTime& value) {
    OnGui([&] {
        if (auto* d = qobject_cast<QDateTimeEdit*>(Control(id))) d->setDateTime(value);
    });
}

QDateTime QtControlWindow::DateTime(int id) const {
    return OnGui([&] {
        auto* d = qobject_cast<QDateTimeEdit*>(Control(id));
        return d ? d->dateTime() : QDateTime();
    });
}

void QtControlWindow::SetStatusText(int part, const QString& text) {
    OnGui([&] {
        if (part >= 0 && part < 2 && m_status[part]) m_status[part]->setText(text);
    });
}

QString QtControlWindow::StatusText(int part) const {
    return OnGui([&] {
        return part >= 0 && part < 2 && m_status[part] ? m_status[part]->text() : QString();
    });
}

void QtControlWindow::SetFocus(int id) {
    OnGui([&] {
        if (QWidget* w = Control(id)) w->setFocus(Qt::OtherFocusReason);
    });
}

void QtControlWindow::SetTitle(const QString& title) {
    OnGui([&] {
        if (m_window) m_window->setWindowTitle(title);
    });
}

QString QtControlWindow::Title() const {
    return OnGui([&] { return m_window ? m_window->windowTitle() : QString(); });
}

void QtControlWindow::MessageBox(const QString& text) {
    OnGui([&] { QMessageBox::information(m_window, kAppName, text); });
}

bool QtControlWindow::Confirm(const QString& text) {
    return OnGui([&] {
        QMessageBox box(QMessageBox::Warning, kAppName, text, QMessageBox::Ok | QMessageBox::Cancel,
                        m_window);
        box.setDefaultButton(QMessageBox::Cancel);
        return box.exec() == QMessageBox::Ok;
    });
}

}  // namespace orvane
