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

TEST(AtomicFileTest, StepWiseWriterPatchesEarlierBytesAndDiscardsWhenAbandoned) {
    TempFolder folder;
    const std::string target = folder.File("steps.bin");
    WriteBytes(target, "previous");
    {
        AtomicFileWriter file;
        ASSERT_TRUE(file.Open(target));
        ASSERT_TRUE(file.Write("0000"));
        ASSERT_TRUE(file.Write("tail"));
        EXPECT_EQ(file.Position(), 8u);
        ASSERT_TRUE(file.WriteAt(1, "ab"));
        // Until the commit the target keeps what it had.
        EXPECT_EQ(ReadBytes(target), "previous");
        ASSERT_TRUE(file.Commit());
    }
    EXPECT_EQ(ReadBytes(target), "0ab0tail");

    {
        AtomicFileWriter abandoned;
        ASSERT_TRUE(abandoned.Open(target));
        ASSERT_TRUE(abandoned.Write("lost"));
    }
    EXPECT_EQ(ReadBytes(target), "0ab0tail");
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 1u);

    AtomicFileWriter unopened;
    EXPECT_FALSE(unopened.Write("x"));
    EXPECT_FALSE(unopened.Commit());
}

} // namespace
} // namespace kelvane
