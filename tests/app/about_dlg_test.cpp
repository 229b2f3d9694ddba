// SPDX-License-Identifier: MIT
#include "app/about_dlg.h"
#include "dialogs/scripted_dialog_runner.h"
#include "res/dialog_ids.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kelvane {
namespace {

// The version line is composed on the template's text when the box opens.
TEST(AboutDlgTest, ComposesTheVersionAfterTheTemplatesText) {
    for (const auto& [ms, ls, expected] :
         {std::tuple{kProductVersionMS, kProductVersionLS, "Kelvane Version 7.02"},
          std::tuple{0x00070002u, 0x00010000u, "Kelvane Version 7.02(社)"},
          std::tuple{0x0007000Au, 47u, "Kelvane Version 7.10作7"}}) {
        ScriptedDialogRunner runner;
        std::string shown;
        runner.SetScript(IDD_ABOUTBOX, [&](CDialog& dialog, MemoryDialogControls& controls) {
            shown = controls.GetWindowText(IDC_VERSION);
            controls.Click(dialog, IDOK);
        });
        CAboutDlg about(runner, ms, ls);
        EXPECT_EQ(about.DoModal(), IDOK);
        EXPECT_EQ(shown, expected);
    }
}

} // namespace
} // namespace kelvane
