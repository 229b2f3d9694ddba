// SPDX-License-Identifier: MIT
#include "platform/text/code_page.h"

#include "platform/text/code_page_conversion.h"

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

namespace {

std::mutex chosenLock;
std::string chosenCodePage, givenCodePage;

} // namespace

std::string ProjectCodePage() {
    {
        const std::lock_guard<std::mutex> guard(chosenLock);
        if (!chosenCodePage.empty())
            return chosenCodePage;
    }
    std::string given = GivenCodePage();
    return given.empty() ? DefaultProjectCodePage() : given;
}

std::string GivenCodePage() {
    {
        const std::lock_guard<std::mutex> guard(chosenLock);
        if (!givenCodePage.empty())
            return givenCodePage;
    }
    const char* variable = std::getenv("KELVANE_CODEPAGE");
    return variable != nullptr ? std::string(variable) : std::string();
}

void SetProjectCodePage(std::string codePage) {
    const std::lock_guard<std::mutex> guard(chosenLock);
    chosenCodePage = std::move(codePage);
}

void SetGivenCodePage(std::string codePage) {
    const std::lock_guard<std::mutex> guard(chosenLock);
    givenCodePage = std::move(codePage);
}

namespace {

// The length of the well-formed UTF-8 character at `i`; 0 when there is none.
size_t Utf8CharacterLength(std::string_view text, size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the second byte's range
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (text.size() - i < length)
        return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto byte = static_cast<unsigned char>(text[i + k]);
        if (byte < (k == 1 ? low : 0x80) || byte > (k == 1 ? high : 0xBF))
            return 0;
    }
    return length;
}

// Each byte that starts no well-formed character becomes U+FFFD.
std::string ReplaceInvalidUtf8(std::string_view text) {
    std::string valid;
    valid.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t length = Utf8CharacterLength(text, i);
        if (length == 0) {
            valid += "\xEF\xBF\xBD";
            ++i;
        } else {
            valid.append(text.substr(i, length));
            i += length;
        }
    }
    return valid;
}

} // namespace

bool IsValidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const size_t length = Utf8CharacterLength(text, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

bool DecodesEveryByte(std::string_view text, const std::string& codePage) {
    if (IsUtf8(codePage))
        return IsValidUtf8(text);
    // A refused byte becomes U+FFFD, which none of the code pages offered
    // holds as a character of its own.
    return IsKnownCodePage(codePage) &&
           ConvertCharset(text, codePage, kUtf8, Refused::Replace).find("\xEF\xBF\xBD") ==
               std::string::npos;
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

namespace {

std::string ShownIn(std::string_view projectText, const std::string& target) {
    const std::string codePage = ProjectCodePage();
    if (!SameCharset(codePage, target))
        return ConvertCharset(projectText, codePage, target, Refused::Replace);
    if (IsUtf8(target))
        return IsValidUtf8(projectText) ? std::string(projectText)
                                        : ReplaceInvalidUtf8(projectText);
    // Through UTF-16, which no project code page is, so that every byte is read.
    return ConvertCharset(ConvertCharset(projectText, codePage, "UTF-16LE", Refused::Replace),
                          "UTF-16LE", target, Refused::Replace);
}

} // namespace

std::string ProjectToShownUtf8(std::string_view projectText) {
    return ShownIn(projectText, kUtf8);
}

std::string ProjectToShownLocale(std::string_view projectText) {
    return ShownIn(projectText, LocaleCharset());
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
