// SPDX-License-Identifier: MIT
#include "ui/browse_for_file.h"

#include "platform/fake_services.h"
#include "platform/places/default_folder.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

// Project dialogs start in the profile's folder, else the default one; the
// others propose the current file's name with their extension in its folder.
// A cancel empties the field, but for save-as, which keeps the proposal.
// Unknown kinds show nothing and leave the field.
TEST(BrowseForFileTest, EachKindProposesItsFolderAndName) {
    const std::string fallback = DefaultDialogFolder();
    const struct {
        int kind;
        const char* profileFolder;
        std::string current, folder, proposed, afterCancel;
    } cases[] = {
        {FILE_DIALOG_PROJECT_OPEN, "", "ignored", fallback, "", ""},
        {FILE_DIALOG_PROJECT_SAVE_AS, "D:\\last", "", "D:\\last", "D:\\work\\demo.fsp",
         "D:\\work\\demo.fsp"},
        {FILE_DIALOG_MPV, "D:\\last", "D:\\work\\abc.mci", "D:\\work\\", "abc.mpv", ""},
        {FILE_DIALOG_MPV, "D:\\last", "abc.data", "", "abc.data.mpv", ""},
        {FILE_DIALOG_MCI, "D:\\last", "", "", ".mci", ""},
        {FILE_DIALOG_FRD, "D:\\last", "/mnt/f/flash.bin", "/mnt/f/", "flash.frd", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        ProjectSettings settings;
        settings.m_strProjectDir = "D:\\work";
        settings.m_fileSet[FILE_FSP].m_strName = "demo.fsp";
        test::MemoryProfile profile;
        profile.WriteProfileString("Settings", "DefaultDir", c.profileFolder);
        test::ScriptedFileDialogs dialogs;
        std::string path = c.current;
        EXPECT_EQ(BrowseForFile(path, c.kind, settings, profile, dialogs), 0);
        EXPECT_EQ(path, c.afterCancel);
        ASSERT_EQ(dialogs.requests.size(), 1u);
        EXPECT_EQ(dialogs.requests[0].save, c.kind == FILE_DIALOG_PROJECT_SAVE_AS);
        EXPECT_EQ(dialogs.requests[0].startFolder, c.folder);
        EXPECT_EQ(dialogs.requests[0].proposedName, c.proposed);

        dialogs.answer = "E:\\new\\other";
        EXPECT_EQ(BrowseForFile(path, c.kind, settings, profile, dialogs), 1);
        EXPECT_EQ(path, "E:\\new\\other");
        EXPECT_EQ(BrowseForFile(path, c.kind == 0 ? -1 : 5, settings, profile, dialogs), 0);
        EXPECT_EQ(path, "E:\\new\\other");
        EXPECT_EQ(dialogs.requests.size(), 2u);
    }
}

} // namespace
} // namespace kelvane
