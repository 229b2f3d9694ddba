// SPDX-License-Identifier: MIT
// kelvane-cli with several projects, run as a user runs it.
#include "platform/process/child_process.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace kelvane {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;

const char* const kKinds[] = {".fsp", ".fsr", ".uer", ".sbu", ".mcr"};

ChildProcessOutcome Cli(std::vector<std::string> arguments,
                        std::vector<std::string> environment = {}) {
    ChildProcessRun run;
    run.environment = std::move(environment);
    run.command = {std::string(KELVANE_PROGRAM_DIR) + "/kelvane-cli"};
    run.command.insert(run.command.end(), arguments.begin(), arguments.end());
    run.outputLimit = 1 << 20;
    run.timeoutSeconds = 60;
    run.collectErrors = true;
    return RunChildProcess(run, SilentWaitIndicator());
}

// A copy of the demo saved as FOLDER/NAME.fsp, its set renamed with it.
std::string Project(const test::TempFolder& folder, const std::string& name) {
    const std::string path = folder.File(name + ".fsp");
    fs::create_directories(fs::path(path).parent_path());
    const ChildProcessOutcome saved =
        Cli({"save", std::string(KELVANE_DEMO_DIR) + "/demo.fsp", "--as", path});
    EXPECT_EQ(saved.exitCode, 0) << saved.output;
    return path;
}

std::string SetBytes(const std::string& base) {
    std::string bytes;
    for (const char* kind : kKinds)
        bytes += ReadBytes(base + kind) + '|';
    return bytes;
}

// Every line of the output belongs to one project and is prefixed with its
// path; a project's lines stand together. Its lines by project.
std::map<std::string, std::vector<std::string>> Blocks(const std::string& output,
                                                       const std::vector<std::string>& projects) {
    std::map<std::string, std::vector<std::string>> blocks;
    std::string current;
    size_t start = 0;
    while (start < output.size()) {
        const size_t end = output.find('\n', start);
        const std::string line = output.substr(start, end - start);
        start = end == std::string::npos ? output.size() : end + 1;
        std::string owner;
        for (const std::string& project : projects)
            if (line.starts_with(project + ": "))
                owner = project;
        EXPECT_NE(owner, "") << line;
        EXPECT_TRUE(owner == current || blocks.count(owner) == 0) << "interleaved: " << line;
        current = owner;
        blocks[owner].push_back(line.substr(owner.size() + 2));
    }
    return blocks;
}

// A project that fails in the middle stops no other; the report has a record
// of each, in the order given.
TEST(BatchCommandTest, AFailingProjectInTheMiddleStopsNoOtherAndIsReported) {
    test::TempFolder folder;
    const std::string first = Project(folder, "a/first"), last = Project(folder, "c/last");
    const std::string missing = folder.File("b/missing.fsp");
    const std::string report = folder.File("report.json");
    const ChildProcessOutcome run =
        Cli({"convert", first, missing, last, "--to", "talvexMAX", "--report", report});
    EXPECT_EQ(run.exitCode, 1);
    const auto blocks = Blocks(run.output, {first, missing, last});
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks.at(missing).front(), "Report: FSP file read failure.");
    for (const std::string& converted : {first, last}) {
        EXPECT_EQ(blocks.at(converted).at(1), "Information: Conversion complete.");
        EXPECT_NE(ReadBytes(converted).find("TARGET_NAME=talvexMAX"), std::string::npos);
    }

    const std::string json = ReadBytes(report);
    const auto InJson = [](std::string path) {
        for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 2))
            path.insert(at, 1, '\\');
        return path;
    };
    const size_t a = json.find("{\"path\": \"" + InJson(first) +
                               "\", \"result\": \"succeeded\", "
                               "\"target\": \"" +
                               InJson(first) + "\"");
    const size_t b = json.find("{\"path\": \"" + InJson(missing) + "\", \"result\": \"failed\"");
    const size_t c = json.find("{\"path\": \"" + InJson(last) + "\", \"result\": \"succeeded\"");
    EXPECT_TRUE(a != std::string::npos && a < b && b < c && c != std::string::npos) << json;
    EXPECT_NE(json.find("\"messages\": [\"Report: FSP file read failure.\", \"(Can not read. "),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"seconds\": "), std::string::npos);
    EXPECT_TRUE(json.starts_with("[\n") && json.ends_with("]\n"));

    // Several projects for show too, each summary whole.
    const ChildProcessOutcome shown = Cli({"show", first, last});
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_EQ(Blocks(shown.output, {first, last}).at(last).front(), "Opened project: last");
}

// Two projects that would be saved under one name: refused before any
// starts, nothing written.
TEST(BatchCommandTest, TwoProjectsLandingOnOneNameAreRefusedBeforeAnyStarts) {
    test::TempFolder folder;
    const std::string one = Project(folder, "a/demo"), two = Project(folder, "b/demo");
    const std::string before = SetBytes(folder.File("a/demo"));
    fs::create_directory(folder.File("out"));
    const ChildProcessOutcome run =
        Cli({"convert", one, two, "--to", "talvexMAX", "--out-dir", folder.File("out")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.output, "kelvane-cli: " + one + " and " + two + " would both be saved as " +
                              folder.File("out/demo.fsp") +
                              "\nkelvane-cli: nothing was converted\n");
    EXPECT_TRUE(fs::is_empty(folder.File("out")));
    EXPECT_EQ(SetBytes(folder.File("a/demo")), before);
    EXPECT_EQ(
        Cli({"convert", one, "--as", folder.File("x.fsp"), "--jobs", "2", "--to", "talvexMAX"})
            .exitCode,
        2);
}

// One process at a time or four: the same files, byte for byte.
TEST(BatchCommandTest, TheNumberOfJobsDoesNotChangeWhatIsWritten) {
    test::TempFolder folder;
    std::vector<std::string> arguments = {"convert"};
    for (int i = 0; i < 6; ++i)
        arguments.push_back(Project(folder, "in/project" + std::to_string(i)));
    const std::string out = folder.File("out");
    arguments.insert(arguments.end(), {"--to", "talvexMAX", "--out-dir", out, "--jobs"});
    std::map<std::string, std::string> written[2];
    for (const int jobs : {1, 4}) {
        fs::remove_all(out);
        fs::create_directory(out);
        std::vector<std::string> run = arguments;
        run.push_back(std::to_string(jobs));
        const ChildProcessOutcome outcome = Cli(run, {"XDG_CONFIG_HOME=" + folder.File("config")});
        EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
#ifndef _WIN32
        // The workers held the folder each project opened and saved in, and
        // wrote the last when they ended.
        EXPECT_NE(ReadBytes(folder.File("config/KVX/KLVN_MAIN.conf")).find("DefaultDir=" + out),
                  std::string::npos);
        fs::remove_all(folder.File("config"));
#endif
        for (const auto& entry : fs::directory_iterator(out))
            written[jobs == 4][entry.path().filename().string()] = ReadBytes(entry.path().string());
    }
    EXPECT_EQ(written[0].size(), 30u);
    EXPECT_TRUE(written[0] == written[1]);
}

#ifndef _WIN32
// A worker that dies on a project: the project keeps what the worker wrote
// for it and says how it ended; a new worker takes the projects after it.
TEST(BatchCommandTest, AWorkerThatDiesFailsOnlyItsProjectAndIsReplaced) {
    test::TempFolder folder;
    const std::string worker = folder.File("worker.sh");
    test::WriteBytes(worker, "#!/bin/sh\n"
                             "while [ \"$1\" != --batch-worker ]; do shift; done\n"
                             "while read item; do\n"
                             "  echo \"worker $$ item $item\"\n"
                             "  if [ \"$item\" = 1 ]; then printf half; kill -SEGV $$; fi\n"
                             "  if [ \"$item\" = 2 ]; then exit 7; fi\n"
                             "  printf '\\036%s %s\\036\\n' \"$2\" $((item * 3))\n"
                             "done\n");
    fs::permissions(worker, fs::perms::owner_all);
    std::vector<std::string> projects;
    for (const char* name : {"a", "b", "c", "d"})
        projects.push_back(folder.File(std::string(name) + ".fsp"));
    std::vector<std::string> arguments = {"show"};
    arguments.insert(arguments.end(), projects.begin(), projects.end());
    arguments.insert(arguments.end(), {"--jobs", "1", "--report", folder.File("report.json")});
    const ChildProcessOutcome run = Cli(arguments, {"KELVANE_BATCH_WORKER=" + worker});
    EXPECT_EQ(run.exitCode, 1) << run.output;
    const auto blocks = Blocks(run.output, projects);
    ASSERT_EQ(blocks.size(), 4u) << run.output;
    const auto Worker = [&](const std::string& project) {
        return blocks.at(project).at(0).substr(0, blocks.at(project).at(0).find(" item"));
    };
    EXPECT_EQ(blocks.at(projects[0]), std::vector<std::string>{Worker(projects[0]) + " item 0"});
    EXPECT_EQ(blocks.at(projects[1]),
              (std::vector<std::string>{Worker(projects[0]) + " item 1", "half",
                                        "kelvane-cli: ended by SIGSEGV, Segmentation fault"}));
    EXPECT_EQ(blocks.at(projects[2]).at(1),
              "kelvane-cli: ended with exit status 7 before the project was done");
    EXPECT_EQ(blocks.at(projects[3]).size(), 1u);
    // Three workers, each after the one before died.
    EXPECT_NE(Worker(projects[2]), Worker(projects[1]));
    EXPECT_NE(Worker(projects[3]), Worker(projects[2]));
    // Item 0 ended with status 0, item 3 with 9: a failure.
    const std::string json = ReadBytes(folder.File("report.json"));
    const size_t first = json.find("\"result\": \"succeeded\"");
    EXPECT_NE(first, std::string::npos) << json;
    EXPECT_EQ(json.find("\"result\": \"succeeded\"", first + 1), std::string::npos) << json;
}
#endif

// A program started with arguments gets each exactly as given: blanks,
// quotes and backslashes before a quote or at the end included (Windows
// passes one command line that the program splits again).
TEST(ChildProcessTest, ArgumentsReachTheProgramAsGiven) {
    test::TempFolder folder;
    for (const std::string name : {"a b", "say \"hi\"", "x\\\"y", "end\\\\", "tab\tand\\ back"}) {
        const std::string path = folder.File(name);
        const ChildProcessOutcome shown = Cli({"show", path});
        EXPECT_EQ(shown.output, "kelvane-cli: " + path + " is not a project file (.fsp)\n") << name;
    }
}

} // namespace
} // namespace kelvane
