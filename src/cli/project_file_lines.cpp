// SPDX-License-Identifier: MIT
#include "cli/project_file_lines.h"

#include "store/fixed_text.h"

namespace kelvane {

std::vector<std::string> ProjectFileLines(const ProjectSettings& settings) {
    std::vector<std::string> lines;
    lines.push_back("MPV file: " + std::string(FieldText(settings.m_szMpdFile)) + ".mpv");
    const std::string_view mci = FieldText(settings.m_szDefFile);
    lines.push_back(mci.empty() ? "MCI file:" : "MCI file: " + std::string(mci));
    for (size_t i = 0; i < settings.m_astrFrdNewFiles.size(); ++i)
        lines.push_back("FRD " + std::to_string(i + 1) + ": " + settings.m_astrFrdNewFiles[i]);
    return lines;
}

} // namespace kelvane
