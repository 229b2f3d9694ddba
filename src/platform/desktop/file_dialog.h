// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace kelvane {

// Everything a file dialog needs to be shown: one filter, a title, the
// folder to start in, the proposed file name and what the dialog checks.
struct FileDialogRequest {
    bool save = false; // a save dialog, else an open dialog
    std::string title;
    std::string filterText; // e.g. "Project file(*.fsp)"
    std::string pattern;    // e.g. "*.fsp"
    std::string startFolder;
    std::string proposedName;     // a bare name or a full path, may be empty
    std::string defaultExtension; // without the dot, appended when the name has none
    unsigned flags = 0;           // the OFN_ values below
};

enum FileDialogFlag : unsigned {
    OFN_OVERWRITEPROMPT = 0x0002,
    OFN_HIDEREADONLY = 0x0004,
    OFN_PATHMUSTEXIST = 0x0800,
    OFN_FILEMUSTEXIST = 0x1000,
    OFN_CREATEPROMPT = 0x2000,
};

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // True with the chosen full path when the user pressed OK.
    virtual bool ShowFileDialog(const FileDialogRequest& request, std::string& chosenPath) = 0;
};

} // namespace kelvane
