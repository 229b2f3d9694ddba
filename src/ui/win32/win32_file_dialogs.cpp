// SPDX-License-Identifier: MIT
#include "ui/win32/win32_file_dialogs.h"

#include "platform/text/windows_text.h"
#include "ui/win32/win32_dialog_runner.h"

#include <vector>

namespace kelvane {

bool Win32FileDialogs::ShowFileDialog(const FileDialogRequest& request, std::string& chosenPath) {
    // "Text\0Pattern\0\0": one filter entry.
    std::wstring filter = WidePath(request.filterText);
    filter += L'\0';
    filter += WidePath(request.pattern);
    filter += L'\0';
    const std::wstring title = WidePath(request.title), folder = WidePath(request.startFolder),
                       extension = WidePath(request.defaultExtension);
    // The buffer the chosen name comes back in: room for long paths, and
    // never less than the proposed name.
    const std::wstring proposed = WidePath(request.proposedName);
    std::vector<wchar_t> file(std::max<size_t>(32768, proposed.size() + 1), L'\0');
    std::copy(proposed.begin(), proposed.end(), file.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = ActiveOwner(m_owner);
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = request.flags | OFN_EXPLORER;
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    const BOOL chosen = request.save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen)
        return false;
    chosenPath = ProjectFromWide(file.data());
    return true;
}

} // namespace kelvane
