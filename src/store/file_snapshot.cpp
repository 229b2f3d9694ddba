// SPDX-License-Identifier: MIT
#include "store/file_snapshot.h"

#include "platform/files/content_hash.h"
#include "platform/files/file_set_transaction.h"
#include "platform/files/same_folder_entry.h"

#include <cerrno>
#include <cstring>

namespace kelvane {
namespace {

// Whether the open file holds exactly `length` bytes of `text`.
bool HoldsText(FileReader& file, const char* text, uint64_t length) {
    uint64_t at = 0;
    return file.Size() == length && file.ReadInPieces([&](std::string_view piece) {
        const bool same = std::memcmp(piece.data(), text + at, piece.size()) == 0;
        at += piece.size();
        return same;
    });
}

} // namespace

FileSnapshot SnapshotOfText(const FileReader& file, std::shared_ptr<const char[]> text) {
    return {true, file.Identity(), std::move(text), 0};
}

std::optional<FileSnapshot> SnapshotOfFile(FileReader& file) {
    FileSnapshot snapshot{true, file.Identity(), nullptr, 0};
    if (!HashFileContents(file, snapshot.hash))
        return std::nullopt;
    return snapshot;
}

FileSnapshot SnapshotOfCommitted(const FileSetTransaction& set, const std::string& path,
                                 std::optional<uint64_t> writtenHash) {
    const std::optional<FileIdentity> written = set.CommittedIdentity(path);
    if (!written)
        return {};
    if (writtenHash)
        return {true, *written, nullptr, *writtenHash};
    FileReader file;
    if (file.Open(path) && file.Identity() == *written)
        if (const std::optional<FileSnapshot> snapshot = SnapshotOfFile(file))
            return *snapshot;
    // Unreadable, or already replaced: the next save asks.
    return {true, *written, nullptr, 0};
}

bool ChangedSinceSnapshot(const FileSnapshot& snapshot, const std::string& readPath,
                          const std::string& target) {
    const bool samePlace = SameFolderEntry(readPath, target);
    FileReader file;
    if (!file.Open(target))
        // Nothing there now: a change only when the file read was there. A
        // file that cannot be opened for another reason fails the save itself.
        return samePlace && snapshot.exists && file.Error() == ENOENT;
    if (snapshot.exists && file.Identity().SameFile(snapshot.identity)) {
        if (file.Identity().stamp != snapshot.identity.stamp)
            return true;
        // Written in place within the clock's tick, to the same length.
        if (snapshot.text)
            return !HoldsText(file, snapshot.text.get(), snapshot.identity.stamp.size);
        uint64_t hash = 0;
        return !HashFileContents(file, hash) || hash != snapshot.hash;
    }
    return samePlace;
}

} // namespace kelvane
