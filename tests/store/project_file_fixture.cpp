// SPDX-License-Identifier: MIT
#include "store/project_file_fixture.h"

#include <algorithm>
#include <sstream>

namespace kelvane::test {

std::string CrLfLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes.append(line).append("\r\n");
    return bytes;
}

// Every key the three key groups use.
const char kProjectLines[] =
    "[PROJECT]\nPROJECT_NAME=demo.fsp\nFSR_FSRPATHNAME=demo.fsr\nMACRO_FILE=demo.mcr\n"
    "ULABEL_FILE=demo.sbu\n[TARGET]\nTARGET_NAME=talvexMAX\nMODEL_NAME=KV77\nMPDFILE=KV77\n"
    "DEFFILE=kv77.mci\nMAXPAGE=0\nMPCNT_0=1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,\n[COMM]\n"
    "DEVICE=Ethernet\nIP_ADDRESS=10.0.0.5\nPORT=8080\nTIMEOUT=30\nUSE_MCS=FALSE\n"
    "IP_ADDRESS_MCS=10.0.0.6\nPORT_MCS=7001\n";

ProjectFileText::ProjectFileText() {
    std::istringstream lines(kProjectLines);
    for (std::string line; std::getline(lines, line);)
        m_lines.push_back(line);
}

ProjectFileText& ProjectFileText::Set(const std::string& key, const std::string& value) {
    const auto line = std::find_if(m_lines.begin(), m_lines.end(),
                                   [&](const std::string& l) { return l.starts_with(key + "="); });
    if (line == m_lines.end())
        return AddLine(key + "=" + value);
    *line = key + "=" + value;
    return *this;
}

ProjectFileText& ProjectFileText::Remove(const std::string& key) {
    std::erase_if(m_lines, [&](const std::string& line) { return line.starts_with(key + "="); });
    return *this;
}

ProjectFileText& ProjectFileText::AddLine(const std::string& line) {
    m_lines.push_back(line);
    return *this;
}

bool ProjectFixture::Load(const std::string& bytes) {
    WriteBytes(path, bytes);
    return definitions.ReadDefinitionFile(path);
}

bool ProjectFixture::ReadAllGroups() {
    return definitions.ReadFileSettings(path) && definitions.ReadModelSettings() &&
           definitions.ReadCommSettings();
}

std::string ProjectFixture::SaveAs(const std::string& target) {
    const bool written = definitions.WriteFileSettings(target) && definitions.WriteCommSettings() &&
                         definitions.WriteModelSettings() &&
                         definitions.WriteDefinitionFile(target);
    return written ? ReadBytes(target) : std::string();
}

} // namespace kelvane::test
