// SPDX-License-Identifier: MIT
#include "store/project_file_fixture.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using test::ProjectFileText;

class FileSettingsTest : public ::testing::Test {
protected:
    bool Read(const ProjectFileText& text, const std::string& path) {
        return project.Load(text.Bytes()) && project.definitions.ReadFileSettings(path);
    }
    std::string Written(const std::string& key) {
        std::string value;
        return project.definitions.GetValue(value, key) ? value : "(none)";
    }

    test::ProjectFixture project;
    ProjectFileSet& files = project.settings.m_fileSet;
};

TEST_F(FileSettingsTest, WriteRenamesOnlyInSyncCompanionsAndBothNeedTheRequiredKeys) {
    ASSERT_TRUE(Read(ProjectFileText()
                         .Set("FSR_FSRPATHNAME", "C:\\work\\demo.fsr")
                         .Remove("MACRO_FILE")
                         .Set("ULABEL_FILE", "shared.sbu"),
                     "C:\\work\\demo.fsp"));
    files[FILE_MCR].m_bInSync = 1; // in sync, but without a key
    ASSERT_TRUE(project.definitions.WriteFileSettings("C:\\new\\next.fsp"));
    EXPECT_EQ(Written("PROJECT_NAME") + " " + Written("FSR_FSRPATHNAME") + " " +
                  Written("MACRO_FILE") + " " + Written("ULABEL_FILE"),
              "next.fsp C:\\new\\next.fsr (none) shared.sbu");

    EXPECT_FALSE(Read(ProjectFileText().Remove("FSR_FSRPATHNAME"), project.path));
    ASSERT_TRUE(Read(ProjectFileText().Remove("PROJECT_NAME"), project.path));
    EXPECT_FALSE(project.definitions.WriteFileSettings(project.folder.File("c.fsp")));
}

TEST_F(FileSettingsTest, WholeProjectRoundTripsAndKeepsForeignKeys) {
    const std::string original =
        ProjectFileText().AddLine("[EXTRA]").AddLine("WINDOW=1, 2").Bytes();
    ASSERT_TRUE(project.Load(original) && project.ReadAllGroups());
    EXPECT_EQ(project.SaveAs(project.path), original);
}

} // namespace
} // namespace kelvane
