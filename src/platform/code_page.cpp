// SPDX-License-Identifier: MIT
#include "platform/code_page.h"

#include "platform/code_page_conversion.h"

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>

namespace kelvane {
namespace {

constexpr const char* kUtf8 = "UTF-8";

} // namespace

std::string CanonicalCharset(std::string_view name) {
    std::string canonical;
    for (const char c : name) {
        if (c == '-' || c == '_')
            continue;
        canonical.push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    }
    return canonical;
}

bool SameCharset(std::string_view a, std::string_view b) {
    return CanonicalCharset(a) == CanonicalCharset(b);
}

bool IsUtf8(std::string_view name) {
    return CanonicalCharset(name) == "UTF8";
}

void WarnUnknownCodePageOnce(const std::string& name) {
    static std::mutex lock;
    static std::set<std::string> warned;
    const std::lock_guard<std::mutex> guard(lock);
    if (warned.insert(name).second)
        std::fprintf(stderr, "kelvane: unknown code page %s; texts are taken as UTF-8\n",
                     name.c_str());
}

std::string ProjectCodePage() {
    const char* chosen = std::getenv("KELVANE_CODEPAGE");
    return chosen != nullptr && *chosen != '\0' ? std::string(chosen) : DefaultProjectCodePage();
}

std::string ConvertText(std::string_view text, const std::string& from, const std::string& to) {
    return ConvertCharset(text, from, to, Refused::Replace);
}

std::string ProjectToUtf8(std::string_view projectText) {
    return ConvertCharset(projectText, ProjectCodePage(), kUtf8, Refused::Replace);
}

std::string Utf8ToProject(std::string_view utf8) {
    return ConvertCharset(utf8, kUtf8, ProjectCodePage(), Refused::Replace);
}

std::string Utf16ToProject(std::u16string_view utf16) {
    const std::string_view bytes(reinterpret_cast<const char*>(utf16.data()),
                                 utf16.size() * sizeof(char16_t));
    const char* order = std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
    return ConvertCharset(bytes, order, ProjectCodePage(), Refused::Replace);
}

std::string ProjectToLocale(std::string_view projectText) {
    return ConvertCharset(projectText, ProjectCodePage(), LocaleCharset(), Refused::Replace);
}

std::string LocaleToProject(std::string_view localeText) {
    return ConvertCharset(localeText, LocaleCharset(), ProjectCodePage(), Refused::Replace);
}

size_t ProjectCharacterLength(std::string_view text, size_t position) {
    if (position >= text.size())
        return 0;
    const auto byte = static_cast<unsigned char>(text[position]);
    if (byte < 0x81)
        return 1;
    // The two-byte code pages of Windows, whose second bytes reach down
    // into ASCII ('\\' among them); EUC and UTF-8 never do.
    const std::string codePage = CanonicalCharset(ProjectCodePage());
    bool lead = false;
    if (codePage == "CP932" || codePage == "SHIFTJIS" || codePage == "SJIS" ||
        codePage == "WINDOWS31J" || codePage == "MSKANJI")
        lead = byte <= 0x9F || (byte >= 0xE0 && byte <= 0xFC);
    else if (codePage == "CP936" || codePage == "GBK" || codePage == "CP949" || codePage == "UHC" ||
             codePage == "CP950" || codePage == "BIG5")
        lead = byte <= 0xFE;
    return lead && position + 1 < text.size() ? 2 : 1;
}

} // namespace kelvane
