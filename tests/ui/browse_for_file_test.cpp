#include "ui/browse_for_file.h"

#include "platform/default_folder.h"
#include "platform/fake_services.h"
#include "res/string_table.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

class BrowseForFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetResourceLanguage(ResourceLanguage::English);
        settings.m_strProjectDir = "D:\\work";
        settings.m_fileSet[FILE_FSP].m_strName = "demo.fsp";
    }

    int Browse(std::string& path, int kind) {
        return BrowseForFile(path, kind, settings, profile, dialogs);
    }

    ProjectSettings settings;
    test::MemoryProfile profile;
    test::ScriptedFileDialogs dialogs;
};

TEST_F(BrowseForFileTest, ProjectDialogsStartInTheProfileFolder) {
    std::string path = "ignored";
    EXPECT_EQ(Browse(path, FILE_DIALOG_PROJECT_OPEN), 0);
    EXPECT_EQ(path, "");
    ASSERT_EQ(dialogs.requests.size(), 1u);
    const FileDialogRequest& open = dialogs.requests[0];
    EXPECT_FALSE(open.save);
    EXPECT_EQ(open.flags, 0x1804u);
    EXPECT_EQ(open.title, "Open Project File");
    EXPECT_EQ(open.filterText, "Project file(*.fsp)");
    EXPECT_EQ(open.pattern, "*.fsp");
    EXPECT_EQ(open.proposedName, "");
    EXPECT_EQ(open.defaultExtension, "");
    // No folder in the profile: the default folder.
    EXPECT_EQ(open.startFolder, DefaultDialogFolder());

    profile.WriteProfileString("Settings", "DefaultDir", "D:\\last");
    dialogs.answer = "E:\\new\\other.fsp";
    path.clear();
    EXPECT_EQ(Browse(path, FILE_DIALOG_PROJECT_SAVE_AS), 1);
    EXPECT_EQ(path, "E:\\new\\other.fsp");
    const FileDialogRequest& saveAs = dialogs.requests[1];
    EXPECT_TRUE(saveAs.save);
    EXPECT_EQ(saveAs.flags, 0x2006u);
    EXPECT_EQ(saveAs.title, "Save Project File As");
    EXPECT_EQ(saveAs.startFolder, "D:\\last");
    EXPECT_EQ(saveAs.proposedName, "D:\\work\\demo.fsp");
    EXPECT_EQ(saveAs.defaultExtension, "fsp");

    // A cancelled save-as leaves the proposed name.
    dialogs.answer.clear();
    EXPECT_EQ(Browse(path, FILE_DIALOG_PROJECT_SAVE_AS), 0);
    EXPECT_EQ(path, "D:\\work\\demo.fsp");
}

TEST_F(BrowseForFileTest, FieldDialogsProposeTheCurrentFileWithTheirExtension) {
    profile.WriteProfileString("Settings", "DefaultDir", "D:\\last");
    const struct {
        int kind;
        const char* current;
        const char* folder;
        const char* name;
        const char* title;
    } cases[] = {
        {FILE_DIALOG_MPV, "D:\\work\\abc.mci", "D:\\work\\", "abc.mpv", "Specify MPV file "},
        {FILE_DIALOG_MPV, "abc.data", "", "abc.data.mpv", "Specify MPV file "},
        {FILE_DIALOG_MCI, "", "", ".mci", "Specify MCI file"},
        {FILE_DIALOG_FRD, "/mnt/f/flash.bin", "/mnt/f/", "flash.frd", "Specify FRD file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current);
        dialogs.requests.clear();
        std::string path = c.current;
        EXPECT_EQ(Browse(path, c.kind), 0);
        EXPECT_EQ(path, ""); // cancelled
        ASSERT_EQ(dialogs.requests.size(), 1u);
        EXPECT_EQ(dialogs.requests[0].startFolder, c.folder);
        EXPECT_EQ(dialogs.requests[0].proposedName, c.name);
        EXPECT_EQ(dialogs.requests[0].title, c.title);
    }

    dialogs.requests.clear();
    std::string path = "kept";
    EXPECT_EQ(Browse(path, 5), 0);
    EXPECT_EQ(path, "kept");
    EXPECT_TRUE(dialogs.requests.empty());
}

} // namespace
} // namespace kelvane
