// SPDX-License-Identifier: MIT
#include "store/fsr_file.h"

#include "platform/files/atomic_file.h"
#include "platform/files/file_name_case.h"
#include "platform/files/file_reader.h"
#include "res/failure_reason.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "store/byte_cursor.h"
#include "store/file_snapshot.h"
#include "store/write_failure.h"

#include <cerrno>
#include <optional>

namespace kelvane {
namespace {

// Data blocks are laid out in this order of record ids; ids above the
// version's record count are left out.
constexpr uint32_t kWriteOrder[] = {2,  19, 20, 1,  10, 9,  3,  16, 4,  5,  7,  8,  6,  11, 12,
                                    13, 14, 15, 17, 18, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30};
static_assert(sizeof kWriteOrder / sizeof kWriteOrder[0] == FsrFile::kMaxRecordCount);

// Versions above 0x104 start the item list with a header of one item's size.
constexpr uint32_t kItemListHeaderSince = 0x105;

} // namespace

FsrFile::FsrFile(ProjectSettings& settings) : m_settings(settings) {}

FsrFile::~FsrFile() = default;

uint32_t FsrFile::RecordCountForVersion(uint32_t version) {
    switch (version) {
    case 0x100:
        return 2;
    case 0x101:
        return 10;
    case 0x102:
        return 13;
    case 0x103:
    case 0x104:
    case 0x105:
        return 15;
    case 0x106:
        return 16;
    case 0x107:
        return 17;
    case 0x108:
    case 0x109:
        return 18;
    case 0x110:
    case 0x111:
        return 19;
    case 0x112:
        return 20;
    case 0x113:
        return 21;
    case 0x114:
    case 0x115:
    case 0x116:
        return 22;
    case 0x117:
        return 23;
    case 0x118:
        return 25;
    case 0x119:
    case 0x120:
    case 0x121:
    case 0x122:
        return 26;
    case 0x130:
        return 29;
    default:
        return version >= 0x123 && version <= 0x129 ? 28 : 30;
    }
}

bool FsrFile::Fail(unsigned messageId) {
    m_settings.m_strLastError = LoadResourceString(messageId);
    return false;
}

bool FsrFile::Fail(unsigned messageId, int error, const std::string& path) {
    if (error == 0)
        return Fail(messageId);
    m_settings.m_strLastError = WithFailureReason(LoadResourceString(messageId), error, path);
    return false;
}

void FsrFile::MakeEmpty(uint32_t id) {
    if (!HasRecord(id))
        return;
    m_records[id].offset = 0;
    m_records[id].size = 0;
    m_records[id].data.clear();
}

void FsrFile::SetRecordData(uint32_t id, std::string data) {
    if (!HasRecord(id) || data.size() > kMaxRecordSize)
        return;
    m_records[id].size = static_cast<uint32_t>(data.size());
    m_records[id].data = std::move(data);
}

bool FsrFile::IsCarriedAsRead(uint32_t id) const {
    return (id == FSR_PROJECT_REFERENCES && m_bReferencesCarried) ||
           (id == FSR_FRD_LIST && m_bFrdListCarried);
}

bool FsrFile::ReadFsrFile(const std::string& givenPath) {
    m_settings.m_fileSet[FILE_FSR].m_bLoaded = 0;
    m_settings.m_fileSet[FILE_FSR].m_strFilePath.clear();
    m_references.clear();
    m_bReferencesCarried = false;
    m_bFrdListCarried = false;
    m_bBuildRefused = false;

    const FoundFile found = FindFileIgnoringCase(givenPath);
    if (found.match == NameMatch::Several) {
        m_settings.m_strLastError =
            WithReasonText(LoadResourceString(IDS_CANNOT_READ),
                           LoadResourceString(IDS_NAME_MATCHES_SEVERAL), givenPath);
        return false;
    }
    const std::string& path = found.path;
    FileReader file;
    if (!file.Open(path))
        return Fail(file.Error() == ENAMETOOLONG ? IDS_PATH_TOO_LONG : IDS_CANNOT_READ,
                    file.Error(), path);

    char word[4];
    if (file.ReadAt(0, word, sizeof word) != sizeof word)
        return Fail(IDS_VERSION_READ_FAILURE, file.Error(), path);
    ByteCursor(std::string_view(word, sizeof word)).ReadU32(m_nVersion);

    m_nCount = RecordCountForVersion(m_nVersion);
    for (uint32_t k = 0; k <= kMaxRecordCount; ++k)
        m_records[k] = FsrRecord{k, 0, 0, {}};

    for (uint32_t k = 1; k <= m_nCount; ++k) {
        char entry[kHeaderEntrySize];
        if (file.ReadAt(4 + uint64_t(kHeaderEntrySize) * (k - 1), entry, sizeof entry) !=
            sizeof entry)
            return Fail(IDS_HEADER_READ_FAILURE, file.Error(), path);
        ByteCursor fields(std::string_view(entry, sizeof entry));
        FsrRecord& record = m_records[k];
        fields.ReadU32(record.id);
        fields.ReadU32(record.offset);
        fields.ReadU32(record.size);
        if (record.offset == 0)
            record.size = 0;
        else if (record.size == 0)
            record.offset = 0;
        if (record.id != k)
            return Fail(IDS_HEADER_ID_NOT_VALID);
        if (record.size > kMaxRecordSize)
            return Fail(IDS_HEADER_SIZE_NOT_VALID);
    }

    // Blocks may overlap each other or the header table; only their ends are
    // checked, by the reads themselves.
    for (uint32_t k = 1; k <= m_nCount; ++k) {
        FsrRecord& record = m_records[k];
        if (record.size == 0)
            continue;
        record.data.resize(record.size);
        if (file.ReadAt(record.offset, record.data.data(), record.size) != record.size)
            return Fail(IDS_DATA_READ_FAILURE, file.Error(), path);
    }

    const std::optional<FileSnapshot> snapshot = SnapshotOfFile(file);
    if (!snapshot)
        return Fail(IDS_DATA_READ_FAILURE, file.Error(), path);
    ProjectFileEntry& entry = m_settings.m_fileSet[FILE_FSR];
    entry.m_bLoaded = 1;
    entry.m_strFilePath = path;
    entry.m_opened = *snapshot;
    return true;
}

bool FsrFile::WriteFsrFile(const std::string& path, FileSetTransaction* set) {
    if (m_bBuildRefused) {
        m_settings.m_strLastError = m_strBuildRefusal;
        return false;
    }
    AtomicFileWriter file(set);
    if (!file.Open(path))
        return Fail(WriteFailureId(file.Error()), file.Error(), path);

    std::string version;
    AppendU32(version, m_nVersion);
    if (!file.Write(version))
        return Fail(IDS_VERSION_WRITE_FAILURE, file.Error(), path);
    if (!file.Write(std::string(size_t(kHeaderEntrySize) * m_nCount, '\0')))
        return Fail(IDS_HEADER_INIT_FAILURE, file.Error(), path);

    for (const uint32_t id : kWriteOrder) {
        if (!HasRecord(id))
            continue;
        FsrRecord& record = m_records[id];
        if (record.size == 0) {
            record.offset = 0;
            continue;
        }
        record.offset = static_cast<uint32_t>(file.Position());
        if (!file.Write(record.data))
            return Fail(IDS_DATA_WRITE_FAILURE, file.Error(), path);
    }

    std::string table;
    for (uint32_t k = 1; k <= m_nCount; ++k) {
        AppendU32(table, k);
        AppendU32(table, m_records[k].offset);
        AppendU32(table, m_records[k].size);
    }
    if (!file.WriteAt(4, table))
        return Fail(IDS_HEADER_WRITE_FAILURE, file.Error(), path);
    if (!file.Commit())
        return Fail(IDS_WRITE_FAILED, file.Error(), path);
    return true;
}

void FsrFile::PurgeItems(uint32_t key) {
    if (!HasRecord(FSR_ITEM_LIST) || m_records[FSR_ITEM_LIST].size == 0)
        return;
    FsrRecord& record = m_records[FSR_ITEM_LIST];
    const bool hasHeader = m_nVersion >= kItemListHeaderSince;
    const size_t headerSize = hasHeader ? kItemSize : 0;
    // A list that is not header plus whole items is not understood: leave it.
    if (record.data.size() < headerSize || (record.data.size() - headerSize) % kItemSize != 0)
        return;

    std::string kept;
    if (hasHeader) {
        kept.append(record.data, 0, 4);
        kept.append(kItemSize - 4, '\0');
    }
    for (size_t at = headerSize; at < record.data.size(); at += kItemSize) {
        uint32_t itemKey = 0;
        ByteCursor(std::string_view(record.data).substr(at, 4)).ReadU32(itemKey);
        if (itemKey != key)
            kept.append(record.data, at, kItemSize);
    }
    record.data = std::move(kept);
    record.size = static_cast<uint32_t>(record.data.size());
}

} // namespace kelvane
