// SPDX-License-Identifier: MIT
#include "platform/places/drive_folder.h"

#include "platform/places/wine_prefix.h"
#include "platform/text/code_page.h"

#include <climits>
#include <cstdlib>
#include <memory>

namespace kelvane {

std::string DriveFolderOnThisSystem(std::string_view recordedFolder) {
    const auto isSeparator = [](char c) { return c == '\\' || c == '/'; };
    const bool driveLetter = recordedFolder.size() >= 2 && recordedFolder[1] == ':' &&
                             ((recordedFolder[0] >= 'A' && recordedFolder[0] <= 'Z') ||
                              (recordedFolder[0] >= 'a' && recordedFolder[0] <= 'z'));
    if (!driveLetter || (recordedFolder.size() > 2 && !isSeparator(recordedFolder[2])))
        return {};
    const char letter = static_cast<char>(recordedFolder[0] | 0x20);
    // Wine keeps each drive as a link in dosdevices; its real path is the
    // drive's folder.
    const std::string link = WinePrefix() + "/dosdevices/" + letter + ":";
    const std::unique_ptr<char, decltype(&std::free)> resolved(realpath(link.c_str(), nullptr),
                                                               &std::free);
    if (!resolved)
        return {};
    std::string folder = LocaleToProject(resolved.get());
    for (char c : recordedFolder.substr(2)) {
        if (!isSeparator(c))
            folder.push_back(c);
        else if (folder.empty() || folder.back() != '/')
            folder.push_back('/');
    }
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

} // namespace kelvane
