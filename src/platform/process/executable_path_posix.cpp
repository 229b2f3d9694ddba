// SPDX-License-Identifier: MIT
#include "platform/process/executable_path.h"

#include "platform/text/code_page.h"

#include <filesystem>
#include <system_error>

namespace kelvane {

std::string ExecutablePath() {
    // The kernel's link names the file itself, also when started through a
    // symbolic link, so the installed layout is found from the link in bin.
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink("/proc/self/exe", error);
    // The system names it in the locale's charset; the core holds the project code page.
    return error ? std::string() : LocaleToProject(target.string());
}

} // namespace kelvane
