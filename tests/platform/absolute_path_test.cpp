// SPDX-License-Identifier: MIT
#include "platform/absolute_path.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace kelvane {
namespace {

// Relative paths are joined to the working folder without their dot steps;
// absolute ones, odd separators and all, are left exactly as given.
TEST(AbsolutePathTest, JoinsARelativePathToTheWorkingFolder) {
    test::TempFolder folder;
    const std::string previous = std::filesystem::current_path().string();
    ASSERT_EQ(chdir(folder.Path().c_str()), 0);
    const std::string here = std::filesystem::current_path().string();
    EXPECT_EQ(AbsolutePath("demo.fsp"), here + "/demo.fsp");
    EXPECT_EQ(AbsolutePath("./a/../b//demo.fsp"), here + "/b/demo.fsp");
    EXPECT_EQ(AbsolutePath("\x83\x5C/demo.fsp"), here + "/\x83\x5C/demo.fsp"); // bytes kept
    EXPECT_EQ(AbsolutePath("/x//y/./demo.fsp"), "/x//y/./demo.fsp");
    EXPECT_EQ(AbsolutePath(""), "");
    ASSERT_EQ(chdir(previous.c_str()), 0);
}

} // namespace
} // namespace kelvane
