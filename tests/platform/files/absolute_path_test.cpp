// SPDX-License-Identifier: MIT
#include "platform/files/absolute_path.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelvane {
namespace {

// Relative paths are joined to the working folder without their dot steps;
// absolute ones, odd separators and all, are left exactly as given.
TEST(AbsolutePathTest, JoinsARelativePathToTheWorkingFolder) {
    test::TempFolder folder;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    const std::string here = std::filesystem::current_path().string();
    // Windows says the path in its own form, with its own separator.
    const std::string separator = test::kOnWindows ? "\\" : "/";
    EXPECT_EQ(AbsolutePath("demo.fsp"), here + separator + "demo.fsp");
    EXPECT_EQ(AbsolutePath("./a/../b//demo.fsp"), here + separator + "b" + separator + "demo.fsp");
    if (!test::kOnWindows) { // bytes kept
        EXPECT_EQ(AbsolutePath("\x83\x5C/demo.fsp"), here + "/\x83\x5C/demo.fsp");
    }
    EXPECT_EQ(AbsolutePath("/x//y/./demo.fsp"), "/x//y/./demo.fsp");
    if (test::kOnWindows) {
        EXPECT_EQ(AbsolutePath("C:\\x\\.\\demo.fsp"), "C:\\x\\.\\demo.fsp");
    }
    EXPECT_EQ(AbsolutePath(""), "");
    std::filesystem::current_path(previous);
}

} // namespace
} // namespace kelvane
