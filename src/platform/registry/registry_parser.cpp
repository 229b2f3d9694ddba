// SPDX-License-Identifier: MIT
// The text formats a registry file comes in: the platform editor's exports
// and Wine's hives.
#include "platform/registry/registry_file.h"
#include "platform/text/code_page.h"

#include <optional>

namespace kelvane {
namespace {

enum class Format { Regedit4, Regedit5, Wine };

// What the first name of an export's key is: a root read here, another root
// (HKEY_CLASSES_ROOT, ...), or no root at all.
enum class NamedRoot { LocalMachine, CurrentUser, Other, None };

struct Header {
    std::string_view line;
    Format format;
};

constexpr Header kHeaders[] = {
    {"REGEDIT4", Format::Regedit4},
    {"Windows Registry Editor Version 5.00", Format::Regedit5},
    {"WINE REGISTRY Version 2", Format::Wine},
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

bool IsAscii(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One to eight hexadecimal digits and nothing else.
std::optional<uint32_t> HexNumber(std::string_view text) {
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    uint32_t number = 0;
    for (const char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        number = number << 4 | static_cast<uint32_t>(digit);
    }
    return number;
}

// "01,02, ff": bytes of one or two digits; a comma may end the list.
bool HexBytes(std::string_view text, std::string& bytes) {
    text = Trim(text);
    while (!text.empty()) {
        const size_t comma = text.find(',');
        const std::string_view token = Trim(text.substr(0, comma));
        const std::optional<uint32_t> byte = token.size() <= 2 ? HexNumber(token) : std::nullopt;
        if (!byte)
            return false;
        bytes.push_back(static_cast<char>(*byte));
        if (comma == std::string_view::npos)
            break;
        text = Trim(text.substr(comma + 1));
    }
    return true;
}

bool IsStringType(uint32_t type) {
    return type == static_cast<uint32_t>(RegistryType::String) ||
           type == static_cast<uint32_t>(RegistryType::ExpandableString) ||
           type == static_cast<uint32_t>(RegistryType::MultiString);
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

class Parser {
public:
    Parser(Format format, bool utf8, RegistryRoot hiveRoot, RegistryFile& file,
           RegistryParseError& error)
        : m_format(format), m_utf8(utf8), m_hiveRoot(hiveRoot), m_file(file), m_error(error),
          m_codePage(ProjectCodePage()) {}

    bool Run(const std::vector<std::string_view>& lines) {
        m_lines = &lines;
        for (m_index = 1; m_index < lines.size(); ++m_index) {
            m_line = m_index + 1;
            const std::string_view line = Trim(lines[m_index]);
            if (line.empty() || line.front() == ';')
                continue;
            // Wine's metadata: #time=..., #arch=..., #class=...
            if (m_format == Format::Wine && line.front() == '#')
                continue;
            bool read = false;
            if (line.front() == '[')
                read = KeyLine(line);
            else if (line.front() == '"' || line.front() == '@')
                read = ValueLine(line);
            else
                read = Fail("unexpected text");
            if (!read)
                return false;
        }
        return true;
    }

private:
    bool Fail(std::string message) {
        m_error.line = m_line;
        m_error.message = std::move(message);
        return false;
    }

    // Texts of an export read as UTF-8 (a UTF-16 file, or a byte-order mark).
    std::string ExportText(std::string_view text) const {
        return m_utf8 && !IsAscii(text) ? ConvertText(text, "UTF-8", m_codePage)
                                        : std::string(text);
    }

    std::string Utf16LeToProject(std::string_view bytes) const {
        bool ascii = bytes.size() % 2 == 0;
        for (size_t i = 0; ascii && i < bytes.size(); i += 2)
            ascii = static_cast<unsigned char>(bytes[i]) < 0x80 && bytes[i + 1] == '\0';
        if (!ascii)
            return ConvertText(bytes, "UTF-16LE", m_codePage);
        std::string text;
        for (size_t i = 0; i < bytes.size(); i += 2)
            text.push_back(bytes[i]);
        return text;
    }

    // A quoted text of an export from `position` (at the quote) on: the only
    // escapes are \\ and \". `position` ends past the closing quote.
    bool ExportString(std::string_view line, size_t& position, std::string& text) {
        std::string raw;
        for (size_t i = position + 1; i < line.size(); ++i) {
            if (line[i] == '"') {
                position = i + 1;
                text = ExportText(raw);
                return true;
            }
            if (line[i] == '\\' && i + 1 < line.size() &&
                (line[i + 1] == '\\' || line[i + 1] == '"'))
                ++i;
            raw.push_back(line[i]);
        }
        return Fail("unterminated string");
    }

    // A text of a Wine hive from `position` (at the opening character) up to
    // `end`: UTF-8 with C escapes, \xHHHH for one UTF-16 unit and octal ones.
    bool WineString(std::string_view line, size_t& position, char end, std::string& text) {
        // Most texts are plain ASCII without escapes.
        if (const size_t close = line.find(end, position + 1); close != std::string_view::npos) {
            const std::string_view plain = line.substr(position + 1, close - position - 1);
            if (plain.find('\\') == std::string_view::npos && IsAscii(plain)) {
                text.assign(plain);
                position = close + 1;
                return true;
            }
        }
        std::u16string units;
        size_t i = position + 1;
        while (i < line.size() && line[i] != end) {
            const auto c = static_cast<unsigned char>(line[i]);
            if (c >= 0x80) {
                size_t runEnd = i;
                while (runEnd < line.size() && static_cast<unsigned char>(line[runEnd]) >= 0x80)
                    ++runEnd;
                const std::string le = ConvertText(line.substr(i, runEnd - i), "UTF-8", "UTF-16LE");
                for (size_t k = 0; k + 1 < le.size(); k += 2)
                    units.push_back(
                        static_cast<char16_t>(static_cast<unsigned char>(le[k]) |
                                              static_cast<unsigned char>(le[k + 1]) << 8));
                i = runEnd;
                continue;
            }
            if (c != '\\' || i + 1 >= line.size()) {
                units.push_back(c);
                ++i;
                continue;
            }
            i = WineEscape(line, i + 1, units);
        }
        if (i >= line.size())
            return Fail(end == ']' ? "a key line without ]" : "unterminated string");
        position = i + 1;
        bool ascii = true;
        for (const char16_t unit : units)
            ascii = ascii && unit < 0x80;
        if (ascii)
            text.assign(units.begin(), units.end());
        else
            text = Utf16ToProject(units);
        return true;
    }

    // The escape after a backslash at `i`; returns where the text goes on.
    static size_t WineEscape(std::string_view line, size_t i, std::u16string& units) {
        static constexpr std::string_view kLetters = "abefnrtv";
        static constexpr char16_t kControls[] = {'\a', '\b', 0x1B, '\f', '\n', '\r', '\t', '\v'};
        const char c = line[i];
        // A backslash before a UTF-8 character stands for nothing.
        if (static_cast<unsigned char>(c) >= 0x80)
            return i;
        if (const size_t letter = kLetters.find(c); letter != std::string_view::npos) {
            units.push_back(kControls[letter]);
            return i + 1;
        }
        if (c == 'x' && i + 1 < line.size() && HexDigit(line[i + 1]) >= 0) {
            char16_t unit = 0;
            size_t k = i + 1;
            for (; k < line.size() && k < i + 5 && HexDigit(line[k]) >= 0; ++k)
                unit = static_cast<char16_t>(unit << 4 | HexDigit(line[k]));
            units.push_back(unit);
            return k;
        }
        if (c >= '0' && c <= '7') {
            char16_t unit = 0;
            size_t k = i;
            for (; k < line.size() && k < i + 3 && line[k] >= '0' && line[k] <= '7'; ++k)
                unit = static_cast<char16_t>(unit << 3 | (line[k] - '0'));
            units.push_back(unit);
            return k;
        }
        // Any other character stands for itself: \\, \", \], \x without digits.
        units.push_back(static_cast<unsigned char>(c));
        return i + 1;
    }

    bool QuotedText(std::string_view line, size_t& position, std::string& text) {
        return m_format == Format::Wine ? WineString(line, position, '"', text)
                                        : ExportString(line, position, text);
    }

    bool KeyLine(std::string_view line) {
        const bool remove = line.size() > 1 && line[1] == '-';
        std::string path;
        if (m_format == Format::Wine) {
            size_t position = remove ? 1 : 0;
            if (!WineString(line, position, ']', path))
                return false;
        } else {
            // Names may hold ']': the last one closes the key.
            const size_t close = line.rfind(']');
            if (close == std::string_view::npos)
                return Fail("a key line without ]");
            const size_t start = remove ? 2 : 1;
            path = ExportText(line.substr(start, close > start ? close - start : 0));
        }
        std::vector<std::string> names = SplitRegistryPath(path);
        m_inKey = true;
        m_key = nullptr;
        RegistryRoot root = m_hiveRoot;
        if (m_format != Format::Wine) {
            if (names.empty())
                return Fail("a key line without a key name");
            const NamedRoot named = RootNamed(names.front());
            if (named == NamedRoot::None)
                return Fail(names.front() + " is not the name of a root key");
            if (named == NamedRoot::Other)
                return true; // a root this program does not read: its values are skipped
            root = named == NamedRoot::LocalMachine ? RegistryRoot::LocalMachine
                                                    : RegistryRoot::CurrentUser;
            names.erase(names.begin());
        }
        if (remove)
            m_file.DeleteKey(root, names);
        else
            m_key = &m_file.CreateKey(root, names);
        return true;
    }

    static NamedRoot RootNamed(const std::string& name) {
        const std::string root = FoldRegistryName(name);
        if (root == "hkey_local_machine" || root == "hklm")
            return NamedRoot::LocalMachine;
        if (root == "hkey_current_user" || root == "hkcu")
            return NamedRoot::CurrentUser;
        for (const char* other : {"hkey_classes_root", "hkey_users", "hkey_current_config",
                                  "hkey_dyn_data", "hkey_performance_data", "hkcr", "hku", "hkcc"})
            if (root == other)
                return NamedRoot::Other;
        return NamedRoot::None;
    }

    bool ValueLine(std::string_view line) {
        RegistryValue value;
        size_t position = 1;
        if (line.front() == '"') {
            position = 0;
            if (!QuotedText(line, position, value.name))
                return false;
        }
        while (position < line.size() && IsBlank(line[position]))
            ++position;
        if (position >= line.size() || line[position] != '=')
            return Fail("no = after the value name");
        if (!m_inKey)
            return Fail("a value before the first key");
        const std::string_view data = Trim(line.substr(position + 1));
        if (data == "-") {
            if (m_key != nullptr)
                m_key->RemoveValue(value.name);
            return true;
        }
        if (!ValueData(data, value))
            return false;
        if (m_key != nullptr)
            m_key->SetValue(std::move(value));
        return true;
    }

    bool ValueData(std::string_view data, RegistryValue& value) {
        if (data.starts_with('"'))
            return StringData(data, 0, RegistryType::String, value);
        if (data.starts_with("dword:")) {
            const std::optional<uint32_t> number = HexNumber(data.substr(6));
            if (!number)
                return Fail("a dword: value that is not 1 to 8 hexadecimal digits");
            value.type = RegistryType::Number32;
            for (int shift = 0; shift < 32; shift += 8)
                value.data.push_back(static_cast<char>(*number >> shift & 0xFF));
            return true;
        }
        if (data.starts_with("hex"))
            return HexData(data.substr(3), value);
        if (m_format == Format::Wine && data.starts_with("str(")) {
            const size_t close = data.find("):", 4);
            const std::optional<uint32_t> type = close == std::string_view::npos
                                                     ? std::nullopt
                                                     : HexNumber(data.substr(4, close - 4));
            if (!type || close + 2 >= data.size() || data[close + 2] != '"')
                return Fail("a str(N): value without its type or its quoted text");
            return StringData(data, close + 2, static_cast<RegistryType>(*type), value);
        }
        return Fail("a value that is neither a string, dword:, hex: nor hex(N):");
    }

    bool StringData(std::string_view data, size_t quote, RegistryType type, RegistryValue& value) {
        size_t position = quote;
        std::string text;
        if (!QuotedText(data, position, text))
            return false;
        if (position != data.size())
            return Fail("text after the closing quote");
        value.type = type;
        value.data = std::move(text);
        value.data.push_back('\0');
        return true;
    }

    // After "hex": ":" or "(N):", then bytes, continued on the next lines
    // while a line ends with '\'.
    bool HexData(std::string_view rest, RegistryValue& value) {
        uint32_t type = static_cast<uint32_t>(RegistryType::Binary);
        if (rest.starts_with('(')) {
            const size_t close = rest.find("):");
            const std::optional<uint32_t> number = close == std::string_view::npos
                                                       ? std::nullopt
                                                       : HexNumber(rest.substr(1, close - 1));
            if (!number)
                return Fail("a hex(N): value whose type is not 1 to 8 hexadecimal digits");
            type = *number;
            rest.remove_prefix(close + 2);
        } else if (rest.starts_with(':')) {
            rest.remove_prefix(1);
        } else {
            return Fail("a value that is neither a string, dword:, hex: nor hex(N):");
        }
        const size_t firstLine = m_line;
        std::string text(Trim(rest));
        while (!text.empty() && text.back() == '\\' && m_index + 1 < m_lines->size()) {
            text.pop_back();
            text += Trim((*m_lines)[++m_index]);
        }
        if (!text.empty() && text.back() == '\\')
            text.pop_back(); // continued past the end of the file
        std::string bytes;
        if (!HexBytes(text, bytes)) {
            m_line = firstLine;
            return Fail("hex data that is not bytes of two hexadecimal digits between commas");
        }
        value.type = static_cast<RegistryType>(type);
        // Texts in hex are UTF-16LE, except in REGEDIT4 exports.
        value.data = IsStringType(type) && m_format != Format::Regedit4 ? Utf16LeToProject(bytes)
                                                                        : std::move(bytes);
        return true;
    }

    Format m_format;
    bool m_utf8;
    RegistryRoot m_hiveRoot;
    RegistryFile& m_file;
    RegistryParseError& m_error;
    std::string m_codePage;
    const std::vector<std::string_view>* m_lines = nullptr;
    size_t m_index = 0;
    size_t m_line = 1;
    bool m_inKey = false;             // a key line was read
    RegistryKeyData* m_key = nullptr; // where values go; none after [-KEY] or another root
};

} // namespace

bool ParseRegistryFile(std::string_view bytes, RegistryRoot hiveRoot, RegistryFile& file,
                       RegistryParseError& error) {
    std::string converted;
    bool utf8 = false;
    if (bytes.starts_with("\xFF\xFE")) {
        converted = ConvertText(bytes.substr(2), "UTF-16LE", "UTF-8");
        bytes = converted;
        utf8 = true;
    } else if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
        utf8 = true;
    }
    const std::vector<std::string_view> lines = SplitLines(bytes);
    const std::string_view first = Trim(lines.front());
    for (const Header& header : kHeaders)
        if (first == header.line)
            return Parser(header.format, utf8, hiveRoot, file, error).Run(lines);
    error.line = 1;
    error.message = "not a registry file: the first line is not REGEDIT4, Windows Registry "
                    "Editor Version 5.00 or WINE REGISTRY Version 2";
    return false;
}

} // namespace kelvane
