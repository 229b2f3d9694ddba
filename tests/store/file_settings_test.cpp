#include "res/string_table.h"
#include "store/project_file_fixture.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using test::ProjectFileText;

class FileSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { SetResourceLanguage(ResourceLanguage::English); }

    std::string Written(const std::string& key) {
        std::string value;
        return project.definitions.GetValue(value, key) ? value : "(none)";
    }

    test::ProjectFixture project;
    ProjectFileSet& files = project.settings.m_fileSet;
};

TEST_F(FileSettingsTest, ReadsTheCompanionNamesAndTheirMarks) {
    const std::string fullFsr = project.folder.File("DEMO.FSR");
    ASSERT_TRUE(project.Load(ProjectFileText()
                                 .Set("FSR_FSRPATHNAME", fullFsr)
                                 .Set("MACRO_FILE", "other.mcr")
                                 .Remove("ULABEL_FILE")
                                 .Bytes()));
    ASSERT_TRUE(project.definitions.ReadFileSettings(project.path));
    EXPECT_EQ(files[FILE_FSP].m_strName, "demo.fsp");
    EXPECT_EQ(files[FILE_FSR].m_strName, fullFsr);
    EXPECT_TRUE(files[FILE_FSR].m_bInSync && files[FILE_FSR].m_bFullPath);
    EXPECT_FALSE(files[FILE_MCR].m_bInSync);
    EXPECT_EQ(files[FILE_SBU].m_strName, ""); // optional
    EXPECT_FALSE(files[FILE_SBU].m_bInSync);

    ASSERT_TRUE(project.Load(ProjectFileText().Remove("FSR_FSRPATHNAME").Bytes()));
    EXPECT_FALSE(project.definitions.ReadFileSettings(project.path));
    EXPECT_EQ(project.settings.m_strLastError, "Data definition line FSR_FSRPATHNAME not found.");
}

TEST_F(FileSettingsTest, WriteRenamesOnlyInSyncCompanionsAndNeedsTheRequiredKeys) {
    ASSERT_TRUE(project.Load(ProjectFileText()
                                 .Set("FSR_FSRPATHNAME", "C:\\work\\demo.fsr")
                                 .Remove("MACRO_FILE")
                                 .Set("ULABEL_FILE", "shared.sbu")
                                 .Bytes()));
    ASSERT_TRUE(project.definitions.ReadFileSettings("C:\\work\\demo.fsp"));
    files[FILE_MCR].m_bInSync = 1; // in sync, but without a key
    ASSERT_TRUE(project.definitions.WriteFileSettings("C:\\new\\next.fsp"));
    EXPECT_EQ(Written("PROJECT_NAME") + " " + Written("FSR_FSRPATHNAME") + " " +
                  Written("MACRO_FILE") + " " + Written("ULABEL_FILE"),
              "next.fsp C:\\new\\next.fsr (none) shared.sbu");

    ASSERT_TRUE(project.Load(ProjectFileText().Remove("PROJECT_NAME").Bytes()));
    ASSERT_TRUE(project.definitions.ReadFileSettings(project.path));
    EXPECT_FALSE(project.definitions.WriteFileSettings(project.folder.File("c.fsp")));
    EXPECT_EQ(Written("FSR_FSRPATHNAME"), "demo.fsr");
}

TEST_F(FileSettingsTest, WholeProjectRoundTripsAndKeepsForeignKeys) {
    const std::string original =
        ProjectFileText().AddLine("[EXTRA]").AddLine("WINDOW=1, 2").Bytes();
    ASSERT_TRUE(project.Load(original) && project.ReadAllGroups());
    EXPECT_EQ(project.SaveAs(project.path), original);
}

} // namespace
} // namespace kelvane
