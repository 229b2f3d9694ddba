// SPDX-License-Identifier: MIT
#pragma once

#include "platform/dialog/dialog_template.h"

#include <cstdint>
#include <string>

namespace kelvane {

// The controls of a running dialog, by id, as the front shows them. Texts are
// in the project code page. An id the dialog does not have is ignored (reads
// give empty values), as the platform ignores messages to a missing control.
class DialogControls {
public:
    virtual ~DialogControls() = default;

    virtual void EnableWindow(int id, bool enable) = 0;
    virtual bool IsWindowEnabled(int id) const = 0;
    virtual std::string GetWindowText(int id) const = 0;
    virtual void SetWindowText(int id, const std::string& text) = 0;
    // Selects all of an edit's text, scrolls the caret into view and replaces
    // the selection, keeping no undo step.
    virtual void ReplaceEditText(int id, const std::string& text) = 0;
    // Buttons: 0 unchecked, 1 checked.
    virtual int IsDlgButtonChecked(int id) const = 0;
    virtual void CheckDlgButton(int id, int state) = 0;
    // List and combo boxes; indexes from 0, -1 for no selection. Entries go
    // at the end, in the order added, whatever the sorted style says.
    virtual int AddString(int id, const std::string& text) = 0;
    virtual void ResetContent(int id) = 0;
    virtual int GetCount(int id) const = 0;
    virtual int GetCurSel(int id) const = 0;
    virtual void SetCurSel(int id, int index) = 0;
    virtual std::string GetItemText(int id, int index) const = 0;
    // Ends the modal run with `result` (IDOK, IDCANCEL) once the handler returns.
    virtual void EndDialog(int result) = 0;
};

class CDialog;

// Runs a dialog modally on its template: builds the controls, calls
// OnInitDialog, routes the user's events to the dialog until it ends.
class DialogRunner {
public:
    virtual ~DialogRunner() = default;
    // The result the dialog ended with; IDCANCEL when it could not be shown.
    virtual int DoModal(CDialog& dialog) = 0;
};

// What the user did to a control.
enum class ControlEvent {
    Clicked,
    SelectionChanged,
    DoubleClicked,
};

class CDataExchange {
public:
    CDataExchange(DialogControls& controls, const DialogTemplate& dialogTemplate,
                  bool saveAndValidate)
        : m_controls(controls), m_template(dialogTemplate), m_bSaveAndValidate(saveAndValidate) {}

    DialogControls& m_controls;
    const DialogTemplate& m_template;
    const bool m_bSaveAndValidate; // true: controls to values, false: values to controls
};

// The bindings of a dialog's values to its controls.
void DDX_Text(CDataExchange& exchange, int controlId, std::string& value);
// A check box's state, 0 or 1.
void DDX_Check(CDataExchange& exchange, int controlId, uint32_t& value);
// The index of the checked button in the radio group that starts at
// `firstId` (template order, up to the next control that starts a group);
// -1 when none is checked.
void DDX_Radio(CDataExchange& exchange, int firstId, int& value);

// A combo box's text. Into the control: the first entry that begins with the
// value, ASCII case ignored, is selected; when none does, the value stands in
// the combo's edit field.
void DDX_CBString(CDataExchange& exchange, int controlId, std::string& value);

// A modal dialog: its logic over the controls of a running template.
class CDialog {
public:
    CDialog(unsigned templateId, DialogRunner& runner)
        : m_nIDTemplate(templateId), m_runner(runner) {}
    virtual ~CDialog() = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    int DoModal() { return m_runner.DoModal(*this); }
    unsigned TemplateId() const { return m_nIDTemplate; }

    // The runner attaches the controls for the run, and detaches them after.
    void AttachControls(DialogControls* controls, const DialogTemplate* dialogTemplate) {
        m_pControls = controls;
        m_pTemplate = dialogTemplate;
    }

    // Fills the controls from the values; true leaves the focus to the host.
    virtual bool OnInitDialog();
    // Routes a control event: OK and Cancel by default, the dialog's own
    // handlers for the rest.
    virtual void OnCommand(int controlId, ControlEvent event);
    // A help request on a control (F1, What's This); false leaves it to the
    // host's default, which shows nothing.
    virtual bool OnHelpInfo(int controlId);
    virtual void OnOK();
    virtual void OnCancel();

    // Moves the values into the controls, or back when `saveAndValidate`.
    bool UpdateData(bool saveAndValidate);

protected:
    virtual void DoDataExchange(CDataExchange&) {}
    DialogControls& Controls() { return *m_pControls; }
    void EndDialog(int result) { m_pControls->EndDialog(result); }
    DialogRunner& Runner() { return m_runner; }

private:
    unsigned m_nIDTemplate;
    DialogRunner& m_runner;
    DialogControls* m_pControls = nullptr;
    const DialogTemplate* m_pTemplate = nullptr;
};

} // namespace kelvane
