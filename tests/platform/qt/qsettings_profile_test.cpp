// SPDX-License-Identifier: MIT
#include "platform/qt/qsettings_profile.h"

#include "scoped_environment.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>

namespace kelvane {
namespace {

TEST(QSettingsProfileTest, KeepsTheDefaultFolderInTheProgramsSettingsFile) {
    // QSettings fixes its folder at first use; each test runs in a process
    // of its own, so this is the first.
    test::TempFolder config;
    ASSERT_EQ(setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1), 0);

    const std::string folder = "/home/user/ICE projects/\xe6\x97\xa5\xe6\x9c\xac";
    {
        QSettingsProfile profile;
        EXPECT_EQ(profile.GetProfileString("Settings", "DefaultDir", "fallback"), "fallback");
        EXPECT_TRUE(profile.WriteProfileString("Settings", "DefaultDir", folder));
    }
    QSettingsProfile reopened;
    EXPECT_EQ(reopened.GetProfileString("Settings", "DefaultDir", ""), folder);
    EXPECT_EQ(reopened.GetProfileString("Settings", "Other", "none"), "none");
    {
        // The file holds Unicode; a CP932 core writes and gets back CP932 bytes.
        const test::ScopedEnvironment codePage("KELVANE_CODEPAGE", "CP932");
        EXPECT_TRUE(reopened.WriteProfileString("Settings", "Japanese", "C:\\\x95\x5C"));
        EXPECT_EQ(reopened.GetProfileString("Settings", "Japanese", ""), "C:\\\x95\x5C");
        EXPECT_EQ(reopened.GetProfileString("Settings", "DefaultDir", ""),
                  "/home/user/ICE projects/\x93\xfa\x96\x7b");
    }

    const std::string file = test::ReadBytes(config.File("KVX/KLVN_MAIN.conf"));
    EXPECT_NE(file.find("[Settings]"), std::string::npos) << file;
    // The same value again leaves the file alone (a rewrite would replace
    // it with a new one); another value replaces it.
    const auto Inode = [&] {
        struct stat info {};
        stat(config.File("KVX/KLVN_MAIN.conf").c_str(), &info);
        return info.st_ino;
    };
    const ino_t before = Inode();
    EXPECT_TRUE(reopened.WriteProfileString("Settings", "Other", "none"));
    reopened.Flush();
    EXPECT_NE(Inode(), before);
    const ino_t rewritten = Inode();
    EXPECT_TRUE(reopened.WriteProfileString("Settings", "Other", "none"));
    reopened.Flush();
    EXPECT_EQ(Inode(), rewritten);
    EXPECT_NE(file.find("DefaultDir="), std::string::npos) << file;
    EXPECT_NE(file.find("Japanese=C:\\\\\xe8\xa1\xa8"), std::string::npos) << file;
}

TEST(QSettingsProfileTest, WritesInTheOrderMadeAndSaysWhenOneFails) {
    test::TempFolder config;
    ASSERT_EQ(setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1), 0);
    QSettingsProfile profile;
    // Each write replaces the file; the last one made is the one kept.
    for (int folder = 0; folder < 20; ++folder)
        EXPECT_TRUE(profile.WriteProfileString("Settings", "DefaultDir",
                                               "/projects/" + std::to_string(folder)));
    EXPECT_EQ(profile.GetProfileString("Settings", "DefaultDir", ""), "/projects/19");

    // A file where the settings' folder should be: the write cannot be made.
    std::filesystem::remove_all(config.File("KVX"));
    test::WriteBytes(config.File("KVX"), "not a folder");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(profile.WriteProfileString("Settings", "DefaultDir", "/elsewhere"));
    profile.Flush();
    EXPECT_NE(
        testing::internal::GetCapturedStderr().find("cannot write the setting Settings/DefaultDir"),
        std::string::npos);
}

} // namespace
} // namespace kelvane
