// SPDX-License-Identifier: MIT
// The file key group of the project file.
#include "store/definition_file.h"
#include "store/file_set_naming.h"

namespace kelvane {
namespace {

struct CompanionKey {
    const char* key;
    ProjectFileKind kind;
    bool required;
};

constexpr CompanionKey kCompanionKeys[] = {
    {"FSR_FSRPATHNAME", FILE_FSR, true},
    {"MACRO_FILE", FILE_MCR, false},
    {"ULABEL_FILE", FILE_SBU, false},
};

} // namespace

bool DefinitionFile::ReadFileSettings(const std::string& projectPath) {
    DeriveFileSetNames(m_settings, projectPath);
    ProjectFileEntry& project = m_settings.m_fileSet[FILE_FSP];
    project.m_strName = project.m_strNewName;
    project.m_strFilePath = projectPath;

    for (const CompanionKey& companion : kCompanionKeys) {
        std::string value;
        if (!GetValue(value, companion.key)) {
            if (companion.required)
                return false;
            value.clear();
        }
        RecordStoredName(m_settings, companion.kind, value);
    }
    return true;
}

bool DefinitionFile::WriteFileSettings(const std::string& projectPath) {
    DeriveFileSetNames(m_settings, projectPath);
    if (!SetValue(m_settings.m_fileSet[FILE_FSP].m_strNewName, "PROJECT_NAME"))
        return false;

    for (const CompanionKey& companion : kCompanionKeys) {
        const ProjectFileEntry& entry = m_settings.m_fileSet[companion.kind];
        if (!entry.m_bInSync)
            continue; // a name that does not follow the project is kept as it is
        if (!SetValue(NameToRecord(entry, m_settings), companion.key) && companion.required)
            return false;
    }
    return true;
}

} // namespace kelvane
