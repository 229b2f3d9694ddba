// SPDX-License-Identifier: MIT
#pragma once

#include "store/project_settings.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

class FileReader;
class FileSetTransaction;

struct DefSection {
    std::string name; // at most 79 characters
};

// Values and tags are views of the text the table was read from, or of the
// table's own copies of values set since: a project file may hold megabytes
// of values, and copying them would double what an open needs.
struct DefEntry {
    uint32_t section = 0;   // 0 when it stood before any header
    std::string key;        // at most 79 characters
    std::string_view value; // at most 16,639 characters
};

struct DefTag {
    uint32_t section = 0;
    std::string_view text;
};

// A sectioned key=value text file (the project file) held as a table: parsed
// whole, looked up and changed by key, written back in the program's order.
// Failures leave their message in the settings' m_strLastError.
class DefinitionFile {
public:
    static constexpr size_t kLineChunkLength = 16723; // fgets buffer of 16,724
    static constexpr uint32_t kSectionSlots = 400;    // slot 0 is never filled
    static constexpr uint32_t kDefinitionSlots = 4000;
    static constexpr size_t kNameFieldSize = 80;
    static constexpr size_t kValueFieldSize = 16640;

    explicit DefinitionFile(ProjectSettings& settings);
    virtual ~DefinitionFile();

    bool ReadDefinitionFile(const std::string& path);
    // The same read of `file`, already opened by `path`.
    bool ReadOpenedFile(FileReader& file, const std::string& path);
    // With `set`, the file is one member of it and is put in place by the
    // set's Commit; without, at once. `writtenHash` receives the
    // ContentHash of the bytes written.
    bool WriteDefinitionFile(const std::string& path, FileSetTransaction* set = nullptr,
                             uint64_t* writtenHash = nullptr) const;
    bool GetValue(std::string& value, std::string_view key) const;
    bool SetValue(std::string_view value, std::string_view key);

    // The three key groups of the project settings.
    bool ReadFileSettings(const std::string& projectPath);
    bool ReadModelSettings();
    bool ReadCommSettings();
    bool WriteFileSettings(const std::string& projectPath);
    bool WriteCommSettings();
    bool WriteModelSettings();

    // The whole table, kept so that a save that fails can be undone. It
    // shares the text its views point into, so it stays valid on its own.
    struct Table {
        std::vector<DefSection> sections;
        std::vector<DefEntry> definitions;
        std::vector<DefTag> tags;
        uint32_t sectionCount = 0, definitionCount = 0, tagCount = 0;
        std::shared_ptr<const char[]> text;
        std::shared_ptr<std::deque<std::string>> setValues;
        bool byteOrderMark = false;
    };
    Table SaveTable() const {
        return {m_sections,  m_definitions, m_tags,      m_nSectionCount, m_nDefinitionCount,
                m_nTagCount, m_text,        m_setValues, m_bByteOrderMark};
    }
    void RestoreTable(Table table) {
        m_sections = std::move(table.sections);
        m_definitions = std::move(table.definitions);
        m_tags = std::move(table.tags);
        m_nSectionCount = table.sectionCount;
        m_nDefinitionCount = table.definitionCount;
        m_nTagCount = table.tagCount;
        m_text = std::move(table.text);
        m_setValues = std::move(table.setValues);
        m_bByteOrderMark = table.byteOrderMark;
    }

    // The lines WriteDefinitionFile puts on disk.
    std::string Serialize() const;

    uint32_t SectionCount() const { return m_nSectionCount; }
    uint32_t DefinitionCount() const { return m_nDefinitionCount; }
    uint32_t TagCount() const { return m_nTagCount; }
    // Sections and definitions are numbered from 1 in file order.
    const DefSection& Section(uint32_t index) const { return m_sections[index]; }
    const DefEntry& Definition(uint32_t index) const { return m_definitions[index]; }
    const DefTag& Tag(uint32_t index) const { return m_tags[index]; }

private:
    // Passes the file's lines, in pieces, to `out`.
    template <class Out> void Emit(Out& sink) const;
    // The section headers Emit writes.
    uint32_t CountHeaders() const;
    bool Fail(unsigned messageId) const;
    // The message followed by the reason for `error` and the path.
    bool Fail(unsigned messageId, int error, const std::string& path) const;
    bool ParseChunk(std::string_view chunk, uint32_t& currentSection);
    // Stores a key's value in a fixed field of the settings, refusing a value
    // that does not fit.
    template <size_t N>
    bool CopyValueIntoField(char (&field)[N], std::string_view key, std::string_view value);

    ProjectSettings& m_settings;
    std::vector<DefSection> m_sections;
    std::vector<DefEntry> m_definitions;
    std::vector<DefTag> m_tags;
    uint32_t m_nSectionCount = 0;
    uint32_t m_nDefinitionCount = 0;
    uint32_t m_nTagCount = 0;
    std::shared_ptr<const char[]> m_text; // the file's bytes as read
    // Values set since the read; a deque, so that views of them stay valid.
    std::shared_ptr<std::deque<std::string>> m_setValues;
    // The file began with a UTF-8 byte-order mark (an editor's): kept in
    // front of what is written, not read as part of the first line.
    bool m_bByteOrderMark = false;
};

} // namespace kelvane
