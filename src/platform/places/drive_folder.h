// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// The folder that a recorded Windows drive path ("C:\work", project code
// page) names on this system: under Wine, the drive's folder in the Wine
// prefix ($WINEPREFIX/dosdevices/c:, so C: is drive_c and Z: is the root)
// with the rest of the path. Empty where no mapping applies: a path without
// a drive letter, a drive the prefix does not have, or Windows, where the
// path names itself.
std::string DriveFolderOnThisSystem(std::string_view recordedFolder);

} // namespace kelvane
