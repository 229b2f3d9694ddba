#include "store/fsr_fixture.h"

#include "res/string_table.h"

#include <algorithm>

namespace kelvane::test {

std::string U32(uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return bytes;
}

std::string U64(uint64_t value) {
    return U32(static_cast<uint32_t>(value)) + U32(static_cast<uint32_t>(value >> 32));
}

std::string Text(std::string_view text) {
    return U32(static_cast<uint32_t>(text.size())) + std::string(text);
}

uint32_t RecordsInVersion(uint32_t version) {
    struct Range {
        uint32_t first, last, count;
    };
    static const Range ranges[] = {
        {0x100, 0x100, 2},  {0x101, 0x101, 10}, {0x102, 0x102, 13}, {0x103, 0x105, 15},
        {0x106, 0x106, 16}, {0x107, 0x107, 17}, {0x108, 0x109, 18}, {0x110, 0x111, 19},
        {0x112, 0x112, 20}, {0x113, 0x113, 21}, {0x114, 0x116, 22}, {0x117, 0x117, 23},
        {0x118, 0x118, 25}, {0x119, 0x119, 26}, {0x120, 0x122, 26}, {0x123, 0x129, 28},
        {0x130, 0x130, 29},
    };
    for (const Range& range : ranges)
        if (version >= range.first && version <= range.last)
            return range.count;
    return 30;
}

const std::vector<uint32_t> kFsrWriteOrder = {2,  19, 20, 1,  10, 9,  3,  16, 4,  5,
                                              7,  8,  6,  11, 12, 13, 14, 15, 17, 18,
                                              21, 22, 23, 24, 25, 26, 27, 28, 29, 30};

FsrImage& FsrImage::Set(uint32_t id, std::string data) {
    m_data[id] = std::move(data);
    return *this;
}

FsrImage& FsrImage::ForceId(uint32_t entry, uint32_t id) {
    m_ids[entry] = id;
    return *this;
}

FsrImage& FsrImage::ForceOffset(uint32_t entry, uint32_t offset) {
    m_offsets[entry] = offset;
    return *this;
}

FsrImage& FsrImage::ForceSize(uint32_t entry, uint32_t size) {
    m_sizes[entry] = size;
    return *this;
}

FsrImage& FsrImage::Order(std::vector<uint32_t> ids) {
    m_order = std::move(ids);
    return *this;
}

FsrImage& FsrImage::Gap(uint32_t bytes) {
    m_gap = bytes;
    return *this;
}

std::vector<uint32_t> FsrImage::BlockOrder() const {
    std::vector<uint32_t> order;
    const auto wanted = [&](uint32_t id) {
        const auto found = m_data.find(id);
        return id >= 1 && id <= m_count && found != m_data.end() && !found->second.empty() &&
               std::find(order.begin(), order.end(), id) == order.end();
    };
    for (const uint32_t id : m_order)
        if (wanted(id))
            order.push_back(id);
    for (const auto& [id, data] : m_data)
        if (wanted(id))
            order.push_back(id);
    return order;
}

uint32_t FsrImage::OffsetOf(uint32_t id) const {
    uint32_t at = HeaderEnd();
    for (const uint32_t block : BlockOrder()) {
        at += m_gap;
        if (block == id)
            return at;
        at += static_cast<uint32_t>(m_data.at(block).size());
    }
    return 0;
}

std::string FsrImage::Bytes() const {
    std::string blocks;
    for (const uint32_t id : BlockOrder())
        blocks.append(m_gap, '\xEE').append(m_data.at(id));

    std::string bytes = U32(m_version);
    for (uint32_t k = 1; k <= m_count; ++k) {
        const auto data = m_data.find(k);
        const uint32_t size = data == m_data.end() ? 0 : static_cast<uint32_t>(data->second.size());
        const auto forced = [k](const std::map<uint32_t, uint32_t>& values, uint32_t value) {
            const auto found = values.find(k);
            return found == values.end() ? value : found->second;
        };
        bytes += U32(forced(m_ids, k)) + U32(forced(m_offsets, OffsetOf(k))) +
                 U32(forced(m_sizes, size));
    }
    return bytes + blocks;
}

std::string ReferenceList(const std::vector<RefEntry>& entries) {
    return ReferenceList(static_cast<uint32_t>(entries.size()), entries);
}

std::string ReferenceList(uint32_t declaredCount, const std::vector<RefEntry>& entries) {
    std::string bytes = U32(declaredCount);
    for (const RefEntry& entry : entries) {
        bytes += Text(entry.name) + U32(entry.a) + U32(entry.b) +
                 U32(static_cast<uint32_t>(entry.items.size()));
        for (const RefItem& item : entry.items)
            bytes += Text(item.first) + U32(item.c) + U32(item.d) + U32(item.e) + Text(item.second);
    }
    return bytes;
}

std::string NameReference(std::string_view name, uint32_t kind,
                          std::optional<uint32_t> lengthField) {
    return U32(kind) + U32(lengthField.value_or(static_cast<uint32_t>(name.size()))) +
           std::string(name);
}

std::string FrdList(const std::vector<FrdEntry>& items, unsigned width, std::string_view end) {
    const auto value = [width](uint64_t v) { return width == 8 ? U64(v) : U32(uint32_t(v)); };
    std::string bytes = U32(static_cast<uint32_t>(items.size()));
    for (const FrdEntry& item : items)
        bytes += value(item.a) + value(item.b) + Text(item.text) + Text(item.path) + U32(item.c);
    return bytes + std::string(end);
}

std::string ItemHeader(uint32_t value, char filler) {
    return U32(value) + std::string(44, filler);
}

std::string Item(uint32_t key, uint32_t tag) {
    std::string bytes = U32(key);
    for (uint32_t i = 0; i < 11; ++i)
        bytes += U32(tag + i);
    return bytes;
}

FsrFixture::FsrFixture() {
    SetResourceLanguage(ResourceLanguage::English);
    settings.m_strProjectDir = folder.Path();
    settings.m_strProjectBaseName = "demo";
    for (unsigned kind = FILE_FSP; kind < kProjectFileKindCount; ++kind) {
        const std::string name = std::string("demo") + ProjectFileExtension(ProjectFileKind(kind));
        settings.m_fileSet[kind].m_strName = name;
        settings.m_fileSet[kind].m_strNewName = name;
    }
}

bool FsrFixture::Read(const std::string& bytes, const std::string& name) {
    WriteBytes(folder.File(name), bytes);
    return fsr.ReadFsrFile(folder.File(name));
}

bool FsrFixture::Open(const std::string& bytes) {
    return Read(bytes) && fsr.CheckFsrReferences(projectPath);
}

std::string FsrFixture::Save(const std::string& name) {
    const bool built = fsr.BuildFsrRecords();
    if (!fsr.WriteFsrFile(folder.File(name)) || !built)
        return std::string();
    return ReadBytes(folder.File(name));
}

} // namespace kelvane::test
