// SPDX-License-Identifier: MIT
#include "dialogs/installed_models.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace kelvane {
namespace {

using namespace std::string_literals;
using test::TempFolder;
using test::WriteBytes;
using Strings = std::vector<std::string>;

const std::string kProductKey = "[HKEY_LOCAL_MACHINE\\Software\\KVX\\ferroSCOPE]\n";
const std::string kMachineSettings = "[HKEY_LOCAL_MACHINE\\Software\\KVX\\LinkDesk\\Settings]\n";
const std::string kUserSettings = "[HKEY_CURRENT_USER\\Software\\KVX\\LinkDesk\\Settings]\n";

std::string Hex(const std::string& bytes) {
    std::string hex;
    for (const char c : bytes) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02x,", static_cast<unsigned char>(c));
        hex += byte;
    }
    if (!hex.empty())
        hex.pop_back();
    return hex;
}

class InstalledModelsTest : public testing::Test {
protected:
    void SetUp() override { ResetSettingsRootForTesting(); }
    void TearDown() override {
        SetRegistrySourcesForTesting(std::nullopt);
        ResetSettingsRootForTesting();
    }

    // Every case has files of its own: the registry keeps what it parsed
    // until a file changes, and a rewrite within one clock tick may not show.
    std::string Write(const std::string& text) {
        const std::string path = m_folder.File(std::to_string(++m_files) + ".reg");
        WriteBytes(path, text);
        return path;
    }

    void UseFiles(Strings machine, Strings user) {
        SetRegistrySourcesForTesting(RegistrySources{std::move(machine), std::move(user)});
    }

    Strings Models(int expectedResult) {
        Strings models;
        EXPECT_EQ(GetInstalledModels(models), expectedResult);
        return models;
    }

    TempFolder m_folder;
    int m_files = 0;
};

TEST_F(InstalledModelsTest, TheMachineRootNeedsTheExactProductNameIn64Bytes) {
    const std::string name = "\"FSWG_NAME\"=";
    const std::string padded64 = "ferroSCOPE"s + std::string(54, '\0');
    const struct {
        const char* what;
        std::string value;
        int root;
    } cases[] = {
        {"exact", name + "\"ferroSCOPE\"", 2},
        {"other case", name + "\"FERROSCOPE\"", 1},
        {"64 characters", name + "\"" + std::string(64, 'f') + "\"", 1},
        // The type does not count; the text is read up to its NUL, when the
        // data fits into 64 bytes.
        {"expandable", "\"fswg_name\"=hex(2):" + Hex("ferroSCOPE"s + '\0'), 2},
        {"binary of 64 bytes", name + "hex:" + Hex(padded64), 2},
        {"binary of 65 bytes", name + "hex:" + Hex(padded64 + '\0'), 1},
        {"binary without a NUL", name + "hex:" + Hex("ferroSCOPE"), 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        UseFiles({Write("REGEDIT4\n" + kProductKey + c.value + "\n")}, {});
        EXPECT_EQ(GetSettingsRoot(), c.root);
    }

    // Missing key; the 32-bit view of a Wine prefix; the first file holding
    // the key decides even without the name.
    const std::string hive = Write("WINE REGISTRY Version 2\n"
                                   "[Software\\\\Wow6432Node\\\\KVX\\\\ferroSCOPE] 1700000000\n"
                                   "\"FSWG_NAME\"=\"ferroSCOPE\"\n");
    UseFiles({m_folder.File("missing.reg"), Write("REGEDIT4\n" + kUserSettings)}, {});
    EXPECT_EQ(GetSettingsRoot(), 1);
    UseFiles({m_folder.File("missing.reg"), hive}, {});
    EXPECT_EQ(GetSettingsRoot(), 2);
    UseFiles({Write("REGEDIT4\n" + kProductKey), hive}, {});
    EXPECT_EQ(GetSettingsRoot(), 1);
}

TEST_F(InstalledModelsTest, TheRootIsChosenOnceAndTheListReadThere) {
    const std::string machine =
        Write("REGEDIT4\n" + kProductKey + "\"FSWG_NAME\"=\"ferroSCOPE\"\n" + kMachineSettings +
              "\"instdir_LM\"=\"C:\\\\lm\"\n");
    const std::string user = Write("REGEDIT4\n" + kUserSettings + "\"instdir_CU\"=\"C:\\\\cu\"\n");
    UseFiles({machine}, {user});
    EXPECT_EQ(CachedSettingsRoot(), 0);
    EXPECT_EQ(Models(1), Strings{"LM"});
    EXPECT_EQ(CachedSettingsRoot(), 2);

    // The product is gone, but the choice stands until the process ends.
    const std::string bare = Write("REGEDIT4\n" + kMachineSettings + "\"instdir_LM2\"=\"x\"\n");
    UseFiles({bare}, {user});
    EXPECT_EQ(Models(1), Strings{"LM2"});
    ResetSettingsRootForTesting();
    EXPECT_EQ(Models(1), Strings{"CU"});
    EXPECT_EQ(CachedSettingsRoot(), 1);
    // No settings key under the chosen root.
    UseFiles({bare}, {Write("REGEDIT4\n[HKEY_CURRENT_USER\\Software\\KVX\\LinkDesk]\n")});
    EXPECT_EQ(Models(-1), Strings{});
}

TEST_F(InstalledModelsTest, OnlyStringValuesThatFitAnnounceModels) {
    const std::string text1023(1023, 'p');
    const std::string exported = Write("REGEDIT4\n" + kUserSettings +
                                       "\"instdir_SH2A\"=\"C:\\\\KVX\\\\SH2A\"\n"
                                       "\"instdir_H8S\"=\"C:\\\\KVX\\\\H8S\"\n"
                                       "\"version\"=\"7.2\"\n"
                                       "\"old_instdir_X\"=\"x\"\n"
                                       "\"instdir_Q\"=dword:00000001\n"
                                       "\"instdir_Fits\"=\"" +
                                       text1023 + "\"\n\"instdir_TooLong\"=\"" + text1023 +
                                       "p\"\n"
                                       "\"instdir_E\"=hex(2):43,3a,00\n"
                                       "\"instdir_M\"=hex(7):43,00,00\n");
    UseFiles({}, {exported});
    EXPECT_EQ(Models(2), (Strings{"Fits", "H8S", "SH2A", "instdir_X"}));
    Strings names{"kept"};
    Strings data{"kept"};
    EXPECT_TRUE(EnumStringValues("Software\\KVX\\LinkDesk\\Settings", names, data));
    EXPECT_EQ(names, (Strings{"kept", "instdir_SH2A", "instdir_H8S", "version", "old_instdir_X",
                              "instdir_Fits"}));
    EXPECT_EQ(data, (Strings{"kept", "C:\\KVX\\SH2A", "C:\\KVX\\H8S", "7.2", "x", text1023}));

    // Wine's expandable string, in the prefix's file after a user file
    // without the key.
    const std::string hive = Write("WINE REGISTRY Version 2\n"
                                   "[Software\\\\KVX\\\\LinkDesk\\\\Settings] 1700000000\n"
                                   "#time=1d9a0b0c0d0e0f0\n"
                                   "\"instdir_E\"=str(2):\"%ProgramFiles%\\\\KVX\"\n"
                                   "\"instdir_B2\"=\"C:\\\\b2\"\n"
                                   "\"instdir_B10\"=\"C:\\\\b10\"\n");
    UseFiles({}, {Write("REGEDIT4\n[HKEY_CURRENT_USER\\Software]\n"), hive});
    EXPECT_EQ(Models(2), (Strings{"B10", "B2"}));
}

TEST_F(InstalledModelsTest, AKeyWithoutModelsOrValuesGivesNone) {
    UseFiles({}, {Write("REGEDIT4\n" + kUserSettings + "\"version\"=\"7.2\"\n")});
    EXPECT_EQ(Models(-1), Strings{});
    Strings names{"kept"};
    Strings data;
    UseFiles({}, {Write("REGEDIT4\n" + kUserSettings + "\"Count\"=dword:00000001\n")});
    EXPECT_TRUE(EnumStringValues("Software\\KVX\\LinkDesk\\Settings", names, data));
    EXPECT_EQ(names, Strings{"kept"});
    // No values at all, or no key: false, the lists as they were.
    UseFiles({}, {Write("REGEDIT4\n" + kUserSettings)});
    EXPECT_FALSE(EnumStringValues("Software\\KVX\\LinkDesk\\Settings", names, data));
    EXPECT_FALSE(EnumStringValues("Software\\KVX\\Nothing", names, data));
    EXPECT_EQ(names, Strings{"kept"});
    EXPECT_EQ(data, Strings{});
    EXPECT_EQ(Models(-1), Strings{});
}

TEST(SortStringListTest, BubblesByUnsignedBytesKeepingEqualTextsInOrder) {
    const struct {
        Strings in;
        Strings out;
    } cases[] = {
        {{"sh2", "SH1"}, {"SH1", "sh2"}},
        {{"B2", "B10"}, {"B10", "B2"}},
        {{"z", "\xE9", "a", "Z"}, {"Z", "a", "z", "\xE9"}},
        {{"b", "a", "b", "a", ""}, {"", "a", "a", "b", "b"}},
        {{"only"}, {"only"}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        Strings list = c.in;
        SortStringList(list);
        EXPECT_EQ(list, c.out);
    }
    // Equal texts are never swapped: their storage stays where it was.
    Strings same{std::string(40, 'k'), std::string(40, 'k')};
    const char* first = same[0].data();
    SortStringList(same);
    EXPECT_EQ(same[0].data(), first);
}

} // namespace
} // namespace kelvane
