// SPDX-License-Identifier: MIT
#include "platform/text/code_page.h"
#include "platform/text/code_page_conversion.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <initializer_list>
#include <langinfo.h>
#include <locale.h>
#include <memory>
#include <mutex>
#include <set>

namespace kelvane {
namespace {

constexpr const char* kUtf8 = "UTF-8";
constexpr const char* kAscii = "ANSI_X3.4-1968";
constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";
const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
constexpr size_t kFailed = static_cast<size_t>(-1);

// The smallest step through a text in this charset.
size_t UnitWidth(std::string_view name) {
    const std::string canonical = CanonicalCharset(name);
    if (canonical.starts_with("UTF16") || canonical.starts_with("UCS2"))
        return 2;
    if (canonical.starts_with("UTF32") || canonical.starts_with("UCS4"))
        return 4;
    return 1;
}

bool IsKnown(const std::string& name) {
    if (IsUtf8(name))
        return true;
    const iconv_t probe = iconv_open(kUtf8, name.c_str());
    if (probe == kNoConverter)
        return false;
    iconv_close(probe);
    return true;
}

// An iconv descriptor, closed when the object goes.
class Converter {
public:
    Converter(const std::string& from, const std::string& to)
        : m_cd(iconv_open(to.c_str(), from.c_str())) {}
    ~Converter() {
        if (m_cd != kNoConverter)
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool IsOpen() const { return m_cd != kNoConverter; }
    iconv_t Get() const { return m_cd; }

private:
    iconv_t m_cd;
};

// '?' in the charset `to` (ASCII's '?' where iconv cannot say).
std::string QuestionMarkIn(const std::string& to) {
    const Converter converter("ASCII", to);
    if (!converter.IsOpen())
        return "?";
    char question[] = "?";
    char* in = question;
    size_t inLeft = 1;
    char buffer[16];
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    if (iconv(converter.Get(), &in, &inLeft, &out, &outLeft) == kFailed ||
        iconv(converter.Get(), nullptr, nullptr, &out, &outLeft) == kFailed)
        return "?";
    return std::string(buffer, static_cast<size_t>(out - buffer));
}

// One conversion of a text: the output grows as needed, and each character
// iconv refuses is replaced or kept, so the rest of the text still converts.
class TextConversion {
public:
    TextConversion(iconv_t cd, const std::string& from, const std::string& to, Refused refused)
        : m_cd(cd), m_from(from), m_to(to), m_refused(refused) {}

    std::string Run(std::string_view text) {
        m_out.assign(text.size() * 2 + 16, '\0');
        m_used = 0;
        char* in = const_cast<char*>(text.data()); // iconv does not write its input
        size_t inLeft = text.size();
        while (inLeft > 0) {
            char* out = m_out.data() + m_used;
            size_t outLeft = m_out.size() - m_used;
            const size_t result = iconv(m_cd, &in, &inLeft, &out, &outLeft);
            m_used = static_cast<size_t>(out - m_out.data());
            if (result != kFailed)
                break;
            if (errno == E2BIG) {
                Grow();
                continue;
            }
            // EILSEQ, or EINVAL for a sequence cut by the end of the text.
            const size_t skip = std::min(RefusedLength(in, inLeft), inLeft);
            ResetShiftState();
            Append(m_refused == Refused::Keep ? std::string_view(in, skip) : Replacement());
            in += skip;
            inLeft -= skip;
        }
        ResetShiftState();
        m_out.resize(m_used);
        return std::move(m_out);
    }

private:
    void Grow() { m_out.resize(m_out.size() * 2); }

    void Append(std::string_view bytes) {
        while (m_out.size() - m_used < bytes.size())
            Grow();
        std::memcpy(m_out.data() + m_used, bytes.data(), bytes.size());
        m_used += bytes.size();
    }

    // Returns a stateful target (ISO-2022-JP and the like) to its initial
    // state, so bytes appended next are read as they are.
    void ResetShiftState() {
        for (;;) {
            char* out = m_out.data() + m_used;
            size_t outLeft = m_out.size() - m_used;
            const size_t result = iconv(m_cd, nullptr, nullptr, &out, &outLeft);
            m_used = static_cast<size_t>(out - m_out.data());
            if (result == kFailed && errno == E2BIG) {
                Grow();
                continue;
            }
            return;
        }
    }

    const std::string& Replacement() {
        if (m_replacement.empty())
            m_replacement = IsUtf8(m_to) ? std::string(kUtf8Replacement) : QuestionMarkIn(m_to);
        return m_replacement;
    }

    // The bytes of the character iconv refused at `in`: a whole character
    // when it is valid in the source but has no place in the target (one '?'
    // for one character), one unit of the source when it is not valid.
    size_t RefusedLength(char* in, size_t inLeft) {
        const size_t unit = UnitWidth(m_from);
        if (!m_probe)
            m_probe = std::make_unique<Converter>(m_from, "UTF-32LE");
        if (!m_probe->IsOpen())
            return unit;
        iconv(m_probe->Get(), nullptr, nullptr, nullptr, nullptr);
        // Room for one UTF-32 character: iconv stops after the first.
        char buffer[4];
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        char* probeIn = in;
        size_t probeLeft = inLeft;
        iconv(m_probe->Get(), &probeIn, &probeLeft, &out, &outLeft);
        const size_t consumed = static_cast<size_t>(probeIn - in);
        return consumed > 0 ? consumed : unit;
    }

    iconv_t m_cd;
    const std::string& m_from;
    const std::string& m_to;
    Refused m_refused;
    std::string m_out;
    size_t m_used = 0;
    std::string m_replacement;
    std::unique_ptr<Converter> m_probe;
};

} // namespace

bool IsKnownCodePage(const std::string& codePage) {
    return IsKnown(codePage);
}

std::string ConvertCharset(std::string_view text, std::string from, std::string to,
                           Refused refused) {
    if (text.empty() || SameCharset(from, to))
        return std::string(text);
    auto converter = std::make_unique<Converter>(from, to);
    if (!converter->IsOpen()) {
        // An unknown name is taken as UTF-8; the other may still need work.
        for (std::string* name : {&from, &to}) {
            if (!IsKnown(*name)) {
                WarnUnknownCodePageOnce(*name);
                *name = kUtf8;
            }
        }
        if (SameCharset(from, to))
            return std::string(text);
        converter = std::make_unique<Converter>(from, to);
        if (!converter->IsOpen())
            return std::string(text);
    }
    return TextConversion(converter->Get(), from, to, refused).Run(text);
}

std::string LocaleCharsetFromEnvironment() {
    // A locale object of our own: the process's locale is not touched.
    if (const locale_t locale = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
        locale != static_cast<locale_t>(0)) {
        const char* codeset = nl_langinfo_l(CODESET, locale);
        std::string charset = codeset != nullptr ? codeset : "";
        freelocale(locale);
        if (!charset.empty())
            return charset;
    }
    // The locale is not installed: its name still says the charset.
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || *value == '\0')
            continue;
        const std::string_view name(value);
        const size_t dot = name.find('.');
        if (dot == std::string_view::npos)
            break;
        const std::string_view charset = name.substr(dot + 1, name.find('@', dot) - (dot + 1));
        if (!charset.empty())
            return std::string(charset);
        break;
    }
    return kAscii;
}

std::string LocaleCharset() {
    static const std::string charset = LocaleCharsetFromEnvironment();
    return charset;
}

std::string DefaultProjectCodePage() {
    return LocaleCharset();
}

std::string NativePath(std::string_view projectPath) {
    return ConvertCharset(projectPath, ProjectCodePage(), LocaleCharset(), Refused::Keep);
}

} // namespace kelvane
