#include "ui/context_help.h"

#include "platform/message_box_recorder.h"
#include "res/string_table.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace kelvane {
namespace {

class FakeViewer : public HelpViewer {
public:
    bool Load(const std::string& helpFile) override {
        loads.push_back(helpFile);
        return loadSucceeds;
    }
    bool ShowTopic(uint32_t contextId) override {
        asked.push_back(contextId);
        return topics.count(contextId) != 0;
    }
    bool ShowPopup(const HelpPopupRequest& request) override {
        popups.push_back(request);
        return false;
    }
    bool ShowContents() override { return Shown("contents"); }
    bool ShowIndex() override { return Shown("index"); }
    bool ShowSearch() override { return Shown("search"); }

    bool Shown(const char* what) {
        panels.push_back(what);
        return true;
    }

    bool loadSucceeds = true;
    std::set<uint32_t> topics;
    std::vector<std::string> loads;
    std::vector<uint32_t> asked;
    std::vector<HelpPopupRequest> popups;
    std::vector<std::string> panels;
};

class FakeDesktop : public HelpDesktop {
public:
    void BeginWaitCursor() override { ++waitDepth; }
    void EndWaitCursor() override { --waitDepth; }
    void CancelModes() override { ++cancels; }
    ScreenPoint CursorPosition() override { return cursor; }
    std::vector<uint32_t> ParentControlIdsUnderCursor() override { return parents; }

    int waitDepth = 0;
    int cancels = 0;
    ScreenPoint cursor;
    std::vector<uint32_t> parents;
};

// Notes whether the wait cursor was still up when a box appeared.
class Boxes : public test::MessageBoxRecorder {
public:
    explicit Boxes(const FakeDesktop& desktop) : m_desktop(desktop) {}
    int MessageBox(const std::string& text, const std::string& caption, unsigned style) override {
        waitDepths.push_back(m_desktop.waitDepth);
        return MessageBoxRecorder::MessageBox(text, caption, style);
    }
    std::vector<int> waitDepths;

private:
    const FakeDesktop& m_desktop;
};

class ContextHelpTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetResourceLanguage(ResourceLanguage::English);
        test::WriteBytes(helpFile, "not read by the core");
    }
    void TearDown() override { SetResourceLanguage(ResourceLanguage::English); }

    std::string NotFound(const std::string& contextLine) const {
        return "Can not find the specified topic.\n\nFile path [ " + helpFile + " ]\n" +
               contextLine;
    }

    test::TempFolder folder;
    std::string helpFile = folder.File("kelvane.qch");
    FakeViewer viewer;
    FakeDesktop desktop;
    Boxes boxes{desktop};
    ContextHelp help{helpFile, viewer, desktop, boxes};
};

TEST_F(ContextHelpTest, MissingHelpFileIsReportedForEveryRequest) {
    const std::string missing = folder.File("gone/kelvane.qch");
    ContextHelp lost(missing, viewer, desktop, boxes);
    const uint32_t commands[] = {
        HELP_CONTEXT, HELP_CONTENTS, HELP_HELPONHELP, HELP_FINDER, HELP_POPUP, 2, 99};
    for (const uint32_t command : commands)
        lost.WinHelp(0x20080, command);
    EXPECT_TRUE(lost.OnHelpInfo(1002));

    ASSERT_EQ(boxes.shown.size(), std::size(commands) + 1);
    for (const auto& box : boxes.shown) {
        EXPECT_EQ(box.text, "Help file not found.\n\nFile path [ " + missing + " ]");
        EXPECT_EQ(box.caption, "KLVN_MAIN");
        EXPECT_EQ(box.style, MB_OK);
    }
    // Nothing reached the engine; every box came after the wait cursor.
    EXPECT_TRUE(viewer.loads.empty());
    EXPECT_TRUE(viewer.popups.empty());
    EXPECT_TRUE(viewer.panels.empty());
    EXPECT_EQ(boxes.waitDepths, std::vector<int>(boxes.shown.size(), 0));
    EXPECT_EQ(desktop.waitDepth, 0);
    EXPECT_EQ(desktop.cancels, static_cast<int>(boxes.shown.size()));

    SetResourceLanguage(ResourceLanguage::Japanese);
    lost.WinHelp(0x20080, HELP_CONTEXT);
    EXPECT_NE(boxes.shown.back().text.find("[ " + missing + " ]"), std::string::npos);
    EXPECT_NE(boxes.shown.back().text.rfind("ヘルプファイル", 0), std::string::npos);
}

TEST_F(ContextHelpTest, TopicFoundEndsTheRequest) {
    viewer.topics = {0x20080};
    desktop.parents = {128};
    help.WinHelp(0x20080, HELP_CONTEXT);
    help.WinHelp(0x20080, HELP_CONTEXT);
    EXPECT_EQ(viewer.asked, (std::vector<uint32_t>{0x20080, 0x20080}));
    EXPECT_EQ(viewer.loads, std::vector<std::string>{helpFile}); // once
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(desktop.waitDepth, 0);

    // A folder at the help file's path passes the file check.
    const std::string folderPath = folder.File("folder.qch");
    std::filesystem::create_directory(folderPath);
    FakeViewer other;
    other.topics = {0x20080};
    ContextHelp atFolder(folderPath, other, desktop, boxes);
    atFolder.WinHelp(0x20080, HELP_CONTEXT);
    EXPECT_EQ(other.loads, std::vector<std::string>{folderPath});
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ContextHelpTest, ParentsUnderTheCursorAreTriedThenTheIdAskedForIsReported) {
    desktop.parents = {0, 128};
    help.WinHelp(0x20080, HELP_CONTEXT);
    EXPECT_EQ(viewer.asked, (std::vector<uint32_t>{0x20080, 0x50000, 0x50080}));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, NotFound(" Context-ID [0x20000 + 0x0080(128)]"));
    EXPECT_EQ(boxes.shown[0].caption, "KLVN_MAIN");
    EXPECT_EQ(boxes.shown[0].style, MB_OK);
    EXPECT_EQ(boxes.waitDepths, std::vector<int>{0});

    // A parent's topic ends the search there.
    viewer.asked.clear();
    viewer.topics = {0x503E9};
    desktop.parents = {1001, 1002, 128};
    help.WinHelp(0x2ABCD, HELP_CONTEXT);
    EXPECT_EQ(viewer.asked, (std::vector<uint32_t>{0x2ABCD, 0x503E9}));
    EXPECT_EQ(boxes.shown.size(), 1u);

    // Nothing under the cursor: only the id itself; the high half of the id
    // and its low half in both notations.
    viewer.asked.clear();
    desktop.parents.clear();
    help.WinHelp(0xFFFF1234, HELP_CONTEXT);
    EXPECT_EQ(viewer.asked, std::vector<uint32_t>{0xFFFF1234});
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, NotFound(" Context-ID [0xffff0000 + 0x1234(4660)]"));

    SetResourceLanguage(ResourceLanguage::Japanese);
    help.WinHelp(0x20080, HELP_CONTEXT);
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_NE(boxes.shown[2].text.find("[ " + helpFile + " ]"), std::string::npos);
    EXPECT_NE(boxes.shown[2].text.find("[0x20000 + 0x0080(128)]"), std::string::npos);
}

TEST_F(ContextHelpTest, PopupsAndPanelsGoToTheViewer) {
    desktop.cursor = {321, -40};
    EXPECT_TRUE(help.OnHelpInfo(1002));
    help.WinHelp(1013, HELP_POPUP);
    ASSERT_EQ(viewer.popups.size(), 2u);
    const HelpPopupRequest& popup = viewer.popups[0];
    EXPECT_EQ(popup.popupFile, "KLVN_MAIN_pop.txt");
    EXPECT_EQ(popup.topicId, 1002u);
    EXPECT_EQ(popup.position, (ScreenPoint{321, -40}));
    EXPECT_EQ(popup.textColor, 0u);
    EXPECT_EQ(popup.backgroundColor, 0x00D0FFFFu);
    EXPECT_EQ(popup.marginLeft, -1);
    EXPECT_EQ(popup.marginTop, -1);
    EXPECT_EQ(popup.marginRight, -1);
    EXPECT_EQ(popup.marginBottom, -1);
    EXPECT_EQ(viewer.popups[1].topicId, 1013u);
    // A popup the viewer cannot show says nothing.
    EXPECT_TRUE(boxes.shown.empty());

    help.WinHelp(0, HELP_CONTENTS);
    help.WinHelp(0, HELP_FINDER);
    help.WinHelp(0, HELP_HELPONHELP);
    help.WinHelp(0x20080, 2);
    help.WinHelp(0x20080, 15);
    EXPECT_EQ(viewer.panels, (std::vector<std::string>{"contents", "index", "search"}));
    EXPECT_TRUE(viewer.asked.empty());
    EXPECT_EQ(viewer.loads.size(), 1u);
    EXPECT_EQ(desktop.waitDepth, 0);
}

TEST_F(ContextHelpTest, FailedLoadIsNeverRetried) {
    viewer.loadSucceeds = false;
    viewer.topics = {0x20080, 0x50080};
    desktop.parents = {128};
    help.WinHelp(0x20080, HELP_CONTEXT);
    help.WinHelp(1002, HELP_POPUP);
    help.WinHelp(0, HELP_CONTENTS);
    help.WinHelp(0x20080, HELP_CONTEXT);

    EXPECT_EQ(viewer.loads.size(), 1u);
    EXPECT_TRUE(help.LoadFailed());
    EXPECT_TRUE(viewer.asked.empty());
    EXPECT_TRUE(viewer.popups.empty());
    EXPECT_TRUE(viewer.panels.empty());
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, NotFound(" Context-ID [0x20000 + 0x0080(128)]"));
    EXPECT_EQ(boxes.shown[1].text, NotFound(" Context-ID [0x20000 + 0x0080(128)]"));
}

TEST_F(ContextHelpTest, HelpInfoWithoutAControlIsLeftToTheDialog) {
    EXPECT_FALSE(help.OnHelpInfo(0));
    EXPECT_FALSE(help.OnHelpInfo(-1));
    EXPECT_EQ(desktop.cancels, 0);
    EXPECT_TRUE(viewer.loads.empty());
    EXPECT_TRUE(viewer.popups.empty());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(TextPopupFileTest, FindsTopicsByNumber) {
    const std::string file = "\xEF\xBB\xBF.topic 1\r\nFirst line.\r\nSecond line.\r\n\r\n"
                             ".topic IDH_NAMED\nNamed.\n"
                             ".topic   0x3EA  \n\n  Hex topic.\n\n\n"
                             ".topics 5\n"
                             ".topic 7\n"
                             ".topic 8\nEight.";
    EXPECT_EQ(FindTextPopup(file, 1), "First line.\nSecond line.");
    // The line that does not start a topic belongs to the one before.
    EXPECT_EQ(FindTextPopup(file, 1002), "  Hex topic.\n\n\n.topics 5");
    EXPECT_EQ(FindTextPopup(file, 7), "");
    EXPECT_EQ(FindTextPopup(file, 8), "Eight.");
    EXPECT_EQ(FindTextPopup(file, 5), std::nullopt);
    EXPECT_EQ(FindTextPopup(file, 0), std::nullopt);
    EXPECT_EQ(FindTextPopup("", 1), std::nullopt);
    EXPECT_EQ(FindTextPopup(".topic 4294967296\nToo big.", 0), std::nullopt);
}

} // namespace
} // namespace kelvane
