// kelvane-cli: the headless front of Kelvane.
#include "cli/console_message_boxes.h"
#include "cli/settings_listing.h"
#include "store/companion_buffer.h"
#include "store/definition_file.h"
#include "store/file_set_naming.h"
#include "store/fsr_file.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "Usage: kelvane-cli COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  show PROJECT   read a project (.fsp and its companion files) and print it\n"
    "  --help         print this help\n"
    "  --version      print the program's version\n";

void Report(const std::string& text) {
    std::fprintf(stderr, "Report: %s\n", text.c_str());
}

int Show(const std::string& path) {
    kelvane::ConsoleMessageBoxes messageBoxes;
    kelvane::ProjectSettings settings;
    kelvane::DefinitionFile definitions(settings);
    kelvane::FsrFile fsr(settings);
    kelvane::CompanionBuffer uer(settings, kelvane::FILE_UER, messageBoxes);
    kelvane::CompanionBuffer sbu(settings, kelvane::FILE_SBU, messageBoxes);
    kelvane::CompanionBuffer mcr(settings, kelvane::FILE_MCR, messageBoxes);

    const bool read = definitions.ReadDefinitionFile(path) && definitions.ReadFileSettings(path) &&
                      definitions.ReadModelSettings() && definitions.ReadCommSettings();
    if (!read) {
        Report(settings.m_strLastError);
        return kExitFailed;
    }
    // The FSR file first: it names the UER file. Companions follow in the
    // order UER, SBU, MCR, each only when it belongs to the project.
    const kelvane::ProjectFileEntry& fsrEntry = settings.m_fileSet[kelvane::FILE_FSR];
    bool fsrRead = false;
    if (fsrEntry.m_bInSync) {
        fsrRead = fsr.ReadFsrFile(kelvane::PathToLoad(fsrEntry, settings)) &&
                  fsr.CheckFsrReferences(path);
        if (!fsrRead) {
            Report("FSR file: " + settings.m_strLastError);
            return kExitFailed;
        }
    }
    kelvane::CompanionBuffer* const buffers[] = {&uer, &sbu, &mcr};
    for (unsigned i = 0; i < 3; ++i) {
        const kelvane::ProjectFileEntry& entry = settings.m_fileSet[kelvane::FILE_UER + i];
        if (entry.m_bInSync)
            buffers[i]->LoadCompanion(kelvane::PathToLoad(entry, settings));
    }
    std::fputs(kelvane::ListSettings(settings).c_str(), stdout);
    std::fputs(kelvane::ListCompanions(settings, fsr, buffers).c_str(), stdout);
    return fsrRead ? kExitDone : kExitFailed;
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
