// SPDX-License-Identifier: MIT
#pragma once

#include "store/file_snapshot.h"

#include <array>
#include <cstdint>
#include <string>

namespace kelvane {

enum ProjectFileKind : unsigned { FILE_FSP = 0, FILE_FSR, FILE_UER, FILE_SBU, FILE_MCR };
inline constexpr unsigned kProjectFileKindCount = 5;

// ".fsp", ".fsr", ".uer", ".sbu", ".mcr" by kind.
const char* ProjectFileExtension(ProjectFileKind kind);

struct ProjectFileEntry {
    std::string m_strName;    // as stored in the project or FSR file, or as last saved
    std::string m_strNewName; // base name + extension, never a folder
    uint8_t m_bFullPath = 0;
    uint8_t m_bInSync = 0;
    uint8_t m_bLoaded = 0;
    // For a full path that is not in sync only because its folder is not the
    // project's (the project was moved): that folder as recorded.
    std::string m_strMovedFrom{};
    // Why the last load of an in-sync member failed, with its path; empty
    // when it loaded or the file does not exist.
    std::string m_strLoadFailure{};
    // The file the member was last read from or written to: the recorded
    // name's file, which may have that name in another letter case.
    std::string m_strFilePath{};
    // The project file and the FSR file as read from m_strFilePath, or as
    // last written there; a save checks that they are still so.
    FileSnapshot m_opened{};
};

using ProjectFileSet = std::array<ProjectFileEntry, kProjectFileKindCount>;

} // namespace kelvane
