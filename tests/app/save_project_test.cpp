// SPDX-License-Identifier: MIT
#include "app/app_with_fakes.h"
#include "platform/faulty_file_system.h"
#include "platform/files/file_set_transaction.h"
#include "scoped_environment.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace kelvane {
namespace {

using test::ReadBytes;
using test::WriteBytes;

// Every file of a folder by name, with its bytes.
std::map<std::string, std::string> FolderContents(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().filename().string()] = ReadBytes(entry.path().string());
    return files;
}

// A system that has no O_TMPFILE, so that named temporaries are used.
class NoTmpfileFileSystem : public test::FaultyFileSystem {
public:
    NativeFile Open(const std::string& path, FileOpening how) override {
        if (how == FileOpening::NamelessFile) {
            errno = EOPNOTSUPP;
            return NativeFile::None;
        }
        return FaultyFileSystem::Open(path, how);
    }
};

// The demo project copied into a folder of its own and opened.
struct SaveFixture {
    explicit SaveFixture(std::string moduleTable = "/nonexistent.ini")
        : fixture(std::move(moduleTable)) {
        for (const std::string extension : {"fsp", "fsr", "uer", "sbu", "mcr"})
            WriteBytes(folder.File("demo." + extension),
                       ReadBytes(std::string(KELVANE_DEMO_DIR) + "/demo." + extension));
    }
    bool Open() {
        fixture.app.OpenProjectPath(project);
        return fixture.app.Settings().m_bProjectLoaded;
    }
    CKLVN_MAINApp& app() { return fixture.app; }
    std::vector<test::MessageBoxRecorder::Shown>& shown() { return fixture.messageBoxes.shown; }

    test::TempFolder folder;
    const std::string project = folder.File("demo.fsp");
    test::AppWithFakes<> fixture;
};

// Each write, flush, rename and close of a save fails in turn, in place and
// under a new name, with and without nameless temporaries: every time the
// save says so and returns false, and the files and the open project are
// as before. Past the last call the save goes through.
TEST(SaveProjectTest, AFaultAnywhereLeavesTheSetAsItWas) {
    using Call = test::FaultyFileSystem::Call;
    for (const bool named : {false, true}) {
        for (const Call call : {Call::kWrite, Call::kSync, Call::kRename, Call::kClose}) {
            for (const bool saveAs : {false, true}) {
                SaveFixture f;
                test::TempFolder elsewhere;
                ASSERT_TRUE(f.Open());
                const std::string target = saveAs ? elsewhere.File("copy.fsp") : f.project;
                const auto before = FolderContents(f.folder.Path());
                const std::string tableBefore = f.app().Definitions().Serialize();
                bool saved = false;
                int failAt = 1;
                for (; !saved && failAt < 100; ++failAt) {
                    SCOPED_TRACE(std::to_string(named) + " call " + std::to_string(call) + " #" +
                                 std::to_string(failAt) + (saveAs ? " save as" : ""));
                    NoTmpfileFileSystem noTmpfile;
                    test::FaultyFileSystem withTmpfile;
                    test::FaultyFileSystem& fs = named ? noTmpfile : withTmpfile;
                    fs.failing = call;
                    fs.failAt = failAt;
                    f.app().SetFileSystem(fs);
                    f.shown().clear();
                    saved = f.app().SaveProject(target);
                    EXPECT_NE(saved, fs.failed);
                    if (saved)
                        break;
                    ASSERT_FALSE(f.shown().empty());
                    // with the system's reason
                    EXPECT_NE(f.shown()[0].text.find(std::strerror(EIO)), std::string::npos)
                        << f.shown()[0].text;
                    EXPECT_EQ(FolderContents(f.folder.Path()), before);
                    EXPECT_TRUE(std::filesystem::is_empty(elsewhere.Path()));
                    EXPECT_EQ(f.app().CurrentProjectPath(), f.project);
                    EXPECT_EQ(f.app().Definitions().Serialize(), tableBefore);
                }
                EXPECT_TRUE(saved);
                EXPECT_GT(failAt, 1); // some call of each kind was made
                f.app().SetFileSystem(SystemFileSystem());
                // Nothing but the set itself is left beside it.
                EXPECT_EQ(FolderContents(saveAs ? elsewhere.Path() : f.folder.Path()).size(), 5u);
                if (saveAs) {
                    EXPECT_EQ(ReadBytes(elsewhere.File("copy.uer")), before.at("demo.uer"));
                }
            }
        }
    }
}

// Refusals before anything is written: a file of the set without write
// permission, a key the settings writers do not find, another save of the
// same project that does not end in time. Nothing is written.
TEST(SaveProjectTest, RefusesWhatCannotBeReplacedAndWaitsForNoOneForever) {
    test::ScopedEnvironment timeout("KELVANE_LOCK_TIMEOUT", "0");
    SaveFixture f;
    ASSERT_TRUE(f.Open());
    const auto before = FolderContents(f.folder.Path());

    std::filesystem::permissions(f.folder.File("demo.fsr"), std::filesystem::perms(0444));
    EXPECT_FALSE(f.app().SaveProject(f.project));
    ASSERT_EQ(f.shown().size(), 1u);
    EXPECT_TRUE(f.shown()[0].text.starts_with("The FSR file " + f.folder.File("demo.fsr") +
                                              " was not saved.\n(The file is not writable."))
        << f.shown()[0].text;
    std::filesystem::permissions(f.folder.File("demo.fsr"), std::filesystem::perms(0644));

    DefinitionFile::Table table = f.app().Definitions().SaveTable();
    const std::string tableBefore = f.app().Definitions().Serialize();
    for (DefEntry& entry : table.definitions)
        if (entry.key == "TIMEOUT")
            entry.key = "TIME_OUT";
    f.app().Definitions().RestoreTable(table);
    f.shown().clear();
    EXPECT_FALSE(f.app().SaveProject(f.project));
    ASSERT_EQ(f.shown().size(), 1u);
    EXPECT_TRUE(f.shown()[0].text.starts_with("The project file " + f.project + " was not saved."));
    EXPECT_NE(f.shown()[0].text.find("TIMEOUT"), std::string::npos) << f.shown()[0].text;

    FileSetTransaction other;
    ASSERT_TRUE(other.Lock(f.project, 0));
    f.shown().clear();
    EXPECT_FALSE(f.app().SaveProject(f.project));
    ASSERT_EQ(f.shown().size(), 1u);
    EXPECT_EQ(f.shown()[0].text, "Another save of " + f.project +
                                     " is in progress.\nNothing was saved; try again later.");
    EXPECT_EQ(FolderContents(f.folder.Path()).size(), before.size() + 1); // and the lock file
    for (const auto& [name, bytes] : before)
        EXPECT_EQ(ReadBytes(f.folder.File(name)), bytes) << name;
}

// Save As takes every companion that belongs to the project; one that could
// not be read (here too large for its buffer) stops the save, one that is
// not there is not part of the project.
TEST(SaveProjectTest, SaveAsNeedsEveryCompanionItCouldNotRead) {
    SaveFixture f;
    WriteBytes(f.folder.File("demo.sbu"), std::string(CompanionBuffer::kSbuCapacity + 1, 's'));
    std::filesystem::remove(f.folder.File("demo.mcr"));
    ASSERT_TRUE(f.Open());
    f.shown().clear();
    test::TempFolder elsewhere;
    EXPECT_FALSE(f.app().SaveProject(elsewhere.File("copy.fsp")));
    ASSERT_EQ(f.shown().size(), 1u);
    EXPECT_TRUE(f.shown()[0].text.starts_with(f.folder.File("demo.sbu") + " could not be read"))
        << f.shown()[0].text;
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere.Path()));
    // In place, the file stays where it is, unread and untouched.
    EXPECT_TRUE(f.app().SaveProject(f.project));
    EXPECT_EQ(ReadBytes(f.folder.File("demo.sbu")).size(), CompanionBuffer::kSbuCapacity + 1);

    std::filesystem::remove(f.folder.File("demo.sbu"));
    ASSERT_TRUE(f.Open());
    f.shown().clear();
    EXPECT_TRUE(f.app().SaveProject(elsewhere.File("copy.fsp")));
    EXPECT_TRUE(f.shown().empty());
    const auto saved = FolderContents(elsewhere.Path());
    EXPECT_EQ(saved.size(), 3u); // fsp, fsr, uer
    EXPECT_EQ(saved.count("copy.sbu") + saved.count("copy.mcr"), 0u);
}

// Another program saves the project between this one's open and save: the
// save asks, naming the file, before anything is written. Cancel keeps the
// other's save; Reload opens it; Overwrite writes over it. A save does not
// count its own writes as another's, and a change to the FSR file alone is
// seen as well.
TEST(SaveProjectTest, AsksBeforeWritingOverWhatAnotherProgramSavedSinceTheOpen) {
    SaveFixture f;
    ASSERT_TRUE(f.Open());
    test::AppWithFakes<> other;
    other.app.OpenProjectPath(f.project);
    ASSERT_TRUE(other.app.Settings().m_bProjectLoaded);
    other.app.Settings().m_strIpAddress = "10.9.9.9";
    ASSERT_TRUE(other.app.SaveProject(f.project));
    const std::string theirs = ReadBytes(f.project);
    ASSERT_NE(theirs.find("10.9.9.9"), std::string::npos);

    f.app().Settings().m_strTimeout = "77";
    f.shown().clear();
    f.fixture.messageBoxes.answers = {2}; // Cancel
    EXPECT_FALSE(f.app().SaveProject(f.project));
    EXPECT_TRUE(f.app().StoppedAtChangedFile());
    ASSERT_EQ(f.shown().size(), 1u);
    EXPECT_EQ(f.shown()[0].text,
              f.project + " was changed by another program since the project was opened.");
    EXPECT_EQ(f.shown()[0].caption, "Confirm");
    const auto& question = f.fixture.messageBoxes.questions.at(0);
    EXPECT_EQ(question.buttons, (std::vector<std::string>{"Overwrite", "Reload", "Cancel"}));
    EXPECT_EQ(question.defaultButton, 2u);
    EXPECT_EQ(question.escapeButton, 2u);
    EXPECT_EQ(ReadBytes(f.project), theirs);
    EXPECT_EQ(f.app().Settings().m_strTimeout, "77"); // the open project is kept as it was

    f.fixture.messageBoxes.answers = {1}; // Reload
    EXPECT_FALSE(f.app().SaveProject(f.project));
    EXPECT_EQ(f.app().Settings().m_strIpAddress, "10.9.9.9");
    EXPECT_NE(f.app().Settings().m_strTimeout, "77");
    f.app().Settings().m_strTimeout = "77";
    f.shown().clear();
    EXPECT_TRUE(f.app().SaveProject(f.project)); // the reloaded file is the one on disk
    EXPECT_TRUE(f.app().SaveProject(f.project)); // and so is the one it wrote
    EXPECT_TRUE(f.shown().empty());
    EXPECT_FALSE(f.app().StoppedAtChangedFile());

    other.app.Settings().m_strIpAddress = "10.1.1.1";
    other.messageBoxes.answers = {0}; // Overwrite
    EXPECT_TRUE(other.app.SaveProject(f.project));
    EXPECT_EQ(other.messageBoxes.questions.size(), 1u);
    EXPECT_NE(ReadBytes(f.project).find("10.1.1.1"), std::string::npos);

    // The FSR file alone, rewritten with its own bytes: the time moved.
    test::AppWithFakes<> third;
    third.app.OpenProjectPath(f.project);
    const std::string fsr = f.folder.File("demo.fsr");
    WriteBytes(fsr, ReadBytes(fsr));
    EXPECT_FALSE(third.app.SaveProject(f.project));
    ASSERT_EQ(third.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(third.messageBoxes.shown[0].text,
              fsr + " was changed by another program since the project was opened.");
    // Save As to a new name reads neither file again and asks nothing.
    test::TempFolder elsewhere;
    EXPECT_TRUE(third.app.SaveProject(elsewhere.File("copy.fsp")));
    EXPECT_EQ(third.messageBoxes.shown.size(), 1u);
    // kelvane-cli --force does not ask.
    test::AppWithFakes<> forced;
    forced.app.OpenProjectPath(f.project);
    forced.app.SetOverwriteChangedFiles(true);
    WriteBytes(f.project, ReadBytes(f.project));
    EXPECT_TRUE(forced.app.SaveProject(f.project));
    EXPECT_TRUE(forced.messageBoxes.shown.empty());
}

// Reload after a change made here asks the unsaved-changes question first:
// Cancel keeps the project as it is, No gives the change up, Yes writes it
// over the other program's before the file is opened again.
TEST(SaveProjectTest, ReloadAsksAboutTheUnsavedChangesFirst) {
    SaveFixture f(std::string(KELVANE_PROGRAM_DIR) + "/kelvane.ini");
    ASSERT_TRUE(f.Open());
    f.fixture.messageBoxes.answers = {IDYES, IDOK};
    ASSERT_TRUE(f.app().ConvertProject(3)); // to talvexMAX: modified
    ASSERT_TRUE(f.app().IsModified());
    const std::string changed = ReadBytes(f.project) + "[EXTRA]\nBY=other\n";
    WriteBytes(f.project, changed);

    f.shown().clear();
    f.fixture.messageBoxes.answers = {1, IDCANCEL};
    EXPECT_FALSE(f.app().SaveProject(f.project));
    ASSERT_EQ(f.shown().size(), 2u);
    EXPECT_EQ(f.shown()[1].text, "Save changes to " + f.project + "?");
    EXPECT_TRUE(f.app().IsModified());
    EXPECT_EQ(f.app().Settings().m_nIceModel, uint32_t{ICE_TALVEX_MAX});

    f.fixture.messageBoxes.answers = {1, IDNO};
    EXPECT_FALSE(f.app().SaveProject(f.project));
    EXPECT_FALSE(f.app().IsModified());
    EXPECT_EQ(f.app().Settings().m_nIceModel, uint32_t{ICE_TALVEX_NOVA});
    EXPECT_EQ(ReadBytes(f.project), changed);

    f.fixture.messageBoxes.answers = {IDYES, IDOK};
    ASSERT_TRUE(f.app().ConvertProject(3));
    WriteBytes(f.project, changed);
    f.fixture.messageBoxes.answers = {1, IDYES};
    EXPECT_FALSE(f.app().SaveProject(f.project));
    EXPECT_FALSE(f.app().IsModified());
    EXPECT_EQ(f.app().Settings().m_nIceModel, uint32_t{ICE_TALVEX_MAX});
    EXPECT_NE(ReadBytes(f.project).find("TARGET_NAME=talvexMAX"), std::string::npos);
}

#ifndef _WIN32 // fork()
// A save killed while it held the lock leaves the lock file; the kernel's
// lock went with the process, so the next save neither waits nor fails,
// and removes the file.
TEST(SaveProjectTest, ALockLeftByAKilledSaveBlocksNoLaterSave) {
    test::ScopedEnvironment timeout("KELVANE_LOCK_TIMEOUT", "0");
    SaveFixture f;
    ASSERT_TRUE(f.Open());
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileSetTransaction held;
        const char locked = held.Lock(f.project, 0) ? 'y' : 'n';
        (void)!write(ready[1], &locked, 1);
        pause();
        _exit(0);
    }
    close(ready[1]);
    char locked = 0;
    EXPECT_EQ(read(ready[0], &locked, 1), 1);
    close(ready[0]);
    EXPECT_EQ(locked, 'y');
    const std::string lockFile = f.folder.File(".demo.fsp.lock");
    EXPECT_TRUE(std::filesystem::exists(lockFile));
    EXPECT_FALSE(f.app().SaveProject(f.project)); // held: another save is in progress
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(std::filesystem::exists(lockFile));
    f.shown().clear();
    EXPECT_TRUE(f.app().SaveProject(f.project));
    EXPECT_TRUE(f.shown().empty());
    EXPECT_FALSE(std::filesystem::exists(lockFile));
}
#endif

} // namespace
} // namespace kelvane
