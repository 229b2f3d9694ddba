#include "store/companion_buffer.h"

#include "platform/message_box_recorder.h"
#include "res/string_table.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using test::ReadBytes;
using test::WriteBytes;

// Every byte value, line ends and end-of-file marks included, repeated.
std::string BinaryContent(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

class CompanionBufferTest : public ::testing::Test {
protected:
    void SetUp() override { SetResourceLanguage(ResourceLanguage::English); }

    test::TempFolder folder;
    ProjectSettings settings;
    test::MessageBoxRecorder boxes;
};

TEST_F(CompanionBufferTest, CopiesUpToItsCapacityByteForByteAndNamesItsFile) {
    const struct {
        ProjectFileKind kind;
        uint32_t capacity;
        std::string name;
    } cases[] = {{FILE_UER, 4096000, "UER"}, {FILE_SBU, 585728, "SBU"}, {FILE_MCR, 4096000, "MCR"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        boxes.shown.clear();
        CompanionBuffer buffer(settings, c.kind, boxes);
        const std::string full = BinaryContent(c.capacity), source = folder.File("source"),
                          copy = folder.File("copy");
        WriteBytes(source, full);
        ASSERT_TRUE(buffer.LoadCompanion(source));
        EXPECT_EQ(settings.m_fileSet[c.kind].m_bLoaded, 1);
        ASSERT_TRUE(buffer.SaveCompanion(copy));
        EXPECT_EQ(ReadBytes(copy), full);

        // One byte over is refused, and such a buffer is never written out.
        WriteBytes(source, full + "x");
        EXPECT_FALSE(buffer.LoadCompanion(source));
        EXPECT_EQ(settings.m_fileSet[c.kind].m_bLoaded, 0);
        EXPECT_FALSE(buffer.SaveCompanion(copy));
        EXPECT_EQ(ReadBytes(copy), full);
        EXPECT_FALSE(buffer.SaveCompanion(folder.File("no/such/folder")));
        ASSERT_EQ(boxes.shown.size(), 2u);
        EXPECT_EQ(boxes.shown[0].text, "The error occurred during " + c.name + " file writing.");
        EXPECT_EQ(boxes.shown[1].text, c.name + " file is not writable.");
    }
}

TEST_F(CompanionBufferTest, EmptyUnreadableAndPartlyWrittenFiles) {
    CompanionBuffer mcr(settings, FILE_MCR, boxes);
    const std::string source = folder.File("source.mcr"), target = folder.File("target.mcr");
    WriteBytes(source, "");
    WriteBytes(target, "stale");
    ASSERT_TRUE(mcr.LoadCompanion(source) && mcr.SaveCompanion(target));
    EXPECT_EQ(ReadBytes(target), "");
    EXPECT_FALSE(mcr.LoadCompanion(folder.Path())); // a folder is not a file
    EXPECT_EQ(settings.m_fileSet[FILE_MCR].m_bLoaded, 0);
    EXPECT_TRUE(boxes.shown.empty()); // loading never shows anything

    WriteBytes(source, BinaryContent(5000));
    ASSERT_TRUE(mcr.LoadCompanion(source));
    WriteBytes(target, "previous");
    EXPECT_FALSE([&] {
        const test::ScopedFileSizeLimit limit(1000);
        return mcr.SaveCompanion(target);
    }());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "The error occurred during MCR file writing.");
    EXPECT_EQ(boxes.shown[0].caption, "Confirm");
    EXPECT_EQ(boxes.shown[0].style, unsigned(MB_OK));
    EXPECT_EQ(ReadBytes(target), "previous");
}

} // namespace
} // namespace kelvane
