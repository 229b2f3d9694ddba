// SPDX-License-Identifier: MIT
#include "platform/places/default_folder.h"
#include "platform/registry/registry.h"
#include "platform/text/code_page.h"
#include "scoped_environment.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <sys/stat.h>
#ifdef _WIN32
#include "platform/registry/registry_profile.h"

#include <windows.h>
// The profile's own names, not the old INI functions of windows.h.
#undef GetProfileString
#undef WriteProfileString
#endif

namespace kelvane {
namespace {

using namespace std::string_literals;
using test::ScopedEnvironment;
using test::TempFolder;
using test::WriteBytes;

struct Value {
    RegistryType type;
    std::string data;
    bool operator==(const Value&) const = default;
};

void PrintTo(const Value& value, std::ostream* out) {
    *out << "type " << static_cast<uint32_t>(value.type) << " data \"" << value.data << "\"";
}

// The value as the key of the first source holding it gives it.
std::optional<Value> Read(const RegistrySources& sources, RegistryRoot root,
                          const std::string& subkey, const std::string& name) {
    RegistryKey key;
    if (key.Open(sources, root, subkey) != kRegistrySuccess)
        return std::nullopt;
    Value value{};
    std::string data;
    uint32_t size = 1 << 20;
    if (key.QueryValue(name, &value.type, &data, &size) != kRegistrySuccess)
        return std::nullopt;
    value.data = data;
    return value;
}

std::string Utf16Export(const std::string& utf8) {
    return "\xFF\xFE" + ConvertText(utf8, "UTF-8", "UTF-16LE");
}

// hex: bytes as a 5.00 export writes a text, with its NUL.
std::string Utf16Hex(const std::string& utf8) {
    std::string hex;
    for (const char c : ConvertText(utf8 + '\0', "UTF-8", "UTF-16LE")) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02x,", static_cast<unsigned char>(c));
        hex += byte;
    }
    hex.pop_back();
    return hex;
}

class RegistryTest : public testing::Test {
protected:
    RegistrySources Only(RegistryRoot root, const std::string& name, const std::string& bytes) {
        WriteBytes(m_folder.File(name), bytes);
        RegistrySources sources;
        (root == RegistryRoot::LocalMachine ? sources.localMachine : sources.currentUser)
            .push_back(m_folder.File(name));
        return sources;
    }

    TempFolder m_folder;
};

TEST_F(RegistryTest, ExportsInBothEncodingsKeepTypesApart) {
    ScopedEnvironment codePage("KELVANE_CODEPAGE", "CP932");
    // The same values, a 5.00 export in UTF-16LE and a REGEDIT4 one in the
    // project code page; only their expandable and multi-string hex differs.
    const std::string body = "\r\n; a comment\r\n"
                             "[HKEY_LOCAL_MACHINE\\Software\\KVX]\r\n"
                             "\"Text\"=\"C:\\\\KVX \\\"x\\\"\"\r\n"
                             "@=\"default\"\r\n"
                             "\"Count\"=dword:0000001f\r\n"
                             "\r\n"
                             "\"Bytes\"=hex:01,02,\\\r\n"
                             "    03,ff\r\n"
                             "\"Big\"=hex(b):01,00,00,00,00,00,00,80\r\n"
                             "\"Nothing\"=hex(0):\r\n"
                             "\"Other\"=hex(5):00,00,00,01\r\n";
    const std::string unicode = "Windows Registry Editor Version 5.00\r\n" + body +
                                "\"Name\"=\"テスト\"\r\n"
                                "\"Path\"=hex(2):" +
                                Utf16Hex("%ROOT%\\テ") +
                                "\r\n\"List\"=hex(7):" + Utf16Hex("a"s + '\0' + "b" + '\0') +
                                "\r\n";
    const std::string narrow = "REGEDIT4\r\n" + body +
                               "\"Name\"=\"\x83\x65\x83\x58\x83\x67\"\r\n"
                               "\"Path\"=hex(2):25,52,4f,4f,54,25,5c,83,65,00\r\n"
                               "\"List\"=hex(7):61,00,62,00,00\r\n";
    const std::pair<const char*, std::string> files[] = {{"unicode.reg", Utf16Export(unicode)},
                                                         {"narrow.reg", narrow}};
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const RegistrySources sources = Only(RegistryRoot::LocalMachine, name, bytes);
        const auto value = [&](const std::string& valueName) {
            return Read(sources, RegistryRoot::LocalMachine, "Software\\KVX", valueName);
        };
        EXPECT_EQ(value("Text"), (Value{RegistryType::String, "C:\\KVX \"x\"\0"s}));
        EXPECT_EQ(value(""), (Value{RegistryType::String, "default\0"s}));
        EXPECT_EQ(value("Count"), (Value{RegistryType::Number32, "\x1f\0\0\0"s}));
        EXPECT_EQ(value("Bytes"), (Value{RegistryType::Binary, "\x01\x02\x03\xff"s}));
        EXPECT_EQ(value("Big"), (Value{RegistryType::Number64, "\x01\0\0\0\0\0\0\x80"s}));
        EXPECT_EQ(value("Nothing"), (Value{RegistryType::None, ""}));
        EXPECT_EQ(value("Other"), (Value{static_cast<RegistryType>(5), "\0\0\0\x01"s}));
        EXPECT_EQ(value("Name"), (Value{RegistryType::String, "\x83\x65\x83\x58\x83\x67\0"s}));
        EXPECT_EQ(value("Path"), (Value{RegistryType::ExpandableString, "%ROOT%\\\x83\x65\0"s}));
        EXPECT_EQ(value("List"), (Value{RegistryType::MultiString, "a\0b\0\0"s}));
        // Only the root the key line names.
        EXPECT_EQ(Read(sources, RegistryRoot::CurrentUser, "Software\\KVX", "Text"), std::nullopt);
    }
}

TEST_F(RegistryTest, WineHivesAreRelativeWithEscapesAndTypedStrings) {
    ScopedEnvironment codePage("KELVANE_CODEPAGE", "CP932");
    const std::string hive = "WINE REGISTRY Version 2\n"
                             ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
                             "\n"
                             "#arch=win32\n"
                             "\n"
                             "[Software\\\\KVX\\\\LinkDesk\\\\Settings] 1700000000\n"
                             "#time=1d9a0b0c0d0e0f0\n"
                             "\"Escaped\"=\"\\x30c6\\x30b9x \\\"q\\\" \\\\ \\n\\t\\101\"\n"
                             "\"Utf8\"=\"テスト\"\n"
                             "\"Expand\"=str(2):\"%HOME%\\\\bin\"\n"
                             "\"List\"=str(7):\"one\\0two\\0\"\n"
                             "\"Hex\"=hex(2):41,00,42,00,00,00\n"
                             "\"Count\"=dword:00000400\n"
                             "@=\"\\x4e2d\"\n";
    const RegistrySources sources = Only(RegistryRoot::CurrentUser, "user.reg", hive);
    const auto value = [&](const std::string& name) {
        return Read(sources, RegistryRoot::CurrentUser, "Software\\KVX\\LinkDesk\\Settings", name);
    };
    EXPECT_EQ(value("Escaped"),
              (Value{RegistryType::String, "\x83\x65\x83\x58x \"q\" \\ \n\tA\0"s}));
    EXPECT_EQ(value("Utf8"), (Value{RegistryType::String, "\x83\x65\x83\x58\x83\x67\0"s}));
    EXPECT_EQ(value("Expand"), (Value{RegistryType::ExpandableString, "%HOME%\\bin\0"s}));
    EXPECT_EQ(value("List"), (Value{RegistryType::MultiString, "one\0two\0\0"s}));
    EXPECT_EQ(value("Hex"), (Value{RegistryType::ExpandableString, "AB\0"s}));
    EXPECT_EQ(value("Count"), (Value{RegistryType::Number32, "\0\x04\0\0"s}));
    EXPECT_EQ(value(""), (Value{RegistryType::String, "\x92\x86\0"s})); // 中
    // A hive's keys belong to the root it stands for.
    EXPECT_EQ(Read(sources, RegistryRoot::LocalMachine, "Software\\KVX\\LinkDesk\\Settings", ""),
              std::nullopt);
}

TEST_F(RegistryTest, NamesIgnoreCaseAndLaterDefinitionsMerge) {
    ScopedEnvironment codePage("KELVANE_CODEPAGE", "CP932");
    const RegistrySources sources =
        Only(RegistryRoot::CurrentUser, "user.reg",
             "REGEDIT4\n"
             "[HKEY_CURRENT_USER\\Software\\KVX\\Tool]\n"
             "\"First\"=\"1\"\n"
             "\"Gone\"=\"x\"\n"
             "\"\x83\x41\"=\"a\"\n" // ア and ヂ differ only in a trail byte's case
             "\"\x83\x61\"=\"b\"\n"
             "[hkey_current_user\\SOFTWARE\\kvx\\tool]\n"
             "\"FIRST\"=dword:00000002\n"
             "\"Second\"=\"2\"\n"
             "\"gone\"=-\n"
             "[HKEY_CURRENT_USER\\Software\\KVX\\Tool\\Sub\\Deep]\n"
             "[HKEY_CURRENT_USER\\Software\\KVX\\Removed\\Child]\n"
             "\"v\"=\"1\"\n"
             "[-HKEY_CURRENT_USER\\Software\\KVX\\Removed]\n"
             "\"after\"=\"skipped\"\n");
    RegistryKey key;
    ASSERT_EQ(key.Open(sources, RegistryRoot::CurrentUser, "software\\KVX\\TOOL"),
              kRegistrySuccess);
    EXPECT_EQ(key.SourceFile(), m_folder.File("user.reg"));
    RegistryKeyInfo info;
    ASSERT_EQ(key.QueryInfo(info), kRegistrySuccess);
    EXPECT_EQ(info.valueCount, 4u);
    EXPECT_EQ(info.maxValueNameLength, 6u); // Second
    EXPECT_EQ(info.subkeyCount, 1u);
    EXPECT_EQ(info.maxSubkeyNameLength, 3u);
    // In the order first defined, the redefinition's data in its place.
    const std::pair<std::string, Value> expected[] = {
        {"First", {RegistryType::Number32, "\x02\0\0\0"s}},
        {"\x83\x41", {RegistryType::String, "a\0"s}},
        {"\x83\x61", {RegistryType::String, "b\0"s}},
        {"Second", {RegistryType::String, "2\0"s}},
    };
    for (uint32_t i = 0; i < 4; ++i) {
        std::string name;
        uint32_t nameLength = 7;
        Value value{};
        std::string data;
        uint32_t size = 16;
        ASSERT_EQ(key.EnumValue(i, name, nameLength, &value.type, &data, &size), kRegistrySuccess);
        value.data = data;
        EXPECT_EQ(name, expected[i].first);
        EXPECT_EQ(nameLength, expected[i].first.size());
        EXPECT_EQ(value, expected[i].second);
    }
    // Parents of a key exist; a deleted key takes its subkeys along.
    EXPECT_EQ(key.Open(sources, RegistryRoot::CurrentUser, "Software\\KVX\\Tool\\Sub"),
              kRegistrySuccess);
    EXPECT_EQ(key.Open(sources, RegistryRoot::CurrentUser, "Software\\KVX\\Removed\\Child"),
              kRegistryNotFound);
    EXPECT_EQ(key.Open(sources, RegistryRoot::CurrentUser, "Software\\KVX\\Removed"),
              kRegistryNotFound);
    ASSERT_EQ(key.Open(sources, RegistryRoot::CurrentUser, "Software\\KVX"), kRegistrySuccess);
    ASSERT_EQ(key.QueryInfo(info), kRegistrySuccess);
    EXPECT_EQ(info.subkeyCount, 1u);
}

TEST_F(RegistryTest, CapacitiesCountTheNulAsThePlatformDoes) {
    const std::string text63(63, 'x');
    const RegistrySources sources =
        Only(RegistryRoot::LocalMachine, "machine.reg",
             "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\KVX]\n\"Short\"=\"" + text63 +
                 "\"\n\"Long\"=\"" + text63 + "x\"\n");
    RegistryKey key;
    ASSERT_EQ(key.Open(sources, RegistryRoot::LocalMachine, "Software\\KVX"), kRegistrySuccess);
    std::string data = "kept";
    uint32_t size = 64;
    EXPECT_EQ(key.QueryValue("short", nullptr, &data, &size), kRegistrySuccess);
    EXPECT_EQ(size, 64u);
    EXPECT_EQ(data, text63 + '\0');
    data = "kept";
    size = 64;
    EXPECT_EQ(key.QueryValue("Long", nullptr, &data, &size), kRegistryMoreData);
    EXPECT_EQ(size, 65u);
    EXPECT_EQ(data, "kept");
    EXPECT_EQ(key.QueryValue("Missing", nullptr, &data, &size), kRegistryNotFound);

    // The name needs room for its NUL too.
    std::string name = "kept";
    uint32_t nameLength = 5;
    EXPECT_EQ(key.EnumValue(0, name, nameLength, nullptr, nullptr, nullptr), kRegistryMoreData);
    EXPECT_EQ(name, "kept");
    nameLength = 6;
    EXPECT_EQ(key.EnumValue(0, name, nameLength, nullptr, nullptr, nullptr), kRegistrySuccess);
    EXPECT_EQ(name, "Short");
    EXPECT_EQ(nameLength, 5u);
    EXPECT_EQ(key.EnumValue(2, name, nameLength, nullptr, nullptr, nullptr), kRegistryNoMoreItems);

    key.Close();
    EXPECT_EQ(key.QueryValue("Short", nullptr, &data, &size), kRegistryInvalidHandle);
}

TEST_F(RegistryTest, TheFirstSourceWithTheKeyWinsAndWow6432NodeIsSeen) {
    // An export may hold both roots; the hive holds the 32-bit view too.
    WriteBytes(m_folder.File("machine.reg"),
               "REGEDIT4\n"
               "[HKEY_CURRENT_USER\\Software\\KVX\\A]\n\"From\"=\"user part of machine\"\n"
               "[HKEY_LOCAL_MACHINE\\Software\\KVX\\A]\n\"From\"=\"machine\"\n"
               "[HKEY_CLASSES_ROOT\\Software\\KVX\\B]\n\"From\"=\"classes\"\n");
    WriteBytes(m_folder.File("system.reg"), "WINE REGISTRY Version 2\n"
                                            "[Software\\\\KVX\\\\A]\n\"From\"=\"hive\"\n"
                                            "\"Only\"=\"not merged\"\n"
                                            "[Software\\\\Wow6432Node\\\\KVX\\\\B]\n"
                                            "\"From\"=\"32-bit\"\n");
    WriteBytes(m_folder.File("user.reg"), "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\KVX\\B]\n");
    RegistrySources sources;
    sources.localMachine = {m_folder.File("missing.reg"), m_folder.File("machine.reg"),
                            m_folder.File("system.reg")};
    sources.currentUser = {m_folder.File("user.reg"), m_folder.File("machine.reg")};
    const auto from = [&](RegistryRoot root, const std::string& subkey) {
        return Read(sources, root, subkey, "From");
    };
    EXPECT_EQ(from(RegistryRoot::LocalMachine, "Software\\KVX\\A"),
              (Value{RegistryType::String, "machine\0"s}));
    EXPECT_EQ(Read(sources, RegistryRoot::LocalMachine, "Software\\KVX\\A", "Only"), std::nullopt);
    EXPECT_EQ(from(RegistryRoot::LocalMachine, "Software\\KVX\\B"),
              (Value{RegistryType::String, "32-bit\0"s}));
    // The current user's first file has an empty key B: the other's A is
    // still found, B is not looked for further.
    EXPECT_EQ(from(RegistryRoot::CurrentUser, "Software\\KVX\\A"),
              (Value{RegistryType::String, "user part of machine\0"s}));
    EXPECT_EQ(from(RegistryRoot::CurrentUser, "Software\\KVX\\B"), std::nullopt);
    RegistryKey key;
    EXPECT_EQ(key.Open(sources, RegistryRoot::CurrentUser, "Software\\KVX\\B"), kRegistrySuccess);
    EXPECT_EQ(key.Open(sources, RegistryRoot::CurrentUser, "Software\\Wow6432Node\\KVX\\B"),
              kRegistryNotFound);

    const std::vector<RegistrySourceReport> reports =
        ExamineRegistrySources(sources, RegistryRoot::LocalMachine, "Software\\KVX\\A");
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].state, RegistrySourceState::Missing);
    EXPECT_EQ(reports[1].state, RegistrySourceState::HoldsKey);
    EXPECT_EQ(reports[2].state, RegistrySourceState::NotNeeded);
}

TEST_F(RegistryTest, AFileThatCannotBeParsedIsReportedOnceAndNotUsed) {
    const std::string key = "[HKEY_LOCAL_MACHINE\\Software\\KVX]\n";
    const std::pair<std::string, std::string> broken[] = {
        {"", ":1: not a registry file"},
        {"REGEDIT4\n" + key + "\"a\"=\"open\n", ":3: unterminated string"},
        {"REGEDIT4\n" + key + "\"a\"=hex:01,\\\n  0g\n", ":3: hex data"},
        {"REGEDIT4\n" + key + "\"a\"=dword:123456789\n", ":3: a dword: value"},
        {"REGEDIT4\n" + key + "\"a\"=str(2):\"x\"\n", ":3: a value that is neither"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\KVX\n", ":2: a key line without ]"},
        {"REGEDIT4\n[Software\\KVX]\n", ":2: Software is not the name of a root key"},
        {"REGEDIT4\n\"a\"=\"1\"\n" + key, ":2: a value before the first key"},
        {"WINE REGISTRY Version 2\n[Software\\\\KVX\\]\n", ":2: a key line without ]"},
        {"WINE REGISTRY Version 2\n[Software]\n\"a\"=\"x\\\"\n", ":3: unterminated string"},
    };
    WriteBytes(m_folder.File("fallback.reg"), "REGEDIT4\n" + key + "\"a\"=\"fallback\"\n");
    int number = 0;
    for (const auto& [bytes, message] : broken) {
        const std::string path = m_folder.File("broken" + std::to_string(++number) + ".reg");
        SCOPED_TRACE(path);
        WriteBytes(path, bytes);
        const RegistrySources sources{{path, m_folder.File("fallback.reg")}, {}};
        testing::internal::CaptureStderr();
        const auto first = Read(sources, RegistryRoot::LocalMachine, "Software\\KVX", "a");
        const auto second = Read(sources, RegistryRoot::LocalMachine, "Software\\KVX", "a");
        const std::string reported = testing::internal::GetCapturedStderr();
        EXPECT_EQ(first, (Value{RegistryType::String, "fallback\0"s}));
        EXPECT_EQ(second, first);
        EXPECT_EQ(reported.find("kelvane: " + path + message), 0u) << reported;
        EXPECT_TRUE(reported.ends_with("; the file is not used\n")) << reported;
        EXPECT_EQ(reported.find('\n'), reported.size() - 1) << reported;
    }

    // Changed, a file is read again: broken once more it is not reported
    // again; mended, it is used.
    const std::string changed = m_folder.File("broken1.reg");
    const RegistrySources sources{{changed, m_folder.File("fallback.reg")}, {}};
    WriteBytes(changed, "REGEDIT4\n" + key + "\"a\"=hex:zz\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Read(sources, RegistryRoot::LocalMachine, "Software\\KVX", "a"),
              (Value{RegistryType::String, "fallback\0"s}));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    WriteBytes(changed, "REGEDIT4\n" + key + "\"a\"=\"mended\"\n");
    EXPECT_EQ(Read(sources, RegistryRoot::LocalMachine, "Software\\KVX", "a"),
              (Value{RegistryType::String, "mended\0"s}));

    // A folder, a pipe and a file too big to be a registry are not read either.
    std::filesystem::create_directory(m_folder.File("folder.reg"));
    const std::string pipe = test::NotARegularFile(m_folder.File("pipe.reg"));
    WriteBytes(m_folder.File("huge.reg"), "REGEDIT4\n");
    std::filesystem::resize_file(m_folder.File("huge.reg"), (uint64_t{64} << 20) + 1);
    for (const std::string& path : {m_folder.File("folder.reg"), pipe, m_folder.File("huge.reg")}) {
        const RegistrySources sources{{path}, {}};
        testing::internal::CaptureStderr();
        RegistryKey opened;
        EXPECT_EQ(opened.Open(sources, RegistryRoot::LocalMachine, ""), kRegistryNotFound);
        EXPECT_EQ(opened.Open(sources, RegistryRoot::LocalMachine, ""), kRegistryNotFound);
        const std::string reported = testing::internal::GetCapturedStderr();
        EXPECT_EQ(reported.find("kelvane: " + path + ": "), 0u) << reported;
        EXPECT_EQ(reported.find('\n'), reported.size() - 1) << reported;
        EXPECT_EQ(ExamineRegistrySources(sources, RegistryRoot::LocalMachine, "")[0].state,
                  RegistrySourceState::Unusable);
    }
}

TEST_F(RegistryTest, DefaultSourcesAndFolderFollowTheEnvironment) {
    KELVANE_SKIP_ON_WINDOWS("Windows reads no registry file");
    ScopedEnvironment home("HOME", m_folder.Path().c_str());
    ScopedEnvironment noPrefix("WINEPREFIX", nullptr);
    ScopedEnvironment noConfig("XDG_CONFIG_HOME", nullptr);
    RegistrySources sources = DefaultRegistrySources();
    EXPECT_EQ(sources.localMachine, (std::vector<std::string>{"/etc/kelvane/machine.reg",
                                                              m_folder.File(".wine/system.reg")}));
    EXPECT_EQ(sources.currentUser,
              (std::vector<std::string>{m_folder.File(".config/kelvane/user.reg"),
                                        m_folder.File(".wine/user.reg")}));
    EXPECT_EQ(DefaultDialogFolder(), m_folder.Path());

    std::filesystem::create_directories(m_folder.File("prefix/drive_c/KVX/ferroSCOPE"));
    ScopedEnvironment prefix("WINEPREFIX", m_folder.File("prefix").c_str());
    ScopedEnvironment config("XDG_CONFIG_HOME", m_folder.File("config").c_str());
    sources = DefaultRegistrySources();
    EXPECT_EQ(sources.localMachine[1], m_folder.File("prefix/system.reg"));
    EXPECT_EQ(sources.currentUser,
              (std::vector<std::string>{m_folder.File("config/kelvane/user.reg"),
                                        m_folder.File("prefix/user.reg")}));
    EXPECT_EQ(DefaultDialogFolder(), m_folder.File("prefix/drive_c/KVX/ferroSCOPE"));
}

#ifdef _WIN32
// On Windows the installed models come from the system's registry: its
// texts in the project code page with their NUL, numbers as stored, the
// local machine's keys in the 32-bit view a 32-bit installer writes.
TEST(SystemRegistryTest, ReadsTheKeysOfTheSystemsRegistryAsAFileWouldHoldThem) {
    ScopedEnvironment codePage("KELVANE_CODEPAGE", "CP932");
    const wchar_t* const path = L"Software\\KVX\\KelvaneRegistryTest\\Settings";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    const std::wstring text = L"\u30C6\u30B9\u30C8"; // テスト
    RegSetValueExW(key, L"Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    const DWORD number = 0x01020304;
    RegSetValueExW(key, L"Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    HKEY child = nullptr;
    RegCreateKeyExW(key, L"Child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr);
    RegCloseKey(child);
    RegCloseKey(key);
    HKEY machine = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\KVX\\KelvaneRegistryTest", 0, nullptr,
                              0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &machine, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(machine, L"Product", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"x"),
                   2 * sizeof(wchar_t));
    RegCloseKey(machine);

    const RegistrySources sources = DefaultRegistrySources();
    RegistryKey opened;
    ASSERT_EQ(opened.Open(sources, RegistryRoot::CurrentUser,
                          "software\\kvx\\KelvaneRegistryTest\\Settings"),
              kRegistrySuccess);
    RegistryKeyInfo info;
    ASSERT_EQ(opened.QueryInfo(info), kRegistrySuccess);
    EXPECT_EQ(info.valueCount, 2u);
    EXPECT_EQ(info.subkeyCount, 1u);
    RegistryType type = RegistryType::None;
    std::string data;
    uint32_t size = 64;
    ASSERT_EQ(opened.QueryValue("name", &type, &data, &size), kRegistrySuccess);
    EXPECT_EQ(type, RegistryType::String);
    EXPECT_EQ(data, "\x83\x65\x83\x58\x83\x67\0"s);
    size = 64;
    ASSERT_EQ(opened.QueryValue("Count", &type, &data, &size), kRegistrySuccess);
    EXPECT_EQ(type, RegistryType::Number32);
    EXPECT_EQ(data, "\x04\x03\x02\x01"s);
    EXPECT_EQ(opened.SourceFile(),
              "HKEY_CURRENT_USER\\software\\kvx\\KelvaneRegistryTest\\Settings");
    RegistryKey product;
    EXPECT_EQ(
        product.Open(sources, RegistryRoot::LocalMachine, "Software\\KVX\\KelvaneRegistryTest"),
        kRegistrySuccess);
    EXPECT_EQ(opened.Open(sources, RegistryRoot::CurrentUser, "Software\\KVX\\NoSuchKey"),
              kRegistryNotFound);
    EXPECT_EQ(ExamineRegistrySources(sources, RegistryRoot::CurrentUser,
                                     "Software\\KVX\\KelvaneRegistryTest\\Settings")[0]
                  .state,
              RegistrySourceState::HoldsKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KVX\\KelvaneRegistryTest");
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"Software\\KVX\\KelvaneRegistryTest", KEY_WOW64_32KEY, 0);
}

// The profile is where the Windows program keeps it, in UTF-16.
TEST(SystemRegistryTest, TheProfileIsTheProgramsOwnKey) {
    ScopedEnvironment codePage("KELVANE_CODEPAGE", "CP932");
    RegistryProfile profile;
    const std::string folder = "C:\\\x83\x65\x83\x58\x83\x67"; // C:\テスト
    ASSERT_TRUE(profile.WriteProfileString("Settings", "DefaultDir", folder));
    EXPECT_EQ(profile.GetProfileString("Settings", "DefaultDir", "-"), folder);
    EXPECT_EQ(profile.GetProfileString("Settings", "NoSuchEntry", "fallback"), "fallback");
    wchar_t stored[64] = {};
    DWORD size = sizeof stored;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\KVX\\KLVN_MAIN\\Settings", L"DefaultDir",
                           RRF_RT_REG_SZ, nullptr, stored, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(stored), L"C:\\\u30C6\u30B9\u30C8");
}
#endif

} // namespace
} // namespace kelvane
