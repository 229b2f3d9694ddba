#include "app/klvn_main_app.h"

#include "platform/fake_services.h"
#include "platform/message_box_recorder.h"
#include "store/project_file_fixture.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace kelvane {
namespace {

using test::MessageBoxRecorder;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

const char* const kDemoExtensions[] = {"fsp", "fsr", "uer", "sbu", "mcr"};

std::string DemoFile(const std::string& extension) {
    return ReadBytes(std::string(KELVANE_DEMO_DIR) + "/demo." + extension);
}

// The demo project copied into `folder`.
void CopyDemo(const TempFolder& folder) {
    for (const char* extension : kDemoExtensions)
        WriteBytes(folder.File(std::string("demo.") + extension), DemoFile(extension));
}

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

struct AppFixture {
    MessageBoxRecorder messageBoxes;
    test::ScriptedFileDialogs fileDialogs;
    test::RepaintCounter repaint;
    test::MemoryProfile profile;
    // No module table: discovery finds nothing, which these tests do not need.
    CKLVN_MAINApp app{{messageBoxes, fileDialogs, repaint, profile}, "/nonexistent/kelvane.ini"};

    std::string DefaultDir() {
        return profile.values[test::MemoryProfile::Key("Settings", "DefaultDir")];
    }
    bool Loaded() const { return app.Settings().m_bProjectLoaded; }
    bool CompanionLoaded(ProjectFileKind kind) const {
        return app.Settings().m_fileSet[kind].m_bLoaded;
    }
};

constexpr unsigned kReportStyle = 0x30;

TEST(KlvnMainAppTest, OpensAndSavesTheWholeProjectUnderANewName) {
    TempFolder source;
    TempFolder target;
    CopyDemo(source);
    AppFixture f;

    // Only a path ending in ".fsp" is opened; anything else is ignored
    // silently, though the window is still repainted.
    f.app.OpenProjectPath(source.File("demo.fsr"));
    EXPECT_FALSE(f.Loaded());
    EXPECT_TRUE(f.messageBoxes.shown.empty());
    EXPECT_EQ(f.repaint.count, 1);

    f.app.OpenProjectPath(source.File("demo.fsp"));
    ASSERT_TRUE(f.Loaded());
    EXPECT_TRUE(f.messageBoxes.shown.empty());
    EXPECT_EQ(f.DefaultDir(), source.Path());
    for (const ProjectFileKind kind : {FILE_FSR, FILE_UER, FILE_SBU, FILE_MCR})
        EXPECT_TRUE(f.CompanionLoaded(kind)) << kind;
    EXPECT_EQ(f.app.CurrentProjectPath(), source.File("demo.fsp"));

    f.fileDialogs.answer = target.File("renamed.fsp");
    ASSERT_TRUE(f.app.OnSaveProjectAs());
    EXPECT_TRUE(f.messageBoxes.shown.empty());
    EXPECT_EQ(f.DefaultDir(), target.Path());
    EXPECT_EQ(f.app.CurrentProjectPath(), target.File("renamed.fsp"));
    EXPECT_TRUE(f.Loaded());

    // Data files are copied byte for byte; the originals are left alone.
    for (const char* extension : {"uer", "sbu", "mcr"}) {
        EXPECT_EQ(ReadBytes(target.File(std::string("renamed.") + extension)), DemoFile(extension))
            << extension;
        EXPECT_EQ(ReadBytes(source.File(std::string("demo.") + extension)), DemoFile(extension));
    }
    EXPECT_EQ(ReadBytes(source.File("demo.fsp")), DemoFile("fsp"));
    EXPECT_EQ(ReadBytes(source.File("demo.fsr")), DemoFile("fsr"));

    const std::string projectFile = ReadBytes(target.File("renamed.fsp"));
    EXPECT_NE(projectFile.find("PROJECT_NAME=renamed.fsp\r\n"), std::string::npos);
    EXPECT_NE(projectFile.find("FSR_FSRPATHNAME=renamed.fsr\r\n"), std::string::npos);
    EXPECT_NE(projectFile.find("MACRO_FILE=renamed.mcr\r\n"), std::string::npos);
    EXPECT_NE(projectFile.find("ULABEL_FILE=renamed.sbu\r\n"), std::string::npos);
    EXPECT_NE(projectFile.find("TARGET_NAME=talvexNOVA\r\n"), std::string::npos);

    // The saved set opens as a project of its own, every file in sync.
    AppFixture reopened;
    reopened.app.OpenProjectPath(target.File("renamed.fsp"));
    ASSERT_TRUE(reopened.Loaded());
    EXPECT_TRUE(reopened.messageBoxes.shown.empty());
    for (const ProjectFileKind kind : {FILE_FSR, FILE_UER, FILE_SBU, FILE_MCR}) {
        EXPECT_TRUE(reopened.app.Settings().m_fileSet[kind].m_bInSync) << kind;
        EXPECT_TRUE(reopened.CompanionLoaded(kind)) << kind;
    }
    EXPECT_EQ(reopened.app.Settings().m_fileSet[FILE_UER].m_strName, "renamed.uer");
}

TEST(KlvnMainAppTest, FullPathEntriesAreRewrittenWithTheNewFolder) {
    TempFolder source;
    TempFolder target;
    CopyDemo(source);
    std::string fsp = DemoFile("fsp");
    const std::string bareMacro = "MACRO_FILE=demo.mcr";
    fsp.replace(fsp.find(bareMacro), bareMacro.size(), "MACRO_FILE=" + source.File("demo.mcr"));
    WriteBytes(source.File("demo.fsp"), fsp);

    AppFixture f;
    f.app.OpenProjectPath(source.File("demo.fsp"));
    ASSERT_TRUE(f.Loaded());
    ASSERT_TRUE(f.CompanionLoaded(FILE_MCR));
    ASSERT_TRUE(f.app.SaveProject(target.File("moved.fsp")));

    EXPECT_NE(
        ReadBytes(target.File("moved.fsp")).find("MACRO_FILE=" + target.File("moved.mcr") + "\r\n"),
        std::string::npos);
    EXPECT_EQ(ReadBytes(target.File("moved.mcr")), DemoFile("mcr"));
}

TEST(KlvnMainAppTest, OpenFailuresReportTheReasonAndLeaveNoProjectLoaded) {
    TempFolder folder;
    CopyDemo(folder);
    const std::string path = folder.File("demo.fsp");

    {
        // A good open first: a failed one after it must not leave it usable.
        AppFixture f;
        f.app.OpenProjectPath(path);
        ASSERT_TRUE(f.Loaded());
        f.app.OpenProjectPath(folder.File("missing.fsp"));
        EXPECT_FALSE(f.Loaded());
        ASSERT_EQ(f.messageBoxes.shown.size(), 1u);
        EXPECT_EQ(f.messageBoxes.shown[0].text, "FSP file read failure.\n(Can not read.)");
        EXPECT_EQ(f.messageBoxes.shown[0].caption, "Report");
        EXPECT_EQ(f.messageBoxes.shown[0].style, kReportStyle);
    }
    {
        test::ProjectFileText text;
        text.Set("MAXPAGE", "17");
        WriteBytes(folder.File("badpage.fsp"), text.Bytes());
        AppFixture f;
        f.app.OpenProjectPath(folder.File("badpage.fsp"));
        EXPECT_FALSE(f.Loaded());
        ASSERT_EQ(f.messageBoxes.shown.size(), 1u);
        EXPECT_EQ(f.messageBoxes.shown[0].text, "FSP file read failure.\n(MAXPAGE is not valid)");
        // The folder is remembered only once the key groups were read.
        EXPECT_TRUE(f.profile.values.empty());
    }
    {
        test::ProjectFileText missingKey;
        missingKey.Remove("IP_ADDRESS");
        test::ProjectFileText unknownModel;
        unknownModel.Set("TARGET_NAME", "talvexOMEGA");
        for (const auto& [bytes, text] :
             {std::pair{
                  missingKey.Bytes(),
                  std::string(
                      "FSP file read failure.\n(Data definition line IP_ADDRESS not found.)")},
              std::pair{unknownModel.Bytes(), std::string()}}) {
            WriteBytes(folder.File("variant.fsp"), bytes);
            AppFixture f;
            f.app.OpenProjectPath(folder.File("variant.fsp"));
            EXPECT_FALSE(f.Loaded());
            ASSERT_EQ(f.messageBoxes.shown.size(), 1u);
            const std::string& shown = f.messageBoxes.shown[0].text;
            if (!text.empty()) {
                EXPECT_EQ(shown, text);
            }
            // An unknown model has no text of its own: the parentheses hold
            // whatever an earlier step of the open left.
            EXPECT_EQ(shown.rfind("FSP file read failure.\n(", 0), 0u) << shown;
            EXPECT_EQ(shown.back(), ')');
            EXPECT_TRUE(f.profile.values.empty());
        }
    }
    {
        // An FSR file that cannot be read stops the open before the data
        // files; the folder is remembered already.
        WriteBytes(folder.File("demo.fsr"), "");
        AppFixture f;
        f.app.OpenProjectPath(path);
        EXPECT_FALSE(f.Loaded());
        ASSERT_EQ(f.messageBoxes.shown.size(), 1u);
        EXPECT_EQ(f.messageBoxes.shown[0].text.rfind("FSR file read failure.\n(", 0), 0u)
            << f.messageBoxes.shown[0].text;
        EXPECT_EQ(f.messageBoxes.shown[0].caption, "Report");
        EXPECT_EQ(f.DefaultDir(), folder.Path());
        for (const ProjectFileKind kind : {FILE_UER, FILE_SBU, FILE_MCR})
            EXPECT_FALSE(f.CompanionLoaded(kind)) << kind;
        WriteBytes(folder.File("demo.fsr"), DemoFile("fsr"));
    }
}

TEST(KlvnMainAppTest, FsrFileOfAnotherProjectWarnsAndStillReadsTheDataFiles) {
    TempFolder folder;
    CopyDemo(folder);
    std::string fsp = DemoFile("fsp");
    const std::string key = "FSR_FSRPATHNAME=demo.fsr";
    fsp.replace(fsp.find(key), key.size(), "FSR_FSRPATHNAME=other.fsr");
    WriteBytes(folder.File("demo.fsp"), fsp);

    AppFixture f;
    f.app.OpenProjectPath(folder.File("demo.fsp"));
    EXPECT_FALSE(f.Loaded());
    ASSERT_EQ(f.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(f.messageBoxes.shown[0].text,
              "FSR file is not in sync.\nFSP file name: demo.fsp\nFSR file name: other.fsr");
    EXPECT_EQ(f.messageBoxes.shown[0].style, kReportStyle);
    EXPECT_EQ(f.DefaultDir(), folder.Path());
    EXPECT_FALSE(f.CompanionLoaded(FILE_FSR));
    EXPECT_TRUE(f.CompanionLoaded(FILE_SBU));
    EXPECT_TRUE(f.CompanionLoaded(FILE_MCR));
}

TEST(KlvnMainAppTest, RefusedAndFailedSavesWriteNothingAndKeepTheNames) {
    TempFolder source;
    TempFolder target;
    CopyDemo(source);
    AppFixture f;
    f.app.OpenProjectPath(source.File("demo.fsp"));
    ASSERT_TRUE(f.Loaded());

    // Answering No to the overwrite question writes nothing but repaints.
    std::filesystem::remove(source.File("demo.uer"));
    f.messageBoxes.answers = {IDNO};
    const int repaintsBefore = f.repaint.count;
    EXPECT_FALSE(f.app.OnSaveProject());
    ASSERT_EQ(f.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(f.messageBoxes.shown[0].text, "Overwrite " + source.File("demo.fsp") + " OK?");
    EXPECT_EQ(f.messageBoxes.shown[0].caption, "Confirm");
    EXPECT_EQ(f.messageBoxes.shown[0].style, 0x134u);
    EXPECT_GT(f.repaint.count, repaintsBefore);
    EXPECT_FALSE(Exists(source.File("demo.uer")));
    f.messageBoxes.shown.clear();

    // Settings that may not be saved: the report, and no file anywhere.
    const std::string ipAddress = f.app.Settings().m_strIpAddress;
    f.app.Settings().m_strIpAddress.clear();
    EXPECT_FALSE(f.app.SaveProject(target.File("renamed.fsp")));
    ASSERT_EQ(f.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(f.messageBoxes.shown[0].text,
              "Abort the saving for incorrect settings\n(ICE connection (IP address undefined.))");
    EXPECT_TRUE(std::filesystem::is_empty(target.Path()));
    f.app.Settings().m_strIpAddress = ipAddress;
    f.messageBoxes.shown.clear();

    // A folder that cannot be written: reported, and the project stays where
    // it was, so a later plain save still goes to the original files.
    const std::string missingFolder = target.File("missing");
    EXPECT_FALSE(f.app.SaveProject(missingFolder + "/renamed.fsp"));
    ASSERT_EQ(f.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(f.messageBoxes.shown[0].text.rfind(
                  "The project file " + missingFolder + "/renamed.fsp was not saved.\n(", 0),
              0u)
        << f.messageBoxes.shown[0].text;
    EXPECT_EQ(f.messageBoxes.shown[0].caption, "Report");
    EXPECT_EQ(f.app.CurrentProjectPath(), source.File("demo.fsp"));
    EXPECT_EQ(f.app.Settings().m_fileSet[FILE_FSR].m_strName, "demo.fsr");
    EXPECT_EQ(f.DefaultDir(), source.Path());
    EXPECT_FALSE(Exists(missingFolder));
    f.messageBoxes.shown.clear();

    // The FSR file cannot be written (a folder stands in its place): the
    // report names it, and its recorded name is not moved to the new one.
    std::filesystem::create_directory(target.File("blocked.fsr"));
    EXPECT_FALSE(f.app.SaveProject(target.File("blocked.fsp")));
    ASSERT_FALSE(f.messageBoxes.shown.empty());
    EXPECT_EQ(f.messageBoxes.shown[0].text.rfind(
                  "The FSR file " + target.File("blocked.fsr") + " was not saved.\n(", 0),
              0u)
        << f.messageBoxes.shown[0].text;
    EXPECT_EQ(f.app.Settings().m_fileSet[FILE_FSR].m_strName, "demo.fsr");
    EXPECT_EQ(f.app.Settings().m_fileSet[FILE_FSP].m_strName, "blocked.fsp");
    EXPECT_EQ(ReadBytes(target.File("blocked.sbu")), DemoFile("sbu"));
}

TEST(KlvnMainAppTest, BareProjectNameMeansTheCurrentFolder) {
    TempFolder folder;
    CopyDemo(folder);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    AppFixture f;
    f.app.OpenProjectPath("demo.fsp");
    const bool loaded = f.Loaded();
    const std::string projectDir = f.app.Settings().m_strProjectDir;
    f.messageBoxes.answers = {IDYES};
    WriteBytes("demo.sbu", "changed on disk");
    const bool saved = loaded && f.app.OnSaveProject();
    std::filesystem::current_path(before);

    ASSERT_TRUE(loaded);
    EXPECT_EQ(projectDir, "");
    EXPECT_TRUE(saved);
    EXPECT_EQ(f.messageBoxes.shown.size(), 1u);
    // The save wrote the buffer read at the open back into the current folder.
    EXPECT_EQ(ReadBytes(folder.File("demo.sbu")), DemoFile("sbu"));
}

} // namespace
} // namespace kelvane
