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

std::string ListCompanions(const ProjectSettings& settings, const FsrFile& fsr,
                           const CompanionBuffer* const buffers[3]) {
    std::string out = "Companion files\n";
    const ProjectFileEntry& fsrEntry = settings.m_fileSet[FILE_FSR];
    std::string fsrText = DescribeCompanion(fsrEntry);
    if (fsrEntry.m_bLoaded)
        fsrText += ", version 0x" + PrintHex(fsr.Version()) + ", " + std::to_string(fsr.Count()) +
                   " records";
    AddLine(out, "  FSR file", fsrText);
    static const char* const kLabels[] = {"  UER file", "  SBU file", "  MCR file"};
    for (unsigned i = 0; i < 3; ++i) {
        const ProjectFileEntry& entry = settings.m_fileSet[FILE_UER + i];
        std::string text = DescribeCompanion(entry);
        text += entry.m_bInSync && entry.m_bLoaded
                    ? ", " + std::to_string(buffers[i]->Size()) + " bytes read"
                    : ", not read";
        AddLine(out, kLabels[i], text);
    }
    AddLine(out, "  FRD files", std::to_string(settings.m_astrFrdFiles.size()));
    for (const std::string& path : settings.m_astrFrdFiles)
        AddLine(out, "    FRD file", path);
    return out;
}

} // namespace kelvane
