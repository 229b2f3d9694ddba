#include "store/definition_file.h"

#include "platform/atomic_file.h"
#include "res/string_ids.h"
#include "res/string_table.h"

#include <cerrno>

namespace kelvane {
namespace {

// Text-mode reading turns each CR LF pair into one line end.
std::string JoinCrLf(const std::string& bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        text.push_back(bytes[i]);
    }
    return text;
}

// Splits the text as fgets would with the program's line buffer: each chunk is
// one line with its line end, or a full buffer's worth of a longer line.
std::vector<std::string_view> SplitIntoChunks(std::string_view text) {
    std::vector<std::string_view> chunks;
    size_t start = 0;
    while (start < text.size()) {
        const size_t newline = text.find('\n', start);
        size_t length =
            newline == std::string_view::npos ? text.size() - start : newline - start + 1;
        if (length > DefinitionFile::kLineChunkLength)
            length = DefinitionFile::kLineChunkLength;
        chunks.push_back(text.substr(start, length));
        start += length;
    }
    return chunks;
}

enum class ChunkKind { Header, Definition, Tag, Ignored };

ChunkKind Classify(std::string_view chunk) {
    if (!chunk.empty() && chunk[0] == '[')
        return chunk.find(']', 1) != std::string_view::npos ? ChunkKind::Header
                                                            : ChunkKind::Ignored;
    const size_t mark = chunk.find_first_of("=<");
    if (mark == std::string_view::npos)
        return ChunkKind::Ignored;
    if (chunk[mark] == '=')
        return ChunkKind::Definition;
    return chunk.find('>', mark + 1) != std::string_view::npos ? ChunkKind::Tag
                                                               : ChunkKind::Ignored;
}

// Text-mode writing puts CR LF for every line end.
void AppendLine(std::string& out, std::string_view line) {
    for (char c : line) {
        if (c == '\n')
            out.push_back('\r');
        out.push_back(c);
    }
    out.append("\r\n");
}

} // namespace

DefinitionFile::DefinitionFile(ProjectSettings& settings) : m_settings(settings) {
    m_sections.resize(1);
    m_definitions.resize(1);
}

DefinitionFile::~DefinitionFile() = default;

bool DefinitionFile::Fail(unsigned messageId) const {
    m_settings.m_strLastError = LoadResourceString(messageId);
    return false;
}

bool DefinitionFile::ReadDefinitionFile(const std::string& path) {
    std::string bytes;
    int error = 0;
    if (!ReadWholeFile(path, bytes, error))
        return Fail(error == ENAMETOOLONG ? IDS_PATH_TOO_LONG : IDS_CANNOT_READ);

    const std::string text = JoinCrLf(bytes);
    const std::vector<std::string_view> chunks = SplitIntoChunks(text);

    m_nSectionCount = m_nDefinitionCount = m_nTagCount = 0;
    m_sections.assign(1, DefSection{});
    m_definitions.assign(1, DefEntry{});

    // The first pass only counts the tags, so their array is sized once.
    size_t tagLines = 0;
    for (std::string_view chunk : chunks)
        if (Classify(chunk) == ChunkKind::Tag)
            ++tagLines;
    m_tags.clear();
    m_tags.shrink_to_fit();
    m_tags.reserve(tagLines);

    uint32_t currentSection = 0;
    for (std::string_view chunk : chunks)
        if (!ParseChunk(chunk, currentSection))
            return false;
    return true;
}

bool DefinitionFile::ParseChunk(std::string_view chunk, uint32_t& currentSection) {
    switch (Classify(chunk)) {
    case ChunkKind::Header: {
        if (m_nSectionCount + 1 >= kSectionSlots)
            return Fail(IDS_TOO_MANY_CATEGORIES);
        const std::string_view name = chunk.substr(1, chunk.find(']', 1) - 1);
        if (name.size() >= kNameFieldSize)
            return Fail(IDS_TOO_LONG_CATEGORY_NAME);
        m_sections.push_back(DefSection{std::string(name)});
        currentSection = ++m_nSectionCount;
        return true;
    }
    case ChunkKind::Definition: {
        if (m_nDefinitionCount + 1 >= kDefinitionSlots)
            return Fail(IDS_TOO_MANY_DEFINITIONS);
        const size_t equals = chunk.find('=');
        const std::string_view key = chunk.substr(0, equals);
        if (key.size() >= kNameFieldSize)
            return Fail(IDS_TOO_LONG_KEY_NAME);
        std::string_view value = chunk.substr(equals + 1);
        value = value.substr(0, value.find_first_of("\r\n"));
        if (value.size() >= kValueFieldSize)
            return Fail(IDS_TOO_LONG_SETTING_VALUE);
        m_definitions.push_back(DefEntry{currentSection, std::string(key), std::string(value)});
        ++m_nDefinitionCount;
        return true;
    }
    case ChunkKind::Tag:
        m_tags.push_back(DefTag{currentSection, std::string(chunk.substr(0, chunk.find('>') + 1))});
        ++m_nTagCount;
        return true;
    case ChunkKind::Ignored:
        return true;
    }
    return true;
}

std::string DefinitionFile::Serialize() const {
    std::string out;
    uint32_t currentSection = 0;
    auto enterSection = [&](uint32_t section) {
        if (section == currentSection)
            return;
        AppendLine(out, "[" + m_sections[section].name + "]");
        currentSection = section;
    };
    for (uint32_t i = 1; i <= m_nDefinitionCount; ++i) {
        const DefEntry& entry = m_definitions[i];
        enterSection(entry.section);
        std::string line;
        line.reserve(entry.key.size() + 1 + entry.value.size());
        line.append(entry.key).append("=").append(entry.value);
        AppendLine(out, line);
    }
    for (const DefTag& tag : m_tags) {
        enterSection(tag.section);
        AppendLine(out, tag.text);
    }
    return out;
}

bool DefinitionFile::WriteDefinitionFile(const std::string& path) const {
    int error = 0;
    if (!WriteFileAtomically(path, Serialize(), error))
        return Fail(error == ENAMETOOLONG ? IDS_PATH_TOO_LONG : IDS_WRITE_FAILED);
    return true;
}

bool DefinitionFile::GetValue(std::string& value, std::string_view key) const {
    for (uint32_t i = 1; i <= m_nDefinitionCount; ++i) {
        if (m_definitions[i].key == key) {
            value = m_definitions[i].value;
            return true;
        }
    }
    m_settings.m_strLastError = FormatResourceString(IDS_DEFINITION_NOT_FOUND, {key});
    return false;
}

bool DefinitionFile::SetValue(std::string_view value, std::string_view key) {
    for (uint32_t i = 1; i <= m_nDefinitionCount; ++i) {
        if (m_definitions[i].key == key) {
            m_definitions[i].value = value;
            return true;
        }
    }
    m_settings.m_strLastError = FormatResourceString(IDS_DEFINITION_NOT_FOUND, {key});
    return false;
}

} // namespace kelvane
