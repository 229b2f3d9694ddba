// SPDX-License-Identifier: MIT
#include "app/app_with_fakes.h"
#include "app/klvn_main_app.h"
#include "dialogs/scripted_dialog_runner.h"
#include "res/dialog_ids.h"

#include "platform/fake_services.h"
#include "platform/message_box_recorder.h"
#include "scoped_environment.h"
#include "store/project_file_fixture.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// An application over a copy of the demo project in a folder of its own.
struct AppFixture {
    AppFixture() {
        for (const std::string extension : {"fsp", "fsr", "uer", "sbu", "mcr"})
            WriteBytes(folder.File("demo." + extension), DemoFile(extension));
    }
    bool Open(const std::string& path) {
        app.OpenProjectPath(path);
        return app.Settings().m_bProjectLoaded;
    }
    std::string DefaultDir() { return profile.values["Settings/DefaultDir"]; }
    // The text of the one message shown since the last call, a report unless
    // `style` says otherwise.
    std::string Message(unsigned style = 0x30) {
        EXPECT_EQ(messageBoxes.shown.size(), 1u);
        const auto box =
            messageBoxes.shown.empty() ? test::MessageBoxRecorder::Shown{} : messageBoxes.shown[0];
        messageBoxes.shown.clear();
        EXPECT_EQ(box.style, style);
        return box.text;
    }

    TempFolder folder;
    test::MessageBoxRecorder messageBoxes;
    test::ScriptedFileDialogs fileDialogs;
    test::RepaintCounter repaint;
    test::MemoryProfile profile;
    ScriptedDialogRunner dialogs;
    CKLVN_MAINApp app{{messageBoxes, fileDialogs, repaint, profile, dialogs},
                      "/nonexistent/kelvane.ini"};
};

TEST(KlvnMainAppTest, OpenFailuresReportTheReasonAndLeaveNoProjectLoaded) {
    // The folder is remembered once the key groups were read.
    const struct {
        std::string fsp, fsr, text;
        bool remembered;
    } cases[] = {
        {test::ProjectFileText().Set("MAXPAGE", "17").Bytes(), DemoFile("fsr"),
         "FSP file read failure.\n(MAXPAGE is not valid)", false},
        {DemoFile("fsp"), "", "FSR file read failure.\n(Version information read failure)", true},
        {DemoProjectWith("FSR_FSRPATHNAME=demo.fsr", "FSR_FSRPATHNAME=other.fsr"), DemoFile("fsr"),
         "FSR file is not in sync.\nFSP file name: demo.fsp\nFSR file name: other.fsr", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        AppFixture f;
        WriteBytes(f.folder.File("demo.fsp"), c.fsp);
        WriteBytes(f.folder.File("demo.fsr"), c.fsr);
        EXPECT_FALSE(f.Open(f.folder.File("demo.fsp")));
        EXPECT_EQ(f.Message(), c.text);
        EXPECT_EQ(f.DefaultDir(), c.remembered ? f.folder.Path() : "");
    }
}

// Failed saves leave the project and the target alone; then the whole
// project under a new name, its full-path MCR entry following the new folder.
TEST(KlvnMainAppTest, SavesWriteTheWholeProjectOrNothingAndKeepTheNames) {
    AppFixture f;
    TempFolder target;
    WriteBytes(f.folder.File("demo.fsp"),
               DemoProjectWith("MACRO_FILE=demo.mcr", "MACRO_FILE=" + f.folder.File("demo.mcr")));
    ASSERT_TRUE(f.Open(f.folder.File("demo.fsp")));

    f.messageBoxes.answers = {IDNO};
    EXPECT_FALSE(f.app.OnSaveProject());
    EXPECT_EQ(f.Message(0x134), "Overwrite " + f.folder.File("demo.fsp") + " OK?");

    // A folder in the project file's place: nothing is written, not even before.
    std::filesystem::create_directory(target.File("blocked.fsp"));
    EXPECT_FALSE(f.app.SaveProject(target.File("blocked.fsp")));
    EXPECT_TRUE(f.Message().starts_with("The project file " + target.File("blocked.fsp") +
                                        " was not saved.\n("));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(target.Path()), {}), 1);
    EXPECT_EQ(f.app.CurrentProjectPath(), f.folder.File("demo.fsp"));

    f.fileDialogs.answer = target.File("renamed.fsp");
    ASSERT_TRUE(f.app.OnSaveProjectAs()); // silent: the next Message() sees one box
    EXPECT_EQ(f.DefaultDir(), target.Path());
    EXPECT_NE(ReadBytes(target.File("renamed.fsp"))
                  .find("MACRO_FILE=" + target.File("renamed.mcr") + "\r\n"),
              std::string::npos);

    // A folder in the FSR file's place: its name is not moved to the new one.
    std::filesystem::create_directory(target.File("other.fsr"));
    EXPECT_FALSE(f.app.SaveProject(target.File("other.fsp")));
    EXPECT_TRUE(
        f.Message().starts_with("The FSR file " + target.File("other.fsr") + " was not saved.\n("));
    EXPECT_EQ(f.app.Settings().m_fileSet[FILE_FSR].m_strName, "renamed.fsr");
}

// A converted or edited project is not replaced without a word: Cancel keeps
// it, Yes saves it first and goes on only when the save worked, No gives it
// up. A save or an open clears the mark; a cancelled dialog does not set it.
TEST(KlvnMainAppTest, AModifiedProjectIsSavedOrGivenUpOnlyWhenTheUserSaysSo) {
    TempFolder folder;
    for (const std::string extension : {"fsp", "fsr", "uer", "sbu", "mcr"}) {
        WriteBytes(folder.File("demo." + extension), DemoFile(extension));
        WriteBytes(folder.File("other." + extension), DemoFile(extension));
    }
    const std::string demo = folder.File("demo.fsp"), other = folder.File("other.fsp");
    const std::string question = "Save changes to " + demo + "?";
    test::AppWithFakes<> f(std::string(KELVANE_PROGRAM_DIR) + "/kelvane.ini");
    const auto Questions = [&f](const std::string& text) {
        return std::count_if(f.messageBoxes.shown.begin(), f.messageBoxes.shown.end(),
                             [&](const auto& box) { return box.text == text; });
    };
    f.app.OpenProjectPath(demo);
    ASSERT_TRUE(f.app.Settings().m_bProjectLoaded);
    EXPECT_FALSE(f.app.IsModified());
    EXPECT_TRUE(f.app.SaveModified()); // nothing to ask

    f.dialogs.SetScript(IDD_COMM_SETTING, [](CDialog& dialog, MemoryDialogControls& controls) {
        controls.Click(dialog, IDCANCEL);
    });
    f.app.OnCommSetting();
    EXPECT_FALSE(f.app.IsModified());
    f.messageBoxes.answers = {IDYES, IDOK};
    ASSERT_TRUE(f.app.ConvertProject(3)); // talvexNOVA to talvexMAX
    EXPECT_TRUE(f.app.IsModified());

    f.messageBoxes.shown.clear();
    f.messageBoxes.answers = {IDCANCEL};
    f.app.OpenProjectPath(other);
    EXPECT_EQ(f.app.CurrentProjectPath(), demo);
    EXPECT_EQ(f.app.Settings().m_nIceModel, uint32_t{ICE_TALVEX_MAX});
    ASSERT_EQ(f.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(f.messageBoxes.shown[0].text, question);
    EXPECT_EQ(f.messageBoxes.shown[0].style, unsigned{MB_YESNOCANCEL | MB_ICONEXCLAMATION});
    // Yes saves at once, without asking again whether to overwrite; then the
    // other project opens unmarked.
    f.messageBoxes.shown.clear();
    f.messageBoxes.answers = {IDYES};
    f.app.OpenProjectPath(other);
    EXPECT_EQ(f.app.CurrentProjectPath(), other);
    EXPECT_FALSE(f.app.IsModified());
    EXPECT_NE(ReadBytes(demo).find("TARGET_NAME=talvexMAX"), std::string::npos);
    ASSERT_FALSE(f.messageBoxes.shown.empty());
    EXPECT_EQ(f.messageBoxes.shown[0].text, question);
    EXPECT_EQ(Questions("Overwrite " + demo + " OK?"), 0);

    // OK on the values as shown is no change; a changed value is, and No
    // gives it up.
    f.dialogs.SetScript(IDD_COMM_SETTING, [](CDialog& dialog, MemoryDialogControls& controls) {
        controls.Click(dialog, IDOK);
    });
    f.app.OnCommSetting();
    EXPECT_FALSE(f.app.IsModified());
    f.dialogs.SetScript(
        IDD_FILE_MODEL_SETTING,
        [](CDialog& dialog, MemoryDialogControls& controls) { controls.Click(dialog, IDOK); });
    f.app.OnFileModelSetting();
    EXPECT_FALSE(f.app.IsModified());
    EXPECT_EQ(f.dialogs.RunCount(IDD_FILE_MODEL_SETTING), 1);
    f.dialogs.SetScript(IDD_COMM_SETTING, [](CDialog& dialog, MemoryDialogControls& controls) {
        controls.SetWindowText(IDC_TIMEOUT, "60");
        controls.Click(dialog, IDOK);
    });
    f.app.OnCommSetting();
    EXPECT_TRUE(f.app.IsModified());
    f.messageBoxes.answers = {IDNO};
    f.app.OpenProjectPath(demo);
    EXPECT_EQ(f.app.CurrentProjectPath(), demo);
    EXPECT_FALSE(f.app.IsModified());
    EXPECT_EQ(ReadBytes(other), DemoFile("fsp"));
    EXPECT_EQ(Questions("Save changes to " + other + "?"), 1);
}

// A project copied from C:\work keeps that folder in its full-path names. The
// open asks once whether to use the files beside it; Yes loads them and
// marks the project modified, and the save records the new folder; No, or
// the command line without --relink, leaves it not in sync and says where it
// came from. A file missing beside the project is not taken.
TEST(KlvnMainAppTest, AMovedProjectUsesTheFilesBesideItOnlyWhenTheUserSaysSo) {
    const auto moved = [] {
        std::string fsp = DemoFile("fsp");
        for (const std::string key : {"FSR_FSRPATHNAME=", "MACRO_FILE=", "ULABEL_FILE="})
            fsp.insert(fsp.find(key) + key.size(), "C:\\work\\");
        return fsp;
    };
    using Answer = CKLVN_MAINApp::MovedProject;
    const struct {
        Answer answer;
        int pressed;
        bool withoutMcr;
        bool loaded;
        size_t questions;
    } cases[] = {
        {Answer::Ask, IDYES, false, true, 1},
        {Answer::Ask, IDNO, false, false, 1},
        {Answer::Relink, 0, true, true, 0},
        {Answer::Keep, 0, false, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer) * 10 + c.pressed);
        AppFixture f;
        WriteBytes(f.folder.File("demo.fsp"), moved());
        if (c.withoutMcr)
            std::filesystem::remove(f.folder.File("demo.mcr"));
        f.app.SetMovedProjectAnswer(c.answer);
        if (c.pressed != 0)
            f.messageBoxes.answers = {c.pressed};
        EXPECT_EQ(f.Open(f.folder.File("demo.fsp")), c.loaded);
        const size_t questions = static_cast<size_t>(std::count_if(
            f.messageBoxes.shown.begin(), f.messageBoxes.shown.end(), [](const auto& box) {
                return box.text == "This project was moved from C:\\work. Use the files beside it?";
            }));
        EXPECT_EQ(questions, c.questions);
        EXPECT_EQ(f.app.IsModified(), c.loaded);
        EXPECT_EQ(f.app.MovedFrom(), c.loaded ? "" : "C:\\work");
        const ProjectSettings& settings = f.app.Settings();
        if (!c.loaded)
            continue;
        EXPECT_TRUE(settings.m_fileSet[FILE_UER].m_bLoaded);
        EXPECT_TRUE(settings.m_fileSet[FILE_SBU].m_bLoaded);
        EXPECT_NE(settings.m_fileSet[FILE_MCR].m_bInSync, c.withoutMcr);

        f.messageBoxes.answers = {IDYES}; // overwrite
        ASSERT_TRUE(f.app.OnSaveProject());
        const std::string fsp = ReadBytes(f.folder.File("demo.fsp"));
        EXPECT_NE(fsp.find("FSR_FSRPATHNAME=" + f.folder.File("demo.fsr")), std::string::npos);
        EXPECT_NE(fsp.find("ULABEL_FILE=" + f.folder.File("demo.sbu")), std::string::npos);
        EXPECT_NE(ReadBytes(f.folder.File("demo.fsr")).find(f.folder.File("demo.fsp")),
                  std::string::npos);
        f.messageBoxes.shown.clear();
        EXPECT_TRUE(f.Open(f.folder.File("demo.fsp")));
        EXPECT_TRUE(f.messageBoxes.shown.empty());
        EXPECT_FALSE(f.app.IsModified());
    }
}

// A project inside a Wine prefix records its folder by drive letter: it
// opens in sync without a question, and a save in place keeps those names.
TEST(KlvnMainAppTest, AProjectInAWinePrefixOpensInPlaceAndKeepsItsDriveNames) {
    KELVANE_SKIP_ON_WINDOWS("drive letters name themselves on Windows");
    TempFolder prefix;
    std::filesystem::create_directories(prefix.File("drive_c/work"));
    std::filesystem::create_directories(prefix.File("dosdevices"));
    std::filesystem::create_directory_symlink("../drive_c", prefix.File("dosdevices/c:"));
    const test::ScopedEnvironment wine("WINEPREFIX", prefix.Path().c_str());
    const std::string work = std::filesystem::canonical(prefix.File("drive_c/work")).string();
    std::string fsp = DemoFile("fsp");
    for (const std::string key : {"FSR_FSRPATHNAME=", "MACRO_FILE=", "ULABEL_FILE="})
        fsp.insert(fsp.find(key) + key.size(), "C:\\work\\");
    WriteBytes(work + "/demo.fsp", fsp);
    for (const std::string extension : {"fsr", "uer", "sbu", "mcr"})
        WriteBytes(work + "/demo." + extension, DemoFile(extension));

    AppFixture f;
    ASSERT_TRUE(f.Open(work + "/demo.fsp"));
    EXPECT_TRUE(f.messageBoxes.shown.empty());
    EXPECT_FALSE(f.app.IsModified());
    for (const ProjectFileKind kind : {FILE_FSR, FILE_UER, FILE_SBU, FILE_MCR})
        EXPECT_TRUE(f.app.Settings().m_fileSet[kind].m_bLoaded) << kind;
    f.messageBoxes.answers = {IDYES}; // overwrite
    ASSERT_TRUE(f.app.OnSaveProject());
    EXPECT_EQ(ReadBytes(work + "/demo.fsp"), fsp);
    EXPECT_NE(ReadBytes(work + "/demo.fsr").find("C:\\work\\demo.fsp"), std::string::npos);
}

} // namespace
} // namespace kelvane
