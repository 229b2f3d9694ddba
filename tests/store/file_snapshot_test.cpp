// SPDX-License-Identifier: MIT
#include "store/file_snapshot.h"

#include "platform/content_hash.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

namespace kelvane {
namespace {

using test::WriteBytes;

// Gives `path` the modification time `time`, as a program that restores it would.
void SetModifyTime(const std::string& path, const timespec& time) {
    const timespec times[2] = {time, time};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

timespec ModifyTime(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0);
    return info.st_mtim;
}

FileSnapshot Snapshot(const std::string& path) {
    FileReader file;
    EXPECT_TRUE(file.Open(path));
    return SnapshotOfFile(file).value_or(FileSnapshot{});
}

// The hash of a file read through its pieces is the hash of its bytes, and a
// byte changed past the first piece changes it.
TEST(FileSnapshotTest, AFileHashesAsItsBytesDo) {
    test::TempFolder folder;
    std::string bytes(3 * 1024 * 1024 + 5, 'a');
    for (size_t i = 0; i < bytes.size(); i += 4093)
        bytes[i] = static_cast<char>(i);
    const std::string path = folder.File("big.fsr");
    WriteBytes(path, bytes);
    FileReader file;
    ASSERT_TRUE(file.Open(path));
    EXPECT_EQ(SnapshotOf(file, bytes).hash, ContentHash(bytes));
    EXPECT_EQ(Snapshot(path).hash, ContentHash(bytes));
    bytes.back() = 'b';
    EXPECT_NE(ContentHash(bytes), Snapshot(path).hash);
    EXPECT_NE(ContentHash(""), ContentHash(std::string(1, '\0')));
}

// Written in place with its size and time kept, replaced by a file equal in
// bytes, size and time, removed, created where none was: each is a change.
// The same bytes written back with the time kept, another spelling of the
// path, and a target that is another file are not.
TEST(FileSnapshotTest, SeesEveryChangeToTheFileReadAndNoneOfAnother) {
    test::TempFolder folder;
    const std::string path = folder.File("demo.fsp");
    WriteBytes(path, "[PROJECT]\nA=1\n");
    const FileSnapshot read = Snapshot(path);
    const timespec time = ModifyTime(path);
    EXPECT_FALSE(ChangedSinceSnapshot(read, path, path));
    EXPECT_FALSE(ChangedSinceSnapshot(read, path, folder.Path() + "/./demo.fsp"));

    WriteBytes(path, "[PROJECT]\nA=2\n");
    SetModifyTime(path, time);
    EXPECT_TRUE(ChangedSinceSnapshot(read, path, path));
    WriteBytes(path, "[PROJECT]\nA=1\n");
    SetModifyTime(path, time);
    EXPECT_FALSE(ChangedSinceSnapshot(read, path, path));

    const std::string copy = folder.File("copy.fsp");
    WriteBytes(copy, "[PROJECT]\nA=1\n");
    SetModifyTime(copy, time);
    EXPECT_FALSE(ChangedSinceSnapshot(read, path, copy)); // a Save As target
    ASSERT_EQ(std::rename(copy.c_str(), path.c_str()), 0);
    EXPECT_TRUE(ChangedSinceSnapshot(read, path, path));
    EXPECT_TRUE(ChangedSinceSnapshot(read, path, folder.Path() + "/./demo.fsp"));

    ASSERT_EQ(std::remove(path.c_str()), 0);
    EXPECT_TRUE(ChangedSinceSnapshot(read, path, path));
    EXPECT_FALSE(ChangedSinceSnapshot(read, path, folder.File("new.fsp")));
    const FileSnapshot missing;
    EXPECT_FALSE(ChangedSinceSnapshot(missing, path, path));
    WriteBytes(path, "");
    EXPECT_TRUE(ChangedSinceSnapshot(missing, path, path));
}

} // namespace
} // namespace kelvane
