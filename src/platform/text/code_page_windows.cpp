// SPDX-License-Identifier: MIT
#include "platform/text/code_page.h"
#include "platform/text/code_page_conversion.h"
#include "platform/text/windows_text.h"

#include <algorithm>
#include <cstring>
#include <windows.h>

namespace kelvane {
namespace {

constexpr UINT kUtf16Le = 1200;
constexpr UINT kUnknown = 0;
constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";

// The Windows code page of a charset name: "CP932", "windows-1252",
// "Shift_JIS", "UTF-8", "UTF-16LE" and the like.
UINT CodePageOf(std::string_view name) {
    const std::string canonical = CanonicalCharset(name);
    if (canonical == "UTF8")
        return CP_UTF8;
    if (canonical == "UTF16LE")
        return kUtf16Le;
    if (canonical == "SHIFTJIS" || canonical == "SJIS" || canonical == "WINDOWS31J" ||
        canonical == "MSKANJI")
        return 932;
    if (canonical == "ASCII" || canonical == "ANSIX3.41968" || canonical == "USASCII")
        return 20127;
    if (canonical == "ISO88591" || canonical == "LATIN1")
        return 28591;
    if (canonical == "EUCJP")
        return 20932;
    if (canonical == "ISO2022JP")
        return 50220;
    if (canonical == "GBK")
        return 936;
    if (canonical == "BIG5")
        return 950;
    if (canonical == "UHC")
        return 949;
    for (const std::string_view prefix : {std::string_view("CP"), std::string_view("WINDOWS")}) {
        if (!canonical.starts_with(prefix) || canonical.size() == prefix.size())
            continue;
        UINT number = 0;
        for (const char c : std::string_view(canonical).substr(prefix.size())) {
            if (c < '0' || c > '9' || number > 100000)
                return kUnknown;
            number = number * 10 + static_cast<UINT>(c - '0');
        }
        CPINFO info{};
        return number == CP_UTF8 || number == kUtf16Le || GetCPInfo(number, &info) ? number
                                                                                   : kUnknown;
    }
    return kUnknown;
}

UINT KnownCodePageOf(const std::string& name) {
    const UINT codePage = CodePageOf(name);
    if (codePage != kUnknown)
        return codePage;
    WarnUnknownCodePageOnce(name);
    return CP_UTF8;
}

// Bytes of the character at the start of `text` in `codePage`.
size_t CharacterLength(UINT codePage, std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    size_t length = 1;
    if (codePage == kUtf16Le) {
        const auto second = text.size() > 1 ? static_cast<unsigned char>(text[1]) : 0;
        const auto fourth = text.size() > 3 ? static_cast<unsigned char>(text[3]) : 0;
        // A high surrogate and a low one are one character.
        length = (second & 0xFC) == 0xD8 && (fourth & 0xFC) == 0xDC ? 4 : 2;
    } else if (codePage == CP_UTF8)
        length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    else if (IsDBCSLeadByteEx(codePage, lead))
        length = 2;
    return std::min(length, text.size());
}

// The code pages that tell no default character used (the stateful ones
// among them): a conversion there is checked by converting it back.
bool TellsNoDefaultCharacter(UINT codePage) {
    return (codePage >= 50220 && codePage <= 50229) || codePage == 52936 || codePage == 54936 ||
           (codePage >= 57002 && codePage <= 57011) || codePage == 65000 || codePage == 42;
}

// UTF-16 of `bytes`; false when they are not valid in the code page.
bool Decode(UINT codePage, std::string_view bytes, std::wstring& wide) {
    if (codePage == kUtf16Le) {
        if (bytes.size() % 2 != 0)
            return false;
        wide.resize(bytes.size() / 2);
        std::memcpy(wide.data(), bytes.data(), bytes.size());
        return true;
    }
    const int length = static_cast<int>(bytes.size());
    // MB_ERR_INVALID_CHARS is refused by the stateful code pages.
    const DWORD flags = TellsNoDefaultCharacter(codePage) ? 0 : MB_ERR_INVALID_CHARS;
    const int size = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
    if (size <= 0)
        return false;
    wide.resize(static_cast<size_t>(size));
    return MultiByteToWideChar(codePage, flags, bytes.data(), length, wide.data(), size) == size;
}

// `wide` in the code page; false when a character has no place there (never
// a best-fit look-alike, never a silent '?').
bool Encode(UINT codePage, std::wstring_view wide, std::string& bytes) {
    if (codePage == kUtf16Le) {
        bytes.assign(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
        return true;
    }
    if (TellsNoDefaultCharacter(codePage)) {
        const int length = static_cast<int>(wide.size());
        const int size =
            WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
        if (size <= 0)
            return false;
        bytes.resize(static_cast<size_t>(size));
        WideCharToMultiByte(codePage, 0, wide.data(), length, bytes.data(), size, nullptr, nullptr);
        std::wstring back;
        return Decode(codePage, bytes, back) && back == wide;
    }
    const int length = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL* defaultUsed = utf8 ? nullptr : &usedDefault;
    int size =
        WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr, defaultUsed);
    if (size <= 0 && !utf8 && GetLastError() == ERROR_INVALID_FLAGS) {
        size =
            WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, defaultUsed);
    }
    if (size <= 0 || usedDefault)
        return false;
    bytes.resize(static_cast<size_t>(size));
    usedDefault = FALSE;
    int written = WideCharToMultiByte(codePage, flags, wide.data(), length, bytes.data(), size,
                                      nullptr, defaultUsed);
    if (written <= 0 && !utf8 && GetLastError() == ERROR_INVALID_FLAGS)
        written = WideCharToMultiByte(codePage, 0, wide.data(), length, bytes.data(), size, nullptr,
                                      defaultUsed);
    return written == size && !usedDefault;
}

std::string Replacement(UINT to) {
    if (to == CP_UTF8)
        return std::string(kUtf8Replacement);
    return to == kUtf16Le ? std::string("?\0", 2) : std::string("?");
}

} // namespace

bool IsKnownCodePage(const std::string& codePage) {
    return CodePageOf(codePage) != kUnknown;
}

std::string ConvertCharset(std::string_view text, std::string from, std::string to,
                           Refused refused) {
    if (text.empty() || SameCharset(from, to))
        return std::string(text);
    const UINT source = KnownCodePageOf(from), target = KnownCodePageOf(to);
    if (source == target)
        return std::string(text);
    std::wstring wide;
    std::string converted;
    if (Decode(source, text, wide) && Encode(target, wide, converted))
        return converted;
    // Character by character, so that the rest still converts.
    converted.clear();
    std::string piece;
    while (!text.empty()) {
        size_t length = CharacterLength(source, text);
        if (Decode(source, text.substr(0, length), wide) && Encode(target, wide, piece)) {
            converted += piece;
        } else {
            // A lead byte without its trail is one unit refused; what follows
            // is read afresh.
            if (!Decode(source, text.substr(0, length), wide))
                length = source == kUtf16Le ? 2 : 1;
            const std::string_view refusedBytes = text.substr(0, std::min(length, text.size()));
            converted += refused == Refused::Keep ? std::string(refusedBytes) : Replacement(target);
        }
        text.remove_prefix(std::min(length, text.size()));
    }
    return converted;
}

std::string DefaultProjectCodePage() {
    return "CP" + std::to_string(GetACP());
}

// The ANSI code page: what the C runtime gives the program's narrow
// arguments in, and what its output is written in.
std::string LocaleCharsetFromEnvironment() {
    return "CP" + std::to_string(GetACP());
}

std::string LocaleCharset() {
    static const std::string charset = LocaleCharsetFromEnvironment();
    return charset;
}

// The wide calls take the project code page's text themselves.
std::string NativePath(std::string_view projectPath) {
    return std::string(projectPath);
}

std::wstring WidePath(std::string_view projectPath) {
    const UINT source = KnownCodePageOf(ProjectCodePage());
    std::wstring wide;
    if (Decode(source, projectPath, wide))
        return wide;
    std::wstring path, character;
    while (!projectPath.empty()) {
        size_t length = CharacterLength(source, projectPath);
        if (Decode(source, projectPath.substr(0, length), character)) {
            path += character;
        } else {
            path += L'?';
            length = 1;
        }
        projectPath.remove_prefix(length);
    }
    return path;
}

std::string ProjectFromWide(std::wstring_view text) {
    const std::string_view bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    return ConvertCharset(bytes, "UTF-16LE", ProjectCodePage(), Refused::Replace);
}

} // namespace kelvane
