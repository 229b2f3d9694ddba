// SPDX-License-Identifier: MIT
#pragma once

#include "platform/desktop/file_dialog.h"
#include "platform/registry/profile.h"
#include "store/project_settings.h"

#include <string>

namespace kelvane {

enum FileDialogKind : int {
    FILE_DIALOG_PROJECT_OPEN = 0,
    FILE_DIALOG_PROJECT_SAVE_AS = 1,
    FILE_DIALOG_MPV = 2,
    FILE_DIALOG_MCI = 3,
    FILE_DIALOG_FRD = 4,
};

// The request BrowseForFile hands the dialog for `kind`, with `path` as the
// field's current value; changes `path` as the dialog would see it.
FileDialogRequest MakeFileDialogRequest(std::string& path, int kind,
                                        const ProjectSettings& settings, Profile& profile);

// Shows the file dialog of `kind`. Returns 1 with the chosen full path in
// `path` when the user pressed OK; 0 when cancelled (`path` then empty, or
// the proposed save name for kind 1), and 0 at once for an unknown kind.
int BrowseForFile(std::string& path, int kind, const ProjectSettings& settings, Profile& profile,
                  FileDialogService& dialogs);

} // namespace kelvane
