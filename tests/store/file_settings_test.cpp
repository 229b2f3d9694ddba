#include "res/string_table.h"
#include "store/project_file_fixture.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using test::ProjectFileText;
using test::ProjectFixture;

class FileSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { SetResourceLanguage(ResourceLanguage::English); }

    std::string Written(const std::string& key) {
        std::string value;
        EXPECT_TRUE(project.definitions.GetValue(value, key)) << key;
        return value;
    }

    ProjectFixture project;
};

TEST_F(FileSettingsTest, ReadsTheCompanionNamesAndTheirMarks) {
    const std::string fullFsr = project.folder.File("DEMO.FSR");
    ASSERT_TRUE(project.Load(ProjectFileText()
                                 .Set("FSR_FSRPATHNAME", fullFsr)
                                 .Set("MACRO_FILE", "other.mcr")
                                 .Remove("ULABEL_FILE")
                                 .Bytes()));
    ASSERT_TRUE(project.definitions.ReadFileSettings(project.path));
    const ProjectSettings& s = project.settings;
    EXPECT_EQ(s.m_strProjectDir, project.folder.Path());
    EXPECT_EQ(s.m_fileSet[FILE_FSP].m_strName, "demo.fsp");
    EXPECT_EQ(s.m_fileSet[FILE_FSR].m_strName, fullFsr);
    EXPECT_TRUE(s.m_fileSet[FILE_FSR].m_bInSync);
    EXPECT_TRUE(s.m_fileSet[FILE_FSR].m_bFullPath);
    EXPECT_FALSE(s.m_fileSet[FILE_MCR].m_bInSync);
    EXPECT_EQ(s.m_fileSet[FILE_SBU].m_strName, "");
    EXPECT_FALSE(s.m_fileSet[FILE_SBU].m_bInSync);
    EXPECT_EQ(s.m_strLastError, "Data definition line ULABEL_FILE not found.");

    ASSERT_TRUE(project.Load(ProjectFileText().Remove("FSR_FSRPATHNAME").Bytes()));
    EXPECT_FALSE(project.definitions.ReadFileSettings(project.path));
    EXPECT_EQ(s.m_strLastError, "Data definition line FSR_FSRPATHNAME not found.");
}

TEST_F(FileSettingsTest, SaveUnderNewNameRenamesOnlyInSyncCompanions) {
    ASSERT_TRUE(project.Load(ProjectFileText()
                                 .Set("FSR_FSRPATHNAME", "C:\\work\\demo.fsr")
                                 .Set("MACRO_FILE", "demo.mcr")
                                 .Set("ULABEL_FILE", "shared.sbu")
                                 .Bytes()));
    const std::string windowsPath = "C:\\work\\demo.fsp";
    ASSERT_TRUE(project.definitions.ReadFileSettings(windowsPath));
    ASSERT_TRUE(project.definitions.WriteFileSettings("C:\\new\\next.fsp"));
    EXPECT_EQ(Written("PROJECT_NAME"), "next.fsp");
    EXPECT_EQ(Written("FSR_FSRPATHNAME"), "C:\\new\\next.fsr");
    EXPECT_EQ(Written("MACRO_FILE"), "next.mcr");
    EXPECT_EQ(Written("ULABEL_FILE"), "shared.sbu");
    // The recorded names change only once the files are saved.
    EXPECT_EQ(project.settings.m_fileSet[FILE_MCR].m_strName, "demo.mcr");
}

TEST_F(FileSettingsTest, WriteNeedsProjectAndFsrKeysButPassesOverOptionalOnes) {
    ASSERT_TRUE(project.Load(ProjectFileText().Remove("MACRO_FILE").Bytes()));
    ASSERT_TRUE(project.definitions.ReadFileSettings(project.path));
    project.settings.m_fileSet[FILE_MCR].m_bInSync = 1; // as if it had a key
    EXPECT_TRUE(project.definitions.WriteFileSettings(project.folder.File("b.fsp")));
    EXPECT_EQ(Written("ULABEL_FILE"), "b.sbu");
    std::string value;
    EXPECT_FALSE(project.definitions.GetValue(value, "MACRO_FILE"));

    ASSERT_TRUE(project.Load(ProjectFileText().Remove("PROJECT_NAME").Bytes()));
    ASSERT_TRUE(project.definitions.ReadFileSettings(project.path));
    EXPECT_FALSE(project.definitions.WriteFileSettings(project.folder.File("c.fsp")));
    EXPECT_EQ(Written("FSR_FSRPATHNAME"), "demo.fsr");
}

TEST_F(FileSettingsTest, WholeProjectRoundTripsAndKeepsForeignKeys) {
    const std::string original =
        ProjectFileText().AddLine("[EXTRA]").AddLine("WINDOW=1, 2").Bytes();
    ASSERT_TRUE(project.Load(original));
    ASSERT_TRUE(project.ReadAllGroups());
    EXPECT_EQ(project.SaveAs(project.path), original);
}

} // namespace
} // namespace kelvane
