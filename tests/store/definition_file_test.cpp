#include "res/string_table.h"
#include "store/definition_file.h"
#include "store/project_file_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelvane {
namespace {

using test::CrLfLines;
using test::ProjectFixture;
using test::ReadBytes;
using test::WriteBytes;

class DefinitionFileTest : public ::testing::Test {
protected:
    void SetUp() override { SetResourceLanguage(ResourceLanguage::English); }

    std::string Value(const std::string& key) {
        std::string value;
        EXPECT_TRUE(project.definitions.GetValue(value, key)) << key;
        return value;
    }

    ProjectFixture project;
};

TEST_F(DefinitionFileTest, ClassifiesEveryKindOfLine) {
    ASSERT_TRUE(project.Load(CrLfLines({
        "KEY = 1",
        "A=B=C",
        "=5",
        "[]",
        "[abc",
        "[a]x=1",
        "A<B=1",
        "A<B=1>",
        "Q=<B>",
        "<T> and more",
        "; note",
        "; a=b",
        "",
    })));
    const DefinitionFile& table = project.definitions;
    ASSERT_EQ(table.DefinitionCount(), 5u);
    EXPECT_EQ(table.Definition(1).key, "KEY ");
    EXPECT_EQ(table.Definition(1).value, " 1");
    EXPECT_EQ(table.Definition(2).key, "A");
    EXPECT_EQ(table.Definition(2).value, "B=C");
    EXPECT_EQ(table.Definition(3).key, "");
    EXPECT_EQ(table.Definition(3).value, "5");
    EXPECT_EQ(table.Definition(4).key, "Q");
    EXPECT_EQ(table.Definition(4).value, "<B>");
    EXPECT_EQ(table.Definition(5).key, "; a");
    EXPECT_EQ(table.Definition(5).value, "b");
    EXPECT_EQ(table.Definition(3).section, 0u);
    EXPECT_EQ(table.Definition(4).section, 2u);

    ASSERT_EQ(table.SectionCount(), 2u);
    EXPECT_EQ(table.Section(1).name, "");
    EXPECT_EQ(table.Section(2).name, "a");

    ASSERT_EQ(table.TagCount(), 2u);
    EXPECT_EQ(table.Tag(0).text, "A<B=1>");
    EXPECT_EQ(table.Tag(1).text, "<T>");

    std::string value;
    EXPECT_FALSE(table.GetValue(value, "KEY"));
    EXPECT_EQ(project.settings.m_strLastError, "Data definition line KEY not found.");
}

TEST_F(DefinitionFileTest, WritesDefinitionsFirstThenTagsUnderTheirHeaders) {
    ASSERT_TRUE(project.Load(CrLfLines({"[A]", "X=1", "<T1>", "[B]", "Y=2"})));
    const std::string out = project.folder.File("out.fsp");
    ASSERT_TRUE(project.definitions.WriteDefinitionFile(out));
    EXPECT_EQ(ReadBytes(out), CrLfLines({"[A]", "X=1", "[B]", "Y=2", "[A]", "<T1>"}));

    // A tag from before the first header comes back under an empty header;
    // empty sections, ignored lines and text after "]" are not written.
    ASSERT_TRUE(project.Load(CrLfLines({"<T0>", "; comment", "[Empty]", "[S] trailing", "Z=3"})));
    ASSERT_TRUE(project.definitions.WriteDefinitionFile(out));
    EXPECT_EQ(ReadBytes(out), CrLfLines({"[S]", "Z=3", "[]", "<T0>"}));
}

TEST_F(DefinitionFileTest, AcceptsBothLineEndsAndWritesCrLf) {
    ASSERT_TRUE(project.Load("[S]\nA=1\r\nB=2\nC=x\ry\r\n<T>"));
    EXPECT_EQ(Value("A"), "1");
    EXPECT_EQ(Value("B"), "2");
    EXPECT_EQ(Value("C"), "x"); // a lone CR ends the value
    EXPECT_EQ(project.definitions.Serialize(), CrLfLines({"[S]", "A=1", "B=2", "C=x", "<T>"}));
}

TEST_F(DefinitionFileTest, SplitsLongLinesIntoChunksClassifiedAlone) {
    const size_t chunk = 16723; // the longest piece one line read returns
    // The first chunk is ignored text; the rest of the line starts a new one.
    ASSERT_TRUE(
        project.Load(std::string(chunk, 'x') + "K=v\r\n" + std::string(chunk - 1, 'y') + "L=w\n"));
    ASSERT_EQ(project.definitions.DefinitionCount(), 2u);
    EXPECT_EQ(Value("K"), "v");
    EXPECT_EQ(project.definitions.Definition(2).key, "");
    EXPECT_EQ(project.definitions.Definition(2).value, "w");

    // A line that fills a chunk exactly with its line end stays one line.
    const std::string tag = "<" + std::string(chunk - 3, 't') + ">";
    ASSERT_TRUE(project.Load(tag + "\r\nM=1\r\n"));
    ASSERT_EQ(project.definitions.TagCount(), 1u);
    EXPECT_EQ(project.definitions.Tag(0).text, tag);
    EXPECT_EQ(Value("M"), "1");
}

TEST_F(DefinitionFileTest, LengthLimitsHoldAtTheirBounds) {
    const std::string key79(79, 'k');
    const std::string value16639(16639, 'v');
    const std::string name79(79, 's');
    ASSERT_TRUE(project.Load(CrLfLines({"[" + name79 + "]", key79 + "=" + value16639})));
    EXPECT_EQ(Value(key79), value16639);
    EXPECT_EQ(project.definitions.Section(1).name, name79);

    struct Refused {
        std::string line;
        const char* message;
    };
    const Refused refused[] = {
        {"[" + std::string(80, 's') + "]", "Too long category name"},
        {std::string(80, 'k') + "=1", "Too long key name"},
        {"K=" + std::string(16640, 'v'), "Too long setting value"},
    };
    for (const Refused& one : refused) {
        EXPECT_FALSE(project.Load(CrLfLines({"[First]", "A=1", one.line, "B=2"})));
        EXPECT_EQ(project.settings.m_strLastError, one.message);
        // What came before the failing line stays in the table.
        EXPECT_EQ(Value("A"), "1");
        std::string value;
        EXPECT_FALSE(project.definitions.GetValue(value, "B"));
    }
}

TEST_F(DefinitionFileTest, CountLimitsHoldAtTheirBounds) {
    std::vector<std::string> lines;
    for (int i = 0; i < 399; ++i)
        lines.push_back("[S" + std::to_string(i) + "]");
    ASSERT_TRUE(project.Load(CrLfLines(lines)));
    EXPECT_EQ(project.definitions.SectionCount(), 399u);
    lines.push_back("[S399]");
    EXPECT_FALSE(project.Load(CrLfLines(lines)));
    EXPECT_EQ(project.settings.m_strLastError, "Too many categories");
    EXPECT_EQ(project.definitions.SectionCount(), 399u);

    lines.clear();
    for (int i = 0; i < 3999; ++i)
        lines.push_back("K" + std::to_string(i) + "=" + std::to_string(i));
    ASSERT_TRUE(project.Load(CrLfLines(lines)));
    EXPECT_EQ(Value("K3998"), "3998");
    lines.push_back("K3999=3999");
    EXPECT_FALSE(project.Load(CrLfLines(lines)));
    EXPECT_EQ(project.settings.m_strLastError, "Too many definitions");
    EXPECT_EQ(project.definitions.DefinitionCount(), 3999u);
}

TEST_F(DefinitionFileTest, LooksUpTheFirstOfEqualKeysAndNeverAdds) {
    ASSERT_TRUE(project.Load(CrLfLines({"[A]", "K=first", "[B]", "K=second", "k=lower"})));
    EXPECT_EQ(Value("K"), "first");
    EXPECT_EQ(Value("k"), "lower");
    EXPECT_TRUE(project.definitions.SetValue("changed", "K"));
    EXPECT_FALSE(project.definitions.SetValue("new", "MISSING"));
    EXPECT_EQ(project.settings.m_strLastError, "Data definition line MISSING not found.");
    EXPECT_EQ(project.definitions.Serialize(),
              CrLfLines({"[A]", "K=changed", "[B]", "K=second", "k=lower"}));
}

TEST_F(DefinitionFileTest, EmptyFileReadsAndWritesEmpty) {
    ASSERT_TRUE(project.Load(""));
    EXPECT_EQ(project.definitions.DefinitionCount(), 0u);
    const std::string out = project.folder.File("empty.fsp");
    ASSERT_TRUE(project.definitions.WriteDefinitionFile(out));
    EXPECT_EQ(ReadBytes(out), "");
}

TEST_F(DefinitionFileTest, UnreadableFileLeavesTheTableAsItWas) {
    ASSERT_TRUE(project.Load(CrLfLines({"A=1", "<T>"})));
    EXPECT_FALSE(project.definitions.ReadDefinitionFile(project.folder.File("missing.fsp")));
    EXPECT_EQ(project.settings.m_strLastError, "Can not read.");
    EXPECT_FALSE(project.definitions.ReadDefinitionFile(project.folder.Path()));
    EXPECT_EQ(Value("A"), "1");
    EXPECT_EQ(project.definitions.TagCount(), 1u);
}

TEST_F(DefinitionFileTest, FailedWriteKeepsThePreviousFile) {
    ASSERT_TRUE(project.Load(CrLfLines({"A=" + std::string(4000, 'a')})));
    const std::string target = project.folder.File("target.fsp");
    WriteBytes(target, "previous\r\n");

    bool written = true;
    {
        const test::ScopedFileSizeLimit limit(1000);
        written = project.definitions.WriteDefinitionFile(target);
    }

    EXPECT_FALSE(written);
    EXPECT_EQ(project.settings.m_strLastError, "Write failed");
    EXPECT_EQ(ReadBytes(target), "previous\r\n");
    // Nothing but the fixture's files is left in the folder.
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(project.folder.Path()))
        ++files;
    EXPECT_EQ(files, 2u);

    EXPECT_FALSE(project.definitions.WriteDefinitionFile(project.folder.File("no/such/dir.fsp")));
    EXPECT_EQ(project.settings.m_strLastError, "Write failed");
}

TEST_F(DefinitionFileTest, ReportsInJapaneseWhenAsked) {
    SetResourceLanguage(ResourceLanguage::Japanese);
    std::string value;
    EXPECT_FALSE(project.definitions.GetValue(value, "MPDFILE"));
    EXPECT_EQ(project.settings.m_strLastError, "データ定義行 MPDFILE が見つかりません。");
    SetResourceLanguage(ResourceLanguage::English);
}

} // namespace
} // namespace kelvane
