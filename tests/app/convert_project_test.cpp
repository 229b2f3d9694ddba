#include "app/klvn_main_app.h"

#include "platform/fake_services.h"
#include "platform/message_box_recorder.h"
#include "store/byte_cursor.h"
#include "store/fixed_text.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using test::WriteBytes;

struct ConvertFixture {
    // The table knows "KV4021" only, so a renamed file finds no module.
    explicit ConvertFixture(const std::string& name)
        : module("kelvane_test_convert_" + name), table(folder.File("kelvane.ini")) {
        WriteBytes(table, "KV, " + module + "\n");
        settings().m_nIceModel = ICE_TALVEX_NOVA;
        settings().m_nCommDevice = COMM_ETHERNET;
        CopyToField(settings().m_szMpdFile, "/opt/mpv/KV4021");
        CopyToField(settings().m_szConvertModule, module + ".so");
        messageBoxes.answers = {IDYES};
    }
    ProjectSettings& settings() { return app.Settings(); }
    std::string MpdFile() { return std::string(FieldText(settings().m_szMpdFile)); }
    // The last message, shown as the `count`th.
    void ExpectMessage(size_t count, const std::string& text, const char* caption, unsigned style) {
        ASSERT_EQ(messageBoxes.shown.size(), count);
        EXPECT_EQ(messageBoxes.shown.back().text, text);
        EXPECT_EQ(messageBoxes.shown.back().caption, caption);
        EXPECT_EQ(messageBoxes.shown.back().style, style);
    }

    std::string module;
    test::TempFolder folder;
    std::string table;
    test::MessageBoxRecorder messageBoxes;
    test::ScriptedFileDialogs fileDialogs;
    test::RepaintCounter repaint;
    test::MemoryProfile profile;
    CKLVN_MAINApp app{{messageBoxes, fileDialogs, repaint, profile}, table};
};

TEST(ConvertProjectTest, AnsweringNoChangesNothingButLooksUpAndRepaints) {
    ConvertFixture f("renames");
    f.settings().m_szConvertModule[0] = '\0';
    f.messageBoxes.answers = {IDNO};
    EXPECT_FALSE(f.app.ConvertProject(3));
    EXPECT_FALSE(f.app.ConvertProject(10)); // outside 0..9: no question, no repaint
    f.ExpectMessage(1, "Convert from talvexNOVA format project file to talvexMAX format.",
                    "Confirm", 0x34);
    EXPECT_EQ(f.repaint.count, 1);
    EXPECT_EQ(FieldText(f.settings().m_szConvertModule), f.module + ".so");
}

// A module that cannot serve stops at once, without a repaint; a name that
// does not fit puts the whole block back.
TEST(ConvertProjectTest, FailuresShowWhyAndKeepTheFullName) {
    const std::string tooLong = "The MPU information file name from the conversion module does "
                                "not fit in 127 characters:\n/opt/mpv/";
    const std::string notChanged = "\nThe project was not changed.";
    const struct {
        const char* module;
        std::string text;
        bool called, blockPutBack;
    } cases[] = {
        {"nowhere", "DLL file can not open. \nA conversion process is stopped.", false, false},
        {"missing", "DLL file is invalid\nA conversion process is stopped.", false, false},
        {"fails", "Page 3 does not fit the target model.", true, false},
        {"long_name", tooLong + std::string(127, 'n') + notChanged, true, true},
        {"unterminated", tooLong + std::string(128, 'u') + notChanged, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.module);
        ConvertFixture f(c.module);
        EXPECT_FALSE(f.app.ConvertProject(0));
        f.ExpectMessage(2, c.text, c.called ? "Conversion failed" : "Confirm", c.called ? 0x30 : 0);
        EXPECT_EQ(f.repaint.count, c.called ? 1 : 0);
        EXPECT_EQ(f.MpdFile(), "/opt/mpv/KV4021");
        EXPECT_EQ(f.settings().m_nIceModel, ICE_TALVEX_NOVA);
        EXPECT_EQ(f.settings().m_nCommDevice, COMM_ETHERNET);
        if (c.blockPutBack) {
            EXPECT_EQ(f.settings().m_anMpCount[15][15], 0);
        }
    }
}

// An FSR item: its key, then 44 bytes that tell the items apart.
std::string Item(uint32_t key, char fill) {
    std::string item;
    AppendU32(item, key);
    return item.append(44, fill);
}

// The mask 0x0005 purges keys 0 and 2; a module that writes no mask must not
// purge by the one left from before.
TEST(ConvertProjectTest, SuccessRenamesInTheFolderSwitchesTheModelAndPurges) {
    const std::string header = Item(7, '\0'), kept = Item(1, 'b') + Item(3, 'd') + Item(5, 'g');
    const std::string items = header + Item(0, 'a') + Item(1, 'b') + Item(2, 'c') + Item(3, 'd') +
                              Item(2, 'e') + Item(5, 'g');
    const struct {
        const char *module, *before;
        int32_t direction;
        std::string after;
        uint32_t model, device;
    } cases[] = {
        {"renames", "/opt/mpv/KV4021", 3, "/opt/mpv/b", ICE_TALVEX_MAX, COMM_ETHERNET},
        {"renames", "C:\\mpv\\a", 0, "C:\\mpv\\b", ICE_TALVEX_BANTAM, COMM_USB},
        {"renames", "KV4021", 9, "b", ICE_TALVEX_VEGA, COMM_ETHERNET},
        {"long_name", "KV4021", 3, std::string(127, 'n'), ICE_TALVEX_MAX, COMM_ETHERNET}, // fits
        {"purges", "KV4021", 3, "KV4021", ICE_TALVEX_MAX, COMM_ETHERNET},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.after);
        ConvertFixture f(c.module);
        CopyToField(f.settings().m_szMpdFile, c.before);
        ASSERT_TRUE(f.app.Fsr().ReadFsrFile(std::string(KELVANE_DEMO_DIR) + "/demo.fsr"));
        f.app.Fsr().SetRecordData(FSR_ITEM_LIST, items);
        f.settings().m_wPurgeMask = 0xFFFF;
        EXPECT_TRUE(f.app.ConvertProject(c.direction));
        f.ExpectMessage(2,
                        "Conversion complete.\nFollowing parameters need checking.\n\n"
                        "*Comm setting\n*MPV setting\n*ICE model setting",
                        "Information", 0x40);
        EXPECT_EQ(f.MpdFile(), c.after);
        EXPECT_EQ(f.settings().m_nIceModel, c.model);
        EXPECT_EQ(f.settings().m_nCommDevice, c.device);
        EXPECT_EQ(f.settings().m_anMpCount[15][15], 100 + c.direction);
        EXPECT_EQ(f.settings().m_pszConvertError, 0u); // the buffer goes with the call
        EXPECT_EQ(f.app.Fsr().Record(FSR_ITEM_LIST).data,
                  c.module == std::string("purges") ? header + kept : items);
    }
}

} // namespace
} // namespace kelvane
