// SPDX-License-Identifier: MIT
#include "platform/files/same_folder_entry.h"

#include "platform/text/code_page.h"

#include <sys/stat.h>

namespace kelvane {
namespace {

struct FolderAndName {
    std::string folder, name;
};

FolderAndName SplitNative(const std::string& path) {
    const std::string native = NativePath(path);
    const size_t slash = native.find_last_of('/');
    if (slash == std::string::npos)
        return {".", native};
    return {slash == 0 ? "/" : native.substr(0, slash), native.substr(slash + 1)};
}

} // namespace

bool SameFolderEntry(const std::string& a, const std::string& b) {
    if (a == b)
        return true;
    const FolderAndName first = SplitNative(a), second = SplitNative(b);
    if (first.name != second.name)
        return false;
    struct stat one {
    }, other{};
    if (stat(first.folder.c_str(), &one) != 0 || stat(second.folder.c_str(), &other) != 0)
        return false;
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

} // namespace kelvane
