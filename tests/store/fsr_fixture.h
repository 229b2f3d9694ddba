#pragma once

#include "store/fsr_file.h"
#include "test_files.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane::test {

// Little-endian values and length-prefixed texts, as the FSR file stores them.
std::string U32(uint32_t value);
std::string U64(uint64_t value);
std::string Text(std::string_view text);

// The number of header entries a file of `version` has.
uint32_t RecordsInVersion(uint32_t version);

// Record ids in the order the program lays out the data blocks.
extern const std::vector<uint32_t> kFsrWriteOrder;

// The bytes of an FSR file, built from its records. Blocks follow the header
// table in ascending id order unless Order says otherwise; header fields can be
// forced to anything to make malformed files.
class FsrImage {
public:
    explicit FsrImage(uint32_t version) : FsrImage(version, RecordsInVersion(version)) {}
    FsrImage(uint32_t version, uint32_t count) : m_version(version), m_count(count) {}

    FsrImage& Set(uint32_t id, std::string data);
    // Header entry `entry` (1-based) gets these values whatever the layout says.
    FsrImage& ForceId(uint32_t entry, uint32_t id);
    FsrImage& ForceOffset(uint32_t entry, uint32_t offset);
    FsrImage& ForceSize(uint32_t entry, uint32_t size);
    // Blocks in this order of ids; records not listed follow in ascending order.
    FsrImage& Order(std::vector<uint32_t> ids);
    // Filler bytes in front of every block, so offsets cannot be guessed.
    FsrImage& Gap(uint32_t bytes);

    uint32_t Count() const { return m_count; }
    uint32_t HeaderEnd() const { return 4 + 12 * m_count; }
    // Where Bytes() puts the block of record `id`; 0 for an empty record.
    uint32_t OffsetOf(uint32_t id) const;
    std::string Bytes() const;
    // The first `length` bytes of Bytes().
    std::string CutAt(size_t length) const { return Bytes().substr(0, length); }

private:
    std::vector<uint32_t> BlockOrder() const;

    uint32_t m_version;
    uint32_t m_count;
    uint32_t m_gap = 0;
    std::map<uint32_t, std::string> m_data;
    std::map<uint32_t, uint32_t> m_ids, m_offsets, m_sizes;
    std::vector<uint32_t> m_order;
};

// Project reference list (record 3).
struct RefItem {
    std::string first;
    uint32_t c = 0, d = 0, e = 0;
    std::string second;
};
struct RefEntry {
    std::string name;
    uint32_t a = 0, b = 0;
    std::vector<RefItem> items;
};
std::string ReferenceList(const std::vector<RefEntry>& entries);
// With an entry count that need not match the entries written.
std::string ReferenceList(uint32_t declaredCount, const std::vector<RefEntry>& entries);

// UER or SBU reference (records 17 and 16); the length field may be forced.
std::string NameReference(std::string_view name, uint32_t kind = 1,
                          std::optional<uint32_t> lengthField = std::nullopt);

// FRD list (record 19); `width` is 4 or 8 by version, `end` what follows the items.
struct FrdEntry {
    uint64_t a = 0, b = 0;
    std::string text;
    std::string path;
    uint32_t c = 0;
};
std::string FrdList(const std::vector<FrdEntry>& items, unsigned width,
                    std::string_view end = std::string_view("\0\0\0\0", 4));

// Item list (record 2): a 48-byte header whose first value is `value` and whose
// other bytes are `filler`, and items of twelve values: key, tag, tag+1, ...
std::string ItemHeader(uint32_t value, char filler);
std::string Item(uint32_t key, uint32_t tag);

// An FsrFile over settings of the project demo.fsp in a temporary folder.
struct FsrFixture {
    FsrFixture();

    TempFolder folder;
    ProjectSettings settings;
    FsrFile fsr{settings};
    std::string projectPath = folder.File("demo.fsp");

    // Writes `bytes` to `name` in the folder and reads it.
    bool Read(const std::string& bytes, const std::string& name = "demo.fsr");
    // Read, then CheckFsrReferences as the open workflow does.
    bool Open(const std::string& bytes);
    // BuildFsrRecords and WriteFsrFile to `name`; the file's bytes, or an
    // empty text when either refused.
    std::string Save(const std::string& name = "saved.fsr");
};

} // namespace kelvane::test
