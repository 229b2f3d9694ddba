// SPDX-License-Identifier: MIT
#include "platform/dialog/memory_dialog_controls.h"

namespace kelvane {

MemoryDialogControls::MemoryDialogControls(const DialogTemplate& dialogTemplate)
    : m_template(dialogTemplate) {
    for (const DialogControl& control : dialogTemplate.controls) {
        if (control.id == IDC_STATIC)
            continue;
        State& state = m_states[control.id];
        state.control = &control;
        state.enabled = (control.style & WS_DISABLED) == 0;
        if (control.kind != ControlKind::ListBox && control.kind != ControlKind::ComboBox)
            state.text = control.text;
    }
}

MemoryDialogControls::State* MemoryDialogControls::Find(int id) {
    const auto found = m_states.find(id);
    return found == m_states.end() ? nullptr : &found->second;
}

const MemoryDialogControls::State* MemoryDialogControls::Find(int id) const {
    const auto found = m_states.find(id);
    return found == m_states.end() ? nullptr : &found->second;
}

void MemoryDialogControls::EnableWindow(int id, bool enable) {
    if (State* state = Find(id))
        state->enabled = enable;
}

bool MemoryDialogControls::IsWindowEnabled(int id) const {
    const State* state = Find(id);
    return state != nullptr && state->enabled;
}

std::string MemoryDialogControls::GetWindowText(int id) const {
    const State* state = Find(id);
    if (state == nullptr)
        return {};
    // A combo box's text is that of its edit, or of the chosen entry.
    if (state->control->kind == ControlKind::ComboBox &&
        (state->control->style & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST)
        return GetItemText(id, state->selection);
    return state->text;
}

void MemoryDialogControls::SetWindowText(int id, const std::string& text) {
    if (State* state = Find(id))
        state->text = text;
}

void MemoryDialogControls::ReplaceEditText(int id, const std::string& text) {
    SetWindowText(id, text);
}

int MemoryDialogControls::IsDlgButtonChecked(int id) const {
    const State* state = Find(id);
    return state != nullptr ? state->checked : 0;
}

void MemoryDialogControls::CheckDlgButton(int id, int state) {
    if (State* found = Find(id))
        found->checked = state;
}

int MemoryDialogControls::AddString(int id, const std::string& text) {
    State* state = Find(id);
    if (state == nullptr)
        return -1;
    state->items.push_back(text);
    return static_cast<int>(state->items.size()) - 1;
}

void MemoryDialogControls::ResetContent(int id) {
    if (State* state = Find(id)) {
        state->items.clear();
        state->selection = -1;
    }
}

int MemoryDialogControls::GetCount(int id) const {
    const State* state = Find(id);
    return state != nullptr ? static_cast<int>(state->items.size()) : 0;
}

int MemoryDialogControls::GetCurSel(int id) const {
    const State* state = Find(id);
    return state != nullptr ? state->selection : -1;
}

void MemoryDialogControls::SetCurSel(int id, int index) {
    State* state = Find(id);
    if (state == nullptr)
        return;
    state->selection = index >= 0 && index < static_cast<int>(state->items.size()) ? index : -1;
    if (state->control->kind == ControlKind::ComboBox && state->selection >= 0)
        state->text = state->items[static_cast<size_t>(state->selection)];
}

std::string MemoryDialogControls::GetItemText(int id, int index) const {
    const State* state = Find(id);
    if (state == nullptr || index < 0 || index >= static_cast<int>(state->items.size()))
        return {};
    return state->items[static_cast<size_t>(index)];
}

void MemoryDialogControls::EndDialog(int result) {
    m_ended = true;
    m_result = result;
}

bool MemoryDialogControls::Usable(int id, ControlKind kind) const {
    const State* state = Find(id);
    return state != nullptr && state->enabled && state->control->kind == kind;
}

void MemoryDialogControls::CheckRadioInGroup(int id) {
    // The group is the run of controls around `id` between two group starts.
    const auto& controls = m_template.controls;
    size_t position = 0;
    while (position < controls.size() && controls[position].id != id)
        ++position;
    if (position == controls.size())
        return;
    size_t first = position;
    while (first > 0 && (controls[first].style & WS_GROUP) == 0)
        --first;
    for (size_t member = first; member < controls.size(); ++member) {
        if (member != first && (controls[member].style & WS_GROUP) != 0)
            break;
        if (controls[member].kind == ControlKind::RadioButton)
            CheckDlgButton(controls[member].id, controls[member].id == id ? 1 : 0);
    }
}

bool MemoryDialogControls::Click(CDialog& dialog, int id) {
    const State* state = Find(id);
    if (state == nullptr || !state->enabled)
        return false;
    switch (state->control->kind) {
    case ControlKind::RadioButton:
        CheckRadioInGroup(id);
        break;
    case ControlKind::CheckBox:
        CheckDlgButton(id, state->checked != 0 ? 0 : 1);
        break;
    case ControlKind::PushButton:
        break;
    default:
        return false;
    }
    dialog.OnCommand(id, ControlEvent::Clicked);
    return true;
}

bool MemoryDialogControls::Type(int id, const std::string& text) {
    const State* state = Find(id);
    if (!Usable(id, ControlKind::Edit) && !Usable(id, ControlKind::ComboBox))
        return false;
    if ((state->control->style & ES_READONLY) != 0)
        return false;
    SetWindowText(id, text);
    return true;
}

bool MemoryDialogControls::Select(CDialog& dialog, int id, int index) {
    if (!Usable(id, ControlKind::ListBox) && !Usable(id, ControlKind::ComboBox))
        return false;
    if (index < 0 || index >= GetCount(id))
        return false;
    SetCurSel(id, index);
    dialog.OnCommand(id, ControlEvent::SelectionChanged);
    return true;
}

} // namespace kelvane
