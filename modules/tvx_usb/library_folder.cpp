// SPDX-License-Identifier: MIT
#include "library_folder.h"

#include <dlfcn.h>
#include <unistd.h>

namespace tvx_usb {

std::string LibraryFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&LibraryFolder), &info) == 0 || info.dli_fname == nullptr)
        return {};
    std::string path = info.dli_fname;
    // The loader keeps a relative path as given, relative to the folder that
    // was current then.
    if (path.empty() || path.front() != '/') {
        char current[4096];
        if (getcwd(current, sizeof current) == nullptr)
            return {};
        path = std::string(current) + "/" + path;
    }
    const size_t slash = path.rfind('/');
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

} // namespace tvx_usb
