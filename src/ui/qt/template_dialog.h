// SPDX-License-Identifier: MIT
#pragma once

#include "platform/dialog/dialog.h"

#include <QDialog>
#include <QFont>
#include <QIcon>

#include <map>
#include <string>

class QButtonGroup;

namespace kelvane {

// The pixels per dialog unit of a font, as the platform measures them:
// across, the average width of "A".."Z" and "a".."z"; down, the font's height.
struct DialogBaseUnits {
    int x = 0;
    int y = 0;
};
DialogBaseUnits BaseUnitsOf(const QFont& font);
// A rectangle in dialog units, in pixels.
QRect DialogUnitsToPixels(const DialogBaseUnits& units, int x, int y, int w, int h);

// Statics, check boxes and radio buttons: controls that are mostly their text.
bool IsLabelLike(ControlKind kind);

// The font standing in for a template's: a sans-serif face at the template's
// size, one with Japanese glyphs for the Japanese templates.
QFont DialogFont(const DialogTemplate& dialogTemplate, bool japanese);

// A dialog built from its template, widgets at the template's positions,
// the user's events routed to the CDialog that runs on it.
class TemplateDialog : public QDialog, public DialogControls {
    Q_OBJECT

public:
    TemplateDialog(CDialog& dialog, const DialogTemplate& dialogTemplate, const QFont& font,
                   const QIcon& icon, QWidget* parent);

    // OnInitDialog, then the modal loop; the result the dialog ended with.
    int Run();

    QWidget* Control(int id) const;
    const DialogBaseUnits& BaseUnits() const { return m_units; }

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

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Marks the focused control from the start, as a dialog opened from the
    // keyboard does, rather than only after the first Tab.
    void showEvent(QShowEvent* event) override;

private:
    void Build(const QIcon& icon);
    QWidget* MakeControl(const DialogControl& control, const QIcon& icon);
    void Route(int id, ControlEvent event);
    void RouteHelp(QWidget* widget);
    void FinishIfEnded();
    // The text last set by the dialog and how it was shown: read back
    // unchanged, it gives the dialog's own bytes, even where they do not
    // convert for display.
    std::string TextOrOriginal(int id, const QString& shown) const;

    CDialog& m_dialog;
    const DialogTemplate& m_template;
    DialogBaseUnits m_units;
    std::map<int, QWidget*> m_controls;
    std::map<int, QButtonGroup*> m_radioGroups; // by each member's id
    std::map<int, std::pair<std::string, QString>> m_setTexts;
    int m_dialogCalls = 0; // the dialog's own changes send no events back
    bool m_ended = false;
    int m_result = IDCANCEL;
};

} // namespace kelvane
