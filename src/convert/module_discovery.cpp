// SPDX-License-Identifier: MIT
#include "convert/module_discovery.h"

#include "convert/kelvane_module.h"
#include "convert/module_host_client.h"
#include "convert/module_host_launch.h"
#include "convert/module_probe_store.h"
#include "platform/files/file_reader.h"
#include "platform/process/dynamic_library.h"
#include "platform/text/code_page.h"
#include "store/fixed_text.h"
#include "store/path_helpers.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace kelvane {
namespace {

// Each read takes at most this many characters; a longer line is read as
// several lines, as the table has always been read.
constexpr size_t kLineBuffer = 512;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// What a probe of one module file said, kept while the file stays the same.
struct CachedProbe {
    ModuleKind kind;
    FileStamp stamp;
    ModuleHostOutcome outcome;
};

std::map<std::string, CachedProbe>& ProbeCache() {
    static std::map<std::string, CachedProbe> cache;
    return cache;
}

// The module file's stamp; false when there is no such file to watch.
bool StampOfModule(const std::string& file, FileStamp& stamp) {
    FileIdentity identity;
    if (KindOfPath(file, &identity) != PathKind::RegularFile)
        return false;
    stamp = identity.stamp;
    return true;
}

const ModuleHostOutcome* FindCachedProbe(const ModuleLocation& module) {
    FileStamp stamp;
    const auto found = ProbeCache().find(module.file);
    if (found == ProbeCache().end() || !StampOfModule(module.file, stamp))
        return nullptr;
    const CachedProbe& entry = found->second;
    return entry.kind == module.kind && entry.stamp == stamp ? &entry.outcome : nullptr;
}

// An answer is kept, and so is a probe that hung: asking again would wait as long.
bool WorthKeeping(const ModuleHostOutcome& outcome) {
    return outcome.failure == ModuleHostFailure::None ||
           outcome.failure == ModuleHostFailure::TimedOut;
}

void CacheProbe(const ModuleLocation& module, const ModuleHostOutcome& outcome) {
    CachedProbe entry{module.kind, {}, outcome};
    // A module found by the system's search has no file to watch.
    if (StampOfModule(module.file, entry.stamp))
        ProbeCache()[module.file] = entry;
}

void ProbeModulePath(ProjectSettings& settings, std::string_view modulePath, WaitIndicator& waiter,
                     std::string* problem) {
    const ModuleLocation module = LocateModule(modulePath);
    // A path that does not fit is refused rather than cut: a cut path could
    // name some other module.
    if (!CopyToField(settings.m_szConvertModule, module.fieldName)) {
        settings.m_szConvertModule[0] = '\0';
        return;
    }
    ModuleHostOutcome outcome;
    if (const ModuleHostOutcome* cached = FindCachedProbe(module)) {
        outcome = *cached;
    } else if (const std::optional<ModuleHostOutcome> stored = FindStoredProbe(module)) {
        outcome = *stored;
        CacheProbe(module, outcome);
    } else {
        outcome = CallModuleHost(module, ModuleHostCall::Probe, 0, ModuleBlockBytes{}, waiter);
        if (WorthKeeping(outcome)) {
            CacheProbe(module, outcome);
            StoreProbe(module, outcome);
        }
    }
    if (const std::string message = ModuleHostFailureMessage(outcome, module); !message.empty()) {
        settings.m_szConvertModule[0] = '\0';
        if (problem != nullptr)
            *problem = message;
        return;
    }
    if (const std::string warning = ModuleHostWarningMessage(outcome, module);
        !warning.empty() && problem != nullptr)
        *problem = warning;
    const ModuleHostAnswer& answer = outcome.answer;
    if (answer.status != ModuleHostStatus::Called) {
        settings.m_szConvertModule[0] = '\0';
        return;
    }
    for (int d = 0; d < KELVANE_DIRECTION_COUNT; ++d) {
        // Modules older than the mask know NOVA <-> BANTAM only.
        const uint32_t supported =
            answer.hasInfoGet ? (answer.mask >> d) & 1u : (d <= KELVANE_BANTAM_TO_NOVA ? 1u : 0u);
        settings.m_abConvertSupported[d] = supported;
    }
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

std::string ModuleFileNameWithSuffix(std::string_view modulePath, std::string_view suffix) {
    std::string path(modulePath);
    if (path.ends_with(".so"))
        path.resize(path.size() - 3);
    else
        CheckExtension(path, "dll", 1);
    path.append(suffix);
    return path;
}

std::string ModuleFileName(std::string_view modulePath) {
    return ModuleFileNameWithSuffix(modulePath, kLibrarySuffix);
}

void FindConversionModule(ProjectSettings& settings, const std::string& tablePath,
                          WaitIndicator& waiter, std::string* problem) {
    settings.m_szConvertModule[0] = '\0';
    const std::string_view mpdFile = FieldText(settings.m_szMpdFile);
    const size_t separator = FindLastSeparator(mpdFile);
    const std::string_view bareName =
        separator == std::string_view::npos ? mpdFile : mpdFile.substr(separator + 1);
    if (const auto modulePath = LookUpModuleTable(tablePath, bareName))
        ProbeModulePath(settings, *modulePath, waiter, problem);
}

void ProbeConversionModule(ProjectSettings& settings, WaitIndicator& waiter, std::string* problem) {
    ProbeModulePath(settings, std::string(FieldText(settings.m_szConvertModule)), waiter, problem);
}

void ForgetModuleProbes() {
    ProbeCache().clear();
}

} // namespace kelvane
