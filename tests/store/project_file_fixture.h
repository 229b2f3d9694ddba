#pragma once

#include "store/definition_file.h"
#include "test_files.h"

#include <string>
#include <utility>
#include <vector>

namespace kelvane::test {

// Lines of a project file, built by the tests: a complete set of the keys the
// three key groups use, which a test changes or removes before reading it.
class ProjectFileText {
public:
    ProjectFileText();

    ProjectFileText& Set(const std::string& key, const std::string& value);
    ProjectFileText& Remove(const std::string& key);
    ProjectFileText& AddLine(const std::string& line);

    // The file's bytes, lines ending in CR LF.
    std::string Bytes() const;

private:
    std::vector<std::string> m_lines;
};

// Joins lines with CR LF after each.
std::string CrLfLines(const std::vector<std::string>& lines);

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
