// SPDX-License-Identifier: MIT
#include "platform/files/atomic_file.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

namespace kelvane {
namespace {

// Failed and refused writes are checked through the tests of each file kind.
TEST(AtomicFileTest, ReplacesALinkedTargetOnlyOnCommitKeepingItsMode) {
    KELVANE_SKIP_ON_WINDOWS("symbolic links and POSIX modes");
    test::TempFolder folder;
    const std::string target = folder.File("real.bin"), link = folder.File("link.bin");
    test::WriteBytes(target, "previous");
    std::filesystem::permissions(target, std::filesystem::perms(0640));
    std::filesystem::create_symlink(target, link);
    AtomicFileWriter file;
    {
        AtomicFileWriter abandoned; // dropped after the commit, writing nothing
        ASSERT_TRUE(abandoned.Open(link) && abandoned.Write("lost"));
        ASSERT_TRUE(file.Open(link) && file.Write(std::string("00\0\r\ntail", 9)));
        ASSERT_TRUE(file.WriteAt(0, "ab"));
        EXPECT_EQ(test::ReadBytes(target), "previous");
        ASSERT_TRUE(file.Commit());
    }
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(test::ReadBytes(target), std::string("ab\0\r\ntail", 9));
    EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2);
}

} // namespace
} // namespace kelvane
