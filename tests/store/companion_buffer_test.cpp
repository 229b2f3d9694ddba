#include "store/companion_buffer.h"

#include "platform/message_box_recorder.h"
#include "res/string_table.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelvane {
namespace {

using test::ReadBytes;
using test::TempFolder;
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

    TempFolder folder;
    ProjectSettings settings;
    test::MessageBoxRecorder boxes;
};

TEST_F(CompanionBufferTest, LoadsUpToItsCapacityAndCopiesByteForByte) {
    const struct {
        ProjectFileKind kind;
        uint32_t capacity;
    } cases[] = {{FILE_UER, 4096000}, {FILE_SBU, 585728}, {FILE_MCR, 4096000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(ProjectFileExtension(c.kind));
        CompanionBuffer buffer(settings, c.kind, boxes);
        EXPECT_EQ(buffer.Capacity(), c.capacity);
        const std::string full = BinaryContent(c.capacity);
        const std::string original = folder.File(std::string("old") + ProjectFileExtension(c.kind));
        WriteBytes(original, full);
        ASSERT_TRUE(buffer.LoadCompanion(original));
        EXPECT_EQ(settings.m_fileSet[c.kind].m_bLoaded, 1);
        EXPECT_EQ(buffer.Size(), c.capacity);

        const std::string copy = folder.File(std::string("new") + ProjectFileExtension(c.kind));
        ASSERT_TRUE(buffer.SaveCompanion(copy));
        EXPECT_EQ(ReadBytes(copy), full);
        EXPECT_EQ(ReadBytes(original), full);

        // One byte over the capacity is refused and such a buffer is never
        // written out.
        const std::string over = folder.File(std::string("over") + ProjectFileExtension(c.kind));
        WriteBytes(over, full + "x");
        EXPECT_FALSE(buffer.LoadCompanion(over));
        EXPECT_EQ(settings.m_fileSet[c.kind].m_bLoaded, 0);
        const std::string target = folder.File(std::string("t") + ProjectFileExtension(c.kind));
        EXPECT_FALSE(buffer.SaveCompanion(target));
        EXPECT_FALSE(std::filesystem::exists(target));
    }
    EXPECT_EQ(boxes.shown.size(), 3u);
}

TEST_F(CompanionBufferTest, EmptyAndMissingFiles) {
    CompanionBuffer mcr(settings, FILE_MCR, boxes);
    const std::string empty = folder.File("empty.mcr");
    WriteBytes(empty, "");
    ASSERT_TRUE(mcr.LoadCompanion(empty));
    EXPECT_EQ(settings.m_fileSet[FILE_MCR].m_bLoaded, 1);
    EXPECT_EQ(mcr.Size(), 0u);
    const std::string copy = folder.File("copy.mcr");
    WriteBytes(copy, "stale");
    ASSERT_TRUE(mcr.SaveCompanion(copy));
    EXPECT_EQ(ReadBytes(copy), "");

    EXPECT_FALSE(mcr.LoadCompanion(folder.File("absent.mcr")));
    EXPECT_EQ(settings.m_fileSet[FILE_MCR].m_bLoaded, 0);
    EXPECT_FALSE(mcr.LoadCompanion(folder.Path())); // a folder is not a file
    EXPECT_TRUE(boxes.shown.empty());               // loading never shows anything
}

TEST_F(CompanionBufferTest, FailedSavesShowTheirMessageAndKeepThePreviousFile) {
    CompanionBuffer sbu(settings, FILE_SBU, boxes);
    const std::string source = folder.File("a.sbu");
    WriteBytes(source, BinaryContent(5000));
    ASSERT_TRUE(sbu.LoadCompanion(source));

    EXPECT_FALSE(sbu.SaveCompanion(folder.File("no/such/folder.sbu")));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "SBU file is not writable.");
    EXPECT_EQ(boxes.shown[0].caption, "Confirm");
    EXPECT_EQ(boxes.shown[0].style, 0u);

    const std::string target = folder.File("b.sbu");
    WriteBytes(target, "previous");
    bool saved = true;
    {
        const test::ScopedFileSizeLimit limit(1000);
        saved = sbu.SaveCompanion(target);
    }
    EXPECT_FALSE(saved);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].text, "The error occurred during SBU file writing.");
    EXPECT_EQ(ReadBytes(target), "previous");
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        ++files;
    EXPECT_EQ(files, 2u); // no temporary file left behind
}

TEST_F(CompanionBufferTest, MessagesNameTheirFile) {
    CompanionBuffer uer(settings, FILE_UER, boxes);
    CompanionBuffer mcr(settings, FILE_MCR, boxes);
    EXPECT_FALSE(uer.SaveCompanion(folder.File("x/a.uer")));
    EXPECT_FALSE(mcr.SaveCompanion(folder.File("x/a.mcr")));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "UER file is not writable.");
    EXPECT_EQ(boxes.shown[1].text, "MCR file is not writable.");
}

} // namespace
} // namespace kelvane
