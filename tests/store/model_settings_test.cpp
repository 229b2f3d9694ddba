#include "res/string_table.h"
#include "store/fixed_text.h"
#include "store/project_file_fixture.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using test::ProjectFileText;
using test::ProjectFixture;

std::string Row(int first) {
    std::string text;
    for (int i = 0; i < 16; ++i)
        text += std::to_string(first + i) + ",";
    return text;
}

class ModelSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { SetResourceLanguage(ResourceLanguage::English); }

    bool OpenModel(const ProjectFileText& text) {
        return project.Load(text.Bytes()) && project.definitions.ReadModelSettings();
    }

    std::string Written(const std::string& key) {
        std::string value;
        EXPECT_TRUE(project.definitions.GetValue(value, key)) << key;
        return value;
    }

    ProjectFixture project;
};

TEST_F(ModelSettingsTest, ReadsTheRowsUpToMaxPage) {
    ProjectFileText text;
    text.Set("MAXPAGE", "15");
    for (int row = 0; row < 16; ++row)
        text.Set("MPCNT_" + std::string(1, "0123456789ABCDEF"[row]), Row(row * 100));
    ASSERT_TRUE(OpenModel(text));
    EXPECT_EQ(project.settings.m_nMaxPage, 15);
    EXPECT_EQ(project.settings.m_anMpCount[10][0], 1000);
    EXPECT_EQ(project.settings.m_anMpCount[15][15], 1515);

    // With MAXPAGE 0 only row 0 is read; the others keep their values.
    ASSERT_TRUE(OpenModel(ProjectFileText().Set("MAXPAGE", "0").Set("MPCNT_0", Row(-3))));
    EXPECT_EQ(project.settings.m_anMpCount[0][0], -3);
    EXPECT_EQ(project.settings.m_anMpCount[1][0], 100);

    ASSERT_TRUE(OpenModel(ProjectFileText().Set("MAXPAGE", "none")));
    EXPECT_EQ(project.settings.m_nMaxPage, 0);

    ASSERT_FALSE(OpenModel(ProjectFileText().Set("MAXPAGE", "1")));
    EXPECT_EQ(project.settings.m_strLastError, "Data definition line MPCNT_1 not found.");
}

TEST_F(ModelSettingsTest, MaxPageOutsideItsRangeFails) {
    for (const char* maxPage : {"16", "-1", "2147483648"}) {
        project.settings.m_nMaxPage = 3;
        EXPECT_FALSE(OpenModel(ProjectFileText().Set("MAXPAGE", maxPage))) << maxPage;
        EXPECT_EQ(project.settings.m_strLastError, "MAXPAGE is not valid");
        EXPECT_EQ(project.settings.m_nMaxPage, 3);
    }
}

TEST_F(ModelSettingsTest, RowsAreParsedLenientlyAndWrittenCanonically) {
    ASSERT_TRUE(OpenModel(
        ProjectFileText().Set("MPCNT_0", "1, 2,\t3,-4, 5,6,7,8,9,10,11,12,13,14,15,16,tail")));
    ASSERT_TRUE(project.definitions.WriteModelSettings());
    EXPECT_EQ(Written("MPCNT_0"), "1,2,3,-4,5,6,7,8,9,10,11,12,13,14,15,16,");

    // A short row stops at the end of its value; the missing numbers are 0.
    ASSERT_TRUE(OpenModel(ProjectFileText().Set("MPCNT_0", "7,8,9")));
    ASSERT_TRUE(project.definitions.WriteModelSettings());
    EXPECT_EQ(Written("MPCNT_0"), "7,8,9,0,0,0,0,0,0,0,0,0,0,0,0,0,");

    const std::string unchanged = Row(-8);
    ASSERT_TRUE(OpenModel(ProjectFileText().Set("MPCNT_0", unchanged)));
    ASSERT_TRUE(project.definitions.WriteModelSettings());
    EXPECT_EQ(Written("MPCNT_0"), unchanged);
    EXPECT_EQ(Written("MAXPAGE"), "0");
}

TEST_F(ModelSettingsTest, MciFileFallsBackToTheOldKey) {
    ASSERT_TRUE(OpenModel(ProjectFileText().Remove("DEFFILE").AddLine("ao_smp.mci=old.mci")));
    EXPECT_EQ(FieldText(project.settings.m_szDefFile), "old.mci");
    CopyToField(project.settings.m_szDefFile, "new.mci");
    ASSERT_TRUE(project.definitions.WriteModelSettings());
    EXPECT_EQ(Written("ao_smp.mci"), "new.mci");
    std::string value;
    EXPECT_FALSE(project.definitions.GetValue(value, "DEFFILE"));

    // Neither key: the read empties the field, the write fails.
    ASSERT_TRUE(OpenModel(ProjectFileText().Remove("DEFFILE")));
    EXPECT_EQ(FieldText(project.settings.m_szDefFile), "");
    EXPECT_FALSE(project.definitions.WriteModelSettings());
    EXPECT_EQ(project.settings.m_strLastError, "Data definition line ao_smp.mci not found.");
}

TEST_F(ModelSettingsTest, ModelNameIsOptionalAndTheSelectedOneWins) {
    ASSERT_TRUE(OpenModel(ProjectFileText().Remove("MODEL_NAME")));
    EXPECT_EQ(project.settings.m_strModelName, "");
    EXPECT_EQ(project.settings.m_strLastError, "Data definition line MODEL_NAME not found.");
    ASSERT_TRUE(project.definitions.WriteModelSettings());
    std::string value;
    EXPECT_FALSE(project.definitions.GetValue(value, "MODEL_NAME"));

    ASSERT_TRUE(OpenModel(ProjectFileText().Set("MODEL_NAME", "KV77")));
    EXPECT_EQ(project.settings.m_strSelectedModelName, "KV77");
    project.settings.m_strSelectedModelName = "KV78";
    ASSERT_TRUE(project.definitions.WriteModelSettings());
    EXPECT_EQ(Written("MODEL_NAME"), "KV78");
    EXPECT_EQ(project.settings.m_strModelName, "KV78");
}

TEST_F(ModelSettingsTest, ValuesLongerThanTheirFieldAreRefusedWhole) {
    const std::string mpd127(127, 'm'), def255(255, 'd');
    ASSERT_TRUE(OpenModel(ProjectFileText().Set("MPDFILE", mpd127).Set("DEFFILE", def255)));
    EXPECT_EQ(FieldText(project.settings.m_szMpdFile), mpd127);
    EXPECT_EQ(FieldText(project.settings.m_szDefFile), def255);

    EXPECT_FALSE(OpenModel(ProjectFileText().Set("MPDFILE", mpd127 + "m")));
    EXPECT_EQ(project.settings.m_strLastError,
              "The value of MPDFILE is too long (at most 127 characters).");
    EXPECT_EQ(FieldText(project.settings.m_szMpdFile), mpd127);

    EXPECT_FALSE(
        OpenModel(ProjectFileText().Remove("DEFFILE").AddLine("ao_smp.mci=" + def255 + "d")));
    EXPECT_EQ(project.settings.m_strLastError,
              "The value of ao_smp.mci is too long (at most 255 characters).");
    EXPECT_EQ(FieldText(project.settings.m_szDefFile), def255);
}

} // namespace
} // namespace kelvane
