// SPDX-License-Identifier: MIT
#pragma once

#include "platform/files/file_reader.h"

#include <cstdint>
#include <memory>
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
    // The bytes as read, where the reader keeps them anyway; else their hash.
    std::shared_ptr<const char[]> text;
    uint64_t hash = 0;
};

// The file read whole through `file` into `text`, which the snapshot shares.
FileSnapshot SnapshotOfText(const FileReader& file, std::shared_ptr<const char[]> text);
// The open file, read again whole for its hash; nothing when it cannot be.
std::optional<FileSnapshot> SnapshotOfFile(FileReader& file);

// What the committed `set` put at `path`: with `writtenHash`, the hash of
// the bytes written; without, read back for its hash while it is still the
// file the set wrote. A file put there since has another identity.
FileSnapshot SnapshotOfCommitted(const FileSetTransaction& set, const std::string& path,
                                 std::optional<uint64_t> writtenHash = std::nullopt);

// Whether a save that writes `target` would write over what another program
// did to the file `snapshot` was taken of at `readPath`: put another file in
// its place, removed it, or changed it in place, even keeping its size and
// time. A target that is another file than the one read is not its change.
bool ChangedSinceSnapshot(const FileSnapshot& snapshot, const std::string& readPath,
                          const std::string& target);

} // namespace kelvane
