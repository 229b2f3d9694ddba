// SPDX-License-Identifier: MIT
#pragma once

#include "res/string_ids.h"

#include <cerrno>

namespace kelvane {

// The message of a project or FSR file write that failed with `error`.
inline unsigned WriteFailureId(int error) {
    switch (error) {
    case ENAMETOOLONG:
        return IDS_PATH_TOO_LONG;
    case EACCES:
    case EPERM:
    case EROFS:
        return IDS_FILE_NOT_WRITABLE;
    default:
        return IDS_WRITE_FAILED;
    }
}

} // namespace kelvane
