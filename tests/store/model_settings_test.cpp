#include "res/string_table.h"
#include "store/fixed_text.h"
#include "store/project_file_fixture.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using test::ProjectFileText;

std::string Row(int first) {
    std::string text;
    for (int i = 0; i < 16; ++i)
        text += std::to_string(first + i) + ",";
    return text;
}

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
        text.Set("MPCNT_" + std::string(1, "0123456789ABCDEF"[row]), Row(row * 100));
    ASSERT_TRUE(Open(text));
    EXPECT_EQ(settings.m_nMaxPage, 15);
    EXPECT_EQ(settings.m_anMpCount[15][15], 1515);

    // With MAXPAGE 0 only row 0 is read; the others keep their values.
    ASSERT_TRUE(Open(ProjectFileText().Set("MAXPAGE", "none").Set("MPCNT_0", Row(-3))));
    EXPECT_EQ(settings.m_nMaxPage, 0);
    EXPECT_EQ(settings.m_anMpCount[0][0], -3);
    EXPECT_EQ(settings.m_anMpCount[1][0], 100);

    ASSERT_FALSE(Open(ProjectFileText().Set("MAXPAGE", "1")));
    EXPECT_EQ(settings.m_strLastError, "Data definition line MPCNT_1 not found.");
    for (const char* maxPage : {"16", "-1", "2147483648"}) {
        settings.m_nMaxPage = 3;
        EXPECT_FALSE(Open(ProjectFileText().Set("MAXPAGE", maxPage))) << maxPage;
        EXPECT_EQ(settings.m_strLastError, "MAXPAGE is not valid");
        EXPECT_EQ(settings.m_nMaxPage, 3);
    }
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
    ASSERT_TRUE(Write());
    EXPECT_EQ(Written("ao_smp.mci") + " " + Written("DEFFILE"), "new.mci (none)");

    // Neither key: the read empties the field, the write fails.
    ASSERT_TRUE(Open(ProjectFileText().Remove("DEFFILE").Remove("MODEL_NAME")));
    EXPECT_EQ(FieldText(settings.m_szDefFile), "");
    EXPECT_EQ(settings.m_strModelName, "");
    EXPECT_FALSE(Write());
    EXPECT_EQ(settings.m_strLastError, "Data definition line ao_smp.mci not found.");
    EXPECT_EQ(Written("MODEL_NAME"), "(none)");

    // The model name chosen since the read is the one written.
    ASSERT_TRUE(Open(ProjectFileText().Set("MODEL_NAME", "KV77")));
    EXPECT_EQ(settings.m_strSelectedModelName, "KV77");
    settings.m_strSelectedModelName = "KV78";
    ASSERT_TRUE(Write());
    EXPECT_EQ(Written("MODEL_NAME"), "KV78");
    EXPECT_EQ(settings.m_strModelName, "KV78");
}

TEST_F(ModelSettingsTest, ValuesLongerThanTheirFieldAreRefusedWhole) {
    // Each read fills the field to its limit, then refuses one character more
    // and keeps nothing of it.
    const std::string mpd(127, 'm'), def(255, 'd');
    ASSERT_TRUE(Open(ProjectFileText().Set("MPDFILE", mpd)));
    EXPECT_FALSE(Open(ProjectFileText().Set("MPDFILE", mpd + "m")));
    EXPECT_EQ(settings.m_strLastError,
              "The value of MPDFILE is too long (at most 127 characters).");
    EXPECT_EQ(FieldText(settings.m_szMpdFile), mpd);
    ASSERT_TRUE(Open(ProjectFileText().Remove("DEFFILE").Set("ao_smp.mci", def)));
    EXPECT_FALSE(Open(ProjectFileText().Remove("DEFFILE").Set("ao_smp.mci", def + "d")));
    EXPECT_EQ(settings.m_strLastError,
              "The value of ao_smp.mci is too long (at most 255 characters).");
    EXPECT_EQ(FieldText(settings.m_szDefFile), def);
}

} // namespace
} // namespace kelvane
