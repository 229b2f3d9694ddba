// SPDX-License-Identifier: MIT
#pragma once

#include "platform/dialog/dialog.h"

#include <map>
#include <string>
#include <vector>

namespace kelvane {

// The controls of a template held in memory, for a front without widgets
// and for tests. Beside the dialog's own calls it takes the user's actions,
// which, as on screen, reach only controls that exist and are enabled.
class MemoryDialogControls : public DialogControls {
public:
    explicit MemoryDialogControls(const DialogTemplate& dialogTemplate);

    void EnableWindow(int id, bool enable) override;
    bool IsWindowEnabled(int id) const override;
    std::string GetWindowText(int id) const override;
    void SetWindowText(int id, const std::string& text) override;
    void ReplaceEditText(int id, const std::string& text) override;
    int IsDlgButtonChecked(int id) const override;
    void CheckDlgButton(int id, int state) override;
    int AddString(int id, const std::string& text) override;
    void ResetContent(int id) override;
    int GetCount(int id) const override;
    int GetCurSel(int id) const override;
    void SetCurSel(int id, int index) override;
    std::string GetItemText(int id, int index) const override;
    void EndDialog(int result) override;

    // The user's actions; false, and nothing done, when the control is
    // missing, disabled or of another kind. A click checks a radio button
    // (clearing the others of its group) or toggles a check box before the
    // dialog hears of it.
    bool Click(CDialog& dialog, int id);
    bool Type(int id, const std::string& text);
    bool Select(CDialog& dialog, int id, int index);

    bool Ended() const { return m_ended; }
    int Result() const { return m_result; }
    const DialogTemplate& Template() const { return m_template; }

private:
    struct State {
        const DialogControl* control = nullptr;
        bool enabled = true;
        std::string text;
        int checked = 0;
        std::vector<std::string> items;
        int selection = -1;
    };

    State* Find(int id);
    const State* Find(int id) const;
    bool Usable(int id, ControlKind kind) const;
    void CheckRadioInGroup(int id);

    const DialogTemplate& m_template;
    std::map<int, State> m_states;
    bool m_ended = false;
    int m_result = IDCANCEL;
};

} // namespace kelvane
