// SPDX-License-Identifier: MIT
#include "store/definition_file.h"

#include "platform/files/atomic_file.h"
#include "platform/files/content_hash.h"
#include "platform/files/file_reader.h"
#include "platform/files/read_buffer.h"
#include "res/failure_reason.h"
#include "res/string_ids.h"
#include "res/string_table.h"
#include "store/write_failure.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace kelvane {
namespace {

// Splits the text as fgets in text mode would with the program's line
// buffer: each chunk is one line with its line end, or a full buffer's worth
// of a longer line. Text mode reads a CR LF as one LF, so a line's length is
// counted with its CR LF as one character; the chunk that ends the line keeps
// both, which no reader of a chunk tells from a lone LF (a value ends at
// either character). The text itself is not rewritten: it can be megabytes.
std::vector<std::string_view> SplitIntoChunks(std::string_view text) {
    std::vector<std::string_view> chunks;
    size_t start = 0;
    while (start < text.size()) {
        const size_t newline = text.find('\n', start);
        const size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
        const bool crLf =
            newline != std::string_view::npos && newline > start && text[newline - 1] == '\r';
        // Pieces of a long line: none reaches its CR LF, which is then two
        // characters or more away.
        while (end - start - (crLf ? 1 : 0) > DefinitionFile::kLineChunkLength) {
            chunks.push_back(text.substr(start, DefinitionFile::kLineChunkLength));
            start += DefinitionFile::kLineChunkLength;
        }
        chunks.push_back(text.substr(start, end - start));
        start = end;
    }
    return chunks;
}

// The first of two characters. find_first_of tests each character against
// the set in turn, which is slow on values of many kilobytes.
size_t FindFirstOfTwo(std::string_view text, char a, char b) {
    const size_t first = text.find(a);
    return std::min(first,
                    text.substr(0, first == std::string_view::npos ? text.size() : first).find(b));
}

enum class ChunkKind { Header, Definition, Tag, Ignored };

ChunkKind Classify(std::string_view chunk) {
    if (!chunk.empty() && chunk[0] == '[')
        return chunk.find(']', 1) != std::string_view::npos ? ChunkKind::Header
                                                            : ChunkKind::Ignored;
    const size_t mark = FindFirstOfTwo(chunk, '=', '<');
    if (mark == std::string_view::npos)
        return ChunkKind::Ignored;
    if (chunk[mark] == '=')
        return ChunkKind::Definition;
    return chunk.find('>', mark + 1) != std::string_view::npos ? ChunkKind::Tag
                                                               : ChunkKind::Ignored;
}

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Text-mode writing puts CR LF for every line end.
template <class Out> void PutLine(Out& out, std::string_view line) {
    size_t start = 0;
    for (size_t newline = line.find('\n'); newline != std::string_view::npos;
         newline = line.find('\n', start)) {
        out(line.substr(start, newline - start));
        out("\r\n");
        start = newline + 1;
    }
    out(line.substr(start));
    out("\r\n");
}

// Hands the text to the file in pieces of about kPiece bytes, so a save
// never holds the whole project file in memory.
class PiecewiseFileOutput {
public:
    explicit PiecewiseFileOutput(AtomicFileWriter& file) : m_file(file) {
        m_buffer.reserve(kPiece + DefinitionFile::kValueFieldSize + 256);
    }
    void operator()(std::string_view bytes) {
        m_buffer.append(bytes);
        if (m_buffer.size() >= kPiece)
            Flush();
    }
    bool Finish() {
        Flush();
        return m_ok;
    }
    // The hash of what was written, so that a save need not read it back.
    uint64_t Hash() const { return m_hasher.Value(); }

private:
    void Flush() {
        m_ok = m_ok && m_file.Write(m_buffer);
        m_hasher.Add(m_buffer);
        m_buffer.clear();
    }

    static constexpr size_t kPiece = 256 * 1024;
    AtomicFileWriter& m_file;
    std::string m_buffer;
    ContentHasher m_hasher;
    bool m_ok = true;
};

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

bool DefinitionFile::Fail(unsigned messageId, int error, const std::string& path) const {
    m_settings.m_strLastError = WithFailureReason(LoadResourceString(messageId), error, path);
    return false;
}

bool DefinitionFile::ReadDefinitionFile(const std::string& path) {
    FileReader file;
    if (!file.Open(path))
        return Fail(file.Error() == ENAMETOOLONG ? IDS_PATH_TOO_LONG : IDS_CANNOT_READ,
                    file.Error(), path);
    return ReadOpenedFile(file, path);
}

bool DefinitionFile::ReadOpenedFile(FileReader& file, const std::string& path) {
    // Read into memory that is not cleared first: it is overwritten at once,
    // and a project file may be megabytes long. The table's values point into it.
    const size_t size = static_cast<size_t>(file.Size());
    const std::shared_ptr<char[]> bytes = AllocateReadBuffer(size);
    if (file.ReadAt(0, bytes.get(), size) != size) {
        if (file.Error() != 0)
            return Fail(IDS_CANNOT_READ, file.Error(), path);
        m_settings.m_strLastError =
            WithReasonText(LoadResourceString(IDS_CANNOT_READ),
                           LoadResourceString(IDS_FILE_CHANGED_WHILE_READ), path);
        return false;
    }

    std::string_view text(bytes.get(), size);
    m_settings.m_fileSet[FILE_FSP].m_opened = SnapshotOfText(file, bytes);
    m_bByteOrderMark = text.starts_with(kUtf8ByteOrderMark);
    if (m_bByteOrderMark)
        text.remove_prefix(kUtf8ByteOrderMark.size());
    const std::vector<std::string_view> chunks = SplitIntoChunks(text);

    m_nSectionCount = m_nDefinitionCount = m_nTagCount = 0;
    m_sections.assign(1, DefSection{});
    m_definitions.assign(1, DefEntry{});
    m_text = bytes;
    m_setValues = std::make_shared<std::deque<std::string>>();

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
        value = value.substr(0, FindFirstOfTwo(value, '\r', '\n'));
        if (value.size() >= kValueFieldSize)
            return Fail(IDS_TOO_LONG_SETTING_VALUE);
        m_definitions.push_back(DefEntry{currentSection, std::string(key), value});
        ++m_nDefinitionCount;
        return true;
    }
    case ChunkKind::Tag: {
        // Up to the '>' that closes the tag: one before its '<' would keep a
        // text that reads back as no tag at all.
        const size_t close = chunk.find('>', FindFirstOfTwo(chunk, '=', '<'));
        m_tags.push_back(DefTag{currentSection, chunk.substr(0, close + 1)});
        ++m_nTagCount;
        return true;
    }
    case ChunkKind::Ignored:
        return true;
    }
    return true;
}

template <class Out> void DefinitionFile::Emit(Out& sink) const {
    if (m_bByteOrderMark)
        sink(kUtf8ByteOrderMark);
    // A file without the mark whose first line written begins with its bytes
    // (a line that stood further down when read) would lose them to the
    // mark at the next read: the mark goes before it.
    bool first = !m_bByteOrderMark;
    const auto out = [&](std::string_view bytes) {
        if (first && !bytes.empty()) {
            first = false;
            if (bytes.starts_with(kUtf8ByteOrderMark))
                sink(kUtf8ByteOrderMark);
        }
        sink(bytes);
    };
    uint32_t currentSection = 0;
    auto enterSection = [&](uint32_t section) {
        if (section == currentSection)
            return;
        PutLine(out, "[" + m_sections[section].name + "]");
        currentSection = section;
    };
    for (uint32_t i = 1; i <= m_nDefinitionCount; ++i) {
        const DefEntry& entry = m_definitions[i];
        enterSection(entry.section);
        out(entry.key);
        out("=");
        PutLine(out, entry.value);
    }
    for (const DefTag& tag : m_tags) {
        enterSection(tag.section);
        PutLine(out, tag.text);
    }
}

uint32_t DefinitionFile::CountHeaders() const {
    uint32_t headers = 0, currentSection = 0;
    auto enterSection = [&](uint32_t section) {
        headers += section != currentSection ? 1 : 0;
        currentSection = section;
    };
    for (uint32_t i = 1; i <= m_nDefinitionCount; ++i)
        enterSection(m_definitions[i].section);
    for (const DefTag& tag : m_tags)
        enterSection(tag.section);
    return headers;
}

std::string DefinitionFile::Serialize() const {
    std::string text;
    auto append = [&text](std::string_view bytes) { text.append(bytes); };
    Emit(append);
    return text;
}

bool DefinitionFile::WriteDefinitionFile(const std::string& path, FileSetTransaction* set,
                                         uint64_t* writtenHash) const {
    // A tag's header is written again after the definitions, so a file the
    // reader took may come out with more headers than it takes: refuse it
    // rather than write a project that no longer opens.
    if (CountHeaders() >= kSectionSlots)
        return Fail(IDS_TOO_MANY_CATEGORIES);
    AtomicFileWriter file(set);
    if (!file.Open(path))
        return Fail(WriteFailureId(file.Error()), file.Error(), path);
    PiecewiseFileOutput out(file);
    Emit(out);
    if (!out.Finish() || !file.Commit())
        return Fail(WriteFailureId(file.Error()), file.Error(), path);
    if (writtenHash != nullptr)
        *writtenHash = out.Hash();
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
            // The same value again, as most saves set it, keeps its view.
            if (m_definitions[i].value != value) {
                if (!m_setValues)
                    m_setValues = std::make_shared<std::deque<std::string>>();
                m_definitions[i].value = m_setValues->emplace_back(value);
            }
            return true;
        }
    }
    m_settings.m_strLastError = FormatResourceString(IDS_DEFINITION_NOT_FOUND, {key});
    return false;
}

} // namespace kelvane
