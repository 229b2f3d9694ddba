#include "platform/default_folder.h"

#include "platform/code_page.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return "/";
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::string DefaultDialogFolder() {
    const char* prefix = std::getenv("WINEPREFIX");
    const std::string winePrefix =
        prefix != nullptr && *prefix != '\0' ? std::string(prefix) : HomeFolder() + "/.wine";
    const std::string debuggerFolder = winePrefix + "/drive_c/KVX/ferroSCOPE";
    // Found by the system's names; the core holds the project code page.
    return LocaleToProject(IsFolder(debuggerFolder) ? debuggerFolder : HomeFolder());
}

} // namespace kelvane
