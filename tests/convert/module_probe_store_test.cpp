// SPDX-License-Identifier: MIT
#include "convert/module_discovery.h"
#include "convert/module_probe_store.h"

#include "platform/process/executable_path.h"
#include "scoped_environment.h"
#include "store/fixed_text.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

namespace kelvane {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

constexpr uint32_t kAll = 0x3FF;

void SetTime(const std::string& path, long seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

// Probes through a copy of the host, which a test can make unrunnable
// without changing what the store knows it by (chmod moves no time).
class ModuleProbeStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::copy_file(ExecutableFolder() + "/kelvane-module-host", host);
        SetModuleHostProgramsForTesting(host, "");
        UseStoredModuleProbes(true);
        ForgetModuleProbes();
    }
    void TearDown() override {
        UseStoredModuleProbes(false);
        SetModuleHostProgramsForTesting("", "");
        ForgetModuleProbes();
    }
    void Install(const char* source, long seconds) {
        fs::copy_file(std::string(KELVANE_TEST_MODULE_DIR) + "/" + source, module,
                      fs::copy_options::overwrite_existing);
        SetTime(module, seconds);
    }
    void HostRunnable(bool runnable) { ASSERT_EQ(chmod(host.c_str(), runnable ? 0755 : 0644), 0); }
    // A probe as a new run makes it: nothing kept in memory.
    std::string Probe(const std::string& path) {
        ForgetModuleProbes();
        CopyToField(settings.m_szConvertModule, path);
        std::string problem;
        ProbeConversionModule(settings, SilentWaitIndicator(), &problem);
        if (!problem.empty())
            return "failed";
        uint32_t flags = 0;
        for (uint32_t d = 0; d < 10; ++d)
            flags |= settings.m_abConvertSupported[d] << d;
        return FieldText(settings.m_szConvertModule).empty() ? "none" : std::to_string(flags);
    }
    std::string Probe() { return Probe(module); }
    std::string Store() const { return test::ReadBytes(ProbeStorePath()); }

    TempFolder folder;
    test::ScopedEnvironment cache{"XDG_CACHE_HOME", folder.File("cache").c_str()};
    const std::string host = folder.File("host");
    const std::string module = folder.File("probed.so");
    ProjectSettings settings;
};

TEST_F(ModuleProbeStoreTest, AnAnswerHoldsInTheNextRunWhileModuleAndHostStayTheSame) {
    ASSERT_EQ(fs::file_size(KELVANE_TEST_MODULE_DIR "/kelvane_test_all.so"),
              fs::file_size(KELVANE_TEST_MODULE_DIR "/kelvane_test_high_bit.so"));
    EXPECT_EQ(ProbeStorePath(), folder.File("cache") + "/kelvane/module-probes");
    Install("kelvane_test_all.so", 1700000000);
    EXPECT_EQ(Probe(), std::to_string(kAll));

    // Answered from the store: the host cannot even start.
    HostRunnable(false);
    EXPECT_EQ(Probe(), std::to_string(kAll));
    // Another module in its place with the same length and time still is.
    Install("kelvane_test_high_bit.so", 1700000000);
    EXPECT_EQ(Probe(), std::to_string(kAll));
    // A new time sends the question to the host.
    SetTime(module, 1700000001);
    EXPECT_EQ(Probe(), "failed");
    HostRunnable(true);
    EXPECT_EQ(Probe(), "0");
    // So does a new host.
    HostRunnable(false);
    EXPECT_EQ(Probe(), "0");
    SetTime(host, 1700000002);
    EXPECT_EQ(Probe(), "failed");
}

TEST_F(ModuleProbeStoreTest, KeepsOnlyAnswersOfModulesThatLoadedAndReadsNothingElse) {
    // A store cut short or not written by this program counts for nothing.
    fs::create_directories(folder.File("cache") + "/kelvane");
    for (const std::string& foreign :
         {std::string("other program\nN 1 2 3\n"),
          std::string("kelvane module probes 1\nN 1 2\nW x\nN 1 2 3"),
          std::string("kelvane module probes 2\nN 1 2 3 4 5 6 7 8 9 10 1 1023 0 -\n")}) {
        test::WriteBytes(ProbeStorePath(), foreign);
        Install("kelvane_test_all.so", 1700000000 + static_cast<long>(foreign.size()));
        EXPECT_EQ(Probe(), std::to_string(kAll));
        const std::string store = Store();
        EXPECT_TRUE(store.starts_with("kelvane module probes 2\nN ")) << store;
        EXPECT_EQ(std::count(store.begin(), store.end(), '\n'), 2) << store;
        EXPECT_TRUE(store.ends_with(" 1 1023 0 - " + module + "\n")) << store;
    }

    // A crash, a module that cannot be loaded: asked again next time.
    const std::string before = Store();
    EXPECT_EQ(Probe(std::string(KELVANE_TEST_MODULE_DIR) + "/kelvane_test_probe_crash.so"),
              "failed");
    EXPECT_EQ(Probe(folder.File("missing.so")), "none");
    EXPECT_EQ(Store(), before);

    // Off, nothing is read or written.
    UseStoredModuleProbes(false);
    fs::remove(ProbeStorePath());
    EXPECT_EQ(Probe(), std::to_string(kAll));
    EXPECT_FALSE(fs::exists(ProbeStorePath()));
}

// A probe that hangs is stopped after KELVANE_PROBE_TIMEOUT, whatever the
// conversion's limit, and not waited for again: not in this run, and not
// in the next one for a day, unless the module changes.
TEST_F(ModuleProbeStoreTest, AHungProbeIsStoppedSoonAndNotAskedAgainForADay) {
    test::ScopedEnvironment probeLimit("KELVANE_PROBE_TIMEOUT", "0.5");
    test::ScopedEnvironment callLimit("KELVANE_MODULE_TIMEOUT", "300");
    Install("kelvane_test_probe_hang.so", 1700000000);
    const std::string said = "The conversion module " + module +
                             " did not say within 0.5 seconds which conversions it offers";
    const auto ProbeProblem = [&](bool newRun) {
        if (newRun)
            ForgetModuleProbes();
        CopyToField(settings.m_szConvertModule, module);
        std::string problem;
        ProbeConversionModule(settings, SilentWaitIndicator(), &problem);
        EXPECT_TRUE(FieldText(settings.m_szConvertModule).empty());
        return problem;
    };
    EXPECT_TRUE(ProbeProblem(true).starts_with(said));
    EXPECT_NE(Store().find(" 0.5 " + module + "\n"), std::string::npos) << Store();
    HostRunnable(false); // a host started now would be named as not starting
    EXPECT_TRUE(ProbeProblem(false).starts_with(said));
    EXPECT_TRUE(ProbeProblem(true).starts_with(said));
    UseStoredModuleProbes(false);
    EXPECT_TRUE(ProbeProblem(false).starts_with(said)); // this run remembers it anyway
    UseStoredModuleProbes(true);

    // A day later the module is asked again.
    std::string store = Store();
    const size_t hungAt = store.rfind(" 0.5 ");
    const size_t start = store.rfind(' ', hungAt - 1) + 1;
    store.replace(start, hungAt - start, std::to_string(std::time(nullptr) - 24 * 3600 - 5));
    test::WriteBytes(ProbeStorePath(), store);
    EXPECT_NE(ProbeProblem(true).find("did not start"), std::string::npos);
    // And when it changes: a module that answers.
    HostRunnable(true);
    Install("kelvane_test_all.so", 1700000000);
    EXPECT_EQ(Probe(), std::to_string(kAll));
}

} // namespace
} // namespace kelvane
