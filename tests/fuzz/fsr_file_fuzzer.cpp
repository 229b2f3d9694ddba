// SPDX-License-Identifier: MIT
// The FSR file: read, its references checked, rebuilt, written, purged.
#include "fuzz_file.h"
#include "store/fsr_file.h"

#include <cstdio>
#include <cstdlib>

using kelvane::FsrFile;
using kelvane::ProjectSettings;

namespace {

// Project demo in the run's folder, every member of the set named after it.
void SetUpDemoProject(ProjectSettings& settings) {
    settings.m_strProjectDir = kelvane::fuzz::RunFolder().Path();
    settings.m_strProjectBaseName = "demo";
    std::snprintf(settings.m_szMpvDir, sizeof settings.m_szMpvDir, "%s/mpv",
                  settings.m_strProjectDir.c_str());
    for (unsigned kind = kelvane::FILE_FSP; kind < kelvane::kProjectFileKindCount; ++kind)
        settings.m_fileSet[kind].m_strName = settings.m_fileSet[kind].m_strNewName =
            std::string("demo") + kelvane::ProjectFileExtension(kelvane::ProjectFileKind(kind));
}

// Writes the file and reads the result back: what the program writes it must
// be able to open.
void WriteAndReread(FsrFile& fsr, const std::string& path) {
    if (!fsr.WriteFsrFile(path))
        return; // a record that did not fit was refused with a message
    ProjectSettings settings;
    SetUpDemoProject(settings);
    FsrFile reread(settings);
    if (!reread.ReadFsrFile(path) || reread.Version() != fsr.Version() ||
        reread.Count() != fsr.Count())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = kelvane::fuzz::WriteInput("demo.fsr", data, size);
    const std::string out = kelvane::fuzz::RunFolder().File("out.fsr");
    const std::string project = kelvane::fuzz::RunFolder().File("demo.fsp");

    ProjectSettings settings;
    SetUpDemoProject(settings);
    FsrFile fsr(settings);
    if (!fsr.ReadFsrFile(path))
        return 0;
    fsr.CheckFsrReferences(project);
    if (fsr.BuildFsrRecords())
        WriteAndReread(fsr, out);

    // A conversion purges the items of a key before the save.
    fsr.PurgeItems(static_cast<uint32_t>(size % 16));
    if (fsr.BuildFsrRecords())
        WriteAndReread(fsr, out);
    return 0;
}
