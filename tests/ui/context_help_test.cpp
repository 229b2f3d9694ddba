// SPDX-License-Identifier: MIT
#include "ui/context_help.h"

#include "platform/message_box_recorder.h"
#include "res/string_table.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace kelvane {
namespace {

// Viewer, desktop and message boxes in one, logging the calls in order.
struct Fakes : HelpViewer, HelpDesktop, test::MessageBoxRecorder {
    bool Load(const std::string& file) override { return Log("load " + file) && loadSucceeds; }
    bool ShowTopic(uint32_t id) override {
        return Log((std::ostringstream() << "topic " << std::hex << id).str()) && topics.count(id);
    }
    bool ShowPopup(const HelpPopupRequest& request) override {
        const auto& [x, y] = request.position;
        return !Log("popup " + std::to_string(request.topicId) + "@" + std::to_string(x) + "," +
                    std::to_string(y));
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
        Log((waitDepth == 0 ? "box " : "box under the wait cursor ") + text);
        return MessageBoxRecorder::MessageBox(text, caption, style);
    }

    bool Log(const std::string& call) { return calls += call + "; ", true; }

    bool loadSucceeds = true;
    std::set<uint32_t> topics;
    std::vector<uint32_t> parents;
    int waitDepth = 0;
    std::string calls;
};

struct ContextHelpTest : ::testing::Test {
    ContextHelpTest() {
        SetResourceLanguage(ResourceLanguage::English);
        test::WriteBytes(helpFile, "not read by the core");
    }

    test::TempFolder folder;
    std::string helpFile = folder.File("kelvane.qch");
    std::string notFound =
        "box Can not find the specified topic.\n\nFile path [ " + helpFile + " ]\n Context-ID [";
    Fakes fake;
    ContextHelp help{helpFile, fake, fake, fake};
};

// Neither a missing file nor a failed load reaches the engine again.
TEST_F(ContextHelpTest, HelpThatCannotLoadIsReportedAndNeverTriedAgain) {
    const std::string missing = folder.File("gone/kelvane.qch");
    ContextHelp lost(missing, fake, fake, fake);
    lost.WinHelp(0x20080, HELP_CONTENTS);
    EXPECT_TRUE(lost.OnHelpInfo(1002));
    fake.loadSucceeds = false;
    fake.topics = {0x20080, 0x50080};
    fake.parents = {128};
    help.WinHelp(0x20080, HELP_CONTEXT);
    help.WinHelp(1002, HELP_POPUP);
    help.WinHelp(0x20080, HELP_CONTEXT);
    const std::string gone = "box Help file not found.\n\nFile path [ " + missing + " ]; ";
    const std::string topic = notFound + "0x20000 + 0x0080(128)]; ";
    EXPECT_EQ(fake.calls, "cancel; " + gone + "cancel; " + gone + "cancel; load " + helpFile +
                              "; " + topic + "cancel; cancel; " + topic);
    EXPECT_TRUE(help.LoadFailed());
    EXPECT_EQ(fake.shown[0].caption, "KLVN_MAIN");
}

// The engine is loaded once; a missing topic is looked for under the parents
// of the window under the cursor, then the id asked for is reported.
TEST_F(ContextHelpTest, RequestsGoToTheViewerAndMissingTopicsTryTheParents) {
    fake.topics = {0x20080, 0x503E9};
    fake.parents = {0, 1001, 1002};
    EXPECT_FALSE(help.OnHelpInfo(0));                // no control: left to the dialog
    EXPECT_TRUE(help.OnHelpInfo(1002));              // a popup that cannot be shown says nothing
    for (const uint32_t command : {3u, 11u, 4u, 2u}) // contents, finder, help on help, unknown
        help.WinHelp(0x20080, command);
    help.WinHelp(0x20080, HELP_CONTEXT);
    help.WinHelp(0x2ABCD, HELP_CONTEXT); // a parent's topic ends the search
    fake.parents = {128};
    help.WinHelp(0xFFFF1234, HELP_CONTEXT);
    EXPECT_EQ(fake.calls, "cancel; load " + helpFile +
                              "; popup 1002@321,-40; cancel; contents; cancel; index; cancel; "
                              "search; cancel; cancel; topic 20080; cancel; topic 2abcd; "
                              "topic 50000; topic 503e9; cancel; topic ffff1234; topic 50080; " +
                              notFound + "0xffff0000 + 0x1234(4660)]; ");
}

TEST(TextPopupFileTest, FindsTopicsByNumber) {
    const std::string file = "\xEF\xBB\xBF.topic 1\r\nFirst line.\r\nSecond line.\r\n\r\n"
                             ".topic IDH_NAMED\nNamed.\n"
                             ".topic   0x3EA  \n\n  Hex topic.\n\n\n"
                             ".topics 5\n.topic 7\n.topic 8\nEight.";
    EXPECT_EQ(FindTextPopup(file, 1), "First line.\nSecond line.");
    // The line that does not start a topic belongs to the one before.
    EXPECT_EQ(FindTextPopup(file, 1002), "  Hex topic.\n\n\n.topics 5");
    EXPECT_EQ(FindTextPopup(file, 8), "Eight.");
    EXPECT_EQ(FindTextPopup(file, 5), std::nullopt);
    EXPECT_EQ(FindTextPopup(file, 0), std::nullopt); // IDH_NAMED is no number
    EXPECT_EQ(FindTextPopup(".topic 4294967296\nToo big.", 0), std::nullopt);
}

} // namespace
} // namespace kelvane
