// SPDX-License-Identifier: MIT
// Writes the fuzzers' seed corpora: project, FSR, module table and registry
// files made by the tests' own fixture writers, and the demo project.
//
//   kelvane_fuzz_seeds CORPUS_DIR DEMO_DIR MODULE_TABLE
//
// Each corpus is CORPUS_DIR/<fuzzer>; seeds already there are overwritten,
// what a run added is kept.
#include "platform/text/code_page.h"
#include "store/fsr_fixture.h"
#include "store/project_file_fixture.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace kelvane;
using namespace kelvane::test;

struct Seed {
    std::string name, bytes;
};

std::vector<Seed> ProjectSeeds(const std::string& demoDir) {
    return {
        {"demo.fsp", ReadBytes(demoDir + "/demo.fsp")},
        {"all_keys.fsp", ProjectFileText().Bytes()},
        {"usb_mcs.fsp", ProjectFileText()
                            .Set("DEVICE", "USB")
                            .Set("USB_DEVICE", "ABC12345DE")
                            .Set("USE_MCS", "TRUE")
                            .Set("MAXPAGE", "15")
                            .Bytes()},
        {"tags.fsp", ProjectFileText()
                         .Remove("DEFFILE")
                         .AddLine("[WINDOW]")
                         .AddLine("<WATCH_LIST>")
                         .AddLine("LAYOUT=2")
                         .AddLine("</WATCH_LIST>")
                         .Bytes()},
        {"long_value.fsp", ProjectFileText().Set("LONGTEXT", std::string(16639, 'v')).Bytes()},
    };
}

std::vector<Seed> FsrSeeds(const std::string& demoDir) {
    const auto item = [](uint32_t key, char tag) { return U32(key) + std::string(44, tag); };
    const std::string items = U32(77) + std::string(44, 'h') + item(0, 'a') + item(1, 'b');
    FsrReferenceEntry entry{"C:\\work\\demo.fsp", 1, 2, {{"first", 3, 4, 5, "second"}}};
    const std::string references = ReferenceList({entry, {"other.fsp", 0, 0, {}}});
    const std::vector<FrdEntry> frd = {{1, 2, "t1", "C:\\frd\\a.frd", 3},
                                       {4, 5, "", "flash/b.frd", 6}};
    FrdEntry wide = frd[0];
    wide.a += 0x100000000ull;
    return {
        {"demo.fsr", ReadBytes(demoDir + "/demo.fsr")},
        {"v130.fsr", FsrBytes(0x130, {{1, "one"},
                                      {2, items},
                                      {3, references},
                                      {16, NameReference("demo.sbu")},
                                      {17, NameReference("demo.uer")},
                                      {19, FrdList(frd, 4)}})},
        {"v104.fsr", FsrBytes(0x104, {{2, items}, {17, NameReference("C:\\work\\demo.uer")}})},
        {"v10a.fsr", FsrBytes(0x10A, {{19, FrdList(frd, 4, "end")}})},
        {"v200.fsr", FsrBytes(0x200, {{3, references}, {19, FrdList({wide, frd[1]}, 8)}})},
        {"written.fsr", FsrWritten(0x110, {{1, "one"}, {2, items}, {3, references}})},
    };
}

std::vector<Seed> ModuleTableSeeds(const std::string& moduleTable) {
    return {
        {"kelvane.ini", ReadBytes(moduleTable)},
        {"blanks.ini", CrLfLines({"# table", " K V , dir/module one.dll ; talvexNOVA",
                                  "KB,\tplain.so /x", "KZ77,*", ",empty key", "KM"})},
    };
}

std::vector<Seed> RegistrySeeds() {
    const std::string body = "[HKEY_LOCAL_MACHINE\\Software\\KVX\\LinkDesk\\Settings]\r\n"
                             "\"instdir_SH2A\"=\"C:\\\\KVX\\\\SH2A\"\r\n"
                             "\"instdir_RX\"=hex(2):43,00,3a,00,00,00\r\n"
                             "\"Count\"=dword:00000010\r\n"
                             "@=\"default\"\r\n"
                             "\r\n"
                             "[HKEY_CURRENT_USER\\Software\\KVX\\ferroSCOPE]\r\n"
                             "\"FSWG_NAME\"=\"ferroSCOPE\"\r\n"
                             "\"Multi\"=hex(7):61,00,00,00,00,00\r\n"
                             "[-HKEY_CURRENT_USER\\Software\\KVX\\Gone]\r\n";
    const std::string unicode = "Windows Registry Editor Version 5.00\r\n\r\n" + body;
    return {
        {"regedit4.reg", "REGEDIT4\r\n\r\n" + body},
        {"utf16.reg", "\xFF\xFE" + ConvertText(unicode, "UTF-8", "UTF-16LE")},
        {"wine.reg", "WINE REGISTRY Version 2\n"
                     ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
                     "#arch=win32\n\n"
                     "[Software\\\\KVX\\\\LinkDesk\\\\Settings] 1700000000\n"
                     "#time=1d9a0b0c0d0e0f0\n"
                     "\"instdir_SH4\"=\"\\x30c6 \\\"q\\\" \\\\ \\n\\101\"\n"
                     "\"Expand\"=str(2):\"%HOME%\\\\bin\"\n"
                     "\"Number\"=dword:0000002a\n"},
    };
}

void WriteCorpus(const std::filesystem::path& dir, const std::vector<Seed>& seeds) {
    std::filesystem::create_directories(dir);
    for (const Seed& seed : seeds)
        WriteBytes((dir / seed.name).string(), seed.bytes);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR DEMO_DIR MODULE_TABLE\n", argv[0]);
        return 2;
    }
    try {
        const std::filesystem::path corpus = argv[1];
        WriteCorpus(corpus / "definition_file_fuzzer", ProjectSeeds(argv[2]));
        WriteCorpus(corpus / "fsr_file_fuzzer", FsrSeeds(argv[2]));
        WriteCorpus(corpus / "module_table_fuzzer", ModuleTableSeeds(argv[3]));
        WriteCorpus(corpus / "registry_file_fuzzer", RegistrySeeds());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
