// SPDX-License-Identifier: MIT
#include "store/project_settings.h"

namespace kelvane {

const char* IceModelName(uint32_t model) {
    static const char* const kNames[kIceModelCount] = {"talvexBANTAM", "talvexNOVA", "talvexMAX",
                                                       "talvexVEGA", "talvexVEGA II"};
    return model < kIceModelCount ? kNames[model] : nullptr;
}

const char* CommDeviceName(uint32_t device) {
    static const char* const kNames[] = {"Ethernet", "GP-IB", "RS232C", "USB"};
    return device < COMM_UNRECOGNISED ? kNames[device] : nullptr;
}

} // namespace kelvane
