// SPDX-License-Identifier: MIT
#include "platform/faulty_file_system.h"
#include "platform/files/atomic_file.h"
#include "platform/files/deferred_flush.h"
#include "platform/files/file_set_paths.h"
#include "platform/files/file_set_transaction.h"
#include "scoped_environment.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <memory>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kelvane {
namespace {

using test::ReadBytes;
using test::WriteBytes;

std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

bool WriteMember(FileSetTransaction& set, const std::string& path, const std::string& bytes) {
    AtomicFileWriter file(&set);
    return file.Open(path) && file.Write(bytes) && file.Commit();
}

// Two files replaced and one created; each rename and each link in turn
// fails. The set is then either all new or all old, with nothing else left.
TEST(FileSetTransactionTest, AFailedRenamePutsBackTheFilesRenamedBeforeIt) {
    test::TempFolder folder;
    const std::string a = folder.File("a.fsp"), b = folder.File("a.fsr"), c = folder.File("a.uer");
    for (const auto call : {test::FaultyFileSystem::kRename, test::FaultyFileSystem::kLink}) {
        for (int failAt = 1; failAt <= 5; ++failAt) {
            SCOPED_TRACE(std::to_string(call) + "/" + std::to_string(failAt));
            WriteBytes(a, "old a");
            WriteBytes(b, "old b");
            std::filesystem::remove(c);
            test::FaultyFileSystem fs;
            fs.failing = call;
            fs.failAt = failAt;
            bool committed = false;
            {
                FileSetTransaction set(fs);
                ASSERT_TRUE(set.Lock(a, 0));
                ASSERT_TRUE(WriteMember(set, a, "new a") && WriteMember(set, b, "new b") &&
                            WriteMember(set, c, "new c"));
                EXPECT_EQ(ReadBytes(a), "old a"); // nothing in place before Commit
                committed = set.Commit();
                if (!committed) {
                    EXPECT_EQ(set.Error(), EIO);
                }
            }
            // A failed rename always fails the set; the links that only keep
            // a way back do not.
            if (call == test::FaultyFileSystem::kRename) {
                EXPECT_EQ(committed, failAt > 3);
            }
            EXPECT_EQ(ReadBytes(a), committed ? "new a" : "old a");
            EXPECT_EQ(ReadBytes(b), committed ? "new b" : "old b");
            const std::set<std::string> expected =
                committed ? std::set<std::string>{"a.fsp", "a.fsr", "a.uer"}
                          : std::set<std::string>{"a.fsp", "a.fsr"};
            EXPECT_EQ(Names(folder.Path()), expected);
            if (committed) {
                EXPECT_EQ(ReadBytes(c), "new c");
            }
        }
    }
}

#ifndef _WIN32
// The mode, the owner and the group of a replaced file stay; a file without
// write permission is not replaced, even by root.
TEST(FileSetTransactionTest, KeepsModeAndOwnerAndRefusesAReadOnlyTarget) {
    test::TempFolder folder;
    const std::string kept = folder.File("kept.fsr"), locked = folder.File("locked.fsr");
    WriteBytes(kept, "old");
    WriteBytes(locked, "old");
    std::filesystem::permissions(kept, std::filesystem::perms(0640));
    std::filesystem::permissions(locked, std::filesystem::perms(0444));
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(kept.c_str(), 1234, 5678), 0);
    }
    struct stat before {};
    ASSERT_EQ(stat(kept.c_str(), &before), 0);

    int error = 0;
    ASSERT_TRUE(WriteFileAtomically(kept, "new", error)) << error;
    struct stat after {};
    ASSERT_EQ(stat(kept.c_str(), &after), 0);
    EXPECT_EQ(ReadBytes(kept), "new");
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_NE(after.st_ino, before.st_ino); // replaced, not written over

    EXPECT_FALSE(WriteFileAtomically(locked, "new", error));
    EXPECT_EQ(error, EACCES);
    EXPECT_EQ(ReadBytes(locked), "old");
    EXPECT_EQ(Names(folder.Path()), (std::set<std::string>{"kept.fsr", "locked.fsr"}));
}
#else
// A read-only file is not replaced; a folder in a file's place and a device
// name are refused before anything is written.
TEST(FileSetTransactionTest, RefusesAReadOnlyTargetAFolderAndADevice) {
    test::TempFolder folder;
    const std::string locked = folder.File("locked.fsr"), kept = folder.File("kept.fsr");
    WriteBytes(locked, "old");
    WriteBytes(kept, "old");
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::group_read |
                                             std::filesystem::perms::others_read);
    int error = 0;
    EXPECT_FALSE(WriteFileAtomically(locked, "new", error));
    EXPECT_EQ(error, EACCES);
    EXPECT_EQ(ReadBytes(locked), "old");
    std::filesystem::create_directory(folder.File("in_the_way.fsr"));
    EXPECT_FALSE(WriteFileAtomically(folder.File("in_the_way.fsr"), "new", error));
    EXPECT_EQ(error, EISDIR);
    ASSERT_TRUE(WriteFileAtomically(kept, "new", error)) << error;
    EXPECT_EQ(ReadBytes(kept), "new");
    EXPECT_EQ(Names(folder.Path()),
              (std::set<std::string>{"in_the_way.fsr", "kept.fsr", "locked.fsr"}));
}
#endif

// A second save of the same project waits for the lock and then gives up;
// stale temporaries of the set's names go with the next locked save, other
// files stay.
TEST(FileSetTransactionTest, LocksTheProjectAndRemovesStaleTemporaries) {
    test::TempFolder folder;
    const std::string project = folder.File("p.fsp");
    WriteBytes(folder.File(".p.fsp.kelvane-AbC123"), "stale");
    WriteBytes(folder.File(".p.fsr.kelvane-zz9999"), "other name, same pattern");
    WriteBytes(folder.File(".p.fsp.kelvane-toolong"), "not ours");
    WriteBytes(folder.File("p.fsp.kelvane-AbC123"), "not hidden: not ours");
    {
        FileSetTransaction first, second;
        ASSERT_TRUE(first.Lock(project, 0));
        EXPECT_TRUE(std::filesystem::exists(folder.File(".p.fsp.lock")));
        EXPECT_FALSE(second.Lock(project, 1));
        EXPECT_EQ(second.Error(), EWOULDBLOCK);
        ASSERT_TRUE(WriteMember(first, project, "saved"));
        ASSERT_TRUE(first.Commit());
    }
    EXPECT_EQ(Names(folder.Path()),
              (std::set<std::string>{"p.fsp", ".p.fsr.kelvane-zz9999", ".p.fsp.kelvane-toolong",
                                     "p.fsp.kelvane-AbC123"}));
    auto third = std::make_unique<FileSetTransaction>();
    EXPECT_TRUE(third->Lock(project, 0)); // released with the first

    // A save that waits gets the lock the moment the other lets it go.
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        third.reset();
    });
    FileSetTransaction waiting;
    EXPECT_TRUE(waiting.Lock(project, 10)) << waiting.Error();
    releaser.join();
}

// Where a save puts its temporaries and lock: the target's own folder, in
// the system's forms of a path.
// Deferred, a commit still puts the set in place whole but flushes nothing
// and notes its files; FlushToDisk then flushes them, or says which failed.
TEST(FileSetTransactionTest, ADeferredCommitFlushesNothingAndNotesItsFiles) {
    test::TempFolder folder;
    const std::string a = folder.File("a.fsp"), b = folder.File("a.fsr");
    WriteBytes(b, "old");
    for (const bool deferred : {true, false}) {
        SCOPED_TRACE(deferred);
        DeferFlushes(deferred);
        test::FaultyFileSystem fs;
        {
            FileSetTransaction set(fs);
            ASSERT_TRUE(WriteMember(set, a, "new a") && WriteMember(set, b, "new b"));
            ASSERT_TRUE(set.Commit());
        }
        DeferFlushes(false);
        EXPECT_EQ(ReadBytes(a) + ReadBytes(b), "new anew b");
        // Undeferred: each member (and on POSIX their folder).
        if (deferred)
            EXPECT_EQ(fs.counts[test::FaultyFileSystem::kSync], 0);
        else
            EXPECT_GE(fs.counts[test::FaultyFileSystem::kSync], 2);
        const std::vector<std::string> noted = TakeDeferredFlushes();
        const std::vector<std::string> expected =
            deferred ? std::vector<std::string>{a, b} : std::vector<std::string>{};
        EXPECT_EQ(noted, expected);
        int error = -1;
        EXPECT_TRUE(FlushToDisk(noted, error));
        EXPECT_EQ(error, 0);
    }
    int error = 0;
    EXPECT_FALSE(FlushToDisk({a, folder.File("gone.fsp")}, error));
    EXPECT_EQ(error, ENOENT);
}

TEST(FileSetPathsTest, TheFolderAndNameOfAPathInTheSystemsForms) {
    struct Case {
        const char* path;
        const char* folder;
        const char* name;
    };
    const Case cases[] = {
        {"/p/demo.fsp", "/p", "demo.fsp"},
        {"/demo.fsp", "/", "demo.fsp"},
        {"demo.fsp", ".", "demo.fsp"},
    };
    const Case windowsCases[] = {
        {"C:\\p\\demo.fsp", "C:\\p", "demo.fsp"},
        {"C:\\demo.fsp", "C:\\", "demo.fsp"}, // not "C:", the drive's working folder
        {"C:demo.fsp", "C:", "demo.fsp"},
        {"\\\\server\\share\\demo.fsp", "\\\\server\\share", "demo.fsp"},
        {"C:/p\\q/demo.fsp", "C:/p\\q", "demo.fsp"},
        {"\\demo.fsp", "\\", "demo.fsp"},
    };
    std::vector<Case> checked(std::begin(cases), std::end(cases));
    if (test::kOnWindows)
        checked.insert(checked.end(), std::begin(windowsCases), std::end(windowsCases));
    for (const Case& c : checked) {
        EXPECT_EQ(FolderOfSystemPath(c.path), c.folder) << c.path;
        EXPECT_EQ(NameOfSystemPath(c.path), c.name) << c.path;
    }
    if (!test::kOnWindows)
        return;
    EXPECT_EQ(InFolder("C:\\", "a.fsp"), "C:\\a.fsp");
    EXPECT_EQ(InFolder("C:", "a.fsp"), "C:a.fsp");
    EXPECT_EQ(InFolder("C:\\p", "a.fsp"), "C:\\p\\a.fsp");
    // The second byte of CP932's ソ is a backslash that separates nothing.
    test::ScopedEnvironment codePage("KELVANE_CODEPAGE", "CP932");
    EXPECT_EQ(FolderOfSystemPath("C:\\\x83\x5C\\demo.fsp"), "C:\\\x83\x5C");
    EXPECT_EQ(NameOfSystemPath("C:\\p\\\x83\x5C.fsp"), "\x83\x5C.fsp");
}

} // namespace
} // namespace kelvane
