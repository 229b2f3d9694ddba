// SPDX-License-Identifier: MIT
#include "platform/files/absolute_path.h"

#include "platform/text/code_page.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace kelvane {

std::string AbsolutePath(const std::string& path) {
    if (path.empty() || path.starts_with("/"))
        return path;
    char* folder = getcwd(nullptr, 0);
    if (folder == nullptr)
        return path;
    const std::string workingFolder = LocaleToProject(folder);
    std::free(folder);
    // Paths are byte strings here, so the lexical steps never touch the
    // bytes of a name, only its separators and dot steps.
    return (std::filesystem::path(workingFolder) / path).lexically_normal().string();
}

} // namespace kelvane
