// SPDX-License-Identifier: MIT
#include "res/string_table.h"
#include "store/fixed_text.h"
#include "store/project_file_fixture.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using test::ProjectFileText;

class ModelSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { SetResourceLanguage(ResourceLanguage::English); }

    bool Open(const ProjectFileText& text) {
        return project.Load(text.Bytes()) && project.definitions.ReadModelSettings();
    }
    bool Write() { return project.definitions.WriteModelSettings(); }
    std::string Written(const std::string& key) {
        std::string value;
        return project.definitions.GetValue(value, key) ? value : "(none)";
    }

    test::ProjectFixture project;
    ProjectSettings& settings = project.settings;
};

TEST_F(ModelSettingsTest, ReadsTheRowsUpToMaxPage) {
    ProjectFileText text;
    text.Set("MAXPAGE", "15");
    for (int row = 0; row < 16; ++row)
        text.Set("MPCNT_" + std::string(1, "0123456789ABCDEF"[row]), std::to_string(row) + ",");
    ASSERT_TRUE(Open(text));
    EXPECT_EQ(settings.m_anMpCount[15][0], 15);
    for (const char* maxPage : {"1", "16", "-1"}) // the file has no MPCNT_1
        EXPECT_FALSE(Open(ProjectFileText().Set("MAXPAGE", maxPage))) << maxPage;
}

TEST_F(ModelSettingsTest, RowsAreParsedLenientlyAndWrittenCanonically) {
    const std::pair<std::string, std::string> cases[] = {
        {"1, 2,\t3,-4, 5,6,7,8,9,10,11,12,13,14,15,16,tail",
         "1,2,3,-4,5,6,7,8,9,10,11,12,13,14,15,16,"},
        {"7,8,9", "7,8,9,0,0,0,0,0,0,0,0,0,0,0,0,0,"}}; // missing numbers are 0
    for (const auto& [read, written] : cases) {
        ASSERT_TRUE(Open(ProjectFileText().Set("MPCNT_0", read)) && Write());
        EXPECT_EQ(Written("MPCNT_0") + " " + Written("MAXPAGE"), written + " 0");
    }
}

TEST_F(ModelSettingsTest, OptionalKeysAndTheOldMciKey) {
    ASSERT_TRUE(Open(ProjectFileText().Remove("DEFFILE").AddLine("ao_smp.mci=old.mci")));
    EXPECT_EQ(FieldText(settings.m_szDefFile), "old.mci");
    CopyToField(settings.m_szDefFile, "new.mci");
    settings.m_strSelectedModelName = "KV78"; // the model name chosen since the read
    ASSERT_TRUE(Write());
    EXPECT_EQ(Written("ao_smp.mci") + Written("DEFFILE") + Written("MODEL_NAME"),
              "new.mci(none)KV78");

    // Neither key: the read empties the field, the write fails.
    ASSERT_TRUE(Open(ProjectFileText().Remove("DEFFILE")));
    EXPECT_EQ(FieldText(settings.m_szDefFile), "");
    EXPECT_FALSE(Write());
}

TEST_F(ModelSettingsTest, ValuesLongerThanTheirFieldAreRefusedWhole) {
    // Each field takes a value at its limit and refuses one character more.
    const std::string mpd(127, 'm'), def(255, 'd');
    ASSERT_TRUE(Open(ProjectFileText().Set("MPDFILE", mpd)));
    EXPECT_FALSE(Open(ProjectFileText().Set("MPDFILE", mpd + "m")));
    EXPECT_EQ(settings.m_strLastError,
              "The value of MPDFILE is too long (at most 127 characters).");
    ASSERT_TRUE(Open(ProjectFileText().Remove("DEFFILE").Set("ao_smp.mci", def)));
    EXPECT_FALSE(Open(ProjectFileText().Remove("DEFFILE").Set("ao_smp.mci", def + "d")));
}

} // namespace
} // namespace kelvane
