#include "store/file_set_naming.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

ProjectSettings Derived(const char* projectPath) {
    ProjectSettings settings;
    DeriveFileSetNames(settings, projectPath);
    return settings;
}

TEST(FileSetNamingTest, DerivesFolderBaseAndTheFiveNewNames) {
    const ProjectSettings settings = Derived("C:\\work\\demo.fsp");
    EXPECT_EQ(settings.m_strProjectDir, "C:\\work");
    EXPECT_EQ(settings.m_strProjectBaseName, "demo");
    const char* const names[kProjectFileKindCount] = {"demo.fsp", "demo.fsr", "demo.uer",
                                                      "demo.sbu", "demo.mcr"};
    static_assert(FILE_FSP == 0 && FILE_MCR == 4);
    for (unsigned kind = FILE_FSP; kind <= FILE_MCR; ++kind)
        EXPECT_EQ(settings.m_fileSet[kind].m_strNewName, names[kind]) << kind;
}

TEST(FileSetNamingTest, BaseNameDropsOnlyAThreeLetterExtension) {
    struct Case {
        const char* path;
        const char* dir;
        const char* base;
        const char* fspName;
    };
    const Case cases[] = {
        {"C:\\work\\DEMO.FSP", "C:\\work", "DEMO", "DEMO.fsp"}, // our extension is lower case
        {"C:\\work\\demo.abc", "C:\\work", "demo", "demo.fsp"},
        {"C:\\work\\demo", "C:\\work", "demo", "demo.fsp"},
        {"C:\\work\\my.demo.fsp", "C:\\work", "my.demo", "my.demo.fsp"},
        {"C:\\work\\a.b", "C:\\work", "a.b", "a.b.fsp"},
        {"demo.fsp", "", "demo", "demo.fsp"},
        {"/home/u/p/demo.fsp", "/home/u/p", "demo", "demo.fsp"},
    };
    for (const Case& c : cases) {
        const ProjectSettings settings = Derived(c.path);
        EXPECT_EQ(settings.m_strProjectDir, c.dir) << c.path;
        EXPECT_EQ(settings.m_strProjectBaseName, c.base) << c.path;
        EXPECT_EQ(settings.m_fileSet[FILE_FSP].m_strNewName, c.fspName) << c.path;
        EXPECT_EQ(settings.m_fileSet[FILE_SBU].m_strNewName, std::string(c.base) + ".sbu")
            << c.path;
    }
}

TEST(FileSetNamingTest, DeriveLeavesRecordedNamesAndFlagsAlone) {
    ProjectSettings settings;
    for (ProjectFileEntry& entry : settings.m_fileSet) {
        entry.m_strName = "old.xyz";
        entry.m_bFullPath = entry.m_bInSync = entry.m_bLoaded = 1;
    }
    DeriveFileSetNames(settings, "C:\\work\\demo.fsp");
    for (const ProjectFileEntry& entry : settings.m_fileSet) {
        EXPECT_EQ(entry.m_strName, "old.xyz");
        EXPECT_EQ(entry.m_bFullPath, 1);
        EXPECT_EQ(entry.m_bInSync, 1);
        EXPECT_EQ(entry.m_bLoaded, 1);
    }
}

TEST(FileSetNamingTest, RecordStoredNameTellsWhetherItFollowsTheProject) {
    struct Case {
        const char* project;
        const char* stored;
        bool inSync;
        bool fullPath;
    };
    const Case cases[] = {
        {"C:\\work\\demo.fsp", "demo.fsr", true, false},
        {"C:\\work\\demo.fsp", "DEMO.FSR", true, false},
        {"C:\\work\\demo.fsp", "C:\\work\\demo.fsr", true, true},
        {"C:\\work\\demo.fsp", "c:\\WORK\\demo.fsr", true, true},
        {"C:\\work\\demo.fsp", "C:\\other\\demo.fsr", false, true},
        {"C:\\work\\demo.fsp", "demo2.fsr", false, false},
        {"C:\\work\\demo.fsp", "x.y", false, false},
        {"C:\\work\\demo.fsp", ".fsr", false, false},
        {"C:\\work\\demo.fsp", "", false, false},
        {"C:\\work\\.fsp", ".fsr", false, false}, // too short even with no base name
        {"/home/u/p/demo.fsp", "/home/u/p/demo.fsr", true, true},
        {"/home/u/p/demo.fsp", "/home/u/q/demo.fsr", false, true},
    };
    for (const Case& c : cases) {
        const ProjectSettings settings = Derived(c.project);
        ProjectFileEntry entry;
        entry.m_bFullPath = entry.m_bInSync = 1; // stale flags must be overwritten
        RecordStoredName(entry, settings, c.stored);
        EXPECT_EQ(entry.m_strName, c.stored);
        EXPECT_EQ(entry.m_bInSync != 0, c.inSync) << c.stored;
        EXPECT_EQ(entry.m_bFullPath != 0, c.fullPath) << c.stored;
    }
}

TEST(FileSetNamingTest, LoadsFromTheOpenedFolder) {
    const ProjectSettings settings = Derived("C:\\work\\demo.fsp");
    ProjectFileEntry plain, full;
    RecordStoredName(plain, settings, "demo.fsr");
    RecordStoredName(full, settings, "c:\\WORK\\demo.fsr");
    EXPECT_EQ(PathToLoad(plain, settings), "C:\\work\\demo.fsr");
    EXPECT_EQ(PathToLoad(full, settings), "c:\\WORK\\demo.fsr");

    const ProjectSettings local = Derived("/home/u/p/demo.fsp");
    RecordStoredName(plain, local, "demo.uer");
    EXPECT_EQ(PathToLoad(plain, local), "/home/u/p/demo.uer");
}

TEST(FileSetNamingTest, SavingUnderANewNameRenamesInSyncMembers) {
    ProjectSettings settings = Derived("C:\\work\\demo.fsp");
    ProjectFileEntry& plain = settings.m_fileSet[FILE_FSR];
    ProjectFileEntry& full = settings.m_fileSet[FILE_UER];
    RecordStoredName(plain, settings, "demo.fsr");
    RecordStoredName(full, settings, "C:\\work\\demo.uer");
    ASSERT_TRUE(plain.m_bInSync && full.m_bInSync);

    DeriveFileSetNames(settings, "C:\\new\\next.fsp");
    EXPECT_EQ(NameToRecord(plain, settings), "next.fsr");
    EXPECT_EQ(NameToRecord(full, settings), "C:\\new\\next.uer");
    EXPECT_EQ(PathToSave(plain, settings), "C:\\new\\next.fsr");
    EXPECT_EQ(PathToSave(full, settings), "C:\\new\\next.uer");
    // What was read stays as read until the save records the new name.
    EXPECT_EQ(plain.m_strName, "demo.fsr");
    EXPECT_EQ(full.m_strName, "C:\\work\\demo.uer");
}

} // namespace
} // namespace kelvane
