// SPDX-License-Identifier: MIT
#include "platform/process/executable_path.h"

#include "platform/files/file_set_paths.h"

namespace kelvane {

std::string ExecutableFolder() {
    const std::string path = ExecutablePath();
    return path.empty() ? path : FolderOfSystemPath(path);
}

std::string ProgramFilePath(std::string_view extension) {
    std::string name = "kelvane.";
    name.append(extension);
    const std::string folder = ExecutableFolder();
    return folder.empty() ? name : InFolder(folder, name);
}

} // namespace kelvane
