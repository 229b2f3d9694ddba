// SPDX-License-Identifier: MIT
#include "app/app_with_fakes.h"
#include "app/project_code_page.h"
#include "platform/text/code_page.h"
#include "res/command_ids.h"
#include "res/dialog_ids.h"

#include "scoped_environment.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace kelvane {
namespace {

using test::ReadBytes;
using test::ScopedEnvironment;
using test::TempFolder;
using test::WriteBytes;

// "SH7058F" and テスト in CP932, as Japanese Windows writes the model name.
const std::string kCp932ModelName = "SH7058F\x83\x65\x83\x58\x83\x67";

std::string DemoFile(const std::string& extension) {
    return ReadBytes(std::string(KELVANE_DEMO_DIR) + "/demo." + extension);
}

// The demo in `folder`, its model name in CP932; the path of its project file.
std::string WriteCp932Demo(const std::string& folder) {
    std::filesystem::create_directories(folder);
    std::string fsp = DemoFile("fsp");
    const std::string line = "MODEL_NAME=SH7058F";
    fsp.replace(fsp.find(line), line.size(), "MODEL_NAME=" + kCp932ModelName);
    WriteBytes(folder + "/demo.fsp", fsp);
    for (const std::string extension : {"fsr", "uer", "sbu", "mcr"})
        WriteBytes(folder + "/demo." + extension, DemoFile(extension));
    return folder + "/demo.fsp";
}

struct CodePageFixture {
    CodePageFixture() { Reopen(); }
    // A new application over the same profile, as at the next start.
    void Reopen() {
        fakes.reset();
        fakes = std::make_unique<test::AppWithFakes<>>();
        fakes->profile = profile;
    }
    bool Open(const std::string& path) {
        fakes->app.OpenProjectPath(path);
        profile = fakes->profile;
        return fakes->app.Settings().m_bProjectLoaded;
    }
    CKLVN_MAINApp& App() { return fakes->app; }

    const ScopedEnvironment noCodePage{"KELVANE_CODEPAGE", nullptr};
    TempFolder folder;
    test::MemoryProfile profile;
    std::unique_ptr<test::AppWithFakes<>> fakes;
};

TEST(ProjectCodePageTest, FoundInTheBytesChangedByTheUserRememberedAndOverriddenWhenGiven) {
    CodePageFixture f;
    const std::string project = WriteCp932Demo(f.folder.File("work"));
    const std::string fsp = ReadBytes(project);

    ASSERT_TRUE(f.Open(project));
    EXPECT_EQ(ProjectCodePage(), "CP932");
    EXPECT_EQ(f.App().CodePageOriginOfProject(), CodePageOrigin::Detected);
    EXPECT_EQ(ProjectToUtf8(f.App().Settings().m_strModelName), "SH7058Fテスト");
    EXPECT_EQ(f.App().CodePageLine(), "Code page: CP932");
    EXPECT_TRUE(f.App().IsCommandChecked(ID_CODE_PAGE_CP932));
    EXPECT_FALSE(f.App().IsCommandChecked(ID_CODE_PAGE_CP1252));

    // Read in another code page: shown anew, the bytes as they were.
    const int repaints = f.fakes->repaint.count;
    ASSERT_TRUE(f.App().IsCommandEnabled(ID_CODE_PAGE_CP1252));
    ASSERT_TRUE(f.App().OnCommand(ID_CODE_PAGE_CP1252));
    EXPECT_EQ(ProjectCodePage(), "CP1252");
    EXPECT_GT(f.fakes->repaint.count, repaints);
    EXPECT_EQ(f.App().Settings().m_strModelName, kCp932ModelName);
    EXPECT_TRUE(f.fakes->messageBoxes.shown.empty());
    EXPECT_FALSE(f.App().IsModified());
    f.fakes->messageBoxes.answers = {IDYES}; // overwrite
    ASSERT_TRUE(f.App().OnSaveProject());
    EXPECT_EQ(ReadBytes(project), fsp);
    f.profile = f.fakes->profile;

    // The next open of that project takes the remembered one; another
    // project is still found by its bytes.
    f.Reopen();
    EXPECT_EQ(ProjectCodePage(), LocaleCharset());
    ASSERT_TRUE(f.Open(project));
    EXPECT_EQ(ProjectCodePage(), "CP1252");
    EXPECT_EQ(f.App().CodePageOriginOfProject(), CodePageOrigin::Remembered);
    ASSERT_TRUE(f.Open(WriteCp932Demo(f.folder.File("other"))));
    EXPECT_EQ(ProjectCodePage(), "CP932");

    // A code page given for the run wins over both.
    const ScopedEnvironment given("KELVANE_CODEPAGE", "UTF-8");
    ASSERT_TRUE(f.Open(project));
    EXPECT_EQ(ProjectCodePage(), "UTF-8");
    EXPECT_EQ(f.App().CodePageOriginOfProject(), CodePageOrigin::Given);
}

TEST(ProjectCodePageTest, APathOfNonAsciiNamesIsReadAgainUnderTheNewCodePage) {
    KELVANE_SKIP_ON_WINDOWS("the locale here is the ANSI code page, and names are wide");
    CodePageFixture f;
    // A folder of UTF-8 name on the disk, held in CP932 while the project is.
    const std::string project = WriteCp932Demo(f.folder.File("作業"));
    ASSERT_TRUE(f.Open(project));
    ASSERT_EQ(ProjectCodePage(), "CP932");
    EXPECT_EQ(ProjectToUtf8(f.App().CurrentProjectPath()), project);

    // Read again, unsaved changes would be lost: refused with a word.
    f.fakes->dialogs.SetScript(IDD_COMM_SETTING,
                               [](CDialog& dialog, MemoryDialogControls& controls) {
                                   controls.Type(IDC_TIMEOUT, "60");
                                   controls.Click(dialog, IDOK);
                               });
    f.App().OnCommSetting();
    ASSERT_TRUE(f.App().IsModified());
    auto& shown = f.fakes->messageBoxes.shown;
    shown.clear();
    EXPECT_FALSE(f.App().SetCodePage("UTF-8"));
    EXPECT_EQ(ProjectCodePage(), "CP932");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find("Save the project"), std::string::npos);

    f.fakes->messageBoxes.answers = {IDYES};
    ASSERT_TRUE(f.App().OnSaveProject());
    shown.clear();
    ASSERT_TRUE(f.App().SetCodePage("UTF-8"));
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(ProjectCodePage(), "UTF-8");
    EXPECT_TRUE(f.App().Settings().m_bProjectLoaded);
    EXPECT_EQ(f.App().CurrentProjectPath(), project);
    EXPECT_EQ(f.App().Settings().m_strModelName, kCp932ModelName);

    // A code page with no place for the folder's name is refused.
    EXPECT_FALSE(f.App().SetCodePage("CP1251"));
    EXPECT_EQ(ProjectCodePage(), "UTF-8");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find("has no name in CP1251"), std::string::npos);
}

} // namespace
} // namespace kelvane
