#include "platform/atomic_file.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

TEST(AtomicFileTest, ReplacesTheContentButKeepsModeAndLinks) {
    TempFolder folder;
    const std::string target = folder.File("real.bin");
    WriteBytes(target, "old");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    const std::string link = folder.File("link.bin");
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);

    const std::string bytes("new\0\r\nbytes", 11);
    int error = 0;
    ASSERT_TRUE(WriteFileAtomically(link, bytes, error));
    EXPECT_EQ(ReadBytes(target), bytes);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    std::string read;
    ASSERT_TRUE(ReadWholeFile(link, read, error));
    EXPECT_EQ(read, bytes);
}

TEST(AtomicFileTest, ReportsFailuresWithoutLeavingFilesBehind) {
    TempFolder folder;
    int error = 0;
    EXPECT_FALSE(WriteFileAtomically(folder.File("missing/x"), "a", error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(WriteFileAtomically(folder.Path(), "a", error));
    EXPECT_EQ(error, EISDIR);
    std::string bytes;
    EXPECT_FALSE(ReadWholeFile(folder.File("none"), bytes, error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(ReadWholeFile(folder.Path(), bytes, error));
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

} // namespace
} // namespace kelvane
