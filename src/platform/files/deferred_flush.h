// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace kelvane {

// A batch that saves into a folder of its own need not make each set durable
// before it starts the next: the sources are never written, so the sets may
// reach the disk together. Each set is still written to temporaries renamed
// into place only when whole; once flushes are deferred, a committed set is
// noted here instead of flushed, and FlushToDisk makes the notes durable.
// Paths are as this system's file calls take them: bytes on POSIX, UTF-8 on
// Windows.
void DeferFlushes(bool deferred);
bool FlushesDeferred();
// Called by a save's commit with each file it put in place.
void NoteDeferredFlush(const std::string& transactionTarget);
// The files noted since the last call.
std::vector<std::string> TakeDeferredFlushes();

// Makes the files durable: on POSIX one syncfs for each file system that
// holds any, on Windows FlushFileBuffers on each. False, with the errno
// value in `error`, when one cannot be flushed.
bool FlushToDisk(const std::vector<std::string>& files, int& error);

} // namespace kelvane
