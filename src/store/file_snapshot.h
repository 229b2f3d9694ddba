// SPDX-License-Identifier: MIT
#pragma once

#include "platform/file_reader.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

class FileSetTransaction;

// What was read of a project file or an FSR file, or last written to it, so
// that a save can tell whether another program has changed it since.
struct FileSnapshot {
    bool exists = false;
    FileIdentity identity;
    uint64_t hash = 0;
};

// The file read as `bytes`, all of it, through `file`.
FileSnapshot SnapshotOf(const FileReader& file, std::string_view bytes);
// The open file, read again whole for its hash; nothing when it cannot be.
std::optional<FileSnapshot> SnapshotOfFile(FileReader& file);

// What the committed `set` put at `path`, read back for its hash while it is
// still the file the set wrote; a file put there since has another identity.
FileSnapshot SnapshotOfCommitted(const FileSetTransaction& set, const std::string& path);

// Whether a save that writes `target` would write over what another program
// did to the file `snapshot` was taken of at `readPath`: put another file in
// its place, removed it, or changed it in place, even keeping its size and
// time. A target that is another file than the one read is not its change.
bool ChangedSinceSnapshot(const FileSnapshot& snapshot, const std::string& readPath,
                          const std::string& target);

} // namespace kelvane
