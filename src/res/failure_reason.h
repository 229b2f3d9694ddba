// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace kelvane {

// Why a file operation failed, in the project code page: the system's text
// for an errno value, or this program's for FileReader::kNotRegularFile.
std::string FailureReason(int error);

// `message` followed by the reason for `error` and the path, as in
// "Write failed: No space left on device: /work/demo.fsr".
std::string WithFailureReason(std::string_view message, int error, std::string_view path);

// `message` followed by a reason of its own and the path.
std::string WithReasonText(std::string_view message, std::string_view reason,
                           std::string_view path);

} // namespace kelvane
