// SPDX-License-Identifier: MIT
#pragma once

#include "store/project_settings.h"

#include <string>
#include <string_view>

namespace kelvane {

// Sets the project folder, base name and the five derived names from a
// project path. Changes no recorded name and no flag.
void DeriveFileSetNames(ProjectSettings& settings, std::string_view projectPath);

// Records a companion name read from the project or FSR file in the entry of
// `kind` and marks whether it is a full path and whether it is this
// project's own file of that kind: the project's base name (in its folder,
// for a full path) and the kind's extension. DeriveFileSetNames must have
// run for the opened path.
void RecordStoredName(ProjectSettings& settings, ProjectFileKind kind, std::string_view storedName);

// The folder full-path names are recorded with: the project's, in the form
// its names had (m_strRecordedProjectDir) when that is another name of it.
std::string FullPathFolder(const ProjectSettings& settings);

// The file an in-sync member is loaded from.
std::string PathToLoad(const ProjectFileEntry& entry, const ProjectSettings& settings);

// The value an in-sync member's key takes at a save: the new name, in the
// plain or full-path form the stored name had.
std::string NameToRecord(const ProjectFileEntry& entry, const ProjectSettings& settings);

// The file a member is written to at a save.
std::string PathToSave(const ProjectFileEntry& entry, const ProjectSettings& settings);

// The file a loaded member is written to at a save: PathToSave, or the file
// it was read from when that has the same name in another letter case and
// nothing has PathToSave's exact name, so that a save in place rewrites it.
std::string PathToWrite(const ProjectFileEntry& entry, const ProjectSettings& settings);

} // namespace kelvane
