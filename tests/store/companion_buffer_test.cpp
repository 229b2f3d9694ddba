// SPDX-License-Identifier: MIT
#include "store/companion_buffer.h"

#include "platform/message_box_recorder.h"
#include "res/string_table.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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
    KELVANE_SKIP_ON_WINDOWS("no per-process file size limit to make a write fail part-way");
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
        // Each message says why, with the path: the system's reason where it gave one.
        const std::string writeError = "The error occurred during " + c.name + " file writing. ";
        EXPECT_EQ(boxes.shown[0].text, writeError + std::strerror(EFBIG) + ": " + copy);
        EXPECT_EQ(boxes.shown[1].text, writeError + copy);
        EXPECT_EQ(boxes.shown[2].text, c.name + " file is not writable. " + std::strerror(ENOENT) +
                                           ": " + folder.File("no/such/folder"));
    }
}

// The save copies the file that was loaded: one put in its place, or its
// name removed, changes nothing; one changed in place is refused, and the
// previous copy stays.
TEST_F(CompanionBufferTest, SavesTheFileItOpenedAndRefusesOneChangedInPlace) {
    CompanionBuffer buffer(settings, FILE_UER, boxes);
    const std::string source = folder.File("demo.uer"), copy = folder.File("copy.uer");
    const std::string original = BinaryContent(300000);
    WriteBytes(source, original);
    ASSERT_TRUE(buffer.LoadCompanion(source));
    WriteBytes(folder.File("other"), "another file");
    std::filesystem::rename(folder.File("other"), source);
    ASSERT_TRUE(buffer.SaveCompanion(copy));
    EXPECT_EQ(ReadBytes(copy), original);
    ASSERT_EQ(std::remove(source.c_str()), 0);
    ASSERT_TRUE(buffer.SaveCompanion(copy));
    EXPECT_EQ(ReadBytes(copy), original);
    EXPECT_TRUE(boxes.shown.empty());

    const struct {
        const char* name;
        std::function<void(const std::string&)> change;
    } changes[] = {
        {"rewritten, same length",
         [](const std::string& path) { WriteBytes(path, std::string(300000, 'z')); }},
        {"cut", [](const std::string& path) { ASSERT_EQ(truncate(path.c_str(), 1000), 0); }},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.name);
        boxes.shown.clear();
        WriteBytes(source, original);
        ASSERT_TRUE(buffer.LoadCompanion(source));
        // Past the file system's clock step, so the change moves the time.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        c.change(source);
        EXPECT_FALSE(buffer.SaveCompanion(copy));
        EXPECT_EQ(ReadBytes(copy), original);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].text, "The error occurred during UER file writing. Changed by "
                                       "another program since the project was opened: " +
                                           source);
    }
}

// Why a load failed is kept for the view, except for a file that is not
// there, which the view names in its own words.
TEST_F(CompanionBufferTest, AFailedLoadSaysWhyUnlessTheFileIsMissing) {
    CompanionBuffer buffer(settings, FILE_SBU, boxes);
    const ProjectFileEntry& entry = settings.m_fileSet[FILE_SBU];
    const std::string large = folder.File("large.sbu"), good = folder.File("good.sbu");
    WriteBytes(large, std::string(CompanionBuffer::kSbuCapacity + 1, 'x'));
    WriteBytes(good, "bytes");
    const std::string none = folder.File("none.sbu");
    const struct {
        std::string path, failure;
    } cases[] = {
        {good, ""},
        {none, ""},
        {folder.Path(), std::strerror(EISDIR) + std::string(": ") + folder.Path()},
        {large, "Larger than the 585728 bytes it can hold: " + large},
        // Windows finds no such path, as for a file that is not there.
        {folder.File("good.sbu/x"),
         kOnWindows ? "" : std::strerror(ENOTDIR) + std::string(": ") + folder.File("good.sbu/x")},
        {good, ""}, // a load that succeeds leaves nothing of an earlier failure
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        settings.m_fileSet[FILE_SBU].m_strLoadFailure = "stale";
        EXPECT_EQ(buffer.LoadCompanion(c.path), c.path == good);
        EXPECT_EQ(entry.m_bLoaded, c.path == good ? 1 : 0);
        EXPECT_EQ(entry.m_strLoadFailure, c.failure);
    }
    EXPECT_TRUE(boxes.shown.empty());
}

// A FIFO in a companion's place is refused at once: opened without blocking,
// it is not a regular file. Run apart, so that a regression cannot hang.
TEST_F(CompanionBufferTest, AFifoIsRefusedWithoutBlocking) {
    const std::string fifo = NotARegularFile(folder.File("demo.mcr"));
    const std::optional<std::string> outcome = RunWithin(10, [&] {
        CompanionBuffer buffer(settings, FILE_MCR, boxes);
        const bool loaded = buffer.LoadCompanion(fifo);
        return std::to_string(loaded) + std::to_string(settings.m_fileSet[FILE_MCR].m_bLoaded) +
               " " + settings.m_fileSet[FILE_MCR].m_strLoadFailure;
    });
    ASSERT_TRUE(outcome.has_value()) << "the load blocked";
    EXPECT_EQ(*outcome, "00 Not a regular file: " + fifo);
}

} // namespace
} // namespace kelvane
