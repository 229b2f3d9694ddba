// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/file_dialog.h"

#include "ui/win32/windows_api.h"

namespace kelvane {

// GetOpenFileNameW and GetSaveFileNameW with the request's one filter,
// title, start folder, proposed name, default extension and flags.
class Win32FileDialogs : public FileDialogService {
public:
    void SetOwner(HWND owner) { m_owner = owner; }
    bool ShowFileDialog(const FileDialogRequest& request, std::string& chosenPath) override;

private:
    HWND m_owner = nullptr;
};

} // namespace kelvane
