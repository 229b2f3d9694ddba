// SPDX-License-Identifier: MIT
#include "store/file_snapshot.h"

#include "platform/files/content_hash.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace kelvane {
namespace {

using test::WriteBytes;

// Gives `path` the modification time `time`, as a program that restores it would.

FileSnapshot Snapshot(const std::string& path) {
    FileReader file;
    EXPECT_TRUE(file.Open(path));
    return SnapshotOfFile(file).value_or(FileSnapshot{});
}

// The hash of a file read through its pieces is the hash of its bytes
// however they are split, and a byte changed anywhere, or one more zero,
// changes it.
TEST(FileSnapshotTest, AFileHashesAsItsBytesDoHoweverTheyAreSplit) {
    test::TempFolder folder;
    std::string bytes(3 * 1024 * 1024 + 5, 'a');
    for (size_t i = 0; i < bytes.size(); i += 4093)
        bytes[i] = static_cast<char>(i);
    const std::string path = folder.File("big.fsr");
    WriteBytes(path, bytes);
    EXPECT_EQ(Snapshot(path).hash, ContentHash(bytes));
    for (const size_t piece : {1, 7, 8, 9, 4096, 262144}) {
        ContentHasher hasher;
        for (size_t at = 0; at < bytes.size(); at += piece)
            hasher.Add(std::string_view(bytes).substr(at, piece));
        EXPECT_EQ(hasher.Value(), ContentHash(bytes)) << piece;
    }
    for (const size_t changed : {size_t(0), size_t(9), bytes.size() - 1}) {
        std::string other = bytes;
        other[changed] ^= 1;
        EXPECT_NE(ContentHash(other), ContentHash(bytes)) << changed;
    }
    EXPECT_NE(ContentHash(""), ContentHash(std::string(1, '\0')));
    EXPECT_NE(ContentHash(std::string(8, '\0')), ContentHash(std::string(9, '\0')));
}

// Written in place with its size and time kept, replaced by a file equal in
// bytes, size and time, removed, created where none was: each is a change.
// The same bytes written back with the time kept, another spelling of the
// path, and a target that is another file are not.
TEST(FileSnapshotTest, SeesEveryChangeToTheFileReadAndNoneOfAnother) {
    test::TempFolder folder;
    const std::string path = folder.File("demo.fsp");
    WriteBytes(path, "[PROJECT]\nA=1\n");
    // Taken by its hash, and as the text a reader keeps.
    for (const bool kept : {false, true}) {
        SCOPED_TRACE(kept ? "text" : "hash");
        FileSnapshot read = Snapshot(path);
        if (kept) {
            const std::string text = "[PROJECT]\nA=1\n";
            std::shared_ptr<char[]> bytes(new char[text.size()]);
            std::memcpy(bytes.get(), text.data(), text.size());
            FileReader file;
            ASSERT_TRUE(file.Open(path));
            read = SnapshotOfText(file, bytes);
        }
        const test::ModifyTime time = test::ModifyTimeOf(path);
        EXPECT_FALSE(ChangedSinceSnapshot(read, path, path));
        EXPECT_FALSE(ChangedSinceSnapshot(read, path, folder.Path() + "/./demo.fsp"));

        WriteBytes(path, "[PROJECT]\nA=2\n");
        test::SetModifyTime(path, time);
        EXPECT_TRUE(ChangedSinceSnapshot(read, path, path));
        WriteBytes(path, "[PROJECT]\nA=1\n");
        test::SetModifyTime(path, time);
        EXPECT_FALSE(ChangedSinceSnapshot(read, path, path));

        const std::string copy = folder.File("copy.fsp");
        WriteBytes(copy, "[PROJECT]\nA=1\n");
        test::SetModifyTime(copy, time);
        EXPECT_FALSE(ChangedSinceSnapshot(read, path, copy)); // a Save As target
        std::filesystem::rename(copy, path);
        EXPECT_TRUE(ChangedSinceSnapshot(read, path, path));
        EXPECT_TRUE(ChangedSinceSnapshot(read, path, folder.Path() + "/./demo.fsp"));

        ASSERT_EQ(std::remove(path.c_str()), 0);
        EXPECT_TRUE(ChangedSinceSnapshot(read, path, path));
        EXPECT_FALSE(ChangedSinceSnapshot(read, path, folder.File("new.fsp")));
        const FileSnapshot missing;
        EXPECT_FALSE(ChangedSinceSnapshot(missing, path, path));
        WriteBytes(path, "");
        EXPECT_TRUE(ChangedSinceSnapshot(missing, path, path));
        WriteBytes(path, "[PROJECT]\nA=1\n");
    }
}

} // namespace
} // namespace kelvane
