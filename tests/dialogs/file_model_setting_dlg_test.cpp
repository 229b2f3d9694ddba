// SPDX-License-Identifier: MIT
#include "app/app_with_fakes.h"
#include "dialogs/file_model_setting_dlg.h"
#include "dialogs/model_name.h"
#include "res/dialog_ids.h"
#include "scoped_environment.h"
#include "store/fixed_text.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kelvane {
namespace {

constexpr uint32_t kFileModelSettingCommand = 32777;
constexpr uint32_t kModelSelectCommand = 32783;

struct FileModelSettingTest : ::testing::Test, test::AppWithFakes<> {
    FileModelSettingTest() {
        app.SetInstalledModels([this] { return models; });
        ProjectSettings& settings = app.Settings();
        settings.m_bProjectLoaded = true;
        CopyToField(settings.m_szMpdFile, "D:\\mpu\\sh\\a");
        CopyToField(settings.m_szDefFile, "D:\\mpu\\dev.mci");
        settings.m_strModelName = "KV4021";
        settings.m_astrFrdFiles = {"C:\\old\\flash\\SH7\\x.frd", "x.frd", "C:\\old\\%FLASH%y.frd"};
        settings.m_astrFrdNewFiles = settings.m_astrFrdFiles;
    }

    void Run(uint32_t command, ScriptedDialogRunner::Script script) {
        dialogs.SetScript(command == kModelSelectCommand ? IDD_MODEL_SELECT
                                                         : IDD_FILE_MODEL_SETTING,
                          std::move(script));
        app.OnCommand(command);
    }
    std::vector<std::string> Boxes() const {
        std::vector<std::string> texts;
        for (const auto& box : messageBoxes.shown)
            texts.push_back(box.text);
        return texts;
    }

    std::vector<std::string> models{"H8S", "SH2A", "ZX"};
};

TEST_F(FileModelSettingTest, OkStoresTheFilesTheFolderAndTheModel) {
    Run(kFileModelSettingCommand, [](CDialog& dialog, MemoryDialogControls& controls) {
        EXPECT_EQ(controls.GetWindowText(IDC_MPV_FILE), "D:\\mpu\\sh\\a.mpv");
        EXPECT_EQ(controls.GetWindowText(IDC_CURRENT_MODEL), "KV4021");
        // The first installed model stands in the combo's field.
        EXPECT_EQ(controls.GetWindowText(IDC_MODEL), "H8S");
        EXPECT_TRUE(controls.Type(IDC_MCI_FILE, "E:\\dev\\new.mci"));
        EXPECT_TRUE(controls.Type(IDC_MODEL, "sh2a"));
        controls.Click(dialog, IDOK);
    });
    const ProjectSettings& settings = app.Settings();
    EXPECT_EQ(FieldText(settings.m_szMpdFile), "D:\\mpu\\sh\\a");
    EXPECT_EQ(FieldText(settings.m_szMpvDir), "D:\\mpu\\sh");
    EXPECT_EQ(FieldText(settings.m_szDefFile), "E:\\dev\\new.mci");
    EXPECT_EQ(settings.m_strSelectedModelName, "SH2A");
    EXPECT_EQ(settings.m_strModelName, "KV4021") << "replaced only when written";
    EXPECT_EQ(repaint.count, 1);

    // An empty MPV file shows as ".mpv" and comes back empty, without a folder;
    // a project without an MCI file cannot be given one.
    app.Settings().m_szMpdFile[0] = '\0';
    app.Settings().m_szDefFile[0] = '\0';
    Run(kFileModelSettingCommand, [](CDialog& dialog, MemoryDialogControls& controls) {
        EXPECT_EQ(controls.GetWindowText(IDC_MPV_FILE), ".mpv");
        EXPECT_FALSE(controls.IsWindowEnabled(IDC_MCI_FILE));
        EXPECT_FALSE(controls.IsWindowEnabled(IDC_BROWSE_MCI));
        controls.Click(dialog, IDOK);
    });
    EXPECT_EQ(FieldText(settings.m_szMpdFile), "");
    EXPECT_EQ(FieldText(settings.m_szMpvDir), "");
}

TEST_F(FileModelSettingTest, BatchConversionMovesEveryFrdFileIntoFlashBesideTheMpvFile) {
    app.Settings().m_astrFrdNewFiles.push_back("C:\\x.frd");
    app.Settings().m_astrFrdFiles.push_back("C:\\x.frd");
    Run(kFileModelSettingCommand, [](CDialog& dialog, MemoryDialogControls& controls) {
        ASSERT_EQ(controls.GetCount(IDC_FRD_TARGET), 4);
        EXPECT_EQ(controls.GetItemText(IDC_FRD_TARGET, 0), "x.frd");
        EXPECT_EQ(controls.GetItemText(IDC_FRD_TARGET, 2), "y.frd");
        EXPECT_EQ(controls.GetWindowText(IDC_FRD_FILE), "C:\\old\\flash\\SH7\\x.frd");
        controls.Type(IDC_MPV_FILE, "D:\\mpu\\a.mpv");
        controls.Type(IDC_FRD_FILE, "typed but not stored");
        controls.Click(dialog, IDC_CONVERT_TO_MPV_DIR);
        EXPECT_EQ(controls.GetWindowText(IDC_FRD_FILE), "D:\\mpu\\flash\\SH7\\x.frd");
        controls.Click(dialog, IDOK);
    });
    const std::vector<std::string> moved{"D:\\mpu\\flash\\SH7\\x.frd", "D:\\mpu\\flash\\x.frd",
                                         "D:\\mpu\\flash\\y.frd", "D:\\mpu\\flash\\x.frd"};
    EXPECT_EQ(app.Settings().m_astrFrdNewFiles, moved);
    EXPECT_EQ(app.Settings().m_astrFrdFiles[0], "C:\\old\\flash\\SH7\\x.frd");
    // Local paths keep their own separator.
    EXPECT_EQ(FrdPathInMpvDir("/home/u/mpu/", "/old/SH7/x.frd"), "/home/u/mpu/flash/SH7/x.frd");
}

TEST_F(FileModelSettingTest, EachTargetKeepsItsEditAcrossSelectionChanges) {
    fileDialogs.answer = "F:\\chosen\\c.frd";
    Run(kFileModelSettingCommand, [](CDialog& dialog, MemoryDialogControls& controls) {
        controls.Type(IDC_FRD_FILE, "E:\\edited\\x.frd");
        controls.Select(dialog, IDC_FRD_TARGET, 1);
        EXPECT_EQ(controls.GetWindowText(IDC_FRD_FILE), "x.frd");
        controls.Click(dialog, IDC_BROWSE_FRD);
        EXPECT_EQ(controls.GetWindowText(IDC_FRD_FILE), "F:\\chosen\\c.frd");
        controls.Select(dialog, IDC_FRD_TARGET, 0);
        EXPECT_EQ(controls.GetWindowText(IDC_FRD_FILE), "E:\\edited\\x.frd");
        controls.Click(dialog, IDOK);
    });
    EXPECT_EQ(app.Settings().m_astrFrdNewFiles[0], "E:\\edited\\x.frd");
    EXPECT_EQ(app.Settings().m_astrFrdNewFiles[1], "F:\\chosen\\c.frd");
    ASSERT_EQ(fileDialogs.requests.size(), 1u);
}

TEST_F(FileModelSettingTest, RefusalsKeepTheDialogOpenAndCancelChangesNothing) {
    models.clear();
    const ProjectSettings before = app.Settings();
    Run(kFileModelSettingCommand, [](CDialog& dialog, MemoryDialogControls& controls) {
        controls.Click(dialog, IDOK); // no model
        controls.Type(IDC_MODEL, "abc");
        controls.Click(dialog, IDOK);
        controls.Type(IDC_MODEL, "SH4");
        controls.Type(IDC_MPV_FILE, std::string(124, 'm') + ".mpv"); // 128 characters
        controls.Click(dialog, IDOK);
        controls.Type(IDC_MPV_FILE, "D:\\a.mpv");
        controls.Type(IDC_FRD_FILE, std::string(256, 'f'));
        controls.Click(dialog, IDOK);
        // An edited FRD path would be lost without the MPV file's folder.
        controls.Type(IDC_FRD_FILE, "E:\\x.frd");
        controls.Type(IDC_MPV_FILE, "a.mpv");
        controls.Click(dialog, IDOK);
        EXPECT_FALSE(controls.Ended());
        controls.Click(dialog, IDCANCEL);
    });
    const std::vector<std::string> expected{
        "Model name not specified.", "The specified model name is illegal.",
        "The MPV path is too long: at most 127 characters can be kept.\n" + std::string(124, 'm') +
            ".mpv",
        "The FRD path is too long: at most 255 characters can be kept.\n" + std::string(256, 'f'),
        "New FRD paths are saved only when the MPV file is given with its folder."};
    EXPECT_EQ(Boxes(), expected);
    EXPECT_EQ(FieldText(app.Settings().m_szMpdFile), FieldText(before.m_szMpdFile));
    EXPECT_EQ(app.Settings().m_astrFrdNewFiles, before.m_astrFrdNewFiles);
    EXPECT_EQ(app.Settings().m_strSelectedModelName, "");
    EXPECT_EQ(repaint.count, 0);
}

// The project's fields hold longer paths than the dialog takes: ones left as
// read pass OK and come back unchanged; the same length typed is refused.
TEST_F(FileModelSettingTest, LongPathsLeftAsReadPassOkUnchanged) {
    ProjectSettings& settings = app.Settings();
    const std::string mpd = "D:\\" + std::string(122, 'm'); // 129 with ".mpv"
    const std::string mci = "D:\\" + std::string(200, 'c') + ".mci";
    const std::string frd = "C:\\" + std::string(260, 'f') + ".frd";
    CopyToField(settings.m_szMpdFile, mpd);
    CopyToField(settings.m_szDefFile, mci);
    settings.m_astrFrdNewFiles[1] = frd;
    Run(kFileModelSettingCommand, [](CDialog& dialog, MemoryDialogControls& controls) {
        controls.Type(IDC_MODEL, "SH2A");
        controls.Click(dialog, IDOK);
        EXPECT_TRUE(controls.Ended());
    });
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(FieldText(settings.m_szMpdFile), mpd);
    EXPECT_EQ(FieldText(settings.m_szDefFile), mci);
    EXPECT_EQ(settings.m_astrFrdNewFiles[1], frd);

    Run(kFileModelSettingCommand, [&](CDialog& dialog, MemoryDialogControls& controls) {
        controls.Type(IDC_MCI_FILE, "E:\\" + std::string(200, 'c') + ".mci");
        controls.Click(dialog, IDOK);
        EXPECT_FALSE(controls.Ended());
        controls.Click(dialog, IDCANCEL);
    });
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].find("The MCI path is too long"), std::string::npos);
}

TEST_F(FileModelSettingTest, WithoutFrdFilesTheBatchControlsAreOffAndAListKeptAsReadSaysSo) {
    app.Settings().m_astrFrdFiles.clear();
    app.Settings().m_astrFrdNewFiles.clear();
    Run(kFileModelSettingCommand, [](CDialog& dialog, MemoryDialogControls& controls) {
        for (const int id : {IDC_CONVERT_TO_MPV_DIR, IDC_FRD_TARGET, IDC_FRD_FILE, IDC_BROWSE_FRD})
            EXPECT_FALSE(controls.IsWindowEnabled(id)) << id;
        EXPECT_EQ(controls.GetWindowText(IDC_FRD_FILE), "");
        controls.Click(dialog, IDOK);
    });
    EXPECT_TRUE(app.Settings().m_astrFrdNewFiles.empty());

    ScriptedDialogRunner runner;
    std::string note;
    runner.SetScript(IDD_FILE_MODEL_SETTING, [&](CDialog&, MemoryDialogControls& controls) {
        note = controls.GetWindowText(IDC_FRD_FILE);
    });
    CFileModelSettingDlg kept(
        {messageBoxes, {}, [] { return std::vector<std::string>(); }, {}, true}, runner);
    EXPECT_EQ(kept.DoModal(), IDCANCEL);
    EXPECT_NE(note.find("saved as read"), std::string::npos) << note;
}

TEST_F(FileModelSettingTest, ModelSelectionOffersTheOtherModelsAndTakesATypedOne) {
    app.Settings().m_strModelName = "sh2a";
    Run(kModelSelectCommand, [](CDialog& dialog, MemoryDialogControls& controls) {
        EXPECT_EQ(controls.GetWindowText(IDC_CURRENT_MODEL), "sh2a");
        ASSERT_EQ(controls.GetCount(IDC_MODEL), 2);
        EXPECT_EQ(controls.GetItemText(IDC_MODEL, 0), "H8S");
        EXPECT_EQ(controls.GetItemText(IDC_MODEL, 1), "ZX");
        EXPECT_EQ(controls.GetWindowText(IDC_MODEL), "H8S");
        controls.Type(IDC_MODEL, "x1");
        controls.Click(dialog, IDOK);
        EXPECT_FALSE(controls.Ended());
        controls.Type(IDC_MODEL, "sh4");
        controls.Click(dialog, IDOK);
    });
    EXPECT_EQ(Boxes(), std::vector<std::string>{"The specified model name is illegal."});
    EXPECT_EQ(app.Settings().m_strSelectedModelName, "SH4");
    EXPECT_EQ(repaint.count, 1);

    app.Settings().m_strModelName.clear();
    Run(kModelSelectCommand, [](CDialog& dialog, MemoryDialogControls& controls) {
        EXPECT_EQ(controls.GetWindowText(IDC_CURRENT_MODEL), "Model undefined.");
        EXPECT_EQ(controls.GetCount(IDC_MODEL), 3);
        controls.Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(app.Settings().m_strSelectedModelName, "SH4");
    EXPECT_EQ(repaint.count, 1);
}

// A model name of Japanese Windows keeps its two-byte characters whole.
TEST(ModelNameTest, UpperCaseLeavesTwoByteCharactersAlone) {
    {
        const test::ScopedEnvironment codePage("KELVANE_CODEPAGE", "CP932");
        EXPECT_EQ(UpperCaseModelName("h\x83\x61z"), "H\x83\x61Z");
    }
    const test::ScopedEnvironment codePage("KELVANE_CODEPAGE", "CP1252");
    EXPECT_EQ(UpperCaseModelName("h\x83\x61z"), "H\x83\x41Z");
    EXPECT_TRUE(IsValidModelName("SH2A") && !IsValidModelName("KV4021") && !IsValidModelName(""));
}

// The FRD list of the FSR file is rebuilt from the dialog's paths once the
// MPV folder is known: open, edit, save and open again.
TEST(FileModelSettingCycleTest, RetargetedFrdFilesSurviveASaveAndReopen) {
    test::TempFolder folder;
    for (const char* extension : {".fsp", ".fsr", ".uer", ".sbu", ".mcr"})
        test::WriteBytes(folder.File(std::string("demo") + extension),
                         test::ReadBytes(std::string(KELVANE_DEMO_DIR) + "/demo" + extension));
    test::AppWithFakes<> fakes;
    CKLVN_MAINApp& app = fakes.app;
    ScriptedDialogRunner& dialogs = fakes.dialogs;
    app.SetInstalledModels([] { return std::vector<std::string>{"SH2A"}; });
    app.LoadProject(folder.File("demo.fsp"));
    ASSERT_TRUE(app.Settings().m_bProjectLoaded);
    ASSERT_EQ(app.Settings().m_astrFrdFiles.size(), 2u);

    const std::string mpu = folder.File("mpu");
    dialogs.SetScript(IDD_FILE_MODEL_SETTING, [&](CDialog& dialog, MemoryDialogControls& controls) {
        controls.Type(IDC_MPV_FILE, mpu + "/kv4021.mpv");
        controls.Click(dialog, IDC_CONVERT_TO_MPV_DIR);
        // The model as read stands in the field until another is typed.
        EXPECT_EQ(controls.GetWindowText(IDC_MODEL), "SH7058F");
        controls.Type(IDC_MODEL, "sh2a");
        controls.Click(dialog, IDOK);
    });
    app.OnCommand(kFileModelSettingCommand);
    EXPECT_TRUE(fakes.messageBoxes.shown.empty());
    EXPECT_EQ(app.Settings().m_strSelectedModelName, "SH2A");
    ASSERT_TRUE(app.SaveProject(folder.File("demo.fsp")));

    app.LoadProject(folder.File("demo.fsp"));
    const std::vector<std::string> expected{mpu + "/flash/boot.frd", mpu + "/flash/app.frd"};
    EXPECT_EQ(app.Settings().m_astrFrdFiles, expected);
    EXPECT_EQ(app.Settings().m_strModelName, "SH2A");
}

} // namespace
} // namespace kelvane
