#include "store/fsr_file.h"

#include "store/fsr_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

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

// An item of the item list (record 2): its key, then 44 bytes of `tag`.
std::string Item(uint32_t key, char tag) {
    return U32(key) + std::string(44, tag);
}

// Sets the id, offset or size field of header entry `entry` (1-based).
enum Field { kId, kOffset, kSize };
std::string Forced(std::string bytes, uint32_t entry, Field field, uint32_t value) {
    return bytes.replace(4 + 12 * (entry - 1) + 4 * field, 4, U32(value));
}

TEST(FsrFileTest, EveryVersionReadsItsRecordCountAndWritesBackInOrder) {
    const struct {
        uint32_t version, count;
    } cases[] = {{0x100, 2},  {0x101, 10}, {0x102, 13}, {0x103, 15},     {0x105, 15}, {0x106, 16},
                 {0x107, 17}, {0x109, 18}, {0x10A, 30}, {0x10F, 30},     {0x110, 19}, {0x111, 19},
                 {0x112, 20}, {0x113, 21}, {0x116, 22}, {0x117, 23},     {0x118, 25}, {0x119, 26},
                 {0x11A, 30}, {0x122, 26}, {0x123, 28}, {0x129, 28},     {0x12A, 30}, {0x130, 29},
                 {0x131, 30}, {0x200, 30}, {0, 30},     {0xFFFFFFFF, 30}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.version);
        FsrRecords records;
        for (uint32_t k = 1; k <= c.count; ++k)
            if (k % 7 != 0)
                records[k] = RecordBytes(k, (k * 37) % 200 + 1);
        FsrFixture f;
        ASSERT_TRUE(f.Read(FsrBytes(c.version, records, c.count)));
        EXPECT_EQ(f.settings.m_fileSet[FILE_FSR].m_bLoaded, 1);
        EXPECT_EQ(f.Write(), FsrWritten(c.version, records, c.count));
    }
}

TEST(FsrFileTest, BlocksAreReadWhereverTheHeaderPoints) {
    FsrRecords records = {{1, RecordBytes(1, FsrFile::kMaxRecordSize)}, {2, "abcdefgh"}};
    std::string bytes = FsrBytes(0x101, records);
    const uint32_t second = 4 + 12 * 10 + FsrFile::kMaxRecordSize;
    bytes = Forced(Forced(bytes, 3, kOffset, second + 2), 3, kSize, 4); // inside record 2
    bytes = Forced(Forced(bytes, 4, kOffset, 1), 4, kSize, 8);          // over the header
    bytes = Forced(Forced(bytes, 5, kOffset, 200), 5, kSize, 0);
    bytes = Forced(bytes, 7, kSize, 99999); // no offset: empty, so the size is not checked
    FsrFixture f;
    ASSERT_TRUE(f.Read(bytes)) << f.settings.m_strLastError;
    records[3] = "cdef";
    records[4] = bytes.substr(1, 8);
    EXPECT_EQ(f.Write(), FsrWritten(0x101, records));
}

TEST(FsrFileTest, FailedReadsStoreTheirMessageAndClearTheLoadedFlag) {
    const FsrRecords records = {{1, "one"}, {2, "two"}, {19, "nineteen"}, {29, "last"}};
    const std::string bytes = FsrBytes(0x130, records);
    const std::string kBadId = "Header inforamtion(resource id) is not valid.";
    const std::string kBadSize = "Header inforamtion(size information) is not valid.";
    const std::string kData = "Data read failure.";
    std::vector<std::pair<std::string, std::string>> cases = {
        {Forced(bytes, 2, kId, 3), kBadId},
        {Forced(bytes, 19, kSize, 16385), kBadSize},
        {Forced(bytes, 2, kOffset, 0xFFFFFF00), kData},
    };
    const size_t headerEnd = 4 + 12 * 29;
    for (size_t length = 0; length < bytes.size(); ++length)
        cases.push_back({bytes.substr(0, length), length < 4 ? "Version information read failure"
                                                  : length < headerEnd
                                                      ? "Header information read failure"
                                                      : kData});
    FsrFixture f;
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(f.Read(bytes));
        EXPECT_FALSE(f.Read(cases[i].first));
        EXPECT_EQ(f.settings.m_strLastError, cases[i].second);
        EXPECT_EQ(f.settings.m_fileSet[FILE_FSR].m_bLoaded, 0);
    }
    EXPECT_FALSE(f.fsr.ReadFsrFile(f.folder.Path())); // a folder, as an absent file
    EXPECT_EQ(f.settings.m_strLastError, "Can not read.");
    EXPECT_FALSE(f.fsr.ReadFsrFile(f.folder.File(std::string(300, 'n'))));
    EXPECT_EQ(f.settings.m_strLastError, "The path is too long for this system.");
    // Nothing the failures left behind reaches the next file.
    ASSERT_TRUE(f.Read(bytes));
    EXPECT_EQ(f.Write(), FsrWritten(0x130, records));
}

TEST(FsrFileTest, PurgeItemsRemovesTheItemsOfAKey) {
    const std::string items = Item(0, 'a') + Item(1, 'b') + Item(0, 'c');
    const std::string header = U32(77) + std::string(44, 'h');
    const std::string cleared = U32(77) + std::string(44, '\0');
    const struct {
        uint32_t version;
        std::string list;
        uint32_t key;
        std::string expected;
    } cases[] = {
        {0x105, header + items, 0, cleared + Item(1, 'b')},
        {0x104, items, 1, Item(0, 'a') + Item(0, 'c')},
        {0x104, Item(2, 'd'), 2, ""}, // an empty record is written as absent
        // Not header plus whole items: left alone.
        {0x130, header + items + "odd", 0, header + items + "odd"},
        {0x130, header.substr(0, 32), 77, header.substr(0, 32)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        FsrFixture f;
        ASSERT_TRUE(f.Read(FsrBytes(c.version, {{2, c.list}})));
        f.fsr.PurgeItems(c.key);
        EXPECT_EQ(f.Write(), FsrWritten(c.version, {{2, c.expected}}));
    }
}

TEST(FsrFileTest, FailedWritesStoreTheirMessageAndKeepThePreviousFile) {
    const FsrRecords records = {{1, "one"}, {2, RecordBytes(2, 5000)}};
    FsrFixture f;
    ASSERT_TRUE(f.Read(FsrBytes(0x110, records)));
    const std::string target = f.folder.File("target.fsr");
    WriteBytes(target, "previous");
    const struct {
        std::string path;
        unsigned long limit; // of the bytes the write may put in a file; ~0: none
        const char* message;
    } cases[] = {
        {f.folder.File("no/such/folder.fsr"), ~0ul, "Write failed"},
        {f.folder.File(std::string(300, 'n')), ~0ul, "The path is too long for this system."},
        {target, 2, "Version information write failure"},
        {target, 100, "Header information initialization failure."},
        {target, 1000, "Data write failure."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const bool written = [&] {
            const ScopedFileSizeLimit limit(c.limit);
            return f.fsr.WriteFsrFile(c.path);
        }();
        EXPECT_FALSE(written);
        EXPECT_EQ(f.settings.m_strLastError, c.message);
        EXPECT_EQ(ReadBytes(target), "previous");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.folder.Path()),
                            std::filesystem::directory_iterator()),
              2); // demo.fsr and target.fsr: no temporary file left behind
    ASSERT_TRUE(f.fsr.WriteFsrFile(target));
    EXPECT_EQ(ReadBytes(target), FsrWritten(0x110, records));
}

} // namespace
} // namespace kelvane
