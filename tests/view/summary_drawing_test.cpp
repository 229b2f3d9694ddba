// SPDX-License-Identifier: MIT
#include "view/summary_drawing.h"

#include "res/string_table.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kelvane {
namespace {

class SummaryDrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetResourceLanguage(ResourceLanguage::English);
        settings.m_bProjectLoaded = true;
        settings.m_strProjectBaseName = "demo";
        settings.m_strProjectDir = "C:\\work";
        settings.m_nIceModel = ICE_TALVEX_MAX;
        std::strcpy(settings.m_szMpdFile, "C:\\dev\\mpu\\abc.mpv");
        settings.m_strModelName = "KV77";
        auto& set = settings.m_fileSet;
        set[FILE_FSP].m_strName = "demo.fsp";
        set[FILE_FSR] = {"demo.fsr", "demo.fsr", 0, 1, 1};
        set[FILE_UER] = {"demo.uer", "demo.uer", 0, 1, 0};
        set[FILE_SBU] = {"", "demo.sbu", 0, 0, 0};
        set[FILE_MCR] = {"other.mcr", "demo.mcr", 0, 0, 1}; // loaded, but not the project's
    }

    ProjectSettings settings;
};

TEST_F(SummaryDrawingTest, DrawsTheLinesAndTagsAtTheirPlaces) {
    const std::vector<SummaryText> drawing = SummaryDrawing(settings);
    EXPECT_EQ(SummaryLines(drawing),
              (std::vector<std::string>{
                  "Opened project: demo", "Target system: talvexMAX(abc.mpv)", "Model name: KV77",
                  " FSP file: C:\\work\\demo.fsp", "[SYNC] FSR file: demo.fsr",
                  "[NOT SYNC] UER file: demo.uer(File is not exist.)",
                  "[NOT SYNC] SBU file: ", "[NOT SYNC] MCR file: other.mcr"}));
    // Each text's corner, and the colour of those not in black.
    std::string places;
    for (const SummaryText& t : drawing)
        places += std::to_string(t.x) + "," + std::to_string(t.y) +
                  (t.colour == kTextBlack      ? " "
                   : t.colour == kSyncBlue     ? "S "
                   : t.colour == kNotSyncGreen ? "N "
                                               : "? ");
    EXPECT_EQ(places, "64,10 112,40 144,70 112,100 112,120 0,120S 112,140 0,140N 112,160 0,160N "
                      "112,180 0,180N ");
}

// "(File is not exist.)" only for a file that is not there; else why it was
// not read, as the load recorded it.
TEST_F(SummaryDrawingTest, ACompanionNotReadSaysWhy) {
    auto& set = settings.m_fileSet;
    set[FILE_UER].m_strLoadFailure = "Is a directory: C:\\work\\demo.uer";
    set[FILE_SBU] = {"demo.sbu", "demo.sbu", 0, 1, 0, ""};
    set[FILE_MCR] = {"demo.mcr", "demo.mcr", 0, 1, 1, "stale"}; // loaded: nothing to say
    const std::vector<std::string> lines = SummaryLines(SummaryDrawing(settings));
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[5], "[NOT SYNC] UER file: demo.uer(Is a directory: C:\\work\\demo.uer)");
    EXPECT_EQ(lines[6], "[NOT SYNC] SBU file: demo.sbu(File is not exist.)");
    EXPECT_EQ(lines[7], "[SYNC] MCR file: demo.mcr");
}

TEST_F(SummaryDrawingTest, TextRulesForModelAndNames) {
    settings.m_nIceModel = 5;
    std::strcpy(settings.m_szMpdFile, "KV4021");
    settings.m_strSelectedModelName = "KV4021A";
    EXPECT_EQ(SummaryDrawing(settings)[1].text, "Target system: not supported(KV4021)");
    EXPECT_EQ(SummaryDrawing(settings)[2].text, "Model name: KV4021A");

    settings.m_szMpdFile[0] = '\0';
    settings.m_strSelectedModelName.clear();
    settings.m_strModelName.clear();
    settings.m_strProjectDir = "/home/u/p";
    const std::vector<std::string> lines = SummaryLines(SummaryDrawing(settings));
    EXPECT_EQ(lines[1], "Target system: not supported()");
    EXPECT_EQ(lines[2], "Model name: Model name undefined");
    EXPECT_EQ(lines[3], " FSP file: /home/u/p/demo.fsp");

    settings.m_bProjectLoaded = false;
    EXPECT_TRUE(SummaryDrawing(settings).empty());
}

} // namespace
} // namespace kelvane
