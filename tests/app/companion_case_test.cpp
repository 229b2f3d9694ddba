// SPDX-License-Identifier: MIT
#include "app/app_with_fakes.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "test_files.h"
#include "view/summary_drawing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sys/stat.h>

namespace kelvane {
namespace {

using test::ReadBytes;
using test::WriteBytes;

const char* const kExtensions[] = {"fsp", "fsr", "uer", "sbu", "mcr"};

std::string DemoBytes(const std::string& extension) {
    return ReadBytes(std::string(KELVANE_DEMO_DIR) + "/demo." + extension);
}

std::map<std::string, std::string> FolderContents(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().filename().string()] = ReadBytes(entry.path().string());
    return files;
}

ino_t Inode(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

// The project file's text with the value of `key` replaced.
std::string WithValue(std::string text, const std::string& key, const std::string& value) {
    const size_t start = text.find("\n" + key + "=");
    if (start == std::string::npos)
        return text;
    const size_t begin = start + key.size() + 2;
    return text.replace(begin, text.find_first_of("\r\n", begin) - begin, value);
}

// The demo project written under the names `disk` gives by extension; the
// project file's keys name its companions as `keys` says (the demo's own
// lower-case names otherwise).
struct Layout {
    std::string name;
    std::map<std::string, std::string> disk;
    std::map<std::string, std::string> keys; // FSR_FSRPATHNAME, ULABEL_FILE, MACRO_FILE
    std::vector<std::string> recorded;       // FSR, UER, SBU, MCR as the project says
};

void WriteLayout(const test::TempFolder& folder, const Layout& layout) {
    for (const std::string extension : kExtensions) {
        std::string bytes = DemoBytes(extension);
        if (extension == "fsp")
            for (const auto& [key, value] : layout.keys)
                bytes = WithValue(bytes, key, value);
        WriteBytes(folder.File(layout.disk.at(extension)), bytes);
    }
}

std::vector<std::string> CompanionRows(const ProjectSettings& settings) {
    const std::vector<std::string> lines = SummaryLines(SummaryDrawing(settings));
    return lines.size() >= 4 ? std::vector<std::string>(lines.end() - 4, lines.end())
                             : std::vector<std::string>{};
}

// Every companion and the project file itself found on disk in another
// letter case than the project names it: loaded, the recorded names kept as
// written, a plain save rewriting the files found (no second file in the
// recorded case), Save As carrying all the data along under the new name.
TEST(CompanionCaseTest, FilesInAnotherCaseAreLoadedAndSavedWhereTheyAre) {
    KELVANE_SKIP_ON_WINDOWS("Windows file names are one name in any letter case");
    SetResourceLanguage(ResourceLanguage::English);
    const Layout layouts[] = {
        {"upper-case files",
         {{"fsp", "demo.fsp"},
          {"fsr", "DEMO.FSR"},
          {"uer", "DEMO.UER"},
          {"sbu", "DEMO.SBU"},
          {"mcr", "Demo.Mcr"}},
         {},
         {"demo.fsr", "demo.uer", "demo.sbu", "demo.mcr"}},
        {"upper-case names",
         {{"fsp", "demo.fsp"},
          {"fsr", "demo.fsr"},
          {"uer", "Demo.uer"},
          {"sbu", "demo.sbu"},
          {"mcr", "demo.mcr"}},
         {{"FSR_FSRPATHNAME", "DEMO.FSR"}, {"ULABEL_FILE", "DEMO.SBU"}, {"MACRO_FILE", "DEMO.MCR"}},
         {"DEMO.FSR", "demo.uer", "DEMO.SBU", "DEMO.MCR"}},
        {"upper-case project file",
         {{"fsp", "DEMO.FSP"},
          {"fsr", "demo.fsr"},
          {"uer", "demo.uer"},
          {"sbu", "demo.sbu"},
          {"mcr", "demo.mcr"}},
         {},
         {"demo.fsr", "demo.uer", "demo.sbu", "demo.mcr"}},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        test::TempFolder folder;
        WriteLayout(folder, layout);
        const auto written = FolderContents(folder.Path());

        test::AppWithFakes<> f;
        f.app.OpenProjectPath(folder.File(layout.disk.at("fsp")));
        const ProjectSettings& settings = f.app.Settings();
        ASSERT_TRUE(settings.m_bProjectLoaded);
        for (unsigned kind = FILE_FSR; kind <= FILE_MCR; ++kind) {
            EXPECT_TRUE(settings.m_fileSet[kind].m_bLoaded) << kind;
            EXPECT_EQ(settings.m_fileSet[kind].m_strName, layout.recorded[kind - FILE_FSR]);
        }
        for (const std::string& row : CompanionRows(settings))
            EXPECT_TRUE(row.starts_with("[SYNC]") && row.find('(') == std::string::npos) << row;

        std::map<std::string, ino_t> inodes;
        for (const auto& [name, bytes] : written)
            inodes[name] = Inode(folder.File(name));
        f.messageBoxes.answers = {IDYES};
        ASSERT_TRUE(f.app.OnSaveProject());
        const auto saved = FolderContents(folder.Path());
        ASSERT_EQ(saved.size(), written.size());
        for (const auto& [name, bytes] : written) {
            ASSERT_EQ(saved.count(name), 1u) << name;
            EXPECT_NE(Inode(folder.File(name)), inodes[name]) << name << " was not rewritten";
        }
        for (const std::string extension : {"uer", "sbu", "mcr"})
            EXPECT_EQ(saved.at(layout.disk.at(extension)), DemoBytes(extension));

        test::TempFolder elsewhere;
        ASSERT_TRUE(f.app.SaveProject(elsewhere.File("next.fsp")));
        EXPECT_EQ(FolderContents(folder.Path()), saved);
        const auto copied = FolderContents(elsewhere.Path());
        EXPECT_EQ(copied.size(), 5u);
        for (const std::string extension : {"uer", "sbu", "mcr"})
            EXPECT_EQ(copied.count("next." + extension) ? copied.at("next." + extension) : "",
                      DemoBytes(extension));
        test::AppWithFakes<> reopened;
        reopened.app.OpenProjectPath(elsewhere.File("next.fsp"));
        ASSERT_TRUE(reopened.app.Settings().m_bProjectLoaded);
        for (unsigned kind = FILE_FSR; kind <= FILE_MCR; ++kind)
            EXPECT_TRUE(reopened.app.Settings().m_fileSet[kind].m_bLoaded) << kind;
    }
}

// Two files that both have a companion's name in another case: neither is
// taken, and the summary says why; Save As refuses rather than leave the
// data behind, and a plain save leaves both as they are. Two FSR files so
// named stop the open with the reason.
TEST(CompanionCaseTest, SeveralFilesInAnotherCaseAreNoneOfThem) {
    KELVANE_SKIP_ON_WINDOWS("Windows file names are one name in any letter case");
    SetResourceLanguage(ResourceLanguage::English);
    test::TempFolder folder;
    for (const std::string extension : kExtensions)
        WriteBytes(folder.File("demo." + extension), DemoBytes(extension));
    std::filesystem::rename(folder.File("demo.sbu"), folder.File("DEMO.SBU"));
    WriteBytes(folder.File("Demo.sbu"), "another");
    const auto before = FolderContents(folder.Path());
    const std::string several = LoadResourceString(IDS_NAME_MATCHES_SEVERAL);

    test::AppWithFakes<> f;
    f.app.OpenProjectPath(folder.File("demo.fsp"));
    const ProjectSettings& settings = f.app.Settings();
    ASSERT_TRUE(settings.m_bProjectLoaded);
    EXPECT_FALSE(settings.m_fileSet[FILE_SBU].m_bLoaded);
    const std::vector<std::string> rows = CompanionRows(settings);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[2],
              "[NOT SYNC] SBU file: demo.sbu(" + several + ": " + folder.File("demo.sbu") + ")");

    test::TempFolder elsewhere;
    f.messageBoxes.shown.clear();
    EXPECT_FALSE(f.app.SaveProject(elsewhere.File("next.fsp")));
    ASSERT_EQ(f.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(f.messageBoxes.shown[0].text,
              FormatResourceString(IDS_COMPANION_NOT_READ, {folder.File("demo.sbu")}));
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere.Path()));
    EXPECT_EQ(FolderContents(folder.Path()), before);

    ASSERT_TRUE(f.app.SaveProject(folder.File("demo.fsp")));
    const auto saved = FolderContents(folder.Path());
    EXPECT_EQ(saved.size(), before.size());
    EXPECT_EQ(saved.at("DEMO.SBU"), before.at("DEMO.SBU"));
    EXPECT_EQ(saved.at("Demo.sbu"), "another");

    std::filesystem::rename(folder.File("demo.fsr"), folder.File("DEMO.FSR"));
    WriteBytes(folder.File("Demo.Fsr"), DemoBytes("fsr"));
    f.messageBoxes.shown.clear();
    f.app.OpenProjectPath(folder.File("demo.fsp"));
    EXPECT_FALSE(settings.m_bProjectLoaded);
    ASSERT_EQ(f.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(f.messageBoxes.shown[0].text, LoadResourceString(IDS_FSR_READ_FAILURE) + "(" +
                                                LoadResourceString(IDS_CANNOT_READ) + " " +
                                                several + ": " + folder.File("demo.fsr") + ")");
}

} // namespace
} // namespace kelvane
