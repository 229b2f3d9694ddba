// SPDX-License-Identifier: MIT
#include "cli/cli_profile.h"

#include "platform/qt/qsettings_store.h"
#include "platform/registry/profile_file.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace kelvane {
namespace {

// QSettings fixes its folder at first use; each test runs in a process of
// its own, so the folder set here is the one it takes.
class CliProfileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1), 0); }
    std::string SettingsFile() const { return config.File("KVX/KLVN_MAIN.conf"); }

    test::TempFolder config;
};

// What is read without Qt must be what QSettings reads: a value the check
// takes as verbatim comes back as written, every other is left to QSettings.
TEST_F(CliProfileTest, TheFileIsReadWithoutQtOnlyWhereQSettingsWroteTheValueAsItIs) {
    const struct {
        const char* value;
        bool verbatim;
    } cases[] = {
        {"/home/user/projects", true},
        {"/home/user/ICE projects/\xe6\x97\xa5\xe6\x9c\xac", true},
        {"/a:b@c~d+e-f_g.h%i'j[k]l!m$n&o(p)q*r?s", true},
        {"", true},
        {"/x,y", false},
        {"/p;q", false},
        {"/r=s", false},
        {"/t\"u", false},
        {"C:\\x", false},
        {"trailing ", false},
        {" leading", false},
        {"@at", false},
        {"/tab\there", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(IsVerbatimProfileValue(c.value), c.verbatim);
        ASSERT_TRUE(WriteQSettingsValue("Settings/DefaultDir", c.value));
        const std::optional<std::string> read =
            VerbatimStoredProfileValue("Settings", "DefaultDir");
        if (c.verbatim)
            EXPECT_EQ(read, std::optional<std::string>(c.value)) << test::ReadBytes(SettingsFile());
        else
            EXPECT_EQ(read, std::nullopt);
        EXPECT_EQ(ReadQSettingsValue("Settings/DefaultDir"), std::optional<std::string>(c.value));
    }
    // A key in another group, or one written twice by hand, is not taken.
    test::WriteBytes(SettingsFile(), "[Other]\nDefaultDir=/a\n[Settings]\nKey=1\n");
    EXPECT_EQ(VerbatimStoredProfileValue("Settings", "DefaultDir"), std::nullopt);
    test::WriteBytes(SettingsFile(), "[Settings]\nDefaultDir=/a\nDefaultDir=/b\n");
    EXPECT_EQ(VerbatimStoredProfileValue("Settings", "DefaultDir"), std::nullopt);
    test::WriteBytes(SettingsFile(), "[General]\nx=1\n\n[Settings]\nDefaultDir=/a\n");
    EXPECT_EQ(VerbatimStoredProfileValue("Settings", "DefaultDir"), "/a");
}

// The folder the file holds already is confirmed without the store; any
// other value needs it, and goes through QSettings.
TEST_F(CliProfileTest, OnlyAChangedValueLoadsTheSettingsStore) {
    CliProfile profile;
    EXPECT_EQ(profile.GetProfileString("Settings", "DefaultDir", "none"), "none");
    EXPECT_TRUE(profile.WriteProfileString("Settings", "DefaultDir", "/work/ice"));
    EXPECT_EQ(ReadQSettingsValue("Settings/DefaultDir"), "/work/ice");
    EXPECT_EQ(profile.GetProfileString("Settings", "DefaultDir", ""), "/work/ice");

    CliProfile withoutStore("kelvane-no-such-store.so");
    EXPECT_TRUE(withoutStore.WriteProfileString("Settings", "DefaultDir", "/work/ice"));
    EXPECT_FALSE(withoutStore.WriteProfileString("Settings", "DefaultDir", "/work/other"));
    EXPECT_EQ(withoutStore.GetProfileString("Settings", "DefaultDir", "unread"), "unread");
    EXPECT_EQ(ReadQSettingsValue("Settings/DefaultDir"), "/work/ice");
}

// Held, the writes are read back at once but reach the file only at the
// end, each entry with its newest value.
TEST_F(CliProfileTest, HeldWritesAreReadBackAndWrittenAtTheEnd) {
    ASSERT_TRUE(WriteQSettingsValue("Settings/DefaultDir", "/before"));
    HoldCliProfileWrites();
    CliProfile profile;
    EXPECT_TRUE(profile.WriteProfileString("Settings", "DefaultDir", "/in"));
    EXPECT_TRUE(CliProfile().WriteProfileString("Settings", "DefaultDir", "/out"));
    EXPECT_TRUE(profile.WriteProfileString("CodePages", "x.fsp", "CP932"));
    EXPECT_EQ(profile.GetProfileString("Settings", "DefaultDir", ""), "/out");
    EXPECT_EQ(ReadQSettingsValue("Settings/DefaultDir"), "/before");
    EXPECT_EQ(ReadQSettingsValue("CodePages/x.fsp"), std::nullopt);
    EXPECT_TRUE(WriteHeldCliProfileValues());
    EXPECT_EQ(ReadQSettingsValue("Settings/DefaultDir"), "/out");
    EXPECT_EQ(ReadQSettingsValue("CodePages/x.fsp"), "CP932");
    // No longer held.
    EXPECT_TRUE(profile.WriteProfileString("Settings", "DefaultDir", "/after"));
    EXPECT_EQ(ReadQSettingsValue("Settings/DefaultDir"), "/after");
}

} // namespace
} // namespace kelvane
