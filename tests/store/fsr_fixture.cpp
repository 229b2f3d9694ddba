// SPDX-License-Identifier: MIT
#include "store/fsr_fixture.h"

#include "res/string_table.h"

#include <cstdio>
#include <numeric>

namespace kelvane::test {
namespace {

std::string Text(std::string_view text) {
    return U32(static_cast<uint32_t>(text.size())) + std::string(text);
}

std::string Layout(uint32_t version, const FsrRecords& records, uint32_t count,
                   const std::vector<uint32_t>& order) {
    if (count == 0)
        count = FsrFile::RecordCountForVersion(version);
    std::string header = U32(version), blocks;
    uint32_t offsets[FsrFile::kMaxRecordCount + 1] = {};
    for (const uint32_t id : order) {
        const auto record = records.find(id);
        if (id <= count && record != records.end() && !record->second.empty()) {
            offsets[id] = 4 + 12 * count + static_cast<uint32_t>(blocks.size());
            blocks += record->second;
        }
    }
    for (uint32_t k = 1; k <= count; ++k) {
        const auto record = records.find(k);
        header += U32(k) + U32(offsets[k]) +
                  U32(record == records.end() ? 0 : static_cast<uint32_t>(record->second.size()));
    }
    return header + blocks;
}

} // namespace

std::string U32(uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return bytes;
}

std::string FsrBytes(uint32_t version, const FsrRecords& records, uint32_t count) {
    std::vector<uint32_t> ascending(FsrFile::kMaxRecordCount);
    std::iota(ascending.begin(), ascending.end(), 1);
    return Layout(version, records, count, ascending);
}

std::string FsrWritten(uint32_t version, const FsrRecords& records, uint32_t count) {
    return Layout(version, records, count,
                  {2,  19, 20, 1,  10, 9,  3,  16, 4,  5,  7,  8,  6,  11, 12,
                   13, 14, 15, 17, 18, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30});
}

std::string ReferenceList(const std::vector<FsrReferenceEntry>& entries) {
    std::string bytes = U32(static_cast<uint32_t>(entries.size()));
    for (const FsrReferenceEntry& entry : entries) {
        bytes += Text(entry.name) + U32(entry.a) + U32(entry.b) +
                 U32(static_cast<uint32_t>(entry.items.size()));
        for (const FsrReferenceItem& item : entry.items)
            bytes += Text(item.firstText) + U32(item.c) + U32(item.d) + U32(item.e) +
                     Text(item.secondText);
    }
    return bytes;
}

std::string NameReference(std::string_view name) {
    return U32(1) + Text(name);
}

std::string FrdList(const std::vector<FrdEntry>& items, unsigned width, std::string_view end) {
    const auto value = [width](uint64_t v) {
        return U32(static_cast<uint32_t>(v)) + (width == 8 ? U32(uint32_t(v >> 32)) : "");
    };
    std::string bytes = U32(static_cast<uint32_t>(items.size()));
    for (const FrdEntry& item : items)
        bytes += value(item.a) + value(item.b) + Text(item.text) + Text(item.path) + U32(item.c);
    return bytes + std::string(end);
}

FsrFixture::FsrFixture() {
    SetResourceLanguage(ResourceLanguage::English);
    settings.m_strProjectDir = "C:\\work";
    settings.m_strProjectBaseName = "demo";
    std::snprintf(settings.m_szMpvDir, sizeof settings.m_szMpvDir, "C:\\mpv");
    for (unsigned kind = FILE_FSP; kind < kProjectFileKindCount; ++kind)
        settings.m_fileSet[kind].m_strName = settings.m_fileSet[kind].m_strNewName =
            std::string("demo") + ProjectFileExtension(ProjectFileKind(kind));
}

bool FsrFixture::Read(const std::string& bytes) {
    WriteBytes(folder.File("demo.fsr"), bytes);
    return fsr.ReadFsrFile(folder.File("demo.fsr"));
}

std::string FsrFixture::Write() {
    const std::string path = folder.File("out.fsr");
    return fsr.WriteFsrFile(path) ? ReadBytes(path) : std::string();
}

void FsrFixture::RenameTo(const std::string& dir) {
    settings.m_strProjectDir = dir;
    for (const ProjectFileKind kind : {FILE_FSP, FILE_UER, FILE_SBU})
        settings.m_fileSet[kind].m_strNewName = std::string("copy") + ProjectFileExtension(kind);
}

} // namespace kelvane::test
