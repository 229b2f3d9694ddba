// Times opening a maximal project and saving it under a new name against a
// plain copy of the same files with cp, and prints the medians, their ratio
// and the peak memory of this process.
#include "app/klvn_main_app.h"
#include "dialogs/scripted_dialog_runner.h"
#include "quiet_services.h"
#include "store/byte_cursor.h"
#include "store/companion_buffer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRuns = 7;
constexpr uint32_t kVersion = 0x130; // the latest version with its own record count
constexpr uint32_t kRecordCount = 29;
constexpr uint32_t kRecordSize = 16384;
constexpr size_t kLongestValue = 16639;
constexpr int kDefinitions = 3999;

class QuietMessageBoxes : public kelvane::MessageBoxService {
public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned) override {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
        return kelvane::IDYES;
    }
};

class AnswerDialog : public kelvane::FileDialogService {
public:
    bool ShowFileDialog(const kelvane::FileDialogRequest&, std::string& chosen) override {
        chosen = answer;
        return true;
    }
    std::string answer;
};

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

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double Milliseconds(Clock::duration elapsed) {
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

} // namespace

int main() {
    const fs::path root = fs::temp_directory_path() / ("kelvane-bench-" + std::to_string(getpid()));
    const fs::path source = root / "source";
    MakeProject(source);

    QuietMessageBoxes messageBoxes;
    AnswerDialog dialog;
    kelvane::bench::NoRepaint repaint;
    kelvane::bench::NoProfile profile;
    kelvane::ScriptedDialogRunner dialogs;

    std::vector<double> openSave, copy;
    for (int run = 0; run < kRuns; ++run) {
        const fs::path saved = root / ("saved" + std::to_string(run));
        const fs::path copied = root / ("copied" + std::to_string(run));
        fs::create_directories(saved);
        fs::create_directories(copied);

        const auto start = Clock::now();
        {
            kelvane::CKLVN_MAINApp app({messageBoxes, dialog, repaint, profile, dialogs},
                                       (root / "none.ini").string());
            app.LoadProject((source / "big.fsp").string());
            dialog.answer = (saved / "copy.fsp").string();
            if (!app.Settings().m_bProjectLoaded || !app.OnSaveProjectAs()) {
                std::fprintf(stderr, "open or save failed\n");
                return 1;
            }
        }
        openSave.push_back(Milliseconds(Clock::now() - start));

        const std::string command =
            "cp " + (source / "big.fsp").string() + " " + (source / "big.fsr").string() + " " +
            (source / "big.uer").string() + " " + (source / "big.sbu").string() + " " +
            (source / "big.mcr").string() + " " + copied.string();
        const auto copyStart = Clock::now();
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "cp failed\n");
            return 1;
        }
        copy.push_back(Milliseconds(Clock::now() - copyStart));
        fs::remove_all(saved);
        fs::remove_all(copied);
    }
    fs::remove_all(root);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double openSaveMedian = Median(openSave);
    const double copyMedian = Median(copy);
    std::printf("project: 3999 definitions, FSR version 0x%x with %u records of %u bytes, "
                "companions at capacity\n",
                kVersion, kRecordCount, kRecordSize);
    std::printf("open + save as: median %.2f ms over %d runs\n", openSaveMedian, kRuns);
    std::printf("cp of the file set: median %.2f ms over %d runs\n", copyMedian, kRuns);
    std::printf("ratio: %.2f (aim: at most 2)\n", openSaveMedian / copyMedian);
    std::printf("peak memory: %.1f MiB\n", double(usage.ru_maxrss) / 1024.0);
    return 0;
}
