#include "DZedit.h"

namespace orvane {

DZedit::DZedit(int id, QWidget* parent) : QLineEdit(parent), m_id(id) {}

void DZedit::Bind(HintFunction hint, StatusFunction status) {
    m_hint = std::move(hint);
    m_status = std::move(status);
}

void DZedit::focusInEvent(QFocusEvent* event) {
    if (m_status) m_status(m_hint ? m_hint(m_id) : QString());
    QLineEdit::focusInEvent(event);
}

}  // namespace orvane
