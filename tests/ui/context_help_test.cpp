#include "ui/context_help.h"

#include "platform/message_box_recorder.h"
#include "res/string_table.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

namespace kelvane {
namespace {

using Calls = std::vector<std::string>;

// Viewer, desktop and message boxes in one, logging the calls in order.
struct Fakes : HelpViewer, HelpDesktop, test::MessageBoxRecorder {
    bool Load(const std::string& file) override { return Log("load " + file) && loadSucceeds; }
    bool ShowTopic(uint32_t id) override { return Log("topic " + Hex(id)) && topics.count(id); }
    bool ShowPopup(const HelpPopupRequest& request) override {
        popup = request;
        return !Log("popup " + std::to_string(request.topicId));
    }
    bool ShowContents() override { return Log("contents"); }
    bool ShowIndex() override { return Log("index"); }
    bool ShowSearch() override { return Log("search"); }
    void BeginWaitCursor() override { ++waitDepth; }
    void EndWaitCursor() override { --waitDepth; }
    void CancelModes() override { Log("cancel"); }
    ScreenPoint CursorPosition() override { return {321, -40}; }
    std::vector<uint32_t> ParentControlIdsUnderCursor() override { return parents; }
    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override {
        Log(waitDepth == 0 ? "box" : "box under the wait cursor");
        return MessageBoxRecorder::MessageBox(text, caption, style);
    }

    static std::string Hex(uint32_t id) { return (std::ostringstream() << std::hex << id).str(); }
    bool Log(std::string call) { return calls.push_back(std::move(call)), true; }

    bool loadSucceeds = true;
    std::set<uint32_t> topics;
    std::vector<uint32_t> parents;
    HelpPopupRequest popup;
    int waitDepth = 0;
    Calls calls;
};

class ContextHelpTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetResourceLanguage(ResourceLanguage::English);
        test::WriteBytes(helpFile, "not read by the core");
    }
    void TearDown() override { SetResourceLanguage(ResourceLanguage::English); }

    std::string NotFound(const std::string& id) const {
        return "Can not find the specified topic.\n\nFile path [ " + helpFile +
               " ]\n Context-ID [" + id + "]";
    }

    test::TempFolder folder;
    std::string helpFile = folder.File("kelvane.qch");
    Fakes fake;
    ContextHelp help{helpFile, fake, fake, fake};
};

// Neither a missing file nor a failed load reaches the engine again; a folder
// at the file's path passes the check.
TEST_F(ContextHelpTest, HelpThatCannotLoadIsReportedAndNeverTriedAgain) {
    const std::string missing = folder.File("gone/kelvane.qch");
    ContextHelp lost(missing, fake, fake, fake);
    lost.WinHelp(0x20080, HELP_CONTEXT);
    lost.WinHelp(0x20080, HELP_CONTENTS);
    EXPECT_TRUE(lost.OnHelpInfo(1002));
    fake.loadSucceeds = false;
    fake.topics = {0x20080, 0x50080};
    fake.parents = {128};
    help.WinHelp(0x20080, HELP_CONTEXT);
    help.WinHelp(1002, HELP_POPUP);
    help.WinHelp(0x20080, HELP_CONTEXT);
    EXPECT_EQ(fake.calls, (Calls{"cancel", "box", "cancel", "box", "cancel", "box", "cancel",
                                 "load " + helpFile, "box", "cancel", "cancel", "box"}));
    EXPECT_TRUE(help.LoadFailed());
    EXPECT_EQ(fake.waitDepth, 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(fake.shown[i].text, "Help file not found.\n\nFile path [ " + missing + " ]");
    EXPECT_EQ(fake.shown[4].text, NotFound("0x20000 + 0x0080(128)"));
    EXPECT_EQ(fake.shown[0].caption, "KLVN_MAIN");
    EXPECT_EQ(fake.shown[0].style, MB_OK);

    std::filesystem::create_directory(folder.File("folder.qch"));
    fake.calls.clear();
    ContextHelp(folder.File("folder.qch"), fake, fake, fake).WinHelp(0, HELP_CONTENTS);
    EXPECT_EQ(fake.calls, (Calls{"cancel", "load " + folder.File("folder.qch")}));
}

// The engine is loaded once; a missing topic is looked for under the parents
// of the window under the cursor, then the id asked for is reported.
TEST_F(ContextHelpTest, RequestsGoToTheViewerAndMissingTopicsTryTheParents) {
    fake.topics = {0x20080, 0x503E9};
    fake.parents = {0, 1001, 1002};
    EXPECT_FALSE(help.OnHelpInfo(0)); // no control: left to the dialog
    EXPECT_FALSE(help.OnHelpInfo(-1));
    EXPECT_TRUE(help.OnHelpInfo(1002));              // a popup that cannot be shown says nothing
    for (const uint32_t command : {3u, 11u, 4u, 2u}) // contents, finder, help on help, unknown
        help.WinHelp(0x20080, command);
    help.WinHelp(0x20080, HELP_CONTEXT);
    help.WinHelp(0x2ABCD, HELP_CONTEXT); // a parent's topic ends the search
    fake.parents = {128};
    help.WinHelp(0xFFFF1234, HELP_CONTEXT);
    EXPECT_EQ(fake.calls, (Calls{"cancel",   "load " + helpFile, "popup 1002",  "cancel",
                                 "contents", "cancel",           "index",       "cancel",
                                 "search",   "cancel",           "cancel",      "topic 20080",
                                 "cancel",   "topic 2abcd",      "topic 50000", "topic 503e9",
                                 "cancel",   "topic ffff1234",   "topic 50080", "box"}));
    EXPECT_EQ(fake.popup.popupFile, "KLVN_MAIN_pop.txt");
    EXPECT_EQ(fake.popup.position, (ScreenPoint{321, -40}));
    EXPECT_EQ(fake.popup.backgroundColor, 0x00D0FFFFu);
    EXPECT_EQ(fake.waitDepth, 0);
    ASSERT_EQ(fake.shown.size(), 1u);
    EXPECT_EQ(fake.shown[0].text, NotFound("0xffff0000 + 0x1234(4660)"));

    SetResourceLanguage(ResourceLanguage::Japanese);
    help.WinHelp(0x20999, HELP_CONTEXT);
    EXPECT_EQ(fake.shown.back().text, "指定されたトピックが見つかりません。\n\nファイルパス [ " +
                                          helpFile +
                                          " ]\n コンテキスト ID [0x20000 + 0x0999(2457)]");
}

TEST(TextPopupFileTest, FindsTopicsByNumber) {
    const std::string file = "\xEF\xBB\xBF.topic 1\r\nFirst line.\r\nSecond line.\r\n\r\n"
                             ".topic IDH_NAMED\nNamed.\n"
                             ".topic   0x3EA  \n\n  Hex topic.\n\n\n"
                             ".topics 5\n.topic 7\n.topic 8\nEight.";
    EXPECT_EQ(FindTextPopup(file, 1), "First line.\nSecond line.");
    // The line that does not start a topic belongs to the one before.
    EXPECT_EQ(FindTextPopup(file, 1002), "  Hex topic.\n\n\n.topics 5");
    EXPECT_EQ(FindTextPopup(file, 7), "");
    EXPECT_EQ(FindTextPopup(file, 8), "Eight.");
    EXPECT_EQ(FindTextPopup(file, 5), std::nullopt);
    EXPECT_EQ(FindTextPopup(file, 0), std::nullopt); // IDH_NAMED is no number
    EXPECT_EQ(FindTextPopup(".topic 4294967296\nToo big.", 0), std::nullopt);
}

} // namespace
} // namespace kelvane
