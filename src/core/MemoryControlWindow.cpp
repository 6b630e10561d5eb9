#include "MemoryControlWindow.h"

namespace orvane {

namespace {

bool IsCombo(ControlKind kind) {
    return kind == ControlKind::Combo || kind == ControlKind::EditableCombo;
}

bool IsCheckable(ControlKind kind) {
    return kind == ControlKind::CheckBox || kind == ControlKind::Radio;
}

bool IsPicker(ControlKind kind) {
    return kind == ControlKind::DatePicker || kind == ControlKind::TimePicker;
}

}  // namespace

MemoryControlWindow::MemoryControlWindow(ControlLayout layout) {
    for (const ControlSpec& spec : layout) {
        Control& c = m_controls[spec.id];
        c.kind = spec.kind;
        c.radioGroup = spec.radioGroup;
        c.visible = !spec.hidden;
    }
}

MemoryControlWindow::Control& MemoryControlWindow::At(int id) {
    auto it = m_controls.find(id);
    if (it == m_controls.end()) throw UnknownControl(id);
    return it.value();
}

const MemoryControlWindow::Control& MemoryControlWindow::At(int id) const {
    auto it = m_controls.constFind(id);
    if (it == m_controls.constEnd()) throw UnknownControl(id);
    return it.value();
}

void MemoryControlWindow::CheckPart(int part) {
    if (part < 0 || part > 1) throw UnknownControl(part);
}

// Operations that do not fit a control's kind change nothing and read as
// empty, as they do on the real widgets.

void MemoryControlWindow::SetText(int id, const QString& text) {
    std::lock_guard lock(m_mutex);
    Control& c = At(id);
    // A plain combo has no edit part; a picker shows its date and time.
    if (c.kind == ControlKind::Combo || IsPicker(c.kind)) return;
    c.text = text;
}

QString MemoryControlWindow::Text(int id) const {
    std::lock_guard lock(m_mutex);
    const Control& c = At(id);
    if (c.kind == ControlKind::Combo) return c.selected >= 0 ? c.items[c.selected] : QString();
    return c.text;
}

void MemoryControlWindow::SetItems(int id, const QStringList& items) {
    std::lock_guard lock(m_mutex);
    Control& c = At(id);
    if (!IsCombo(c.kind)) return;
    c.items = items;
    c.selected = -1;
    c.text.clear();
}

int MemoryControlWindow::ItemCount(int id) const {
    std::lock_guard lock(m_mutex);
    return int(At(id).items.size());
}

QString MemoryControlWindow::ItemText(int id, int index) const {
    std::lock_guard lock(m_mutex);
    const Control& c = At(id);
    if (index < 0 || index >= c.items.size()) return {};
    return c.items[index];
}

bool MemoryControlWindow::SelectText(int id, const QString& text) {
    std::lock_guard lock(m_mutex);
    const Control& c = At(id);
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
    if (!IsCombo(c.kind)) return;
    c.selected = index >= 0 && index < c.items.size() ? index : -1;
    c.text = c.selected >= 0 ? c.items[c.selected] : QString();
}

int MemoryControlWindow::SelectedIndex(int id) const {
    std::lock_guard lock(m_mutex);
    const Control& c = At(id);
    // Text typed or set into the edit part is no list selection.
    if (c.kind == ControlKind::EditableCombo && c.selected >= 0 && c.text != c.items[c.selected])
        return -1;
    return c.selected;
}

void MemoryControlWindow::SetChecked(int id, bool checked) {
    std::lock_guard lock(m_mutex);
    Control& c = At(id);
    if (!IsCheckable(c.kind)) return;
    c.checked = checked;
    if (checked && c.kind == ControlKind::Radio && c.radioGroup != 0)
        for (auto it = m_controls.begin(); it != m_controls.end(); ++it)
            if (it.key() != id && it->kind == ControlKind::Radio && it->radioGroup == c.radioGroup)
                it->checked = false;
}

bool MemoryControlWindow::IsChecked(int id) const {
    std::lock_guard lock(m_mutex);
    return At(id).checked;
}

void MemoryControlWindow::SetEnabled(int id, bool enabled) {
    std::lock_guard lock(m_mutex);
    At(id).enabled = enabled;
}

bool MemoryControlWindow::IsEnabled(int id) const {
    std::lock_guard lock(m_mutex);
    return At(id).enabled;
}

void MemoryControlWindow::SetVisible(int id, bool visible) {
    std::lock_guard lock(m_mutex);
    At(id).visible = visible;
}

bool MemoryControlWindow::IsVisible(int id) const {
    std::lock_guard lock(m_mutex);
    return At(id).visible;
}

void MemoryControlWindow::SetToolTip(int id, const QString& text) {
    std::lock_guard lock(m_mutex);
    At(id).toolTip = text;
}

QString MemoryControlWindow::ToolTip(int id) const {
    std::lock_guard lock(m_mutex);
    return At(id).toolTip;
}

void MemoryControlWindow::SetDateTime(int id, const QDateTime& value) {
    std::lock_guard lock(m_mutex);
    Control& c = At(id);
    if (IsPicker(c.kind)) c.dateTime = value;
}

QDateTime MemoryControlWindow::DateTime(int id) const {
    std::lock_guard lock(m_mutex);
    return At(id).dateTime;
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
    return At(id);
}

}  // namespace orvane
