#include "cli/settings_listing.h"

#include "store/fixed_text.h"
#include "store/number_text.h"

namespace kelvane {
namespace {

void AddLine(std::string& out, std::string_view label, std::string_view value) {
    out.append(label).append(": ").append(value).push_back('\n');
}

std::string DescribeCompanion(const ProjectFileEntry& entry) {
    std::string text = entry.m_strName.empty() ? "(none)" : entry.m_strName;
    text += entry.m_bInSync ? " [in sync" : " [not in sync";
    text += entry.m_bFullPath ? ", full path]" : "]";
    return text;
}

} // namespace

std::string ListSettings(const ProjectSettings& settings) {
    std::string out;
    out += "File settings\n";
    AddLine(out, "  Project folder", settings.m_strProjectDir);
    AddLine(out, "  Project name", settings.m_fileSet[FILE_FSP].m_strName);
    AddLine(out, "  FSR file", DescribeCompanion(settings.m_fileSet[FILE_FSR]));
    AddLine(out, "  Macro file", DescribeCompanion(settings.m_fileSet[FILE_MCR]));
    AddLine(out, "  User label file", DescribeCompanion(settings.m_fileSet[FILE_SBU]));

    out += "Model settings\n";
    AddLine(out, "  MPU information file", FieldText(settings.m_szMpdFile));
    AddLine(out, "  Model name", settings.m_strModelName);
    AddLine(out, "  Highest page", PrintSigned(settings.m_nMaxPage));
    for (int32_t row = 0; row <= settings.m_nMaxPage && row < 16; ++row) {
        std::string numbers;
        for (int32_t number : settings.m_anMpCount[row])
            numbers.append(numbers.empty() ? "" : " ").append(PrintSigned(number));
        AddLine(out, "  Page " + PrintHex(static_cast<uint32_t>(row)), numbers);
    }
    AddLine(out, "  MCI file", FieldText(settings.m_szDefFile));

    out += "Communication settings\n";
    const char* model = IceModelName(settings.m_nIceModel);
    AddLine(out, "  ICE model", model != nullptr ? model : "?");
    const char* device = CommDeviceName(settings.m_nCommDevice);
    AddLine(out, "  Connection", device != nullptr ? device : "(unrecognised)");
    if (settings.m_nCommDevice == COMM_USB) {
        AddLine(out, "  USB device", settings.m_strUsbDevice);
    } else {
        AddLine(out, "  IP address", settings.m_strIpAddress);
        AddLine(out, "  Port",
                PrintSigned(static_cast<int32_t>(HexadecimalRead(settings.m_strPort))));
    }
    AddLine(out, "  Time-out", settings.m_strTimeout);
    AddLine(out, "  Multi-Core Server", settings.m_bUseMcs ? "yes" : "no");
    AddLine(out, "  Multi-Core Server IP address", settings.m_strIpAddressMcs);
    AddLine(out, "  Multi-Core Server port",
            PrintSigned(static_cast<int32_t>(HexadecimalRead(settings.m_strPortMcs))));
    return out;
}

} // namespace kelvane
