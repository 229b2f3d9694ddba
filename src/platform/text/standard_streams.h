// SPDX-License-Identifier: MIT
#pragma once

namespace kelvane {

// Makes standard output and error write bytes as given: on Windows they
// would turn each "\n" into "\r\n", so that a program reading them (a batch
// reading its workers) got other bytes than on Linux.
void WriteStandardStreamsAsBytes();

} // namespace kelvane
