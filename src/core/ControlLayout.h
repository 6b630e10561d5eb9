#pragma once

#include <span>
#include <stdexcept>
#include <string>

namespace orvane {

// What kind of control an id of a dialog is. The real window builds a
// widget of this kind, the in-memory window keeps a control that behaves
// like one, so both answer the same operations in the same way.
enum class ControlKind {
    Label,   // static text, caption or value text
    Group,   // group box; its text is the caption
    Edit,    // single-line edit
    Button,  // push button
    CheckBox,
    Radio,
    Combo,          // drop-down list: the text is the selected item's
    EditableCombo,  // drop-down with an edit part of its own
    DatePicker,
    TimePicker,
    View,  // list, table or progress bar that its own view interface fills
};

struct ControlSpec {
    int id;
    ControlKind kind;
    int radioGroup = 0;  // radios of one group exclude each other; 0 for none
    bool hidden = false;  // kept off the layout: other parts read or set it
};

// A dialog's controls: one entry per id.
using ControlLayout = std::span<const ControlSpec>;

// The entry of `id`; null when the dialog has no such control.
inline const ControlSpec* FindControl(ControlLayout layout, int id) {
    for (const ControlSpec& spec : layout)
        if (spec.id == id) return &spec;
    return nullptr;
}

// An operation named a control the window does not have: a programming
// error, raised in the calling thread by every ControlWindow.
// Status-bar parts outside the window's parts count as unknown too.
class UnknownControl : public std::logic_error {
public:
    explicit UnknownControl(int id)
        : std::logic_error("no control with id " + std::to_string(id)), m_id(id) {}
    int Id() const { return m_id; }

private:
    int m_id;
};

}  // namespace orvane
