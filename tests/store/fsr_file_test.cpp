// SPDX-License-Identifier: MIT
#include "store/fsr_file.h"

#include "store/fsr_fixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace kelvane {
namespace {

using namespace test;

// Binary content of a record, zero bytes included, different for every id.
std::string RecordBytes(uint32_t id, size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((id * 13 + i * 7) & 0xFF);
    return bytes;
}

// Sets the id, offset or size field of header entry `entry` (1-based).
enum Field { kId, kOffset, kSize };
std::string Forced(std::string bytes, uint32_t entry, Field field, uint32_t value) {
    return bytes.replace(4 + 12 * (entry - 1) + 4 * field, 4, U32(value));
}

TEST(FsrFileTest, EveryVersionReadsItsRecordsAndWritesThemBackInOrder) {
    const struct {
        uint32_t version, count;
    } cases[] = {{0x100, 2},  {0x101, 10}, {0x102, 13}, {0x104, 15}, {0x106, 16},
                 {0x107, 17}, {0x108, 18}, {0x10A, 30}, {0x110, 19}, {0x112, 20},
                 {0x113, 21}, {0x115, 22}, {0x117, 23}, {0x118, 25}, {0x121, 26},
                 {0x123, 28}, {0x129, 28}, {0x12A, 30}, {0x130, 29}, {0xFFFFFFFF, 30}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.version);
        FsrRecords records;
        for (uint32_t k = 1; k <= c.count; ++k)
            if (k % 7 != 0)
                records[k] = RecordBytes(k, (k * 37) % 200 + 1);
        FsrFixture f;
        ASSERT_TRUE(f.Read(FsrBytes(c.version, records, c.count)));
        EXPECT_EQ(f.Write(), FsrWritten(c.version, records, c.count));
    }
    // Blocks are read wherever the header points.
    FsrRecords records = {{1, RecordBytes(1, FsrFile::kMaxRecordSize)}, {2, "abcdefgh"}};
    std::string bytes = FsrBytes(0x101, records);
    const uint32_t second = 4 + 12 * 10 + FsrFile::kMaxRecordSize;
    bytes = Forced(Forced(bytes, 3, kOffset, second + 2), 3, kSize, 4); // inside record 2
    bytes = Forced(bytes, 7, kSize, 99999); // no offset: empty, so the size is not checked
    FsrFixture f;
    ASSERT_TRUE(f.Read(bytes)) << f.settings.m_strLastError;
    records[3] = "cdef";
    EXPECT_EQ(f.Write(), FsrWritten(0x101, records));
}

TEST(FsrFileTest, FailedReadsStoreTheirMessageAndNeverReadPastTheData) {
    const FsrRecords records = {{1, "one"}, {2, "two"}, {19, "nineteen"}, {29, "last"}};
    const std::string bytes = FsrBytes(0x130, records);
    FsrFixture f;
    const auto failure = [&f, &bytes](const std::string& broken) {
        EXPECT_TRUE(f.Read(bytes));
        EXPECT_FALSE(f.Read(broken));
        return f.settings.m_strLastError;
    };
    EXPECT_EQ(failure(Forced(bytes, 2, kId, 3)), "Header inforamtion(resource id) is not valid.");
    EXPECT_EQ(failure(Forced(bytes, 19, kSize, 16385)),
              "Header inforamtion(size information) is not valid.");
    for (size_t length = 0; length < bytes.size(); ++length)
        EXPECT_EQ(failure(bytes.substr(0, length)), length < 4 ? "Version information read failure"
                                                    : length < 4 + 12 * 29
                                                        ? "Header information read failure"
                                                        : "Data read failure.")
            << length;
    ASSERT_TRUE(f.Read(bytes)); // nothing the failures left reaches the next file
    EXPECT_EQ(f.Write(), FsrWritten(0x130, records));
}

TEST(FsrFileTest, PurgeItemsRemovesTheItemsOfAKey) {
    const auto item = [](uint32_t key, char tag) { return U32(key) + std::string(44, tag); };
    const std::string items = item(0, 'a') + item(1, 'b') + item(0, 'c');
    const std::string header = U32(77) + std::string(44, 'h');
    const auto purged = [](uint32_t version, const std::string& list, uint32_t key) {
        FsrFixture f;
        EXPECT_TRUE(f.Read(FsrBytes(version, {{2, list}})));
        f.fsr.PurgeItems(key);
        return f.fsr.Record(FSR_ITEM_LIST).data;
    };
    EXPECT_EQ(purged(0x105, header + items, 0), U32(77) + std::string(44, '\0') + item(1, 'b'));
    EXPECT_EQ(purged(0x104, items, 1), item(0, 'a') + item(0, 'c'));
    EXPECT_EQ(purged(0x130, header + items + "?", 0), header + items + "?"); // not whole items
}

TEST(FsrFileTest, FailedWritesStoreTheirMessageAndKeepThePreviousFile) {
    KELVANE_SKIP_ON_WINDOWS("no per-process file size limit to make a write fail part-way");
    FsrFixture f;
    ASSERT_TRUE(f.Read(FsrBytes(0x110, {{1, "one"}, {2, RecordBytes(2, 5000)}})));
    const std::string target = f.folder.File("target.fsr");
    WriteBytes(target, "previous");
    // Each message is followed by the system's reason and the path.
    const struct {
        std::string path;
        unsigned long limit; // of the bytes the write may put in a file; ~0: none
        std::string message;
        int error;
    } cases[] = {
        {f.folder.File("no/such/folder.fsr"), ~0ul, "Write failed: ", ENOENT},
        {f.folder.File(std::string(300, 'n')), ~0ul, "The path is too long for this system. ",
         ENAMETOOLONG},
        {target, 2, "Version information write failure: ", EFBIG},
        {target, 100, "Header information initialization failure. ", EFBIG},
        {target, 1000, "Data write failure. ", EFBIG},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        EXPECT_FALSE([&] {
            const ScopedFileSizeLimit limit(c.limit);
            return f.fsr.WriteFsrFile(c.path);
        }());
        EXPECT_EQ(f.settings.m_strLastError, c.message + std::strerror(c.error) + ": " + c.path);
        EXPECT_EQ(ReadBytes(target), "previous");
    }
}

// A file that cannot be read is named with the reason; a FIFO is refused at
// once rather than waited on (run apart, so that a regression cannot hang).
TEST(FsrFileTest, AnUnreadableFileSaysWhyAndAFifoDoesNotBlock) {
    FsrFixture f;
    const std::string missing = f.folder.File("none.fsr");
    EXPECT_FALSE(f.fsr.ReadFsrFile(missing));
    EXPECT_EQ(f.settings.m_strLastError,
              std::string("Can not read. ") + std::strerror(ENOENT) + ": " + missing);
    EXPECT_FALSE(f.fsr.ReadFsrFile(f.folder.Path()));
    EXPECT_EQ(f.settings.m_strLastError,
              std::string("Can not read. ") + std::strerror(EISDIR) + ": " + f.folder.Path());

    const std::string fifo = NotARegularFile(f.folder.File("fifo.fsr"));
    const std::optional<std::string> outcome = RunWithin(10, [&] {
        const bool read = f.fsr.ReadFsrFile(fifo);
        return std::to_string(read) + std::to_string(f.settings.m_fileSet[FILE_FSR].m_bLoaded) +
               " " + f.settings.m_strLastError;
    });
    ASSERT_TRUE(outcome.has_value()) << "the read blocked";
    EXPECT_EQ(*outcome, "00 Can not read. Not a regular file: " + fifo);
}

} // namespace
} // namespace kelvane
