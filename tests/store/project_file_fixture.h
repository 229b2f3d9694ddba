// SPDX-License-Identifier: MIT
#pragma once

#include "store/definition_file.h"
#include "test_files.h"

#include <string>
#include <vector>

namespace kelvane::test {

// Joins lines with CR LF after each.
std::string CrLfLines(const std::vector<std::string>& lines);

// Lines of a project file with every key the three key groups use, which a
// test changes or removes before reading it.
class ProjectFileText {
public:
    ProjectFileText();

    // Replaces the key's line, or adds one.
    ProjectFileText& Set(const std::string& key, const std::string& value);
    ProjectFileText& Remove(const std::string& key);
    ProjectFileText& AddLine(const std::string& line);
    std::string Bytes() const { return CrLfLines(m_lines); }

private:
    std::vector<std::string> m_lines;
};

// Settings and the definition table over one temporary project file.
struct ProjectFixture {
    TempFolder folder;
    ProjectSettings settings;
    DefinitionFile definitions{settings};
    std::string path = folder.File("demo.fsp");

    bool Load(const std::string& bytes);
    bool ReadAllGroups();
    // Writes the three groups and the file back; the file's new bytes.
    std::string SaveAs(const std::string& target);
};

} // namespace kelvane::test
