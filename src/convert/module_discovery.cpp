#include "convert/module_discovery.h"

#include "convert/kelvane_module.h"
#include "platform/code_page.h"
#include "platform/dynamic_library.h"
#include "platform/file_reader.h"
#include "store/fixed_text.h"
#include "store/path_helpers.h"

#include <algorithm>
#include <cstring>

namespace kelvane {
namespace {

// Each read takes at most this many characters; a longer line is read as
// several lines, as the table has always been read.
constexpr size_t kLineBuffer = 512;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void ProbeModulePath(ProjectSettings& settings, std::string_view modulePath) {
    const std::string path = ModuleFileName(modulePath);
    // A path that does not fit is refused rather than cut: a cut path could
    // name some other module.
    if (!CopyToField(settings.m_szConvertModule, path)) {
        settings.m_szConvertModule[0] = '\0';
        return;
    }
    DynamicLibrary module;
    if (!module.Load(path)) {
        settings.m_szConvertModule[0] = '\0';
        return;
    }
    const auto infoGet =
        reinterpret_cast<KelvaneInfoGetFunction>(module.Symbol(KELVANE_INFO_GET_NAME));
    if (infoGet == nullptr) {
        // Modules older than the mask know NOVA <-> BANTAM only.
        for (int d = 0; d < KELVANE_DIRECTION_COUNT; ++d)
            settings.m_abConvertSupported[d] = d <= KELVANE_BANTAM_TO_NOVA ? 1 : 0;
        return;
    }
    // Modules must write the mask; zero keeps a careless one from enabling
    // directions at random.
    uint32_t mask = 0;
    infoGet(&mask);
    for (int d = 0; d < KELVANE_DIRECTION_COUNT; ++d)
        settings.m_abConvertSupported[d] = (mask >> d) & 1u;
}

} // namespace

void CutAtComment(std::string& line) {
    const size_t cut = line.find_first_of("#*/;");
    if (cut != std::string::npos)
        line.resize(cut);
}

std::string CopyWithoutBlanks(std::string_view source, char stop) {
    std::string copy;
    for (const char c : source) {
        if (c == stop || c == '\0')
            break;
        if (!IsBlank(c))
            copy.push_back(c);
    }
    return copy;
}

std::optional<std::string> LookUpModuleTable(const std::string& tablePath,
                                             std::string_view mpuFileName) {
    // Through the reader, so that a FIFO in the table's place cannot block.
    FileReader table;
    if (!table.Open(tablePath))
        return std::nullopt;
    std::optional<std::string> value;
    std::string pending; // read but not yet taken
    uint64_t offset = 0;
    bool atEnd = false;
    while (!value) {
        // A line is what one fgets call of kLineBuffer would give: up to and
        // including a line end, at most kLineBuffer - 1 bytes.
        size_t newline = pending.find('\n');
        while (newline == std::string::npos && pending.size() < kLineBuffer - 1 && !atEnd) {
            char chunk[4096];
            const size_t got = table.ReadAt(offset, chunk, sizeof chunk);
            offset += got;
            atEnd = got < sizeof chunk;
            pending.append(chunk, got);
            newline = pending.find('\n');
        }
        if (pending.empty())
            break;
        const size_t length =
            std::min<size_t>({newline == std::string::npos ? pending.size() : newline + 1,
                              kLineBuffer - 1, pending.size()});
        std::string line = pending.substr(0, length);
        pending.erase(0, length);
        line.resize(strnlen(line.c_str(), line.size()));
        CutAtComment(line);
        if (std::count(line.begin(), line.end(), ',') != 1)
            continue;
        const std::string key = CopyWithoutBlanks(line, ',');
        if (mpuFileName.find(key) == std::string_view::npos)
            continue;
        value = CopyWithoutBlanks(std::string_view(line).substr(line.find(',') + 1), '\0');
    }
    return value;
}

std::string ModuleFileName(std::string_view modulePath) {
    std::string path(modulePath);
    if (path.ends_with(".so"))
        return path;
    CheckExtension(path, "dll", 1);
    path.append(".so");
    return path;
}

void FindConversionModule(ProjectSettings& settings, const std::string& tablePath) {
    settings.m_szConvertModule[0] = '\0';
    const std::string_view mpdFile = FieldText(settings.m_szMpdFile);
    const size_t separator = FindLastSeparator(mpdFile);
    const std::string_view bareName =
        separator == std::string_view::npos ? mpdFile : mpdFile.substr(separator + 1);
    if (const auto modulePath = LookUpModuleTable(tablePath, bareName))
        ProbeModulePath(settings, *modulePath);
}

void ProbeConversionModule(ProjectSettings& settings) {
    ProbeModulePath(settings, std::string(FieldText(settings.m_szConvertModule)));
}

} // namespace kelvane
