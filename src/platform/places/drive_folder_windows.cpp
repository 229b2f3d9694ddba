// SPDX-License-Identifier: MIT
#include "platform/places/drive_folder.h"

namespace kelvane {

std::string DriveFolderOnThisSystem(std::string_view) {
    return {};
}

} // namespace kelvane
