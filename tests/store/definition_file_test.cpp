#include "res/string_table.h"
#include "store/definition_file.h"
#include "store/project_file_fixture.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using test::CrLfLines;
using Lines = std::vector<std::string>;

class DefinitionFileTest : public ::testing::Test {
protected:
    void SetUp() override { SetResourceLanguage(ResourceLanguage::English); }

    // The whole table: "[name]" per section, then "section|key|value" per
    // definition and "section|text" per tag.
    Lines Table() const {
        const DefinitionFile& table = project.definitions;
        Lines all;
        for (uint32_t i = 1; i <= table.SectionCount(); ++i)
            all.push_back("[" + table.Section(i).name + "]");
        for (uint32_t i = 1; i <= table.DefinitionCount(); ++i) {
            const DefEntry& entry = table.Definition(i);
            all.push_back(std::to_string(entry.section) + "|" + entry.key + "|" + entry.value);
        }
        for (uint32_t i = 0; i < table.TagCount(); ++i)
            all.push_back(std::to_string(table.Tag(i).section) + "|" + table.Tag(i).text);
        return all;
    }

    test::ProjectFixture project;
};

TEST_F(DefinitionFileTest, ClassifiesEveryKindOfLineAndLooksUpWholeKeys) {
    ASSERT_TRUE(
        project.Load(CrLfLines({"KEY = 1", "A=B=C", "=5", "[]", "[abc", "[a]x=1", "A<B=1", "A<B=1>",
                                "Q=<B>", "<T> and more", "; note", "; a=b", ""})));
    EXPECT_EQ(Table(), (Lines{"[]", "[a]", "0|KEY | 1", "0|A|B=C", "0||5", "2|Q|<B>", "2|; a|b",
                              "2|A<B=1>", "2|<T>"}));
    std::string value;
    EXPECT_FALSE(project.definitions.GetValue(value, "KEY"));
    EXPECT_EQ(project.settings.m_strLastError, "Data definition line KEY not found.");

    // Keys match by case; the first of equal keys is the one changed.
    ASSERT_TRUE(project.Load(CrLfLines({"[A]", "K=first", "[B]", "K=second", "k=lower"})));
    EXPECT_TRUE(project.definitions.SetValue("changed", "K"));
    EXPECT_FALSE(project.definitions.SetValue("new", "MISSING"));
    EXPECT_EQ(project.settings.m_strLastError, "Data definition line MISSING not found.");
    EXPECT_EQ(project.definitions.Serialize(),
              CrLfLines({"[A]", "K=changed", "[B]", "K=second", "k=lower"}));
    SetResourceLanguage(ResourceLanguage::Japanese);
    EXPECT_FALSE(project.definitions.GetValue(value, "MPDFILE"));
    EXPECT_EQ(project.settings.m_strLastError, "データ定義行 MPDFILE が見つかりません。");
    SetResourceLanguage(ResourceLanguage::English);
}

TEST_F(DefinitionFileTest, WritesDefinitionsFirstThenTagsUnderTheirHeadersInCrLf) {
    ASSERT_TRUE(project.Load(CrLfLines({"[A]", "X=1", "<T1>", "[B]", "Y=2"})));
    const std::string out = project.folder.File("out.fsp");
    ASSERT_TRUE(project.definitions.WriteDefinitionFile(out));
    EXPECT_EQ(test::ReadBytes(out), CrLfLines({"[A]", "X=1", "[B]", "Y=2", "[A]", "<T1>"}));

    // A tag from before the first header comes back under an empty header;
    // empty sections, ignored lines and text after "]" are not written.
    ASSERT_TRUE(project.Load(CrLfLines({"<T0>", "; comment", "[Empty]", "[S] trailing", "Z=3"})));
    EXPECT_EQ(project.definitions.Serialize(), CrLfLines({"[S]", "Z=3", "[]", "<T0>"}));

    // Either line end is read; a lone CR ends a value.
    ASSERT_TRUE(project.Load("[S]\nA=1\r\nB=2\nC=x\ry\r\n<T>"));
    EXPECT_EQ(project.definitions.Serialize(), CrLfLines({"[S]", "A=1", "B=2", "C=x", "<T>"}));
    ASSERT_TRUE(project.Load(""));
    EXPECT_EQ(project.definitions.Serialize(), "");
}

TEST_F(DefinitionFileTest, LongLinesAndLimitsHoldAtTheirBounds) {
    // A line read returns at most 16723 characters; the rest of a longer line
    // is classified on its own, and a line that fills a chunk exactly with its
    // line end stays one line.
    const size_t chunk = 16723;
    ASSERT_TRUE(
        project.Load(std::string(chunk, 'x') + "K=v\r\n" + std::string(chunk - 1, 'y') + "L=w\n"));
    EXPECT_EQ(Table(), (Lines{"0|K|v", "0||w"}));
    const std::string tag = "<" + std::string(chunk - 3, 't') + ">";
    ASSERT_TRUE(project.Load(tag + "\r\nM=1\r\n"));
    EXPECT_EQ(Table(), (Lines{"0|M|1", "0|" + tag}));

    const std::string key79(79, 'k'), value16639(16639, 'v'), name79(79, 's');
    ASSERT_TRUE(project.Load(CrLfLines({"[" + name79 + "]", key79 + "=" + value16639})));
    EXPECT_EQ(Table(), (Lines{"[" + name79 + "]", "1|" + key79 + "|" + value16639}));

    // 399 sections and 3999 definitions fit; each list ends in a line that
    // must not be read once the one before it is refused.
    Lines sections, definitions;
    for (int i = 0; i < 400; ++i)
        sections.push_back("[S" + std::to_string(i) + "]");
    for (int i = 0; i < 4000; ++i)
        definitions.push_back("K" + std::to_string(i) + "=" + std::to_string(i));
    sections.push_back("B=2");
    definitions.push_back("[Last]");
    const struct {
        Lines lines;
        const char* message;
    } refused[] = {
        {{"[First]", "A=1", "[" + std::string(80, 's') + "]", "B=2"}, "Too long category name"},
        {{"[First]", "A=1", std::string(80, 'k') + "=1", "B=2"}, "Too long key name"},
        {{"[First]", "A=1", "K=" + std::string(16640, 'v'), "B=2"}, "Too long setting value"},
        {sections, "Too many categories"},
        {definitions, "Too many definitions"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.message);
        Lines fitting = c.lines;
        fitting.erase(fitting.end() - 2);
        ASSERT_TRUE(project.Load(CrLfLines(fitting)));
        EXPECT_FALSE(project.Load(CrLfLines(c.lines)));
        EXPECT_EQ(project.settings.m_strLastError, c.message);
        // What came before the failing line stays in the table, nothing after it.
        EXPECT_EQ(Table().size(), c.lines.size() - 2);
    }
}

TEST_F(DefinitionFileTest, FailedReadsAndWritesKeepTheTableAndThePreviousFile) {
    ASSERT_TRUE(project.Load(CrLfLines({"A=" + std::string(4000, 'a'), "<T>"})));
    const Lines before = Table();
    for (const std::string& path : {project.folder.File("missing.fsp"), project.folder.Path()}) {
        EXPECT_FALSE(project.definitions.ReadDefinitionFile(path));
        EXPECT_EQ(project.settings.m_strLastError, "Can not read.");
    }
    EXPECT_EQ(Table(), before);

    const std::string target = project.folder.File("target.fsp");
    test::WriteBytes(target, "previous\r\n");
    bool written = true;
    {
        const test::ScopedFileSizeLimit limit(1000);
        written = project.definitions.WriteDefinitionFile(target);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(project.settings.m_strLastError, "Write failed");
    EXPECT_EQ(test::ReadBytes(target), "previous\r\n");
}

} // namespace
} // namespace kelvane
