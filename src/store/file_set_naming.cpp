// SPDX-License-Identifier: MIT
#include "store/file_set_naming.h"

#include "platform/files/file_name_case.h"
#include "platform/places/drive_folder.h"
#include "store/path_helpers.h"

namespace kelvane {

const char* ProjectFileExtension(ProjectFileKind kind) {
    static const char* const kExtensions[kProjectFileKindCount] = {".fsp", ".fsr", ".uer", ".sbu",
                                                                   ".mcr"};
    return kind < kProjectFileKindCount ? kExtensions[kind] : "";
}

namespace {

// The folder in front of the separator at `separator`; a path in the root
// folder keeps the root, so that "/demo.fsr" is in the folder of "/demo.fsp".
std::string_view FolderPart(std::string_view path, size_t separator) {
    return path.substr(0, separator == 0 ? 1 : separator);
}

} // namespace

void DeriveFileSetNames(ProjectSettings& settings, std::string_view projectPath) {
    const std::string previousDir = settings.m_strProjectDir;
    const size_t separator = FindLastSeparator(projectPath);
    std::string filePart;
    if (separator == std::string_view::npos) {
        settings.m_strProjectDir.clear();
        filePart = projectPath;
    } else {
        settings.m_strProjectDir = FolderPart(projectPath, separator);
        filePart = projectPath.substr(separator + 1);
    }
    if (settings.m_strProjectDir != previousDir)
        settings.m_strRecordedProjectDir.clear();
    // Any three-letter extension goes, not only ".fsp".
    CheckExtension(filePart, "FSP", 1);
    settings.m_strProjectBaseName = filePart;
    for (unsigned kind = 0; kind < kProjectFileKindCount; ++kind)
        settings.m_fileSet[kind].m_strNewName =
            settings.m_strProjectBaseName +
            ProjectFileExtension(static_cast<ProjectFileKind>(kind));
}

void RecordStoredName(ProjectSettings& settings, ProjectFileKind kind,
                      std::string_view storedName) {
    ProjectFileEntry& entry = settings.m_fileSet[kind];
    entry.m_strName = storedName;
    entry.m_strMovedFrom.clear();
    if (storedName.size() <= 4) {
        entry.m_bFullPath = 0;
        entry.m_bInSync = 0;
        return;
    }
    const std::string_view stem = storedName.substr(0, storedName.size() - 4);
    // A sibling of another kind (demo.mcr as the SBU file) is not this
    // kind's file: loading it would save its bytes over the real one.
    const bool ownExtension =
        EqualIgnoringCase(storedName.substr(stem.size()), ProjectFileExtension(kind));
    const size_t separator = FindLastSeparator(stem);
    if (separator != std::string_view::npos) {
        entry.m_bFullPath = 1;
        const std::string_view folder = FolderPart(stem, separator);
        const bool ownName = ownExtension && EqualIgnoringCase(stem.substr(separator + 1),
                                                               settings.m_strProjectBaseName);
        entry.m_bInSync = ownName && EqualIgnoringCase(folder, settings.m_strProjectDir);
        // A project in a Wine prefix records its folder by its drive letter.
        if (ownName && !entry.m_bInSync &&
            EqualIgnoringCase(DriveFolderOnThisSystem(folder), settings.m_strProjectDir)) {
            entry.m_bInSync = 1;
            settings.m_strRecordedProjectDir = folder;
        }
        if (ownName && !entry.m_bInSync)
            entry.m_strMovedFrom = folder;
    } else {
        entry.m_bFullPath = 0;
        entry.m_bInSync = ownExtension && EqualIgnoringCase(stem, settings.m_strProjectBaseName);
    }
}

std::string FullPathFolder(const ProjectSettings& settings) {
    return settings.m_strRecordedProjectDir.empty() ? settings.m_strProjectDir
                                                    : settings.m_strRecordedProjectDir;
}

std::string PathToLoad(const ProjectFileEntry& entry, const ProjectSettings& settings) {
    if (!entry.m_bFullPath)
        return JoinPath(settings.m_strProjectDir, entry.m_strName);
    // A name recorded by the project's other name (its Wine drive path) is
    // loaded from the project's folder.
    const size_t separator = FindLastSeparator(entry.m_strName);
    const std::string_view name = entry.m_strName;
    if (!settings.m_strRecordedProjectDir.empty() && separator != std::string::npos &&
        EqualIgnoringCase(FolderPart(name, separator), settings.m_strRecordedProjectDir))
        return JoinPath(settings.m_strProjectDir, name.substr(separator + 1));
    return entry.m_strName;
}

std::string NameToRecord(const ProjectFileEntry& entry, const ProjectSettings& settings) {
    return entry.m_bFullPath ? JoinPath(FullPathFolder(settings), entry.m_strNewName)
                             : entry.m_strNewName;
}

std::string PathToSave(const ProjectFileEntry& entry, const ProjectSettings& settings) {
    return JoinPath(settings.m_strProjectDir, entry.m_strNewName);
}

std::string PathToWrite(const ProjectFileEntry& entry, const ProjectSettings& settings) {
    return SaveTargetKeepingCase(PathToSave(entry, settings), entry.m_strFilePath);
}

} // namespace kelvane
