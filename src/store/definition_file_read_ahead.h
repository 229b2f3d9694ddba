// SPDX-License-Identifier: MIT
#pragma once

#include "platform/file_reader.h"
#include "store/definition_file.h"
#include "store/project_settings.h"

#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace kelvane {

// Reads and parses a project file on a thread of its own, so that the
// desktop program can do it while it sets up its window. The table is handed
// over only while the path still names the very file read, unchanged since;
// anything else, a failed read included, leaves the read to be done again.
class DefinitionFileReadAhead {
public:
    explicit DefinitionFileReadAhead(std::string path);
    ~DefinitionFileReadAhead();
    DefinitionFileReadAhead(const DefinitionFileReadAhead&) = delete;
    DefinitionFileReadAhead& operator=(const DefinitionFileReadAhead&) = delete;

    // Waits for the read to end.
    void Wait();
    // Waits, then hands the table over once. `opened` is the file the
    // caller has just opened by `path`.
    std::optional<DefinitionFile::Table> Take(const std::string& path, const FileReader& opened);
    // What the table handed over was read from.
    const FileSnapshot& Snapshot() const { return m_settings->m_fileSet[FILE_FSP].m_opened; }

private:
    void Read();

    const std::string m_path;
    // Touched by the thread alone until it is joined.
    std::unique_ptr<ProjectSettings> m_settings;
    std::unique_ptr<DefinitionFile> m_definitions;
    FileReader m_file;
    bool m_read = false;
    std::thread m_thread;
};

} // namespace kelvane
