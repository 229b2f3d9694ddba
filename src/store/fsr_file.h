// SPDX-License-Identifier: MIT
#pragma once

#include "store/project_settings.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

class FileSetTransaction;

// Ids of the records the program interprets.
enum FsrRecordId : uint32_t {
    FSR_ITEM_LIST = 2,
    FSR_PROJECT_REFERENCES = 3,
    FSR_SBU_REFERENCE = 16,
    FSR_UER_REFERENCE = 17,
    FSR_FRD_LIST = 19,
};

struct FsrRecord {
    uint32_t id = 0;
    uint32_t offset = 0;
    uint32_t size = 0; // always data.size()
    std::string data;
};

// One item of an entry of the project reference list.
struct FsrReferenceItem {
    std::string firstText;
    uint32_t c = 0, d = 0, e = 0;
    std::string secondText;
};

// One entry of the project reference list; the name is the project file.
struct FsrReferenceEntry {
    std::string name;
    uint32_t a = 0, b = 0;
    std::vector<FsrReferenceItem> items;
};

// The FSR companion file: a versioned table of numbered records of at most
// 16,384 bytes. Five records are interpreted; every other one is carried
// through byte for byte. Failures leave their message in the settings'
// m_strLastError.
class FsrFile {
public:
    static constexpr uint32_t kMaxRecordSize = 16384;
    static constexpr uint32_t kMaxRecordCount = 30;
    static constexpr uint32_t kHeaderEntrySize = 12;
    static constexpr uint32_t kItemSize = 48;
    // Bounds of the model the project reference list and the FRD list are
    // kept in; a record beyond them is carried through as read.
    static constexpr size_t kMaxReferenceEntries = 3;
    static constexpr size_t kMaxReferenceItems = 20;
    static constexpr size_t kMaxReferenceText = 259;
    static constexpr size_t kMaxFrdPath = 255;

    explicit FsrFile(ProjectSettings& settings);
    virtual ~FsrFile();

    // The number of records a file of `version` holds.
    static uint32_t RecordCountForVersion(uint32_t version);

    bool ReadFsrFile(const std::string& path);
    bool CheckFsrReferences(std::string_view projectPath);
    // Rebuilds records 3, 19, 17 and 16 for a save. False, with nothing
    // changed, when a rebuilt record would not fit in 16,384 bytes; the next
    // WriteFsrFile then refuses as well, so the previous file stays.
    bool BuildFsrRecords();
    // With `set`, the file is one member of it, put in place by the set's
    // Commit; without, at once.
    bool WriteFsrFile(const std::string& path, FileSetTransaction* set = nullptr);
    void PurgeItems(uint32_t key);

    uint32_t Version() const { return m_nVersion; }
    uint32_t Count() const { return m_nCount; }
    // Records are numbered 1 to Count().
    const FsrRecord& Record(uint32_t id) const { return m_records[id]; }
    // Replaces a record's data; for the settings dialogs and tests.
    void SetRecordData(uint32_t id, std::string data);
    const std::vector<FsrReferenceEntry>& ReferenceEntries() const { return m_references; }
    // True when the record is kept as read at a save because the program's
    // model could not hold it whole.
    bool IsCarriedAsRead(uint32_t id) const;

private:
    bool Fail(unsigned messageId);
    // The message followed by the reason for `error` and the path; the
    // message alone when `error` is 0 (the data, not the system, failed).
    bool Fail(unsigned messageId, int error, const std::string& path);
    bool HasRecord(uint32_t id) const { return id >= 1 && id <= m_nCount; }
    void MakeEmpty(uint32_t id);
    void CheckUerReference();
    void BuildReferenceList(std::string& out) const;
    bool BuildFrdList(std::string& out) const;
    std::string BuildNameReference(const ProjectFileEntry& entry) const;

    ProjectSettings& m_settings;
    uint32_t m_nVersion = 0;
    uint32_t m_nCount = 0;
    std::array<FsrRecord, kMaxRecordCount + 1> m_records; // slot 0 unused
    std::vector<FsrReferenceEntry> m_references;
    bool m_bReferencesCarried = false;
    bool m_bFrdListCarried = false;
    bool m_bBuildRefused = false;
    std::string m_strBuildRefusal;
};

} // namespace kelvane
