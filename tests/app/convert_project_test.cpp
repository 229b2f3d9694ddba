// SPDX-License-Identifier: MIT
#include "app/app_with_fakes.h"
#include "app/klvn_main_app.h"
#include "app/refused_conversion.h"
#include "convert/module_host_client.h"
#include "dialogs/scripted_dialog_runner.h"
#include "res/dialog_ids.h"

#include "platform/fake_services.h"
#include "platform/message_box_recorder.h"
#include "scoped_environment.h"
#include "store/fixed_text.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using test::WriteBytes;

struct ConvertFixture {
    // The table knows "KV4021" only, so a renamed file finds no module.
    explicit ConvertFixture(const std::string& name) : module("kelvane_test_convert_" + name) {
        WriteBytes(folder.File("kelvane.ini"), "KV, " + module + "\n");
        settings().m_nIceModel = ICE_TALVEX_NOVA;
        settings().m_nCommDevice = COMM_ETHERNET;
        CopyToField(settings().m_szConvertModule, module + KELVANE_MODULE_SUFFIX);
    }
    ProjectSettings& settings() { return app.Settings(); }
    // The last message, shown as the `count`th, as "caption|style|text".
    std::string LastMessage(size_t count) {
        EXPECT_EQ(messageBoxes.shown.size(), count);
        const auto& box = messageBoxes.shown.back();
        return box.caption + "|" + std::to_string(box.style) + "|" + box.text;
    }

    std::string module;
    test::TempFolder folder;
    test::MessageBoxRecorder messageBoxes;
    test::ScriptedFileDialogs fileDialogs;
    test::RepaintCounter repaint;
    test::MemoryProfile profile;
    ScriptedDialogRunner dialogs;
    CKLVN_MAINApp app{{messageBoxes, fileDialogs, repaint, profile, dialogs},
                      folder.File("kelvane.ini")};
};

// Answering No changes nothing; a module that cannot serve stops at once,
// without a repaint; a name that does not fit puts the whole block back. The
// mask 0x0005 purges keys 0 and 2; a module that writes no mask must not purge
// by the one left from before.
TEST(ConvertProjectTest, AppliesOnlyAWholeResultAndTellsWhy) {
    const std::string tooLong = "Conversion failed|48|The MPU information file name from the "
                                "conversion module does not fit in 127 characters:\n/opt/mpv/";
    const std::string notChanged = "\nThe project was not changed.";
    const std::string done = "Information|64|Conversion complete.\nFollowing parameters need "
                             "checking.\n\n*Comm setting\n*MPV setting\n*ICE model setting";
    // An FSR item: its key, then 44 bytes that tell the items apart.
    const auto Item = [](char key, char fill) {
        return std::string{key, 0, 0, 0} + std::string(44, fill);
    };
    const std::string nova = "/opt/mpv/KV4021", kept = Item(7, 0) + Item(1, 'b');
    const std::string items = kept + Item(0, 'a') + Item(2, 'c') + Item(2, 'e');
    const struct {
        const char* module;
        int32_t direction;
        std::string message;
        int repaints, mpCount;
        std::string after = "/opt/mpv/KV4021", before = "/opt/mpv/KV4021";
        uint32_t model = ICE_TALVEX_NOVA, device = COMM_ETHERNET;
        int answer = IDYES;
    } cases[] = {
        {"renames", 0,
         "Confirm|52|Convert from talvexNOVA format project file to talvexBANTAM format.", 1, 0,
         nova, nova, ICE_TALVEX_NOVA, COMM_ETHERNET, IDNO},
        {"nowhere", 0, "Confirm|0|DLL file can not open. \nA conversion process is stopped.", 0, 0},
        {"missing", 0, "Confirm|0|DLL file is invalid\nA conversion process is stopped.", 0, 0},
        {"fails", 0, "Conversion failed|48|Page 3 does not fit the target model.", 1, 100},
        {"long_name", 0, tooLong + std::string(127, 'n') + notChanged, 1, 0},
        {"unterminated", 0, tooLong + std::string(128, 'u') + notChanged, 1, 0},
        {"max_page", 3,
         "Conversion failed|48|The conversion module gave a highest page of -5, outside 0 to "
         "15." +
             notChanged,
         1, 0},
        {"renames", 3, done, 1, 103, "/opt/mpv/b", nova, ICE_TALVEX_MAX},
        {"renames", 0, done, 1, 100, "C:\\mpv\\b", "C:\\mpv\\a", ICE_TALVEX_BANTAM, COMM_USB},
        {"long_name", 3, done, 1, 103, std::string(127, 'n'), "KV4021", ICE_TALVEX_MAX}, // fits
        {"purges", 3, done, 1, 103, "KV4021", "KV4021", ICE_TALVEX_MAX},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.module + (" " + c.before));
        ConvertFixture f(c.module);
        CopyToField(f.settings().m_szMpdFile, c.before);
        ASSERT_TRUE(f.app.Fsr().ReadFsrFile(std::string(KELVANE_DEMO_DIR) + "/demo.fsr"));
        f.app.Fsr().SetRecordData(FSR_ITEM_LIST, items);
        f.settings().m_wPurgeMask = 0xFFFF;
        f.messageBoxes.answers = {c.answer};
        EXPECT_FALSE(f.app.ConvertProject(10)); // outside 0..9: no question, no repaint
        EXPECT_EQ(f.app.ConvertProject(c.direction), c.message == done);
        EXPECT_EQ(f.LastMessage(c.answer == IDYES ? 2 : 1), c.message);
        EXPECT_EQ(f.repaint.count, c.repaints);
        EXPECT_EQ(FieldText(f.settings().m_szMpdFile), c.after);
        EXPECT_EQ(f.settings().m_nIceModel, c.model);
        EXPECT_EQ(f.settings().m_nCommDevice, c.device);
        EXPECT_EQ(f.settings().m_anMpCount[15][15], c.mpCount);
        EXPECT_EQ(f.app.Fsr().Record(FSR_ITEM_LIST).data,
                  c.module == std::string("purges") ? kept : items);
    }
}

// Whatever a module does to its own process, the program goes on and the
// project stays exactly as it was, with a message naming the module. A
// module that fails in the ordinary way keeps its other changes.
TEST(ConvertProjectTest, AModuleThatCrashesHangsExitsOrScribblesLeavesTheProjectAsItWas) {
    test::ScopedEnvironment timeout("KELVANE_MODULE_TIMEOUT", "1");
    const auto named = [](const char* module) {
        return "Conversion failed|48|The conversion module " +
               LocateModule(std::string("kelvane_test_") + module).file;
    };
    const std::string notChanged = ".\nThe project was not changed.";
    // As each system tells a crash.
    const std::string segmentationFault =
        test::kOnWindows ? "exception 0xC0000005" : "SIGSEGV, Segmentation fault";
    const struct {
        const char* module;
        std::string message;
    } cases[] = {
        {"crash", named("crash") + " crashed (" + segmentationFault + ")" + notChanged},
        {"exit",
         named("exit") + " ended its process (exit status 3) without an answer" + notChanged},
        {"hang", named("hang") +
                     " gave no answer within 1 seconds and was stopped "
                     "(KELVANE_MODULE_TIMEOUT sets the limit)" +
                     notChanged},
        {"write_past", named("write_past") + " wrote outside the conversion block" + notChanged},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.module);
        test::ExpectConversionRefused(
            std::string("kelvane_test_") + c.module + KELVANE_MODULE_SUFFIX, c.message, true);
    }

    test::AppWithFakes<> f;
    CopyToField(f.app.Settings().m_szMpdFile, "/opt/mpv/KV4021");
    CopyToField(f.app.Settings().m_szConvertModule, "kelvane_test_garbage" KELVANE_MODULE_SUFFIX);
    f.messageBoxes.answers = {IDYES};
    EXPECT_FALSE(f.app.ConvertProject(0));
    ASSERT_EQ(f.messageBoxes.shown.size(), 2u);
    // The error buffer full to its end, without a zero: all 512 bytes, no more.
    EXPECT_EQ(f.messageBoxes.shown.back().text, std::string(512, 'g'));
    EXPECT_EQ(FieldText(f.app.Settings().m_szMpdFile), "/opt/mpv/KV4021");
    EXPECT_EQ(f.app.Settings().m_anMpCount[0][0], 12345);
    EXPECT_EQ(f.app.Settings().m_pszConvertError, 0u);
}

// The demo is a project a user could have: every settings dialog takes it
// back with OK unchanged, and its conversion with the sample module purges
// FSR items (the talvexNOVA ones, keyed 1), leaving the header and the rest.
TEST(ConvertProjectTest, TheDemoPassesEveryDialogUnchangedAndItsConversionPurges) {
    test::TempFolder folder;
    for (const char* extension : {".fsp", ".fsr", ".uer", ".sbu", ".mcr"})
        WriteBytes(folder.File(std::string("demo") + extension),
                   test::ReadBytes(std::string(KELVANE_DEMO_DIR) + "/demo" + extension));
    test::AppWithFakes<> f(std::string(KELVANE_PROGRAM_DIR) + "/kelvane.ini");
    f.app.SetInstalledModels([] { return std::vector<std::string>{"SH2A"}; });
    f.app.LoadProject(folder.File("demo.fsp"));
    ASSERT_TRUE(f.app.Settings().m_bProjectLoaded);
    for (unsigned dialog : {IDD_COMM_SETTING, IDD_FILE_MODEL_SETTING}) {
        bool ended = false;
        f.dialogs.SetScript(dialog, [&](CDialog& shown, MemoryDialogControls& controls) {
            controls.Click(shown, IDOK);
            ended = controls.Ended() && controls.Result() == IDOK;
        });
        f.app.OnCommand(dialog == IDD_COMM_SETTING ? 32771u : 32777u);
        EXPECT_TRUE(ended) << dialog;
    }
    for (const auto& box : f.messageBoxes.shown)
        ADD_FAILURE() << box.text;

    constexpr size_t kItemSize = 48;
    const std::string& items = f.app.Fsr().Record(2).data;
    ASSERT_EQ(items.size(), 4 * kItemSize); // the header and three items
    const std::string header = items.substr(0, kItemSize),
                      kept = items.substr(2 * kItemSize, kItemSize);
    ASSERT_EQ(kept[0], 2);
    f.messageBoxes.answers = {IDYES};
    constexpr int32_t kNovaToMax = 3;
    ASSERT_TRUE(f.app.ConvertProject(kNovaToMax)) << f.messageBoxes.shown.back().text;
    EXPECT_EQ(f.app.Fsr().Record(2).data, header + kept);
}

} // namespace
} // namespace kelvane
