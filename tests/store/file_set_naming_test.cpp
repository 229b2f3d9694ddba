#include "store/file_set_naming.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

ProjectSettings Derived(const char* projectPath) {
    ProjectSettings settings;
    DeriveFileSetNames(settings, projectPath);
    return settings;
}

TEST(FileSetNamingTest, DerivesFolderBaseAndNewNamesOnly) {
    // Path, folder, base name: any three-letter extension goes, only that.
    const char* const cases[][3] = {{"C:\\work\\DEMO.FSP", "C:\\work", "DEMO"},
                                    {"C:\\work\\demo.abc", "C:\\work", "demo"},
                                    {"C:\\work\\demo", "C:\\work", "demo"},
                                    {"C:\\work\\my.demo.fsp", "C:\\work", "my.demo"},
                                    {"C:\\work\\a.b", "C:\\work", "a.b"},
                                    {"demo.fsp", "", "demo"},
                                    {"/home/u/p/demo.fsp", "/home/u/p", "demo"},
                                    {"/demo.fsp", "/", "demo"}};
    for (const auto& [path, dir, base] : cases) {
        ProjectSettings settings;
        settings.m_fileSet.fill({"old.xyz", "", 1, 1, 1});
        DeriveFileSetNames(settings, path);
        EXPECT_EQ(settings.m_strProjectDir + "|" + settings.m_strProjectBaseName,
                  std::string(dir) + "|" + base);
        std::string names;
        for (const ProjectFileEntry& entry : settings.m_fileSet) {
            names += entry.m_strNewName + " ";
            // What was recorded and its marks are left alone.
            EXPECT_EQ(entry.m_strName, "old.xyz");
            EXPECT_TRUE(entry.m_bFullPath && entry.m_bInSync && entry.m_bLoaded);
        }
        const std::string b = base;
        EXPECT_EQ(names, b + ".fsp " + b + ".fsr " + b + ".uer " + b + ".sbu " + b + ".mcr ");
    }
}

TEST(FileSetNamingTest, RecordStoredNameTellsWhetherItFollowsTheProject) {
    const struct {
        const char* project;
        const char* stored;
        bool inSync, fullPath;
    } cases[] = {{"C:\\work\\demo.fsp", "demo.fsr", true, false},
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
                 {"/demo.fsp", "/demo.fsr", true, true},
                 {"/demo.fsp", "/u/demo.fsr", false, true}};
    for (const auto& c : cases) {
        ProjectFileEntry entry{"", "", 1, 1, 0}; // stale marks must be overwritten
        RecordStoredName(entry, Derived(c.project), c.stored);
        EXPECT_EQ(entry.m_strName, c.stored);
        EXPECT_EQ(entry.m_bInSync != 0, c.inSync) << c.stored;
        EXPECT_EQ(entry.m_bFullPath != 0, c.fullPath) << c.stored;
    }
}

TEST(FileSetNamingTest, LoadsFromTheOpenedFolderAndSavesUnderTheNewName) {
    ProjectSettings settings = Derived("C:\\work\\demo.fsp");
    ProjectFileEntry &plain = settings.m_fileSet[FILE_FSR], &full = settings.m_fileSet[FILE_UER];
    RecordStoredName(plain, settings, "demo.fsr");
    RecordStoredName(full, settings, "c:\\WORK\\demo.uer");
    EXPECT_EQ(PathToLoad(plain, settings), "C:\\work\\demo.fsr");
    EXPECT_EQ(PathToLoad(full, settings), "c:\\WORK\\demo.uer");
    EXPECT_EQ(PathToLoad(plain, Derived("/home/u/p/demo.fsp")), "/home/u/p/demo.fsr");
    EXPECT_EQ(PathToLoad(plain, Derived("/demo.fsp")), "/demo.fsr");

    DeriveFileSetNames(settings, "C:\\new\\next.fsp");
    EXPECT_EQ(NameToRecord(plain, settings), "next.fsr");
    EXPECT_EQ(NameToRecord(full, settings), "C:\\new\\next.uer");
    EXPECT_EQ(PathToSave(plain, settings), "C:\\new\\next.fsr");
    EXPECT_EQ(PathToSave(full, settings), "C:\\new\\next.uer");
}

} // namespace
} // namespace kelvane
