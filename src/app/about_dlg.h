// SPDX-License-Identifier: MIT
#pragma once

#include "app/version_text.h"
#include "platform/dialog/dialog.h"

#include <cstdint>

namespace kelvane {

// "Version Information": the template's "Kelvane Version " with the version
// composed after it when the dialog opens.
class CAboutDlg : public CDialog {
public:
    // The version words default to the build's.
    explicit CAboutDlg(DialogRunner& runner, uint32_t productVersionMS = kProductVersionMS,
                       uint32_t productVersionLS = kProductVersionLS);

    bool OnInitDialog() override;

private:
    uint32_t m_productVersionMS;
    uint32_t m_productVersionLS;
};

} // namespace kelvane
