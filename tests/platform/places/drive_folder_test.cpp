// SPDX-License-Identifier: MIT
#include "platform/places/drive_folder.h"

#include "scoped_environment.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelvane {
namespace {

// A Wine prefix with the drives Wine makes: C: its drive_c, Z: the root.
TEST(DriveFolderTest, AWineDrivePathIsItsFolderInThePrefix) {
    test::TempFolder prefix;
    std::filesystem::create_directories(prefix.File("drive_c/work"));
    std::filesystem::create_directories(prefix.File("dosdevices"));
    std::filesystem::create_directory_symlink("../drive_c", prefix.File("dosdevices/c:"));
    std::filesystem::create_directory_symlink("/", prefix.File("dosdevices/z:"));
    const test::ScopedEnvironment wine("WINEPREFIX", prefix.Path().c_str());
    const std::string driveC = std::filesystem::canonical(prefix.File("drive_c")).string();

    const struct {
        const char* recorded;
        std::string expected;
    } cases[] = {
        {"C:\\work", driveC + "/work"},
        {"c:/work\\\\sub\\", driveC + "/work/sub"},
        {"C:\\", driveC},
        {"C:", driveC},
        {"Z:\\usr\\share", "/usr/share"},
        {"Z:\\", "/"},
        {"D:\\work", ""}, // no such drive
        {"C:work", ""},   // relative to the drive's current folder
        {"\\\\host\\share", ""},
        {"/home/u/work", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DriveFolderOnThisSystem(c.recorded), c.expected) << c.recorded;
}

} // namespace
} // namespace kelvane
