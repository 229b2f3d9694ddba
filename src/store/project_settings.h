// SPDX-License-Identifier: MIT
#pragma once

#include "store/conversion_block.h"
#include "store/project_file_set.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelvane {

enum IceModel : uint32_t {
    ICE_TALVEX_BANTAM = 0,
    ICE_TALVEX_NOVA = 1,
    ICE_TALVEX_MAX = 2,
    ICE_TALVEX_VEGA = 3,
    ICE_TALVEX_VEGA_II = 4,
};
inline constexpr uint32_t kIceModelCount = 5;

enum CommDevice : uint32_t {
    COMM_ETHERNET = 0,
    COMM_GPIB = 1,
    COMM_RS232C = 2,
    COMM_USB = 3,
    COMM_UNRECOGNISED = 4,
};

// The name shown for a model, or nullptr outside 0..4.
const char* IceModelName(uint32_t model);

// The DEVICE text of a connection, or nullptr for 4 and beyond.
const char* CommDeviceName(uint32_t device);

// The open project's settings. The conversion block comes first, so its
// fields keep the layout modules rely on; the communication settings follow.
struct ProjectSettings : ConversionBlock {
    ProjectSettings() : ConversionBlock{} {}

    std::string m_strPort; // lowercase hexadecimal digits
    std::string m_strUsbDevice;
    std::string m_strIpAddress;
    std::string m_strTimeout;
    uint32_t m_bUseMcs = 0;
    std::string m_strPortMcs; // lowercase hexadecimal digits
    std::string m_strIpAddressMcs;

    // Directions 0..9 the project's conversion module supports.
    uint32_t m_abConvertSupported[10] = {};

    std::string m_strModelName;
    std::string m_strSelectedModelName;
    char m_szDefFile[256] = {};

    char m_szMpvDir[256] = {}; // folder of the MPV file; the FRD list is rebuilt only when set
    std::vector<std::string> m_astrFrdFiles;    // FRD paths as read from the FSR file
    std::vector<std::string> m_astrFrdNewFiles; // the paths to write back, edited by the user

    std::string m_strProjectDir;
    // The project's folder as its full-path names record it, where that is
    // another name of m_strProjectDir (C:\work for a project in a Wine
    // prefix); saves keep recording it so. Empty otherwise.
    std::string m_strRecordedProjectDir;
    std::string m_strProjectBaseName;
    ProjectFileSet m_fileSet;

    std::string m_strLastError;
    bool m_bProjectLoaded = false;

    ConversionBlock& Block() { return *this; }
};

} // namespace kelvane
