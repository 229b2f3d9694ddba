// kelvane-cli: the headless front of Kelvane.
#include "cli/settings_listing.h"
#include "store/definition_file.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char kUsage[] = "Usage: kelvane-cli COMMAND [ARGUMENTS]\n"
                      "\n"
                      "Commands:\n"
                      "  show PROJECT   read a project file (.fsp) and print its settings\n"
                      "  --help         print this help\n"
                      "  --version      print the program's version\n";

void Report(const std::string& text) {
    std::fprintf(stderr, "Report: %s\n", text.c_str());
}

int Show(const std::string& path) {
    kelvane::ProjectSettings settings;
    kelvane::DefinitionFile definitions(settings);
    const bool read = definitions.ReadDefinitionFile(path) && definitions.ReadFileSettings(path) &&
                      definitions.ReadModelSettings() && definitions.ReadCommSettings();
    if (!read) {
        Report(settings.m_strLastError);
        return kExitFailed;
    }
    std::fputs(kelvane::ListSettings(settings).c_str(), stdout);
    return kExitDone;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return kExitDone;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Kelvane %d.%d.%d.%d\n", KELVANE_VERSION_MAJOR, KELVANE_VERSION_MINOR,
                    KELVANE_VERSION_PATCH, KELVANE_VERSION_TWEAK);
        return kExitDone;
    }
    if (argc == 3 && std::strcmp(argv[1], "show") == 0)
        return Show(argv[2]);
    std::fputs(kUsage, stderr);
    return kExitUsage;
}
