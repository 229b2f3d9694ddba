// SPDX-License-Identifier: MIT
#include "platform/files/file_name_case.h"
#include "platform/text/code_page.h"

#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

namespace kelvane {

int ExactNameError(const std::string& path) {
    struct stat info {};
    return stat(NativePath(path).c_str(), &info) == 0 ? 0 : errno;
}

FoundFile FindFileIgnoringCase(const std::string& path) {
    FoundFile found{NameMatch::Exact, path};
    const int error = ExactNameError(path);
    // A name that cannot be looked for is taken as given: its open says why.
    if (error != ENOENT)
        return found;
    found.match = NameMatch::None;
    // '/' is never the second byte of a two-byte character, so the last one
    // ends the folder in the project code page as in the system's.
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty())
        return found;
    const std::string nativeName = NativePath(name);
    DIR* directory = opendir(NativePath(folder).c_str());
    if (directory == nullptr)
        return found;
    int count = 0;
    std::string match;
    while (const dirent* entry = readdir(directory)) {
        const std::string_view entryName(entry->d_name);
        // Folding ASCII letters keeps the length in either code page. The
        // exact name, a link to nothing, was tried already.
        if (entryName.size() != nativeName.size() || entryName == nativeName)
            continue;
        // Only a name the project's code page can spell can be written back.
        const std::string projectName = LocaleToProject(entryName);
        if (NativePath(projectName) != entryName || !EqualIgnoringAsciiCase(projectName, name))
            continue;
        if (++count == 1)
            match = projectName;
    }
    closedir(directory);
    if (count == 1) {
        found.match = NameMatch::OtherCase;
        found.path = path.substr(0, slash == std::string::npos ? 0 : slash + 1) + match;
    } else if (count > 1) {
        found.match = NameMatch::Several;
    }
    return found;
}

} // namespace kelvane
