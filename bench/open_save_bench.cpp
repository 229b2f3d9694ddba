// SPDX-License-Identifier: MIT
// Times the largest project the formats allow, each step as a whole process
// against a yardstick that does the least the step must: kelvane-cli show
// against cat of its five files, kelvane-cli save --as against cp of them
// and sync, the desktop program's first paint with it against a bare Qt
// window's (and, to be read beside it, against the same window with menus
// and lines of fixed-pitch text, which pays for fonts as the program does,
// and both programs' time to their exit, which includes their teardown).
// Prints the medians, their ratios and the peak memory against the set's
// size.
// Usage: kelvane_open_save_bench [RUNS | --make DIR]
#include "platform/process/executable_path.h"
#include "store/byte_cursor.h"
#include "store/companion_buffer.h"
#include "timed_process.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 15;
constexpr uint32_t kVersion = 0x130; // the latest version with its own record count
constexpr uint32_t kRecordCount = 29;
constexpr uint32_t kRecordSize = 16384;
constexpr size_t kLongestValue = 16639;
constexpr int kDefinitions = 3999;

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
}

std::string ProjectFile() {
    std::vector<std::string> lines = {"[PROJECT]",
                                      "PROJECT_NAME=big.fsp",
                                      "FSR_FSRPATHNAME=big.fsr",
                                      "MACRO_FILE=big.mcr",
                                      "ULABEL_FILE=big.sbu",
                                      "[TARGET]",
                                      "TARGET_NAME=talvexNOVA",
                                      "MODEL_NAME=KV4021",
                                      "MPDFILE=KV4021",
                                      "DEFFILE=ao_kv4021.mci",
                                      "MAXPAGE=15",
                                      "[COMMUNICATION]",
                                      "DEVICE=Ethernet",
                                      "IP_ADDRESS=192.168.0.20",
                                      "PORT=8080",
                                      "TIMEOUT=30",
                                      "USE_MCS=FALSE",
                                      "IP_ADDRESS_MCS=127.0.0.1",
                                      "PORT_MCS=7001",
                                      "[FILLER]"};
    int definitions = 17;
    // Page rows are numbered in hexadecimal.
    for (int row = 0; row < 16; ++row, ++definitions)
        lines.push_back("MPCNT_" + std::string(1, "0123456789ABCDEF"[row]) +
                        "=1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,");
    // Every tenth value is as long as the format allows.
    for (int i = 0; definitions < kDefinitions; ++i, ++definitions)
        lines.push_back("KEY_" + std::to_string(i) + "=" +
                        std::string(i % 10 == 0 ? kLongestValue : 40, char('a' + i % 26)));
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// A record padded to the full size; what the program parses comes first.
std::string Padded(std::string head) {
    head.resize(kRecordSize, '\x5A');
    return head;
}

std::string FsrFile() {
    std::map<uint32_t, std::string> records;
    for (uint32_t id = 1; id <= kRecordCount; ++id)
        records[id] = std::string(kRecordSize, char(id));
    std::string references;
    kelvane::AppendU32(references, 1);
    kelvane::AppendText(references, "big.fsp");
    kelvane::AppendU32(references, 0);
    kelvane::AppendU32(references, 0);
    kelvane::AppendU32(references, 0);
    records[3] = Padded(references);
    std::string uer;
    kelvane::AppendU32(uer, 1);
    kelvane::AppendU32(uer, kRecordSize - 8);
    uer += "big.uer";
    uer.resize(kRecordSize, '\0'); // the name ends at its first zero byte
    records[17] = uer;
    std::string frd;
    kelvane::AppendU32(frd, 1);
    kelvane::AppendU32(frd, 0x1000);
    kelvane::AppendU32(frd, 0x1FFF);
    kelvane::AppendText(frd, "boot");
    kelvane::AppendText(frd, "boot.frd");
    kelvane::AppendU32(frd, 0);
    records[19] = Padded(frd);

    std::string header, body;
    kelvane::AppendU32(header, kVersion);
    uint32_t offset = 4 + 12 * kRecordCount;
    for (uint32_t id = 1; id <= kRecordCount; ++id, offset += kRecordSize) {
        kelvane::AppendU32(header, id);
        kelvane::AppendU32(header, offset);
        kelvane::AppendU32(header, kRecordSize);
        body += records[id];
    }
    return header + body;
}

void MakeProject(const fs::path& folder) {
    fs::create_directories(folder);
    Write(folder / "big.fsp", ProjectFile());
    Write(folder / "big.fsr", FsrFile());
    Write(folder / "big.uer", std::string(kelvane::CompanionBuffer::kUerCapacity, 'u'));
    Write(folder / "big.sbu", std::string(kelvane::CompanionBuffer::kSbuCapacity, 's'));
    Write(folder / "big.mcr", std::string(kelvane::CompanionBuffer::kMcrCapacity, 'm'));
}

using kelvane::bench::Median;
using kelvane::bench::TimedRun;

// A run of a program that must work; the benchmark stops when it does not.
TimedRun Run(const std::vector<std::string>& command, bool watchFirstPaint = false) {
    const std::optional<TimedRun> run = kelvane::bench::RunTimed(command, watchFirstPaint);
    if (!run) {
        std::fprintf(stderr, "failed: %s\n", command.front().c_str());
        std::exit(1);
    }
    return *run;
}

struct Row {
    const char* work;
    const char* yardstick;
    double aim;
    std::vector<double> kelvane, other;
    double peakMiB = 0;
};

// A row without an aim (0) is there to be read beside the others.
void PrintRow(const Row& row) {
    const double kelvane = Median(row.kelvane), other = Median(row.other);
    std::printf("%-34s %8.1f ms  %-30s %7.1f ms  ratio %5.2f", row.work, kelvane, row.yardstick,
                other, kelvane / other);
    if (row.aim > 0)
        std::printf(" (aim %.1f)%s", row.aim, kelvane / other <= row.aim ? "" : "  over the aim");
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    // --make DIR only writes the project there, for a profiler to run on.
    if (argc == 3 && std::string(argv[1]) == "--make") {
        MakeProject(argv[2]);
        return 0;
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : kRuns;
    const fs::path root = fs::temp_directory_path() / ("kelvane-bench-" + std::to_string(getpid()));
    const fs::path source = root / "source";
    MakeProject(source);
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    // The module's probe answer is kept there by the first run, as for a user
    // who has opened the project before.
    setenv("XDG_CACHE_HOME", (root / "cache").c_str(), 1);
    const std::string folder = kelvane::ExecutableFolder();
    const std::string cli = folder + "/kelvane-cli", desktop = folder + "/kelvane",
                      bare = folder + "/kelvane_bare_window";
    const std::string project = (source / "big.fsp").string();
    std::vector<std::string> files;
    uintmax_t setBytes = 0;
    for (const char* kind : {".fsp", ".fsr", ".uer", ".sbu", ".mcr"}) {
        files.push_back((source / (std::string("big") + kind)).string());
        setBytes += fs::file_size(files.back());
    }

    Row show{"kelvane-cli show", "cat of the five files", 2.0, {}, {}};
    Row save{"kelvane-cli save --as", "cp of the five files, sync", 1.5, {}, {}};
    Row paint{"desktop first paint (offscreen)", "bare Qt window", 1.5, {}, {}};
    Row paintText{"desktop first paint (offscreen)", "bare window, menus and text", 0, {}, {}};
    Row exited{"desktop start to exit", "bare Qt window", 0, {}, {}};
    std::vector<std::string> cat = {"/bin/cat"};
    cat.insert(cat.end(), files.begin(), files.end());
    setenv("QT_QPA_PLATFORM",
           std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "offscreen", 1);
    setenv("KELVANE_EXIT_AFTER_FIRST_PAINT", "1", 1);
    // One of each first, so that every run finds the page cache warm.
    Run({cli, "show", project});
    Run(cat);
    for (int run = 0; run < runs; ++run) {
        const fs::path saved = root / "saved", copied = root / "copied";
        fs::remove_all(saved);
        fs::remove_all(copied);
        fs::create_directories(saved);
        fs::create_directories(copied);

        TimedRun shown = Run({cli, "show", project});
        show.kelvane.push_back(shown.milliseconds);
        show.peakMiB = std::max(show.peakMiB, shown.peakMiB);
        show.other.push_back(Run(cat).milliseconds);

        TimedRun saving = Run({cli, "save", project, "--as", (saved / "copy.fsp").string()});
        save.kelvane.push_back(saving.milliseconds);
        save.peakMiB = std::max(save.peakMiB, saving.peakMiB);
        std::vector<std::string> cp = {"/bin/cp"};
        cp.insert(cp.end(), files.begin(), files.end());
        cp.push_back(copied.string());
        save.other.push_back(Run(cp).milliseconds + Run({"/bin/sync"}).milliseconds);

        const TimedRun desktopRun = Run({desktop, project}, true);
        const TimedRun bareRun = Run({bare}, true);
        paint.kelvane.push_back(desktopRun.firstPaintMilliseconds);
        paint.other.push_back(bareRun.firstPaintMilliseconds);
        exited.kelvane.push_back(desktopRun.milliseconds);
        exited.other.push_back(bareRun.milliseconds);
        paintText.kelvane.push_back(desktopRun.firstPaintMilliseconds);
        paintText.other.push_back(Run({bare, "--text"}, true).firstPaintMilliseconds);
    }
    fs::remove_all(root);

    const double setMiB = double(setBytes) / (1024.0 * 1024.0);
    std::printf("project: 3999 definitions, FSR version 0x%x with %u records of %u bytes, "
                "companions at capacity: %.1f MiB in all; medians of %d runs, each a process\n",
                kVersion, kRecordCount, kRecordSize, setMiB, runs);
    PrintRow(show);
    PrintRow(save);
    PrintRow(paint);
    PrintRow(paintText);
    PrintRow(exited);
    const double peak = std::max(show.peakMiB, save.peakMiB);
    std::printf("peak memory: show %.1f MiB, save --as %.1f MiB: %.2f times the set "
                "(aim 1.5)%s\n",
                show.peakMiB, save.peakMiB, peak / setMiB,
                peak / setMiB <= 1.5 ? "" : "  over the aim");
    return 0;
}
