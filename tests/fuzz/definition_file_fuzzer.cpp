// SPDX-License-Identifier: MIT
// The project file: read, its three key groups, written back and read again.
#include "fuzz_file.h"
#include "store/definition_file.h"

#include <cstdlib>

using kelvane::DefinitionFile;
using kelvane::ProjectSettings;

namespace {

// The same definitions and tags in the same order, each in a section of the
// same name. Section numbers may differ: the writer puts the tags after all
// definitions and repeats a section's header where it goes back to one.
bool SameTable(const DefinitionFile::Table& a, const DefinitionFile::Table& b) {
    const auto sectionName = [](const DefinitionFile::Table& table, uint32_t section) {
        return section == 0 ? std::string() : table.sections[section].name;
    };
    if (a.definitionCount != b.definitionCount || a.tags.size() != b.tags.size())
        return false;
    // Definitions are counted from slot 1, tags from 0.
    for (uint32_t k = 1; k <= a.definitionCount; ++k)
        if (sectionName(a, a.definitions[k].section) != sectionName(b, b.definitions[k].section) ||
            a.definitions[k].key != b.definitions[k].key ||
            a.definitions[k].value != b.definitions[k].value)
            return false;
    for (size_t k = 0; k < a.tags.size(); ++k)
        if (sectionName(a, a.tags[k].section) != sectionName(b, b.tags[k].section) ||
            a.tags[k].text != b.tags[k].text)
            return false;
    return true;
}

// Reads `path` as the open workflow does; false when any step refuses it.
bool Open(DefinitionFile& file, const std::string& path) {
    return file.ReadDefinitionFile(path) && file.ReadFileSettings(path) &&
           file.ReadModelSettings() && file.ReadCommSettings();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = kelvane::fuzz::WriteInput("input.fsp", data, size);
    const std::string copy = kelvane::fuzz::RunFolder().File("copy.fsp");

    ProjectSettings settings;
    DefinitionFile file(settings);
    if (!file.ReadDefinitionFile(path))
        return 0;
    const bool opened =
        file.ReadFileSettings(path) && file.ReadModelSettings() && file.ReadCommSettings();
    const DefinitionFile::Table read = file.SaveTable();

    // What was read comes back as it was, or is refused with a message (more
    // section headers than the reader takes).
    settings.m_strLastError.clear();
    if (!file.WriteDefinitionFile(copy)) {
        if (settings.m_strLastError.empty())
            std::abort();
        return 0;
    }
    ProjectSettings rereadSettings;
    DefinitionFile reread(rereadSettings);
    if (!reread.ReadDefinitionFile(copy) || !SameTable(read, reread.SaveTable()))
        std::abort();

    // A project that opened, saved with its groups, opens again.
    if (opened) {
        if (!file.WriteFileSettings(copy) || !file.WriteCommSettings() ||
            !file.WriteModelSettings() || !file.WriteDefinitionFile(copy))
            return 0; // refused with a message: nothing written
        ProjectSettings savedSettings;
        DefinitionFile saved(savedSettings);
        if (!Open(saved, copy))
            std::abort();
    }
    return 0;
}
