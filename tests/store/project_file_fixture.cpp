#include "store/project_file_fixture.h"

namespace kelvane::test {

ProjectFileText::ProjectFileText()
    : m_lines{"[PROJECT]",
              "PROJECT_NAME=demo.fsp",
              "FSR_FSRPATHNAME=demo.fsr",
              "MACRO_FILE=demo.mcr",
              "ULABEL_FILE=demo.sbu",
              "[TARGET]",
              "TARGET_NAME=talvexMAX",
              "MODEL_NAME=KV77",
              "MPDFILE=KV77",
              "DEFFILE=kv77.mci",
              "MAXPAGE=0",
              "MPCNT_0=1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,",
              "[COMM]",
              "DEVICE=Ethernet",
              "IP_ADDRESS=10.0.0.5",
              "PORT=8080",
              "TIMEOUT=30",
              "USE_MCS=FALSE",
              "IP_ADDRESS_MCS=10.0.0.6",
              "PORT_MCS=7001"} {}

ProjectFileText& ProjectFileText::Set(const std::string& key, const std::string& value) {
    for (std::string& line : m_lines)
        if (line.compare(0, key.size() + 1, key + "=") == 0) {
            line = key + "=" + value;
            return *this;
        }
    m_lines.push_back(key + "=" + value);
    return *this;
}

ProjectFileText& ProjectFileText::Remove(const std::string& key) {
    std::erase_if(m_lines, [&](const std::string& line) {
        return line.compare(0, key.size() + 1, key + "=") == 0;
    });
    return *this;
}

ProjectFileText& ProjectFileText::AddLine(const std::string& line) {
    m_lines.push_back(line);
    return *this;
}

std::string ProjectFileText::Bytes() const {
    return CrLfLines(m_lines);
}

std::string CrLfLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes.append(line).append("\r\n");
    return bytes;
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
