#include "store/fsr_file.h"

#include "store/fsr_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace kelvane {
namespace {

using test::FsrFixture;
using test::FsrImage;
using test::Item;
using test::ItemHeader;
using test::kFsrWriteOrder;
using test::ReadBytes;
using test::WriteBytes;

// Binary content of a record, zero bytes included, different for every id.
std::string RecordBytes(uint32_t id, size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((id * 13 + i * 7) & 0xFF);
    return bytes;
}

uint32_t U32At(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

size_t FilesIn(const std::string& folder) {
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++files;
    return files;
}

TEST(FsrFileTest, EveryVersionClassReadsItsRecordCountAndWritesBackInOrder) {
    const struct {
        uint32_t version, count;
    } cases[] = {{0x100, 2},  {0x101, 10}, {0x102, 13}, {0x103, 15},     {0x105, 15}, {0x106, 16},
                 {0x107, 17}, {0x109, 18}, {0x10A, 30}, {0x10F, 30},     {0x110, 19}, {0x111, 19},
                 {0x112, 20}, {0x113, 21}, {0x116, 22}, {0x117, 23},     {0x118, 25}, {0x119, 26},
                 {0x11A, 30}, {0x122, 26}, {0x123, 28}, {0x129, 28},     {0x12A, 30}, {0x130, 29},
                 {0x131, 30}, {0x200, 30}, {0, 30},     {0xFFFFFFFF, 30}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.version);
        FsrImage source(c.version, c.count);
        FsrImage expected(c.version, c.count);
        for (uint32_t k = 1; k <= c.count; ++k)
            if (k % 7 != 0) {
                source.Set(k, RecordBytes(k, (k * 37) % 200 + 1));
                expected.Set(k, RecordBytes(k, (k * 37) % 200 + 1));
            }
        // Blocks of the source in reverse order with gaps: only the header says where.
        std::vector<uint32_t> reverse(c.count);
        for (uint32_t k = 0; k < c.count; ++k)
            reverse[k] = c.count - k;
        source.Order(reverse).Gap(3);

        FsrFixture f;
        ASSERT_TRUE(f.Read(source.Bytes()));
        EXPECT_EQ(f.settings.m_fileSet[FILE_FSR].m_bLoaded, 1);
        EXPECT_EQ(f.fsr.Version(), c.version);
        ASSERT_EQ(f.fsr.Count(), c.count);
        for (uint32_t k = 1; k <= c.count; ++k) {
            const std::string data = k % 7 != 0 ? RecordBytes(k, (k * 37) % 200 + 1) : "";
            EXPECT_EQ(f.fsr.Record(k).data, data) << k;
            EXPECT_EQ(f.fsr.Record(k).size, data.size()) << k;
        }
        ASSERT_TRUE(f.fsr.WriteFsrFile(f.folder.File("out.fsr")));
        EXPECT_EQ(ReadBytes(f.folder.File("out.fsr")), expected.Order(kFsrWriteOrder).Bytes());
    }
}

TEST(FsrFileTest, BlocksOfAVersion0x110FileFollowTheHeaderInWriteOrder) {
    FsrImage source(0x110);
    for (uint32_t k = 1; k <= 19; ++k)
        if (k != 5 && k != 12)
            source.Set(k, RecordBytes(k, 10 + k));
    FsrFixture f;
    ASSERT_TRUE(f.Read(source.Bytes()));
    ASSERT_TRUE(f.fsr.WriteFsrFile(f.folder.File("out.fsr")));
    const std::string out = ReadBytes(f.folder.File("out.fsr"));
    ASSERT_GE(out.size(), 232u);
    EXPECT_EQ(U32At(out, 0), 0x110u);
    uint32_t next = 232; // version and 19 header entries
    for (const uint32_t id : {2, 19, 1, 10, 9, 3, 16, 4, 5, 7, 8, 6, 11, 12, 13, 14, 15, 17, 18}) {
        const size_t entry = 4 + 12 * (id - 1);
        EXPECT_EQ(U32At(out, entry), id);
        const uint32_t size = id == 5 || id == 12 ? 0 : 10 + id;
        EXPECT_EQ(U32At(out, entry + 8), size) << id;
        EXPECT_EQ(U32At(out, entry + 4), size == 0 ? 0 : next) << id;
        EXPECT_EQ(out.substr(size == 0 ? 0 : next, size), RecordBytes(id, size)) << id;
        next += size;
    }
    EXPECT_EQ(out.size(), next);
}

TEST(FsrFileTest, BlocksAreReadWhereverTheHeaderPoints) {
    FsrImage source(0x101);
    source.Set(1, RecordBytes(1, FsrFile::kMaxRecordSize)).Set(2, "abcdefgh").Set(8, "tail");
    source.ForceOffset(3, source.OffsetOf(2) + 2).ForceSize(3, 4); // inside record 2
    source.ForceOffset(4, 1).ForceSize(4, 8);                      // over version and header
    source.ForceOffset(5, 0).ForceSize(5, 100);                    // no offset: empty
    source.ForceOffset(6, 200).ForceSize(6, 0);                    // no size: empty
    source.ForceSize(7, 99999);                                    // no offset: not checked
    const std::string bytes = source.Bytes();

    FsrFixture f;
    ASSERT_TRUE(f.Read(bytes)) << f.settings.m_strLastError;
    EXPECT_EQ(f.fsr.Record(3).data, "cdef");
    EXPECT_EQ(f.fsr.Record(4).data, bytes.substr(1, 8));
    for (const uint32_t empty : {5, 6, 7}) {
        EXPECT_EQ(f.fsr.Record(empty).size, 0u) << empty;
        EXPECT_EQ(f.fsr.Record(empty).offset, 0u) << empty;
    }

    FsrImage expected(0x101);
    expected.Set(1, RecordBytes(1, FsrFile::kMaxRecordSize)).Set(2, "abcdefgh").Set(8, "tail");
    expected.Set(3, "cdef").Set(4, bytes.substr(1, 8)).Order(kFsrWriteOrder);
    ASSERT_TRUE(f.fsr.WriteFsrFile(f.folder.File("out.fsr")));
    EXPECT_EQ(ReadBytes(f.folder.File("out.fsr")), expected.Bytes());
}

TEST(FsrFileTest, FailedReadsStoreTheirMessageAndClearTheLoadedFlag) {
    const auto good = [] {
        FsrImage image(0x110);
        image.Set(1, "one").Set(2, "two").Set(3, "three").Set(19, "nineteen");
        return image;
    };
    const std::string kVersion = "Version information read failure";
    const std::string kHeader = "Header information read failure";
    const std::string kId = "Header inforamtion(resource id) is not valid.";
    const std::string kSize = "Header inforamtion(size information) is not valid.";
    const std::string kData = "Data read failure.";
    const size_t goodSize = good().Bytes().size();
    const struct {
        const char* label;
        std::string bytes;
        std::string message;
    } cases[] = {
        {"empty", "", kVersion},
        {"3 bytes", good().CutAt(3), kVersion},
        {"version only", good().CutAt(4), kHeader},
        {"in the last entry", good().CutAt(good().HeaderEnd() - 1), kHeader},
        {"second id 3", good().ForceId(2, 3).Bytes(), kId},
        {"first id 0", good().ForceId(1, 0).Bytes(), kId},
        {"last id 20", good().ForceId(19, 20).Bytes(), kId},
        {"size 16385", good().ForceSize(1, 16385).Bytes(), kSize},
        {"record of 16385", good().Set(2, std::string(16385, 'x')).Bytes(), kSize},
        {"size ~0", good().ForceSize(3, 0xFFFFFFFF).Bytes(), kSize},
        {"id before size", good().ForceId(3, 4).ForceSize(3, 20000).Bytes(), kId},
        {"past the end", good().ForceSize(19, 9).Bytes(), kData},
        {"far offset", good().ForceOffset(2, 0xFFFFFF00).Bytes(), kData},
        {"ends in a block", good().CutAt(goodSize - 1), kData},
    };
    const std::string small = FsrImage(0x100).Set(1, "a").Set(2, "bc").Bytes();
    const std::string smallOut =
        FsrImage(0x100).Set(1, "a").Set(2, "bc").Order(kFsrWriteOrder).Bytes();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        FsrFixture f;
        ASSERT_TRUE(f.Read(good().Bytes(), "good.fsr"));
        ASSERT_EQ(f.settings.m_fileSet[FILE_FSR].m_bLoaded, 1);
        EXPECT_FALSE(f.Read(c.bytes));
        EXPECT_EQ(f.settings.m_strLastError, c.message);
        EXPECT_EQ(f.settings.m_fileSet[FILE_FSR].m_bLoaded, 0);
        // Whatever the failed read left behind does not reach the next file.
        ASSERT_TRUE(f.Read(small, "small.fsr"));
        ASSERT_TRUE(f.fsr.WriteFsrFile(f.folder.File("out.fsr")));
        EXPECT_EQ(ReadBytes(f.folder.File("out.fsr")), smallOut);
    }

    FsrFixture f;
    ASSERT_TRUE(f.Read(good().Bytes()));
    EXPECT_FALSE(f.fsr.ReadFsrFile(f.folder.File("absent.fsr")));
    EXPECT_EQ(f.settings.m_strLastError, "Can not read.");
    EXPECT_EQ(f.settings.m_fileSet[FILE_FSR].m_bLoaded, 0);
    f.settings.m_strLastError.clear();
    EXPECT_FALSE(f.fsr.ReadFsrFile(f.folder.Path()));
    EXPECT_EQ(f.settings.m_strLastError, "Can not read.");
}

TEST(FsrFileTest, EveryTruncationOfAFileFailsWithTheMessageOfWhereItEnds) {
    FsrFixture f;
    FsrImage image(0x130);
    image.Set(1, "one").Set(2, ItemHeader(1, 'h') + Item(4, 9));
    image.Set(3, test::ReferenceList({{f.projectPath, 1, 2, {{"x", 3, 4, 5, "y"}}}}));
    image.Set(16, test::NameReference("demo.sbu")).Set(17, test::NameReference("demo.uer"));
    image.Set(19, test::FrdList({{1, 2, "t", "a.frd", 3}}, 4)).Set(29, "last");
    const std::string bytes = image.Bytes();
    for (size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        ASSERT_FALSE(f.Read(bytes.substr(0, length)));
        const char* message = length < 4                   ? "Version information read failure"
                              : length < image.HeaderEnd() ? "Header information read failure"
                                                           : "Data read failure.";
        EXPECT_EQ(f.settings.m_strLastError, message);
    }
    ASSERT_TRUE(f.Open(bytes));
    EXPECT_EQ(f.settings.m_fileSet[FILE_UER].m_bInSync, 1);
    EXPECT_EQ(f.Save(), image.Order(kFsrWriteOrder).Bytes());
}

TEST(FsrFileTest, PurgeItemsRemovesTheItemsOfAKey) {
    const std::string items = Item(0, 100) + Item(1, 200) + Item(0, 300);
    const std::string header = ItemHeader(77, 'h');
    const std::string cleared = ItemHeader(77, '\0');
    const struct {
        uint32_t version;
        std::string list;
        uint32_t key;
        std::string expected;
    } cases[] = {
        {0x130, header + items, 0, cleared + Item(1, 200)},
        {0x105, header + items, 0, cleared + Item(1, 200)},
        {0x104, items, 0, Item(1, 200)},
        {0x100, items, 1, Item(0, 100) + Item(0, 300)},
        {0x130, header + items, 5, cleared + items},
        {0x130, header + Item(3, 1) + Item(3, 2), 3, cleared},
        {0x118, header, 0, cleared},
        {0x104, Item(2, 1), 2, ""},
        // Not header plus whole items: left alone.
        {0x130, header + items + "odd", 0, header + items + "odd"},
        {0x130, header.substr(0, 32), 77, header.substr(0, 32)},
        {0x104, items.substr(0, 47), 0, items.substr(0, 47)},
        {0x104, "", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.version << " key " << c.key << " size "
                                        << std::dec << c.list.size());
        FsrFixture f;
        ASSERT_TRUE(f.Read(FsrImage(c.version).Set(1, "one").Set(2, c.list).Bytes()));
        f.fsr.PurgeItems(c.key);
        EXPECT_EQ(f.fsr.Record(2).data, c.expected);
        EXPECT_EQ(f.fsr.Record(2).size, c.expected.size());
        ASSERT_TRUE(f.fsr.WriteFsrFile(f.folder.File("out.fsr")));
        EXPECT_EQ(
            ReadBytes(f.folder.File("out.fsr")),
            FsrImage(c.version).Set(1, "one").Set(2, c.expected).Order(kFsrWriteOrder).Bytes());
    }
}

TEST(FsrFileTest, FailedWritesStoreTheirMessageAndKeepThePreviousFile) {
    FsrImage image(0x110);
    image.Set(1, "one").Set(2, RecordBytes(2, 5000));
    FsrFixture f;
    ASSERT_TRUE(f.Read(image.Bytes()));

    EXPECT_FALSE(f.fsr.WriteFsrFile(f.folder.File("no/such/folder.fsr")));
    EXPECT_EQ(f.settings.m_strLastError, "Write failed");
    std::filesystem::create_directory(f.folder.File("taken.fsr"));
    f.settings.m_strLastError.clear();
    EXPECT_FALSE(f.fsr.WriteFsrFile(f.folder.File("taken.fsr")));
    EXPECT_EQ(f.settings.m_strLastError, "Write failed");

    const std::string target = f.folder.File("target.fsr");
    WriteBytes(target, "previous");
    const struct {
        unsigned long limit;
        const char* message;
    } cases[] = {{2, "Version information write failure"},
                 {100, "Header information initialization failure."},
                 {1000, "Data write failure."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit);
        bool written = true;
        {
            const test::ScopedFileSizeLimit limit(c.limit);
            written = f.fsr.WriteFsrFile(target);
        }
        EXPECT_FALSE(written);
        EXPECT_EQ(f.settings.m_strLastError, c.message);
        EXPECT_EQ(ReadBytes(target), "previous");
        EXPECT_EQ(FilesIn(f.folder.Path()), 3u); // demo.fsr, taken.fsr, target.fsr
    }
    ASSERT_TRUE(f.fsr.WriteFsrFile(target));
    EXPECT_EQ(ReadBytes(target), image.Order(kFsrWriteOrder).Bytes());
}

} // namespace
} // namespace kelvane
