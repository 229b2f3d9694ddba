#include "store/companion_buffer.h"

#include "platform/message_box_recorder.h"
#include "res/string_table.h"
#include "test_files.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using namespace test;

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

    TempFolder folder;
    ProjectSettings settings;
    MessageBoxRecorder boxes;
};

TEST_F(CompanionBufferTest, CopiesUpToItsCapacityByteForByteAndKeepsThePreviousFile) {
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
        ASSERT_TRUE(buffer.LoadCompanion(source) && buffer.SaveCompanion(copy));
        EXPECT_EQ(ReadBytes(copy), full);
        // A write failing part-way, and a buffer one byte over, leave the previous file.
        EXPECT_FALSE([&] {
            const ScopedFileSizeLimit limit(1000);
            return buffer.SaveCompanion(copy);
        }());
        WriteBytes(source, full + "x");
        EXPECT_FALSE(buffer.LoadCompanion(source));
        EXPECT_EQ(settings.m_fileSet[c.kind].m_bLoaded, 0);
        EXPECT_FALSE(buffer.SaveCompanion(copy));
        EXPECT_EQ(ReadBytes(copy), full);
        EXPECT_FALSE(buffer.SaveCompanion(folder.File("no/such/folder")));
        ASSERT_EQ(boxes.shown.size(), 3u); // loads never show anything
        EXPECT_EQ(boxes.shown[0].text, boxes.shown[1].text);
        EXPECT_EQ(boxes.shown[1].text, "The error occurred during " + c.name + " file writing.");
        EXPECT_EQ(boxes.shown[2].text, c.name + " file is not writable.");
    }
}

} // namespace
} // namespace kelvane
