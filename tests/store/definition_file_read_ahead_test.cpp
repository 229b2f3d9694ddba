// SPDX-License-Identifier: MIT
#include "res/string_ids.h"
#include "res/string_table.h"
#include "store/definition_file_read_ahead.h"
#include "store/project_file_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

namespace kelvane {
namespace {

using test::CrLfLines;

class DefinitionFileReadAheadTest : public ::testing::Test {
protected:
    void SetUp() override { SetResourceLanguage(ResourceLanguage::English); }

    // Reads `path` with a read-ahead of `aheadPath` that has finished.
    bool ReadWithReadAhead(
        const std::string& path, const std::string& aheadPath,
        const std::function<void()>& meanwhile = [] {}) {
        auto readAhead = std::make_unique<DefinitionFileReadAhead>(aheadPath);
        readAhead->Wait();
        meanwhile();
        project.definitions.SetReadAhead(std::move(readAhead));
        return project.definitions.ReadDefinitionFile(path);
    }
    std::string Value(const char* key) {
        std::string value;
        return project.definitions.GetValue(value, key) ? value : "(none)";
    }
    // Rewrites the file in place with bytes of the same length and puts its
    // modification time back: a change the read-ahead cannot see.
    static void RewriteUnseen(const std::string& path, const std::string& bytes) {
        const test::ModifyTime before = test::ModifyTimeOf(path);
        ASSERT_EQ(std::filesystem::file_size(path), bytes.size());
        test::WriteBytes(path, bytes);
        test::SetModifyTime(path, before);
    }

    test::ProjectFixture project;
    const std::string path = project.folder.File("demo.fsp");
};

TEST_F(DefinitionFileReadAheadTest, TakesTheTableOnlyForTheSameUnchangedFileAndOnce) {
    test::WriteBytes(path, CrLfLines({"[A]", "K=ahead", "<T>"}));
    const std::string expected = [&] {
        EXPECT_TRUE(project.definitions.ReadDefinitionFile(path));
        return project.definitions.Serialize();
    }();

    // The table read ahead is the one used: a change it cannot see shows.
    ASSERT_TRUE(ReadWithReadAhead(path, path, [&] {
        RewriteUnseen(path, CrLfLines({"[A]", "K=later", "<T>"}));
    }));
    EXPECT_EQ(Value("K"), "ahead");
    EXPECT_EQ(project.definitions.Serialize(), expected);
    // What the table was read from is remembered with it, so a save sees
    // the change the read-ahead could not.
    const FileSnapshot& read = project.settings.m_fileSet[FILE_FSP].m_opened;
    EXPECT_TRUE(read.exists);
    EXPECT_TRUE(ChangedSinceSnapshot(read, path, path));
    ASSERT_TRUE(ReadWithReadAhead(path, path));
    EXPECT_EQ(Value("K"), "later");
    EXPECT_FALSE(ChangedSinceSnapshot(read, path, path));
    // Used once: the next read is the file's own.
    ASSERT_TRUE(project.definitions.ReadDefinitionFile(path));
    EXPECT_EQ(Value("K"), "later");

    // Changed in place with a new modification time: read again.
    ASSERT_TRUE(ReadWithReadAhead(path, path, [&] {
        test::WriteBytes(path, CrLfLines({"[A]", "K=longer value"}));
    }));
    EXPECT_EQ(Value("K"), "longer value");

    // Another file put in its place, even with the same length and time
    // (Windows lets no program do that while the file is open here).
    if (!test::kOnWindows) {
        ASSERT_TRUE(ReadWithReadAhead(path, path, [&] {
            const test::ModifyTime before = test::ModifyTimeOf(path);
            const std::string other = project.folder.File("other.fsp");
            test::WriteBytes(other, CrLfLines({"[A]", "K=replaced___"}));
            test::SetModifyTime(other, before);
            std::filesystem::rename(other, path);
        }));
        EXPECT_EQ(Value("K"), "replaced___");
    }
    const std::string last = Value("K");

    // A read-ahead of another path is not taken.
    const std::string second = project.folder.File("second.fsp");
    test::WriteBytes(second, CrLfLines({"K=second"}));
    ASSERT_TRUE(ReadWithReadAhead(path, second));
    EXPECT_EQ(Value("K"), last);
}

TEST_F(DefinitionFileReadAheadTest, AFailedReadAheadLeavesTheReadToBeDoneAgain) {
    // Missing when read ahead, there when opened.
    ASSERT_TRUE(
        ReadWithReadAhead(path, path, [&] { test::WriteBytes(path, CrLfLines({"K=created"})); }));
    EXPECT_EQ(Value("K"), "created");

    // A file the table cannot take fails with the message of any read.
    std::string tooMany;
    for (uint32_t i = 0; i < DefinitionFile::kDefinitionSlots; ++i)
        tooMany += "K" + std::to_string(i) + "=1\r\n";
    test::WriteBytes(path, tooMany);
    EXPECT_FALSE(ReadWithReadAhead(path, path));
    EXPECT_EQ(project.settings.m_strLastError, LoadResourceString(IDS_TOO_MANY_DEFINITIONS));
}

} // namespace
} // namespace kelvane
