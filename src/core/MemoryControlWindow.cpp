#include "MemoryControlWindow.h"

namespace orvane {

MemoryControlWindow::MemoryControlWindow(ControlLayout layout) : m_strict(true) {
    for (const ControlSpec& spec : layout) {
        Control& c = m_controls[spec.id];
        c.kind = spec.kind;
        c.radioGroup = spec.radioGroup;
    }
}

MemoryControlWindow::Control& MemoryControlWindow::At(int id) {
    if (m_strict && !m_controls.contains(id)) throw UnknownControl(id);
    return m_controls[id];
}

const MemoryControlWindow::Control* MemoryControlWindow::Find(int id) const {
    auto it = m_controls.constFind(id);
    if (it == m_controls.constEnd()) {
        if (m_strict) throw UnknownControl(id);
        return nullptr;
    }
    return &it.value();
}

bool MemoryControlWindow::IsEditableCombo(int id) const {
    const Control* c = Find(id);
    return (c && c->kind == ControlKind::EditableCombo) || m_editableCombos.value(id, false);
}

void MemoryControlWindow::CheckPart(int part) {
    if (part < 0 || part > 1) throw UnknownControl(part);
}

void MemoryControlWindow::SetText(int id, const QString& text) {
    std::lock_guard lock(m_mutex);
    At(id).text = text;
}

QString MemoryControlWindow::Text(int id) const {
    std::lock_guard lock(m_mutex);
    const Control* c = Find(id);
    if (!c) return {};
    // A plain combo box reads as its selected item, as a real one does.
    if ((c->kind == ControlKind::Combo || !c->items.isEmpty()) && !IsEditableCombo(id))
        return c->selected >= 0 && c->selected < c->items.size() ? c->items[c->selected]
                                                                 : QString();
    return c->text;
}

void MemoryControlWindow::SetItems(int id, const QStringList& items) {
    std::lock_guard lock(m_mutex);
    Control& c = At(id);
    c.items = items;
    c.selected = -1;
    if (IsEditableCombo(id)) c.text.clear();
}

int MemoryControlWindow::ItemCount(int id) const {
    std::lock_guard lock(m_mutex);
    const Control* c = Find(id);
    return c ? int(c->items.size()) : 0;
}

QString MemoryControlWindow::ItemText(int id, int index) const {
    std::lock_guard lock(m_mutex);
    const Control* c = Find(id);
    if (!c || index < 0 || index >= c->items.size()) return {};
    return c->items[index];
}

bool MemoryControlWindow::SelectText(int id, const QString& text) {
    std::lock_guard lock(m_mutex);
    Control& c = At(id);
    for (int i = 0; i < c.items.size(); ++i) {
        if (c.items[i].compare(text, Qt::CaseInsensitive) == 0) {
            SelectIndex(id, i);
            return true;
        }
    }
    SelectIndex(id, -1);
    return false;
}

void MemoryControlWindow::SelectIndex(int id, int index) {
    std::lock_guard lock(m_mutex);
    Control& c = At(id);
    c.selected = index >= 0 && index < c.items.size() ? index : -1;
    if (IsEditableCombo(id)) c.text = c.selected >= 0 ? c.items[c.selected] : QString();
}

int MemoryControlWindow::SelectedIndex(int id) const {
    std::lock_guard lock(m_mutex);
    const Control* c = Find(id);
    if (!c) return -1;
    // Text typed or set into the edit part is no list selection.
    if (IsEditableCombo(id) && c->selected >= 0 && c->text != c->items[c->selected]) return -1;
    return c->selected;
}

void MemoryControlWindow::SetChecked(int id, bool checked) {
    std::lock_guard lock(m_mutex);
    Control& c = At(id);
    c.checked = checked;
    if (checked && c.kind == ControlKind::Radio && c.radioGroup != 0)
        for (auto it = m_controls.begin(); it != m_controls.end(); ++it)
            if (it.key() != id && it->kind == ControlKind::Radio && it->radioGroup == c.radioGroup)
                it->checked = false;
}

bool MemoryControlWindow::IsChecked(int id) const {
    std::lock_guard lock(m_mutex);
    const Control* c = Find(id);
    return c && c->checked;
}

void MemoryControlWindow::SetEnabled(int id, bool enabled) {
    std::lock_guard lock(m_mutex);
    At(id).enabled = enabled;
}

bool MemoryControlWindow::IsEnabled(int id) const {
    std::lock_guard lock(m_mutex);
    const Control* c = Find(id);
    return !c || c->enabled;
}

void MemoryControlWindow::SetVisible(int id, bool visible) {
    std::lock_guard lock(m_mutex);
    At(id).visible = visible;
}

bool MemoryControlWindow::IsVisible(int id) const {
    std::lock_guard lock(m_mutex);
    const Control* c = Find(id);
    return !c || c->visible;
}

void MemoryControlWindow::SetToolTip(int id, const QString& text) {
    std::lock_guard lock(m_mutex);
    At(id).toolTip = text;
}

QString MemoryControlWindow::ToolTip(int id) const {
    std::lock_guard lock(m_mutex);
    const Control* c = Find(id);
    return c ? c->toolTip : QString();
}

void MemoryControlWindow::SetDateTime(int id, const QDateTime& value) {
    std::lock_guard lock(m_mutex);
    At(id).dateTime = value;
}

QDateTime MemoryControlWindow::DateTime(int id) const {
    std::lock_guard lock(m_mutex);
    const Control* c = Find(id);
    return c ? c->dateTime : QDateTime();
}

void MemoryControlWindow::SetStatusText(int part, const QString& text) {
    std::lock_guard lock(m_mutex);
    CheckPart(part);
    m_status[part] = text;
}

QString MemoryControlWindow::StatusText(int part) const {
    std::lock_guard lock(m_mutex);
    CheckPart(part);
    return m_status.value(part);
}

void MemoryControlWindow::SetFocus(int id) {
    std::lock_guard lock(m_mutex);
    At(id);
    m_focus = id;
}

void MemoryControlWindow::SetTitle(const QString& title) {
    std::lock_guard lock(m_mutex);
    m_title = title;
}

QString MemoryControlWindow::Title() const {
    std::lock_guard lock(m_mutex);
    return m_title;
}

void MemoryControlWindow::MessageBox(const QString& text) {
    std::lock_guard lock(m_mutex);
    m_messages << text;
}

bool MemoryControlWindow::Confirm(const QString& text) {
    std::lock_guard lock(m_mutex);
    m_confirmations << text;
    if (m_answers.empty()) return true;
    bool answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

QStringList MemoryControlWindow::Messages() const {
    std::lock_guard lock(m_mutex);
    return m_messages;
}

QStringList MemoryControlWindow::Confirmations() const {
    std::lock_guard lock(m_mutex);
    return m_confirmations;
}

void MemoryControlWindow::ClearMessages() {
    std::lock_guard lock(m_mutex);
    m_messages.clear();
    m_confirmations.clear();
}

void MemoryControlWindow::AnswerNextConfirm(bool ok) {
    std::lock_guard lock(m_mutex);
    m_answers.push_back(ok);
}

int MemoryControlWindow::FocusedControl() const {
    std::lock_guard lock(m_mutex);
    return m_focus;
}

MemoryControlWindow::Control MemoryControlWindow::Get(int id) const {
    std::lock_guard lock(m_mutex);
    const Control* c = Find(id);
    return c ? *c : Control{};
}

void MemoryControlWindow::SetEditableCombo(int id, bool editable) {
    std::lock_guard lock(m_mutex);
    m_editableCombos[id] = editable;
}

}  // namespace orvane
