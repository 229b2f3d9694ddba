#include "platform/atomic_file.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvane {
namespace {

using test::ReadBytes;

TEST(AtomicFileTest, ReplacesTheTargetOnlyOnCommitKeepingModeAndLinks) {
    test::TempFolder folder;
    const std::string target = folder.File("real.bin"), link = folder.File("link.bin");
    test::WriteBytes(target, "previous");
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    {
        AtomicFileWriter file;
        ASSERT_TRUE(file.Open(link));
        ASSERT_TRUE(file.Write(std::string("00\0\r\n", 5)) && file.Write("tail"));
        ASSERT_TRUE(file.WriteAt(0, "ab"));
        EXPECT_EQ(file.Position(), 9u);
        EXPECT_EQ(ReadBytes(target), "previous");
        ASSERT_TRUE(file.Commit());
    }
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    std::string bytes;
    int error = 0;
    ASSERT_TRUE(ReadWholeFile(target, bytes, error));
    const std::string written("ab\0\r\ntail", 9);
    EXPECT_EQ(bytes, written);
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    {
        AtomicFileWriter abandoned;
        ASSERT_TRUE(abandoned.Open(target) && abandoned.Write("lost"));
    }
    EXPECT_EQ(ReadBytes(target), written);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              2);
}

TEST(AtomicFileTest, ReportsFailuresWithoutLeavingFilesBehind) {
    test::TempFolder folder;
    int error = 0;
    EXPECT_FALSE(WriteFileAtomically(folder.File("missing/x"), "a", error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(WriteFileAtomically(folder.Path(), "a", error));
    EXPECT_EQ(error, EISDIR);
    // A name the system cannot hold is refused before anything is written.
    AtomicFileWriter tooLong;
    EXPECT_FALSE(tooLong.Open(folder.File(std::string(300, 'n'))));
    EXPECT_EQ(tooLong.Error(), ENAMETOOLONG);
    std::string bytes;
    EXPECT_FALSE(ReadWholeFile(folder.File("none"), bytes, error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(ReadWholeFile(folder.Path(), bytes, error));
    EXPECT_EQ(error, EISDIR);
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

} // namespace
} // namespace kelvane
