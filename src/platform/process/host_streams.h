// SPDX-License-Identifier: MIT
#pragma once

// The module host's standard streams: the request comes on standard input,
// the answer goes out on what was standard output, and everything a module
// prints itself is sent to standard error instead, so it cannot garble the
// answer.

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvane {

// Sets the streams up (binary, standard output moved aside); the descriptor
// the answer is written to, or -1 when that failed.
int TakeAnswerStream();

// Reads standard input to its end; false when it holds more than `limit`
// bytes or cannot be read.
bool ReadRequestStream(std::string& bytes, size_t limit);

bool WriteAnswerStream(int stream, std::string_view bytes);

// Where the system reports a crash to the process itself (Windows
// exceptions), `report` is called with a description before the process
// ends; elsewhere the parent sees the signal and nothing is installed.
void ReportCrashesTo(void (*report)(const std::string& description));

} // namespace kelvane
