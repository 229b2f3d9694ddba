// SPDX-License-Identifier: MIT
#include "convert/module_probe_store.h"

#include "platform/files/file_reader.h"
#include "platform/files/file_set_paths.h"
#include "platform/files/file_system.h"
#include "platform/places/user_cache_folder.h"
#include "platform/text/code_page.h"
#include "store/path_helpers.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <vector>

namespace kelvane {
namespace {

constexpr std::string_view kHeader = "kelvane module probes 2\n";
// How long a hung probe is believed.
constexpr int64_t kHungProbeSeconds = 24 * 3600;
// The newest answers only; a store grown past this is cut from the oldest.
constexpr size_t kEntryLimit = 64;
// Anything longer is not a store this program wrote.
constexpr uint64_t kStoreByteLimit = 1 << 20;

bool g_useStore = false;

struct FileKey {
    uint64_t device = 0, inode = 0, size = 0;
    int64_t seconds = 0, nanoseconds = 0;
    bool operator==(const FileKey&) const = default;
};

std::optional<FileKey> KeyOf(const std::string& path) {
    FileIdentity identity;
    if (KindOfPath(path, &identity) != PathKind::RegularFile)
        return std::nullopt;
    return FileKey{identity.device, identity.inode, identity.stamp.size,
                   identity.stamp.modifySeconds, identity.stamp.modifyNanoseconds};
}

struct StoredProbe {
    ModuleKind kind = ModuleKind::Native;
    FileKey module, host;
    bool hasInfoGet = false;
    uint32_t mask = 0;
    int64_t hungAt = 0;          // when the probe timed out; 0 for an answer
    std::string hungAfter = "-"; // the seconds it was given, as the message says them
    std::string file;
};

// One line: the kind, both keys, the answer, then the module's path, which
// may hold spaces but never a line end.
std::string Encode(const StoredProbe& probe) {
    std::string line = probe.kind == ModuleKind::Windows ? "W" : "N";
    for (const FileKey* key : {&probe.module, &probe.host}) {
        for (const uint64_t number : {key->device, key->inode, key->size})
            line += " " + std::to_string(number);
        for (const int64_t number : {key->seconds, key->nanoseconds})
            line += " " + std::to_string(number);
    }
    line += probe.hasInfoGet ? " 1 " : " 0 ";
    line += std::to_string(probe.mask) + " " + std::to_string(probe.hungAt) + " " +
            probe.hungAfter + " " + probe.file + "\n";
    return line;
}

template <class Number> bool TakeNumber(std::string_view& rest, Number& number) {
    const size_t space = rest.find(' ');
    if (space == std::string_view::npos)
        return false;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + space, number);
    rest.remove_prefix(space + 1);
    return error == std::errc() && end == rest.data() - 1;
}

std::optional<StoredProbe> Decode(std::string_view line) {
    StoredProbe probe;
    if (line.size() < 2 || (line[0] != 'N' && line[0] != 'W') || line[1] != ' ')
        return std::nullopt;
    probe.kind = line[0] == 'W' ? ModuleKind::Windows : ModuleKind::Native;
    std::string_view rest = line.substr(2);
    int hasInfoGet = 0;
    for (FileKey* key : {&probe.module, &probe.host})
        if (!TakeNumber(rest, key->device) || !TakeNumber(rest, key->inode) ||
            !TakeNumber(rest, key->size) || !TakeNumber(rest, key->seconds) ||
            !TakeNumber(rest, key->nanoseconds))
            return std::nullopt;
    if (!TakeNumber(rest, hasInfoGet) || hasInfoGet < 0 || hasInfoGet > 1 ||
        !TakeNumber(rest, probe.mask) || !TakeNumber(rest, probe.hungAt))
        return std::nullopt;
    const size_t space = rest.find(' ');
    if (space == 0 || space == std::string_view::npos || space + 1 == rest.size())
        return std::nullopt;
    probe.hungAfter = std::string(rest.substr(0, space));
    rest.remove_prefix(space + 1);
    probe.hasInfoGet = hasInfoGet == 1;
    probe.file = std::string(rest);
    return probe;
}

// The entries of a store as written; none for a missing or foreign file. A
// last line without its line end was cut short and is left out.
std::vector<StoredProbe> ReadStore(const std::string& path) {
    std::vector<StoredProbe> probes;
    FileReader file;
    if (!file.Open(path) || file.Size() > kStoreByteLimit)
        return probes;
    std::string text(static_cast<size_t>(file.Size()), '\0');
    text.resize(file.ReadAt(0, text.data(), text.size()));
    if (!text.starts_with(kHeader))
        return probes;
    std::string_view rest = std::string_view(text).substr(kHeader.size());
    for (size_t end = rest.find('\n'); end != std::string_view::npos; end = rest.find('\n')) {
        if (auto probe = Decode(rest.substr(0, end)))
            probes.push_back(std::move(*probe));
        rest.remove_prefix(end + 1);
    }
    return probes;
}

// A temporary file renamed over the store, so that a reader never sees half
// of it. Not flushed to disk: a store lost in a crash is only asked again.
bool WriteStore(const std::string& path, const std::vector<StoredProbe>& probes) {
    std::string text(kHeader);
    for (const StoredProbe& probe : probes)
        text += Encode(probe);
    FileSystem& system = SystemFileSystem();
    const std::string native = NativePath(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string temporary = native + "." + RandomSuffix();
        const NativeFile file = system.Open(temporary, FileOpening::NewFile);
        if (file == NativeFile::None && errno == EEXIST)
            continue;
        if (file == NativeFile::None)
            return false;
        const bool written = system.WriteAt(file, 0, text);
        const bool ok = system.Close(file) && written && system.Rename(temporary, native);
        if (!ok)
            system.Unlink(temporary);
        return ok;
    }
    return false;
}

} // namespace

void UseStoredModuleProbes(bool use) {
    g_useStore = use;
}

std::string ProbeStorePath() {
    const std::string folder = UserCacheFolder();
    return folder.empty() ? std::string() : JoinPath(folder, "module-probes");
}

std::optional<ModuleHostOutcome> FindStoredProbe(const ModuleLocation& module) {
    const std::string path = ProbeStorePath();
    if (!g_useStore || path.empty())
        return std::nullopt;
    const std::optional<FileKey> moduleKey = KeyOf(module.file);
    const std::optional<FileKey> hostKey = KeyOf(HostProgram(module.kind));
    if (!moduleKey || !hostKey)
        return std::nullopt;
    for (const StoredProbe& probe : ReadStore(path)) {
        if (probe.file == module.file && probe.kind == module.kind && probe.module == *moduleKey &&
            probe.host == *hostKey) {
            ModuleHostOutcome outcome;
            if (probe.hungAt != 0) {
                if (std::time(nullptr) - probe.hungAt > kHungProbeSeconds)
                    return std::nullopt;
                outcome.failure = ModuleHostFailure::TimedOut;
                outcome.detail = probe.hungAfter;
                return outcome;
            }
            outcome.answer.status = ModuleHostStatus::Called;
            outcome.answer.hasInfoGet = probe.hasInfoGet;
            outcome.answer.mask = probe.mask;
            return outcome;
        }
    }
    return std::nullopt;
}

void StoreProbe(const ModuleLocation& module, const ModuleHostOutcome& outcome) {
    const std::string path = ProbeStorePath();
    const bool hung = outcome.failure == ModuleHostFailure::TimedOut;
    const bool answered = outcome.failure == ModuleHostFailure::None &&
                          outcome.answer.status == ModuleHostStatus::Called;
    if (!g_useStore || path.empty() || !(hung || answered) ||
        module.file.find_first_of("\r\n") != std::string::npos ||
        outcome.detail.find_first_of(" \r\n") != std::string::npos)
        return;
    const std::optional<FileKey> moduleKey = KeyOf(module.file);
    const std::optional<FileKey> hostKey = KeyOf(HostProgram(module.kind));
    if (!moduleKey || !hostKey || !MakeFolders(UserCacheFolder()))
        return;
    std::vector<StoredProbe> probes = ReadStore(path);
    std::erase_if(probes, [&](const StoredProbe& probe) { return probe.file == module.file; });
    StoredProbe probe;
    probe.kind = module.kind;
    probe.module = *moduleKey;
    probe.host = *hostKey;
    probe.hasInfoGet = outcome.answer.hasInfoGet;
    probe.mask = outcome.answer.mask;
    if (hung) {
        probe.hungAt = std::max<int64_t>(std::time(nullptr), 1);
        probe.hungAfter = outcome.detail.empty() ? "-" : outcome.detail;
    }
    probe.file = module.file;
    probes.push_back(std::move(probe));
    if (probes.size() > kEntryLimit)
        probes.erase(probes.begin(), probes.end() - kEntryLimit);
    WriteStore(path, probes);
}

} // namespace kelvane
