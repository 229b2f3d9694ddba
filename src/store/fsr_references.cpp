// SPDX-License-Identifier: MIT
// The records of the FSR file the program interprets: the project reference
// list, the UER and SBU references and the FRD list.
#include "res/string_ids.h"
#include "res/string_table.h"
#include "store/byte_cursor.h"
#include "store/file_set_naming.h"
#include "store/fsr_file.h"
#include "store/path_helpers.h"

namespace kelvane {
namespace {

constexpr uint32_t kReferenceListSince = 0x106;
constexpr uint32_t kFrdListSince = 0x110;
constexpr uint32_t kWideFrdValuesSince = 0x200;
// A reference or FRD list of this size or less holds nothing.
constexpr uint32_t kEmptyFrdListSize = 8;
constexpr uint32_t kNameReferenceKind = 1;

// A stored text up to its first zero byte, as a C string would see it.
std::string_view UpToZero(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

// Parses the project reference list; false when a field runs past the data.
// `fits` tells whether it stays within the model's bounds.
bool ParseReferenceList(std::string_view data, std::vector<FsrReferenceEntry>& entries,
                        bool& fits) {
    ByteCursor cursor(data);
    uint32_t count = 0;
    if (!cursor.ReadU32(count))
        return false;
    fits = count <= FsrFile::kMaxReferenceEntries;
    const auto textFits = [](std::string_view text) {
        return text.size() <= FsrFile::kMaxReferenceText;
    };
    for (uint32_t i = 0; i < count; ++i) {
        FsrReferenceEntry entry;
        std::string_view name;
        uint32_t itemCount = 0;
        if (!cursor.ReadText(name) || !cursor.ReadU32(entry.a) || !cursor.ReadU32(entry.b) ||
            !cursor.ReadU32(itemCount))
            return false;
        entry.name = name;
        fits = fits && textFits(name) && itemCount <= FsrFile::kMaxReferenceItems;
        for (uint32_t j = 0; j < itemCount; ++j) {
            FsrReferenceItem item;
            std::string_view first, second;
            if (!cursor.ReadText(first) || !cursor.ReadU32(item.c) || !cursor.ReadU32(item.d) ||
                !cursor.ReadU32(item.e) || !cursor.ReadText(second))
                return false;
            item.firstText = first;
            item.secondText = second;
            fits = fits && textFits(first) && textFits(second);
            entry.items.push_back(std::move(item));
        }
        entries.push_back(std::move(entry));
    }
    return true;
}

struct FrdItem {
    std::string_view head; // values A and B, text length and text, as read
    std::string_view path; // as stored, zero bytes included
    std::string_view tail; // value C
};

// Parses the FRD list; false when an item runs past the data.
bool ParseFrdList(std::string_view data, size_t valueWidth, std::vector<FrdItem>& items) {
    ByteCursor cursor(data);
    uint32_t count = 0;
    if (!cursor.ReadU32(count))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        FrdItem item;
        const size_t start = cursor.Position();
        std::string_view text;
        if (!cursor.Skip(2 * valueWidth) || !cursor.ReadText(text))
            return false;
        item.head = data.substr(start, cursor.Position() - start);
        if (!cursor.ReadText(item.path) || !cursor.ReadBytes(4, item.tail))
            return false;
        items.push_back(item);
    }
    return true;
}

bool FrdItemFits(const FrdItem& item, size_t valueWidth) {
    const size_t textLength = item.head.size() - 2 * valueWidth - 4;
    return textLength <= FsrFile::kMaxFrdPath && item.path.size() <= FsrFile::kMaxFrdPath;
}

} // namespace

// The UER reference is compared with the folder and base name derived when
// the project file was read, which came from the same path.
bool FsrFile::CheckFsrReferences(std::string_view /*projectPath*/) {
    m_references.clear();
    m_bReferencesCarried = false;
    if (m_nVersion >= kReferenceListSince && HasRecord(FSR_PROJECT_REFERENCES) &&
        m_records[FSR_PROJECT_REFERENCES].size != 0) {
        bool fits = true;
        if (!ParseReferenceList(m_records[FSR_PROJECT_REFERENCES].data, m_references, fits)) {
            m_references.clear();
            MakeEmpty(FSR_PROJECT_REFERENCES);
        } else {
            m_bReferencesCarried = !fits;
        }
    }

    CheckUerReference();

    m_settings.m_astrFrdFiles.clear();
    m_settings.m_astrFrdNewFiles.clear();
    m_bFrdListCarried = false;
    if (HasRecord(FSR_FRD_LIST) && m_records[FSR_FRD_LIST].size > kEmptyFrdListSize) {
        const size_t width = m_nVersion < kWideFrdValuesSince ? 4 : 8;
        std::vector<FrdItem> items;
        if (ParseFrdList(m_records[FSR_FRD_LIST].data, width, items)) {
            for (const FrdItem& item : items) {
                m_settings.m_astrFrdFiles.emplace_back(UpToZero(item.path));
                m_bFrdListCarried = m_bFrdListCarried || !FrdItemFits(item, width);
            }
        } else {
            m_bFrdListCarried = true; // a list we cannot follow goes back as it came
        }
    }
    // A list that goes back as read cannot take edits: offer none, so that
    // none is made and lost.
    if (m_bFrdListCarried)
        m_settings.m_astrFrdFiles.clear();
    m_settings.m_astrFrdNewFiles = m_settings.m_astrFrdFiles;
    return true;
}

void FsrFile::CheckUerReference() {
    ProjectFileEntry& uer = m_settings.m_fileSet[FILE_UER];
    ByteCursor cursor(HasRecord(FSR_UER_REFERENCE)
                          ? std::string_view(m_records[FSR_UER_REFERENCE].data)
                          : std::string_view());
    uint32_t kind = 0, length = 0;
    const bool valid =
        cursor.ReadU32(kind) && cursor.ReadU32(length) && length == cursor.Remaining();
    if (!valid) {
        MakeEmpty(FSR_UER_REFERENCE);
        uer.m_strName.clear();
        uer.m_bInSync = 0;
        return;
    }
    std::string_view stored;
    cursor.ReadBytes(length, stored);
    // The same rule as for the names of the project file: the whole stem,
    // the project's folder for a full path, and the UER extension. A looser
    // one would load another project's UER file and save it over this one.
    RecordStoredName(m_settings, FILE_UER, UpToZero(stored));
}

std::string FsrFile::BuildNameReference(const ProjectFileEntry& entry) const {
    const std::string name = NameToRecord(entry, m_settings);
    std::string out;
    AppendU32(out, kNameReferenceKind);
    AppendText(out, name);
    return out;
}

void FsrFile::BuildReferenceList(std::string& out) const {
    const std::string projectFile =
        JoinPath(FullPathFolder(m_settings), m_settings.m_fileSet[FILE_FSP].m_strNewName);
    AppendU32(out, static_cast<uint32_t>(m_references.size()));
    for (const FsrReferenceEntry& entry : m_references) {
        AppendText(out, projectFile);
        AppendU32(out, entry.a);
        AppendU32(out, entry.b);
        AppendU32(out, static_cast<uint32_t>(entry.items.size()));
        for (const FsrReferenceItem& item : entry.items) {
            AppendText(out, item.firstText);
            AppendU32(out, item.c);
            AppendU32(out, item.d);
            AppendU32(out, item.e);
            AppendText(out, item.secondText);
        }
    }
}

bool FsrFile::BuildFrdList(std::string& out) const {
    const std::string_view data = m_records[FSR_FRD_LIST].data;
    const size_t width = m_nVersion < kWideFrdValuesSince ? 4 : 8;
    std::vector<FrdItem> items;
    if (!ParseFrdList(data, width, items))
        return false;
    const auto& paths = m_settings.m_astrFrdNewFiles;
    const auto& readPaths = m_settings.m_astrFrdFiles;
    AppendU32(out, static_cast<uint32_t>(items.size()));
    for (size_t i = 0; i < items.size(); ++i) {
        out.append(items[i].head);
        // A path the user did not change goes back with the bytes it had.
        const bool changed =
            i < paths.size() && (i >= readPaths.size() || paths[i] != readPaths[i]);
        if (changed)
            AppendText(out, paths[i]);
        else
            AppendText(out, items[i].path);
        out.append(items[i].tail);
    }
    AppendU32(out, 0);
    return true;
}

bool FsrFile::BuildFsrRecords() {
    m_bBuildRefused = false;
    struct Rebuilt {
        uint32_t id;
        std::string data;
    };
    std::vector<Rebuilt> rebuilt;

    if (m_nVersion >= kReferenceListSince && HasRecord(FSR_PROJECT_REFERENCES) &&
        m_records[FSR_PROJECT_REFERENCES].size != 0 && !m_bReferencesCarried) {
        rebuilt.push_back({FSR_PROJECT_REFERENCES, {}});
        BuildReferenceList(rebuilt.back().data);
    }
    if (m_nVersion >= kFrdListSince && HasRecord(FSR_FRD_LIST) &&
        m_records[FSR_FRD_LIST].size > kEmptyFrdListSize && m_settings.m_szMpvDir[0] != '\0' &&
        !m_bFrdListCarried) {
        Rebuilt frd{FSR_FRD_LIST, {}};
        if (BuildFrdList(frd.data))
            rebuilt.push_back(std::move(frd));
    }
    if (m_settings.m_fileSet[FILE_UER].m_bInSync && HasRecord(FSR_UER_REFERENCE))
        rebuilt.push_back({FSR_UER_REFERENCE, BuildNameReference(m_settings.m_fileSet[FILE_UER])});
    if (m_settings.m_fileSet[FILE_SBU].m_bInSync && HasRecord(FSR_SBU_REFERENCE))
        rebuilt.push_back({FSR_SBU_REFERENCE, BuildNameReference(m_settings.m_fileSet[FILE_SBU])});

    // Nothing changes unless every rebuilt record fits.
    for (const Rebuilt& record : rebuilt) {
        if (record.data.size() > kMaxRecordSize) {
            m_bBuildRefused = true;
            m_strBuildRefusal =
                FormatResourceString(IDS_FSR_RECORD_TOO_LARGE, {std::to_string(record.id)});
            m_settings.m_strLastError = m_strBuildRefusal;
            return false;
        }
    }
    for (Rebuilt& record : rebuilt)
        SetRecordData(record.id, std::move(record.data));
    return true;
}

} // namespace kelvane
