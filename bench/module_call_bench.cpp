// SPDX-License-Identifier: MIT
// Times one conversion of the demo project's block in this process (as the
// program called modules before the host), through the native module host
// and through the Wine host, then the demo's open with the host's probe
// uncached and cached, and prints the medians and spreads side by side.
//
// Usage: kelvane_module_call_bench [--runs N] [PROJECT]
// Run from the build tree: the hosts, the modules and kelvane.ini are looked
// for beside this program.
#include "app/klvn_main_app.h"
#include "convert/module_discovery.h"
#include "convert/module_host_client.h"
#include "dialogs/scripted_dialog_runner.h"
#include "module_host/module_call.h"
#include "platform/process/child_process.h"
#include "platform/process/executable_path.h"
#include "quiet_services.h"
#include "store/fixed_text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDefaultRuns = 51;
constexpr int32_t kDirection = 3; // talvexNOVA -> talvexMAX, which the demo allows
constexpr double kAimMilliseconds = 5;

class CountedMessageBoxes : public kelvane::MessageBoxService {
public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned) override {
        ++count;
        last = caption + ": " + text;
        return kelvane::IDYES;
    }
    size_t AskQuestion(const std::string& text, const std::string& caption, unsigned style,
                       const std::vector<std::string>&, size_t defaultButton, size_t) override {
        MessageBox(text, caption, style);
        return defaultButton;
    }
    int count = 0;
    std::string last;
};

class NoFileDialogs : public kelvane::FileDialogService {
public:
    bool ShowFileDialog(const kelvane::FileDialogRequest&, std::string&) override { return false; }
};

struct Services {
    CountedMessageBoxes messageBoxes;
    NoFileDialogs fileDialogs;
    kelvane::bench::NoRepaint repaint;
    kelvane::bench::NoProfile profile;
    kelvane::ScriptedDialogRunner dialogs;
    kelvane::FrameworkServices Framework() {
        return {messageBoxes, fileDialogs, repaint, profile, dialogs};
    }
};

struct Spread {
    double median, low, high, min, max; // low and high: the quartiles
};

Spread SpreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return {values[n / 2], values[n / 4], values[(3 * n) / 4], values.front(), values.back()};
}

double Milliseconds(Clock::duration elapsed) {
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

// `runs` timings of `call`, which tells whether its run went as it should.
std::optional<std::vector<double>> Time(int runs, const std::function<bool()>& call) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        const bool good = call();
        times.push_back(Milliseconds(Clock::now() - start));
        if (!good)
            return std::nullopt;
    }
    return times;
}

void PrintRow(const char* label, const Spread& s) {
    std::printf("  %-34s %9.2f  %9.2f..%-9.2f %9.2f..%.2f\n", label, s.median, s.low, s.high, s.min,
                s.max);
}

void PrintHeader() {
    std::printf("  %-34s %9s  %-20s %s\n", "", "median", "quartiles", "min..max");
}

// A conversion the sample module must accept: result 0 and the target's name.
bool ConversionWorked(const kelvane::ModuleHostAnswer& answer) {
    kelvane::ConversionBlock block;
    std::memcpy(&block, answer.block.data(), sizeof block);
    return answer.status == kelvane::ModuleHostStatus::Called && answer.result == 0 &&
           kelvane::FieldText(block.m_szMpdFile) == "KM4021";
}

// Reports why a call through a host went wrong; true when it did not.
bool HostCallWorked(const kelvane::ModuleHostOutcome& outcome,
                    const kelvane::ModuleLocation& module) {
    if (const std::string problem = kelvane::ModuleHostFailureMessage(outcome, module);
        !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return false;
    }
    if (!ConversionWorked(outcome.answer)) {
        std::fprintf(stderr, "%s: the conversion did not succeed (status %u, result %d): %s\n",
                     module.file.c_str(), static_cast<unsigned>(outcome.answer.status),
                     outcome.answer.result, outcome.answer.errorText.c_str());
        return false;
    }
    return true;
}

bool IsFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Why the Wine row cannot be measured here, or empty when it can.
std::string WineRowMissing(const kelvane::ModuleLocation& module) {
    if (!kelvane::ProgramOnPath("wine"))
        return "wine is not on PATH";
    const std::string host = kelvane::ExecutableFolder() + "/kelvane-module-host.exe";
    if (!IsFile(host))
        return host + " is not built (KELVANE_WINDOWS_MODULES)";
    if (module.kind != kelvane::ModuleKind::Windows)
        return "kelvane_sample_converter_win32.dll is not built";
    return {};
}

// The demo's block as ConvertProject hands it over (its MPU name has no
// folder to take off): no purge mask, the error buffer left to the callee.
std::optional<kelvane::ModuleBlockBytes> DemoBlock(const std::string& project) {
    Services services;
    kelvane::CKLVN_MAINApp app(services.Framework(), kelvane::ProgramFilePath("ini"));
    app.LoadProject(project);
    if (!app.Settings().m_bProjectLoaded) {
        std::fprintf(stderr, "%s cannot be opened: %s\n", project.c_str(),
                     services.messageBoxes.last.c_str());
        return std::nullopt;
    }
    kelvane::ConversionBlock block = app.Settings().Block();
    if (kelvane::FieldText(block.m_szMpdFile) != "KV4021" ||
        block.m_nIceModel != kelvane::ICE_TALVEX_NOVA) {
        std::fprintf(stderr, "%s is not the talvexNOVA demo with MPU file KV4021\n",
                     project.c_str());
        return std::nullopt;
    }
    block.m_wPurgeMask = 0;
    block.m_pszConvertError = 0;
    kelvane::ModuleBlockBytes bytes;
    std::memcpy(bytes.data(), &block, sizeof block);
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    int runs = kDefaultRuns;
    std::string project = KELVANE_DEMO_PROJECT;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--runs" && i + 1 < argc) {
            char* end = nullptr;
            const long value = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || value < 1 || value > 100000) {
                std::fprintf(stderr, "--runs takes a number from 1 to 100000\n");
                return 2;
            }
            runs = static_cast<int>(value);
        } else if (!argument.starts_with("-")) {
            project = argument;
        } else {
            std::fprintf(stderr, "usage: %s [--runs N] [PROJECT]\n", argv[0]);
            return 2;
        }
    }

    const auto block = DemoBlock(project);
    if (!block)
        return 1;
    kelvane::WaitIndicator& silent = kelvane::SilentWaitIndicator();
    const kelvane::ModuleLocation native = kelvane::LocateModule("kelvane_sample_converter");
    const kelvane::ModuleLocation windows = kelvane::LocateModule("kelvane_sample_converter_win32");
    if (native.kind != kelvane::ModuleKind::Native || !IsFile(native.file)) {
        std::fprintf(stderr, "%s is not built\n", native.file.c_str());
        return 1;
    }

    kelvane::ModuleHostRequest convert;
    convert.call = kelvane::ModuleHostCall::Convert;
    convert.direction = kDirection;
    convert.modulePath = native.hostPath;
    convert.block = *block;
    const auto inProcess =
        Time(runs, [&] { return ConversionWorked(kelvane::AnswerModuleRequest(convert)); });
    if (!inProcess) {
        std::fprintf(stderr, "%s: the conversion in process did not succeed\n",
                     native.file.c_str());
        return 1;
    }
    const auto callHost = [&](const kelvane::ModuleLocation& module) {
        return HostCallWorked(kelvane::CallModuleHost(module, kelvane::ModuleHostCall::Convert,
                                                      kDirection, *block, silent),
                              module);
    };
    const auto nativeHost = Time(runs, [&] { return callHost(native); });
    if (!nativeHost)
        return 1;
    std::optional<std::vector<double>> wineHost;
    const std::string wineMissing = WineRowMissing(windows);
    if (wineMissing.empty()) {
        // The first call may start the Wine server or even create the prefix.
        if (!callHost(windows))
            return 1;
        wineHost = Time(runs, [&] { return callHost(windows); });
        if (!wineHost)
            return 1;
    }

    std::printf("conversion of %s (KV4021, talvexNOVA, direction %d), %d runs each, ms:\n",
                project.c_str(), kDirection, runs);
    PrintHeader();
    const Spread inProcessSpread = SpreadOf(*inProcess);
    const Spread nativeSpread = SpreadOf(*nativeHost);
    PrintRow("in process", inProcessSpread);
    PrintRow("native host", nativeSpread);
    if (wineHost)
        PrintRow("Wine host (warm prefix)", SpreadOf(*wineHost));
    else
        std::printf("  %-34s skipped: %s\n", "Wine host", wineMissing.c_str());
    const double cost = nativeSpread.median - inProcessSpread.median;
    // The median alone hides a minority of slow calls.
    const auto slow = std::count_if(nativeHost->begin(), nativeHost->end(), [&](double ms) {
        return ms - inProcessSpread.median > kAimMilliseconds;
    });
    std::printf("native host - in process: %.2f ms, %s the aim of %.0f ms "
                "(%td of %d calls over it)\n",
                cost, cost <= kAimMilliseconds ? "within" : "over", kAimMilliseconds, slow, runs);

    // The open: a fresh application each run, so nothing but the probe cache
    // carries over from one open to the next.
    Services services;
    const auto open = [&](bool forgetProbes) {
        kelvane::CKLVN_MAINApp app(services.Framework(), kelvane::ProgramFilePath("ini"));
        if (forgetProbes)
            kelvane::ForgetModuleProbes();
        app.LoadProject(project);
        return app.Settings().m_bProjectLoaded && app.Settings().m_szConvertModule[0] != '\0';
    };
    const auto uncached = Time(runs, [&] { return open(true); });
    open(false); // fills the cache
    const auto cached = Time(runs, [&] { return open(false); });
    kelvane::ModuleHostRequest probe;
    probe.call = kelvane::ModuleHostCall::Probe;
    probe.modulePath = native.hostPath;
    const auto inProcessProbe = Time(runs, [&] {
        const kelvane::ModuleHostAnswer answer = kelvane::AnswerModuleRequest(probe);
        return answer.status == kelvane::ModuleHostStatus::Called && answer.hasInfoGet;
    });
    if (!uncached || !cached || !inProcessProbe) {
        std::fprintf(stderr, "the demo's open found no module: %s\n",
                     services.messageBoxes.last.c_str());
        return 1;
    }
    const Spread cachedSpread = SpreadOf(*cached);
    const Spread probeSpread = SpreadOf(*inProcessProbe);
    std::printf("\nopen of %s, %d runs each, ms:\n", project.c_str(), runs);
    PrintHeader();
    PrintRow("probe in the host, uncached", SpreadOf(*uncached));
    PrintRow("probe cached", cachedSpread);
    PrintRow("probe in process (alone)", probeSpread);
    std::printf("cached open + probe in process: %.2f ms (the open as it was without the host)\n",
                cachedSpread.median + probeSpread.median);
    if (services.messageBoxes.count > 0)
        std::printf("(%d message boxes during the opens, the last: %s)\n",
                    services.messageBoxes.count, services.messageBoxes.last.c_str());
    return 0;
}
