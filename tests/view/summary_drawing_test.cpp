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
        settings.m_fileSet[FILE_FSP].m_strName = "demo.fsp";
        auto& set = settings.m_fileSet;
        set[FILE_FSR] = {"demo.fsr", "demo.fsr", 0, 1, 1};
        set[FILE_UER] = {"demo.uer", "demo.uer", 0, 1, 0};
        set[FILE_SBU] = {"", "demo.sbu", 0, 0, 0};
        set[FILE_MCR] = {"other.mcr", "demo.mcr", 0, 0, 1};
    }

    ProjectSettings settings;
};

TEST_F(SummaryDrawingTest, DrawsTheLinesAndTagsAtTheirPlaces) {
    const std::vector<SummaryText> drawing = SummaryDrawing(settings);
    ASSERT_EQ(drawing.size(), 12u);
    const auto expect = [&](size_t i, int x, int y, const std::string& text, TextColour colour) {
        SCOPED_TRACE(i);
        EXPECT_EQ(drawing[i].x, x);
        EXPECT_EQ(drawing[i].y, y);
        EXPECT_EQ(drawing[i].text, text);
        EXPECT_TRUE(drawing[i].colour == colour);
    };
    expect(0, 64, 10, "Opened project: demo", kTextBlack);
    expect(1, 112, 40, "Target system: talvexMAX(abc.mpv)", kTextBlack);
    expect(2, 144, 70, "Model name: KV77", kTextBlack);
    expect(3, 112, 100, " FSP file: C:\\work\\demo.fsp", kTextBlack);
    expect(4, 112, 120, " FSR file: demo.fsr", kTextBlack);
    expect(5, 0, 120, "[SYNC]", kSyncBlue);
    expect(6, 112, 140, " UER file: demo.uer(File is not exist.)", kTextBlack);
    expect(7, 0, 140, "[NOT SYNC]", kNotSyncGreen);
    expect(8, 112, 160, " SBU file: ", kTextBlack);
    expect(9, 0, 160, "[NOT SYNC]", kNotSyncGreen);
    // Loaded but not in sync is still not the project's file.
    expect(10, 112, 180, " MCR file: other.mcr", kTextBlack);
    expect(11, 0, 180, "[NOT SYNC]", kNotSyncGreen);

    const std::vector<std::string> lines = SummaryLines(drawing);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[4], "[SYNC] FSR file: demo.fsr");
    EXPECT_EQ(lines[7], "[NOT SYNC] MCR file: other.mcr");
}

TEST_F(SummaryDrawingTest, TextRulesForModelAndNames) {
    settings.m_nIceModel = 5;
    std::strcpy(settings.m_szMpdFile, "KV4021");
    settings.m_strSelectedModelName = "KV4021A";
    std::vector<SummaryText> drawing = SummaryDrawing(settings);
    EXPECT_EQ(drawing[1].text, "Target system: not supported(KV4021)");
    EXPECT_EQ(drawing[2].text, "Model name: KV4021A");

    settings.m_szMpdFile[0] = '\0';
    settings.m_strSelectedModelName.clear();
    settings.m_strModelName.clear();
    settings.m_strProjectDir = "/home/u/p";
    drawing = SummaryDrawing(settings);
    EXPECT_EQ(drawing[1].text, "Target system: not supported()");
    EXPECT_EQ(drawing[2].text, "Model name: Model name undefined");
    EXPECT_EQ(drawing[3].text, " FSP file: /home/u/p/demo.fsp");

    settings.m_bProjectLoaded = false;
    EXPECT_TRUE(SummaryDrawing(settings).empty());
}

} // namespace
} // namespace kelvane
