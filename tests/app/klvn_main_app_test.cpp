#include "app/klvn_main_app.h"

#include "platform/fake_services.h"
#include "platform/message_box_recorder.h"
#include "store/project_file_fixture.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelvane {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

std::string DemoFile(const std::string& extension) {
    return ReadBytes(std::string(KELVANE_DEMO_DIR) + "/demo." + extension);
}

// The demo project file with one line changed.
std::string DemoProjectWith(const std::string& line, const std::string& replacement) {
    std::string fsp = DemoFile("fsp");
    return fsp.replace(fsp.find(line), line.size(), replacement);
}

void CopyDemo(const TempFolder& folder) {
    for (const char* extension : {"fsp", "fsr", "uer", "sbu", "mcr"})
        WriteBytes(folder.File(std::string("demo.") + extension), DemoFile(extension));
}

struct AppFixture {
    test::MessageBoxRecorder messageBoxes;
    test::ScriptedFileDialogs fileDialogs;
    test::RepaintCounter repaint;
    test::MemoryProfile profile;
    CKLVN_MAINApp app{{messageBoxes, fileDialogs, repaint, profile}, "/nonexistent/kelvane.ini"};

    std::string DefaultDir() { return profile.values["Settings/DefaultDir"]; }
    bool Loaded() const { return app.Settings().m_bProjectLoaded; }
    bool FileLoaded(ProjectFileKind kind) const { return app.Settings().m_fileSet[kind].m_bLoaded; }
    // The text of the one message shown since the last call, a report unless
    // `style` says otherwise.
    std::string Message(unsigned style = 0x30) {
        EXPECT_EQ(messageBoxes.shown.size(), 1u);
        if (messageBoxes.shown.empty())
            return "";
        EXPECT_EQ(messageBoxes.shown[0].style, style);
        const std::string text = messageBoxes.shown[0].text;
        messageBoxes.shown.clear();
        return text;
    }
};

// The MCR entry holds a full path, which must follow the project's new folder.
TEST(KlvnMainAppTest, OpensAndSavesTheWholeProjectUnderANewName) {
    TempFolder source, target;
    CopyDemo(source);
    const std::string fsp =
        DemoProjectWith("MACRO_FILE=demo.mcr", "MACRO_FILE=" + source.File("demo.mcr"));
    WriteBytes(source.File("demo.fsp"), fsp);
    AppFixture f;
    f.app.OpenProjectPath(source.File("demo.fsp"));
    ASSERT_TRUE(f.Loaded());
    f.fileDialogs.answer = target.File("renamed.fsp");
    ASSERT_TRUE(f.app.OnSaveProjectAs());
    EXPECT_TRUE(f.messageBoxes.shown.empty());
    EXPECT_EQ(f.DefaultDir(), target.Path());
    EXPECT_EQ(f.app.CurrentProjectPath(), target.File("renamed.fsp"));
    EXPECT_EQ(ReadBytes(source.File("demo.fsp")), fsp);
    EXPECT_EQ(ReadBytes(source.File("demo.fsr")), DemoFile("fsr"));
    for (const std::string extension : {"uer", "sbu", "mcr"})
        EXPECT_EQ(ReadBytes(target.File("renamed." + extension)), DemoFile(extension)) << extension;
    EXPECT_NE(ReadBytes(target.File("renamed.fsp"))
                  .find("MACRO_FILE=" + target.File("renamed.mcr") + "\r\n"),
              std::string::npos);

    AppFixture reopened;
    reopened.app.OpenProjectPath(target.File("renamed.fsp"));
    ASSERT_TRUE(reopened.Loaded());
    EXPECT_TRUE(reopened.messageBoxes.shown.empty());
    for (const ProjectFileKind kind : {FILE_FSR, FILE_UER, FILE_SBU, FILE_MCR})
        EXPECT_TRUE(reopened.FileLoaded(kind)) << kind;
    EXPECT_EQ(reopened.app.Settings().m_fileSet[FILE_UER].m_strName, "renamed.uer");
}

TEST(KlvnMainAppTest, OpenFailuresReportTheReasonAndLeaveNoProjectLoaded) {
    // The folder is remembered once the key groups were read.
    const struct {
        std::string fsp, fsr, text;
        bool remembered, dataRead;
    } cases[] = {
        {test::ProjectFileText().Set("MAXPAGE", "17").Bytes(), DemoFile("fsr"),
         "FSP file read failure.\n(MAXPAGE is not valid)", false, false},
        {test::ProjectFileText().Remove("IP_ADDRESS").Bytes(), DemoFile("fsr"),
         "FSP file read failure.\n(Data definition line IP_ADDRESS not found.)", false, false},
        {DemoFile("fsp"), "", "FSR file read failure.\n(Version information read failure)", true,
         false},
        {DemoProjectWith("FSR_FSRPATHNAME=demo.fsr", "FSR_FSRPATHNAME=other.fsr"), DemoFile("fsr"),
         "FSR file is not in sync.\nFSP file name: demo.fsp\nFSR file name: other.fsr", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TempFolder folder;
        CopyDemo(folder);
        AppFixture f;
        WriteBytes(folder.File("demo.fsp"), c.fsp);
        WriteBytes(folder.File("demo.fsr"), c.fsr);
        f.app.OpenProjectPath(folder.File("demo.fsp"));
        EXPECT_FALSE(f.Loaded());
        EXPECT_EQ(f.Message(), c.text);
        EXPECT_EQ(f.DefaultDir(), c.remembered ? folder.Path() : "");
        EXPECT_FALSE(f.FileLoaded(FILE_FSR));
        for (const ProjectFileKind kind : {FILE_SBU, FILE_MCR})
            EXPECT_EQ(f.FileLoaded(kind), c.dataRead) << kind;
    }
}

TEST(KlvnMainAppTest, RefusedAndFailedSavesWriteNothingAndKeepTheNames) {
    TempFolder source, target;
    CopyDemo(source);
    AppFixture f;
    f.app.OpenProjectPath(source.File("demo.fsp"));
    ASSERT_TRUE(f.Loaded());

    // No to the overwrite question: nothing written, still repainted.
    std::filesystem::remove(source.File("demo.uer"));
    f.messageBoxes.answers = {IDNO};
    const int repaintsBefore = f.repaint.count;
    EXPECT_FALSE(f.app.OnSaveProject());
    EXPECT_EQ(f.Message(0x134), "Overwrite " + source.File("demo.fsp") + " OK?");
    EXPECT_GT(f.repaint.count, repaintsBefore);
    EXPECT_FALSE(std::filesystem::exists(source.File("demo.uer")));

    const std::string ipAddress = f.app.Settings().m_strIpAddress;
    f.app.Settings().m_strIpAddress.clear();
    EXPECT_FALSE(f.app.SaveProject(target.File("renamed.fsp")));
    EXPECT_EQ(f.Message(),
              "Abort the saving for incorrect settings\n(ICE connection (IP address undefined.))");
    EXPECT_TRUE(std::filesystem::is_empty(target.Path()));
    f.app.Settings().m_strIpAddress = ipAddress;

    // An unwritable folder: the project stays where it was.
    const std::string missing = target.File("missing") + "/renamed.fsp";
    EXPECT_FALSE(f.app.SaveProject(missing));
    EXPECT_TRUE(f.Message().starts_with("The project file " + missing + " was not saved.\n("));
    EXPECT_EQ(f.app.CurrentProjectPath(), source.File("demo.fsp"));
    EXPECT_EQ(f.app.Settings().m_fileSet[FILE_FSR].m_strName, "demo.fsr");
    EXPECT_EQ(f.DefaultDir(), source.Path());
    EXPECT_FALSE(std::filesystem::exists(target.File("missing")));

    // A folder in the FSR file's place: its name is not moved to the new one.
    std::filesystem::create_directory(target.File("blocked.fsr"));
    EXPECT_FALSE(f.app.SaveProject(target.File("blocked.fsp")));
    ASSERT_FALSE(f.messageBoxes.shown.empty());
    EXPECT_TRUE(f.messageBoxes.shown[0].text.starts_with(
        "The FSR file " + target.File("blocked.fsr") + " was not saved.\n("));
    EXPECT_EQ(f.app.Settings().m_fileSet[FILE_FSR].m_strName, "demo.fsr");
    EXPECT_EQ(f.app.Settings().m_fileSet[FILE_FSP].m_strName, "blocked.fsp");
    EXPECT_EQ(ReadBytes(target.File("blocked.sbu")), DemoFile("sbu"));
}

// A bare name opens and saves in the current folder.
TEST(KlvnMainAppTest, BareProjectNameMeansTheCurrentFolder) {
    TempFolder folder;
    CopyDemo(folder);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    AppFixture f;
    f.app.OpenProjectPath("demo.fsp");
    const bool loaded = f.Loaded();
    WriteBytes("demo.sbu", "changed on disk");
    f.messageBoxes.answers = {IDYES};
    const bool saved = loaded && f.app.OnSaveProject();
    std::filesystem::current_path(before);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(f.app.Settings().m_strProjectDir, "");
    EXPECT_TRUE(saved);
    EXPECT_EQ(ReadBytes(folder.File("demo.sbu")), DemoFile("sbu"));
}

} // namespace
} // namespace kelvane
