#include "app/klvn_main_app.h"

#include "platform/fake_services.h"
#include "platform/message_box_recorder.h"
#include "store/byte_cursor.h"
#include "store/fixed_text.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kelvane {
namespace {

using test::MessageBoxRecorder;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

const std::string kCompleteText = "Conversion complete.\nFollowing parameters need checking.\n\n"
                                  "*Comm setting\n*MPV setting\n*ICE model setting";

struct ConvertFixture {
    // The table knows the name "KV4021" only, so a lookup after a conversion
    // that renamed the file finds nothing.
    explicit ConvertFixture(const std::string& moduleName) : tablePath(folder.File("kelvane.ini")) {
        WriteBytes(tablePath, "KV, " + moduleName + "\n");
        settings().m_nIceModel = ICE_TALVEX_NOVA;
        settings().m_nCommDevice = COMM_ETHERNET;
        CopyToField(settings().m_szMpdFile, "/opt/mpv/KV4021");
        CopyToField(settings().m_szConvertModule, moduleName + ".so");
    }

    ProjectSettings& settings() { return app.Settings(); }
    std::string MpdFile() { return std::string(FieldText(settings().m_szMpdFile)); }
    const MessageBoxRecorder::Shown& OnlyMessage() {
        EXPECT_EQ(messageBoxes.shown.size(), 1u);
        return messageBoxes.shown.back();
    }

    TempFolder folder;
    std::string tablePath;
    MessageBoxRecorder messageBoxes;
    test::ScriptedFileDialogs fileDialogs;
    test::RepaintCounter repaint;
    test::MemoryProfile profile;
    CKLVN_MAINApp app{{messageBoxes, fileDialogs, repaint, profile}, tablePath};
};

TEST(ConvertProjectTest, AnsweringNoChangesNothingButLooksUpAndRepaints) {
    ConvertFixture f("kelvane_test_convert_renames");
    f.settings().m_szConvertModule[0] = '\0';
    f.messageBoxes.answers = {IDNO};
    EXPECT_FALSE(f.app.ConvertProject(3));
    ASSERT_EQ(f.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(f.messageBoxes.shown[0].text,
              "Convert from talvexNOVA format project file to talvexMAX format.");
    EXPECT_EQ(f.messageBoxes.shown[0].caption, "Confirm");
    EXPECT_EQ(f.messageBoxes.shown[0].style, 0x34u);
    EXPECT_EQ(f.settings().m_nIceModel, ICE_TALVEX_NOVA);
    EXPECT_EQ(f.MpdFile(), "/opt/mpv/KV4021");
    EXPECT_EQ(f.repaint.count, 1);
    // The lookup ran: it found the module of the table again.
    EXPECT_EQ(FieldText(f.settings().m_szConvertModule), "kelvane_test_convert_renames.so");

    // Outside 0..9 nothing happens at all.
    f.messageBoxes.shown.clear();
    EXPECT_FALSE(f.app.ConvertProject(10));
    EXPECT_FALSE(f.app.ConvertProject(-1));
    EXPECT_TRUE(f.messageBoxes.shown.empty());
    EXPECT_EQ(f.repaint.count, 1);
}

TEST(ConvertProjectTest, ModulesThatCannotServeStopBeforeAnythingChanges) {
    {
        ConvertFixture f("kelvane_test_convert_nowhere");
        f.messageBoxes.answers = {IDYES};
        EXPECT_FALSE(f.app.ConvertProject(0));
        ASSERT_EQ(f.messageBoxes.shown.size(), 2u);
        EXPECT_EQ(f.messageBoxes.shown[1].text,
                  "DLL file can not open. \nA conversion process is stopped.");
        EXPECT_EQ(f.messageBoxes.shown[1].caption, "Confirm");
        EXPECT_EQ(f.messageBoxes.shown[1].style, 0u);
        EXPECT_EQ(f.repaint.count, 0);
        EXPECT_EQ(f.MpdFile(), "/opt/mpv/KV4021");
    }
    {
        ConvertFixture f("kelvane_test_convert_missing");
        f.messageBoxes.answers = {IDYES};
        EXPECT_FALSE(f.app.ConvertProject(0));
        ASSERT_EQ(f.messageBoxes.shown.size(), 2u);
        EXPECT_EQ(f.messageBoxes.shown[1].text,
                  "DLL file is invalid\nA conversion process is stopped.");
        EXPECT_EQ(f.messageBoxes.shown[1].style, 0u);
        EXPECT_EQ(f.repaint.count, 0);
        EXPECT_EQ(f.MpdFile(), "/opt/mpv/KV4021");
        EXPECT_EQ(f.settings().m_nIceModel, ICE_TALVEX_NOVA);
    }
}

TEST(ConvertProjectTest, AFailedConversionShowsTheModulesTextAndKeepsTheFullName) {
    for (const auto& [module, text] :
         {std::pair<std::string, std::string>{"kelvane_test_convert_fails",
                                              "Page 3 does not fit the target model."},
          {"kelvane_test_convert_fails_silently", ""}}) {
        ConvertFixture f(module);
        f.messageBoxes.answers = {IDYES};
        EXPECT_FALSE(f.app.ConvertProject(0));
        ASSERT_EQ(f.messageBoxes.shown.size(), 2u) << module;
        EXPECT_EQ(f.messageBoxes.shown[1].text, text);
        EXPECT_EQ(f.messageBoxes.shown[1].caption, "Conversion failed");
        EXPECT_EQ(f.messageBoxes.shown[1].style, 0x30u);
        EXPECT_EQ(f.MpdFile(), "/opt/mpv/KV4021");
        EXPECT_EQ(f.settings().m_nIceModel, ICE_TALVEX_NOVA);
        EXPECT_EQ(f.settings().m_nCommDevice, COMM_ETHERNET);
        // The module was called (it records its direction) and the pointer
        // to the gone buffer was cleared.
        EXPECT_EQ(f.settings().m_anMpCount[15][15], 100);
        EXPECT_EQ(f.settings().m_pszConvertError, 0u);
        EXPECT_EQ(f.repaint.count, 1);
    }
}

TEST(ConvertProjectTest, SuccessRenamesInTheFolderSwitchesTheModelAndLooksUpAgain) {
    struct Case {
        const char* before;
        int32_t direction;
        const char* after;
        uint32_t model;
        uint32_t device;
    };
    for (const Case& c : {Case{"/opt/mpv/KV4021", 3, "/opt/mpv/b", ICE_TALVEX_MAX, COMM_ETHERNET},
                          Case{"C:\\mpv\\a", 0, "C:\\mpv\\b", ICE_TALVEX_BANTAM, COMM_USB},
                          Case{"KV4021", 5, "b", ICE_TALVEX_BANTAM, COMM_USB},
                          Case{"KV4021", 9, "b", ICE_TALVEX_VEGA, COMM_ETHERNET}}) {
        ConvertFixture f("kelvane_test_convert_renames");
        CopyToField(f.settings().m_szMpdFile, c.before);
        f.messageBoxes.answers = {IDYES};
        EXPECT_TRUE(f.app.ConvertProject(c.direction)) << c.before;
        EXPECT_EQ(f.MpdFile(), c.after);
        EXPECT_EQ(f.settings().m_nIceModel, c.model) << c.direction;
        EXPECT_EQ(f.settings().m_nCommDevice, c.device) << c.direction;
        EXPECT_EQ(f.settings().m_anMpCount[15][15], 100 + c.direction);
        ASSERT_EQ(f.messageBoxes.shown.size(), 2u);
        EXPECT_EQ(f.messageBoxes.shown[1].text, kCompleteText);
        EXPECT_EQ(f.messageBoxes.shown[1].caption, "Information");
        EXPECT_EQ(f.messageBoxes.shown[1].style, 0x40u);
        // "b" is in no line of the table.
        EXPECT_EQ(f.settings().m_szConvertModule[0], '\0');
        EXPECT_EQ(f.repaint.count, 1);
    }
}

TEST(ConvertProjectTest, ANameThatDoesNotFitIsRefusedAndTheProjectKept) {
    for (const std::string module :
         {"kelvane_test_convert_long_name", "kelvane_test_convert_unterminated"}) {
        ConvertFixture f(module);
        f.settings().m_nMaxPage = 3;
        f.messageBoxes.answers = {IDYES};
        EXPECT_FALSE(f.app.ConvertProject(0)) << module;
        ASSERT_EQ(f.messageBoxes.shown.size(), 2u);
        EXPECT_EQ(f.messageBoxes.shown[1].caption, "Conversion failed");
        EXPECT_EQ(f.messageBoxes.shown[1].text.rfind(
                      "The MPU information file name from the conversion module does not fit", 0),
                  0u);
        EXPECT_EQ(f.MpdFile(), "/opt/mpv/KV4021");
        EXPECT_EQ(f.settings().m_nIceModel, ICE_TALVEX_NOVA);
        EXPECT_EQ(f.settings().m_nCommDevice, COMM_ETHERNET);
        EXPECT_EQ(f.settings().m_anMpCount[15][15], 0) << "page table put back";
    }
    // Without a folder the 127 characters fit.
    ConvertFixture f("kelvane_test_convert_long_name");
    CopyToField(f.settings().m_szMpdFile, "KV4021");
    f.messageBoxes.answers = {IDYES};
    EXPECT_TRUE(f.app.ConvertProject(0));
    EXPECT_EQ(f.MpdFile(), std::string(127, 'n'));
}

// An item of the FSR item list: its key, then 44 bytes that tell the items apart.
std::string Item(uint32_t key, char fill) {
    std::string item;
    AppendU32(item, key);
    item.append(44, fill);
    return item;
}

TEST(ConvertProjectTest, ThePurgeMaskRemovesTheItemsOfEachKeyAndAStaleMaskNothing) {
    TempFolder project;
    for (const char* extension : {"fsp", "fsr", "uer", "sbu", "mcr"})
        WriteBytes(project.File(std::string("demo.") + extension),
                   ReadBytes(std::string(KELVANE_DEMO_DIR) + "/demo." + extension));
    std::string header;
    AppendU32(header, 7);
    header.append(44, '\0');
    const std::string items = header + Item(0, 'a') + Item(1, 'b') + Item(2, 'c') + Item(3, 'd') +
                              Item(2, 'e') + Item(0, 'f') + Item(5, 'g');

    for (const std::string module :
         {"kelvane_test_convert_purges", "kelvane_test_convert_renames"}) {
        ConvertFixture f(module);
        f.app.OpenProjectPath(project.File("demo.fsp"));
        ASSERT_TRUE(f.settings().m_bProjectLoaded);
        CopyToField(f.settings().m_szConvertModule, module + ".so");
        f.app.Fsr().SetRecordData(FSR_ITEM_LIST, items);
        // A mask left from before must not purge when the module writes none.
        f.settings().m_wPurgeMask = 0xFFFF;
        f.messageBoxes.answers = {IDYES};
        ASSERT_TRUE(f.app.ConvertProject(3)) << module;
        const std::string expected = module == "kelvane_test_convert_purges"
                                         ? header + Item(1, 'b') + Item(3, 'd') + Item(5, 'g')
                                         : items;
        EXPECT_EQ(f.app.Fsr().Record(FSR_ITEM_LIST).data, expected) << module;
    }
}

TEST(ConvertProjectTest, TheSampleModuleConvertsTheDemoStepByStep) {
    TempFolder project;
    for (const char* extension : {"fsp", "fsr", "uer", "sbu", "mcr"})
        WriteBytes(project.File(std::string("demo.") + extension),
                   ReadBytes(std::string(KELVANE_DEMO_DIR) + "/demo." + extension));
    const std::string table = std::string(KELVANE_PROGRAM_DIR) + "/kelvane.ini";
    MessageBoxRecorder messageBoxes;
    test::ScriptedFileDialogs fileDialogs;
    test::RepaintCounter repaint;
    test::MemoryProfile profile;

    std::string path = project.File("demo.fsp");
    for (const auto& [direction, model, name] :
         {std::tuple{3, ICE_TALVEX_MAX, "KM4021"}, std::tuple{6, ICE_TALVEX_VEGA, "KG4021"}}) {
        CKLVN_MAINApp app({messageBoxes, fileDialogs, repaint, profile}, table);
        app.OpenProjectPath(path);
        ASSERT_TRUE(app.Settings().m_bProjectLoaded) << path;
        const ConversionCommand& command = *FindConversionDirection(direction);
        ASSERT_TRUE(app.IsConvertEnabled(command)) << direction;
        messageBoxes.answers = {IDYES};
        ASSERT_TRUE(app.OnConvert(command));
        path = project.File(std::string(name) + ".fsp");
        fileDialogs.answer = path;
        ASSERT_TRUE(app.OnSaveProjectAs());

        CKLVN_MAINApp reopened({messageBoxes, fileDialogs, repaint, profile}, table);
        reopened.OpenProjectPath(path);
        ASSERT_TRUE(reopened.Settings().m_bProjectLoaded);
        EXPECT_EQ(reopened.Settings().m_nIceModel, model);
        EXPECT_EQ(FieldText(reopened.Settings().m_szMpdFile), name);
        EXPECT_NE(reopened.Settings().m_szConvertModule[0], '\0');
    }
}

} // namespace
} // namespace kelvane
