// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace kelvane {

// Style bits and answers of a message box, with the values the program's
// callers and the desktop front agree on.
enum MessageBoxStyle : unsigned {
    MB_OK = 0x00,
    MB_YESNOCANCEL = 0x03,
    MB_YESNO = 0x04,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100,
};

enum MessageBoxAnswer : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDYES = 6,
    IDNO = 7,
};

// Shows a message owned by the main window and returns the button pressed.
// The desktop front shows a dialog; the command line prints and answers
// from its options; tests script the answers.
class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned style) = 0;
    // A question whose buttons the caller names, shown in their order, with
    // the icon of `style`: the index of the one pressed. `defaultButton` is
    // pressed by Enter and is the command line's answer; closing the box
    // presses `escapeButton`.
    virtual size_t AskQuestion(const std::string& text, const std::string& caption, unsigned style,
                               const std::vector<std::string>& buttons, size_t defaultButton,
                               size_t escapeButton) = 0;
};

} // namespace kelvane
