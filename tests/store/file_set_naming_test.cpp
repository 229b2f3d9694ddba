// SPDX-License-Identifier: MIT
#include "scoped_environment.h"
#include "store/file_set_naming.h"
#include "store/path_helpers.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kelvane {
namespace {

ProjectSettings Derived(const char* projectPath) {
    ProjectSettings settings;
    DeriveFileSetNames(settings, projectPath);
    return settings;
}

// In CP932 the second byte of some characters is '\\' (ソ is 83 5C, 表 95 5C):
// a project of Japanese Windows must keep such names whole.
TEST(FileSetNamingTest, ASeparatorInsideATwoByteCharacterDoesNotSplit) {
    const test::ScopedEnvironment codePage("KELVANE_CODEPAGE", "CP932");
    const ProjectSettings settings = Derived("C:\\\x95\x5C\\\x83\x5C.fsp");
    EXPECT_EQ(settings.m_strProjectDir, "C:\\\x95\x5C");
    EXPECT_EQ(settings.m_strProjectBaseName, "\x83\x5C");
    EXPECT_EQ(JoinPath("C:\\\x95\x5C", "a"), "C:\\\x95\x5C\\a");
    // The same bytes in a one-byte code page are a name and a separator.
    const test::ScopedEnvironment latin("KELVANE_CODEPAGE", "CP1252");
    EXPECT_EQ(Derived("C:\\\x83\x5C.fsp").m_strProjectDir, "C:\\\x83");
}

TEST(FileSetNamingTest, DerivesFolderBaseAndNewNames) {
    // Path, folder, base name: any three-letter extension goes, only that.
    const char* const cases[][3] = {{"C:\\work\\demo.abc", "C:\\work", "demo"},
                                    {"C:\\work\\demo", "C:\\work", "demo"},
                                    {"C:\\work\\my.demo.fsp", "C:\\work", "my.demo"},
                                    {"C:\\work\\a.b", "C:\\work", "a.b"},
                                    {"demo.fsp", "", "demo"},
                                    {"/demo.fsp", "/", "demo"}};
    for (const auto& [path, dir, base] : cases) {
        const ProjectSettings settings = Derived(path);
        std::string names = settings.m_strProjectDir + "|" + settings.m_strProjectBaseName + "|";
        for (const ProjectFileEntry& entry : settings.m_fileSet)
            names += entry.m_strNewName + " ";
        const std::string b = base;
        EXPECT_EQ(names, std::string(dir) + "|" + b + "|" + b + ".fsp " + b + ".fsr " + b +
                             ".uer " + b + ".sbu " + b + ".mcr ");
    }
}

TEST(FileSetNamingTest, RecordStoredNameTellsWhetherItFollowsTheProject) {
    const std::tuple<const char*, ProjectFileKind, const char*, bool, bool> cases[] = {
        {"C:\\work\\demo.fsp", FILE_FSR, "DEMO.FSR", true, false},
        {"C:\\work\\demo.fsp", FILE_FSR, "c:\\WORK\\demo.fsr", true, true},
        {"C:\\work\\demo.fsp", FILE_FSR, "C:\\other\\demo.fsr", false, true},
        {"C:\\work\\demo.fsp", FILE_FSR, "demo2.fsr", false, false},
        {"C:\\work\\demo.fsp", FILE_FSR, "", false, false},
        {"C:\\work\\.fsp", FILE_FSR, ".fsr", false, false}, // too short even with no base name
        {"/demo.fsp", FILE_FSR, "/demo.fsr", true, true},
        {"/demo.fsp", FILE_FSR, "/u/demo.fsr", false, true},
        // A sibling of another kind, or another extension, is not the kind's own file.
        {"C:\\work\\demo.fsp", FILE_SBU, "demo.Sbu", true, false},
        {"C:\\work\\demo.fsp", FILE_SBU, "demo.mcr", false, false},
        {"C:\\work\\demo.fsp", FILE_SBU, "C:\\work\\demo.fsr", false, true},
        {"C:\\work\\demo.fsp", FILE_MCR, "demo.bak", false, false},
        {"C:\\work\\demo.fsp", FILE_MCR, "demo.sbu", false, false},
        {"C:\\work\\demo.fsp", FILE_MCR, "demo_mcr", false, false},
        {"C:\\work\\demo.fsp", FILE_FSR, "demo.fsp", false, false},
        {"/w/demo.fsp", FILE_UER, "/w/DEMO.UER", true, true}};
    for (const auto& [project, kind, stored, inSync, fullPath] : cases) {
        ProjectSettings settings = Derived(project);
        settings.m_fileSet[kind] = {"", "", 1, 1, 0}; // stale marks must be overwritten
        RecordStoredName(settings, kind, stored);
        const ProjectFileEntry& entry = settings.m_fileSet[kind];
        EXPECT_EQ(entry.m_strName, stored);
        EXPECT_EQ((entry.m_bInSync != 0) + 2 * (entry.m_bFullPath != 0), inSync + 2 * fullPath)
            << stored;
    }
}

TEST(FileSetNamingTest, LoadsFromTheOpenedFolderAndSavesUnderTheNewName) {
    ProjectSettings settings = Derived("C:\\work\\demo.fsp");
    ProjectFileEntry &plain = settings.m_fileSet[FILE_FSR], &full = settings.m_fileSet[FILE_UER];
    RecordStoredName(settings, FILE_FSR, "demo.fsr");
    RecordStoredName(settings, FILE_UER, "c:\\WORK\\demo.uer");
    EXPECT_EQ(PathToLoad(plain, settings), "C:\\work\\demo.fsr");
    EXPECT_EQ(PathToLoad(full, settings), "c:\\WORK\\demo.uer");
    EXPECT_EQ(PathToLoad(plain, Derived("/demo.fsp")), "/demo.fsr");

    DeriveFileSetNames(settings, "C:\\new\\next.fsp");
    EXPECT_EQ(NameToRecord(plain, settings), "next.fsr");
    EXPECT_EQ(NameToRecord(full, settings), "C:\\new\\next.uer");
    EXPECT_EQ(PathToSave(plain, settings), "C:\\new\\next.fsr");
}

TEST(FileSetNamingTest, PathHelpersTakeEitherSeparator) {
    // Case is ignored; a cut is made at the last dot, never without one.
    const std::tuple<const char*, int, bool, const char*> extensions[] = {
        {"ab.MPV", 0, true, "ab.MPV"},
        {"ab.mci", 0, false, "ab.mci"},
        {".mpv", 1, true, ""},
        {"mpv", 1, false, "mpv"}};
    for (const auto& [before, strip, matches, after] : extensions) {
        std::string path = before;
        EXPECT_EQ(CheckExtension(path, "mpv", strip) == 0, matches) << before;
        EXPECT_EQ(path, after) << before;
    }
    const char* const splits[][3] = {{"C:\\work/sub\\abc.mci", "C:\\work/sub\\", "abc.mci"},
                                     {"C:abc.mci", "C:", "abc.mci"},
                                     {"abc.mci", "", "abc.mci"}};
    for (const auto& [path, folder, file] : splits) {
        std::string parts[2] = {"stale", "stale"};
        EXPECT_TRUE(SplitPathPart(parts[0], path, 0) == 0 && SplitPathPart(parts[1], path, 1) == 0);
        EXPECT_EQ(parts[0] + "|" + parts[1], std::string(folder) + "|" + file) << path;
    }
    std::string out = "untouched"; // other parts write nothing
    EXPECT_TRUE(SplitPathPart(out, "D:\\abc.mci", -1) == -2 && out == "untouched");
    // The folder's last separator is reused; '/' when it has none; none after a root.
    const char* const joins[][2] = {
        {"C:\\work/sub", "C:\\work/sub/a"}, {"work", "work/a"}, {"", "a"}, {"/", "/a"}};
    for (const auto& [folder, joined] : joins)
        EXPECT_EQ(JoinPath(folder, "a"), joined);
}

} // namespace
} // namespace kelvane
