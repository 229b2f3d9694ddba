// SPDX-License-Identifier: MIT
#include "res/string_table.h"
#include "store/definition_file.h"
#include "store/project_file_fixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace kelvane {
namespace {

using test::CrLfLines;
using Lines = std::vector<std::string>;

class DefinitionFileTest : public ::testing::Test {
protected:
    void SetUp() override { SetResourceLanguage(ResourceLanguage::English); }
    std::string Written() const { return project.definitions.Serialize(); }

    test::ProjectFixture project;
};

TEST_F(DefinitionFileTest, ClassifiesEveryKindOfLine) {
    ASSERT_TRUE(
        project.Load(CrLfLines({"KEY = 1", "A=B=C", "=5", "[]", "[abc", "[a]x=1", "A<B=1", "A<B=1>",
                                "Q=<B>", "<T> and more", "x>y<z> end", "; note", "; a=b", ""})));
    EXPECT_EQ(project.definitions.SectionCount(), 2u);
    EXPECT_EQ(Written(), CrLfLines({"KEY = 1", "A=B=C", "=5", "[a]", "Q=<B>", "; a=b", "A<B=1>",
                                    "<T>", "x>y<z>"}));
}

TEST_F(DefinitionFileTest, WritesDefinitionsFirstThenTagsUnderTheirHeadersInCrLf) {
    KELVANE_SKIP_ON_WINDOWS("no per-process file size limit to make a write fail part-way");
    // Keys match by case; the first of equal keys is the one changed.
    ASSERT_TRUE(project.Load(CrLfLines({"[A]", "K=first", "<T1>", "[B]", "K=second", "k=lower"})));
    EXPECT_TRUE(project.definitions.SetValue("changed", "K"));
    EXPECT_FALSE(project.definitions.SetValue("new", "MISSING"));
    const std::string out = project.folder.File("out.fsp");
    const std::string written =
        CrLfLines({"[A]", "K=changed", "[B]", "K=second", "k=lower", "[A]", "<T1>"});
    ASSERT_TRUE(project.definitions.WriteDefinitionFile(out));
    EXPECT_EQ(test::ReadBytes(out), written);
    // A failed read keeps the table, a write failing part-way the previous file.
    EXPECT_FALSE(project.definitions.ReadDefinitionFile(project.folder.File("missing.fsp")));
    EXPECT_EQ(Written(), written);
    EXPECT_FALSE([&] {
        const test::ScopedFileSizeLimit limit(20);
        return project.definitions.WriteDefinitionFile(out);
    }());
    EXPECT_EQ(test::ReadBytes(out), written);
    // Each tag's header comes again after the definitions: 399 headers are
    // written and read back, 400 would not be read, so that write is refused.
    std::string tagged = CrLfLines({"[X]", "K=1"});
    for (int i = 0; i < 199; ++i)
        tagged += CrLfLines({"[S" + std::to_string(i) + "]", "K=1", "<T>"});
    const std::string fits = project.folder.File("fits.fsp");
    ASSERT_TRUE(project.Load(tagged));
    ASSERT_TRUE(project.definitions.WriteDefinitionFile(fits));
    EXPECT_TRUE(project.definitions.ReadDefinitionFile(fits));
    ASSERT_TRUE(project.Load(tagged + CrLfLines({"[Y]", "<T>"})));
    EXPECT_FALSE(project.definitions.WriteDefinitionFile(out));
    EXPECT_EQ(project.settings.m_strLastError, "Too many categories");
    EXPECT_EQ(test::ReadBytes(out), written);
    // A tag before any header comes back under an empty one; empty sections and
    // ignored lines are not written. Either line end is read; a lone CR ends a value.
    ASSERT_TRUE(project.Load("<T0>\n; comment\r\n[Empty]\n[S]\nA=1\r\nB=2\nC=x\ry\r\n<T>"));
    EXPECT_EQ(Written(), CrLfLines({"[S]", "A=1", "B=2", "C=x", "[]", "<T0>", "[S]", "<T>"}));
    ASSERT_TRUE(project.Load(""));
    EXPECT_EQ(Written(), "");
}

// An editor's UTF-8 byte-order mark is the file's own: the header behind it
// is read, and the mark is written back in front. A mark anywhere else, or
// only part of one, is text as before.
TEST_F(DefinitionFileTest, AByteOrderMarkIsKeptInFrontAndCostsNoLine) {
    const std::string mark = "\xEF\xBB\xBF";
    ASSERT_TRUE(project.Load(mark + CrLfLines({"[PROJECT]", "NAME=demo", "[X]", "A=1"})));
    EXPECT_EQ(project.definitions.SectionCount(), 2u);
    EXPECT_EQ(project.definitions.Section(1).name, "PROJECT");
    EXPECT_EQ(Written(), mark + CrLfLines({"[PROJECT]", "NAME=demo", "[X]", "A=1"}));
    DefinitionFile::Table kept = project.definitions.SaveTable();
    ASSERT_TRUE(project.Load(""));
    EXPECT_EQ(Written(), "");
    project.definitions.RestoreTable(std::move(kept));
    EXPECT_TRUE(Written().starts_with(mark + "[PROJECT]"));

    ASSERT_TRUE(project.Load(CrLfLines({"[A]", mark + "K=1", "\xEF\xBB[B]", "L=2"})));
    EXPECT_EQ(Written(), CrLfLines({"[A]", mark + "K=1", "L=2"}));

    // Written first (the line before it is not kept), a line that begins
    // with the mark's bytes gets a mark before it, so that the next read
    // keeps them in its key.
    ASSERT_TRUE(project.Load(CrLfLines({"note", mark + "K=1"})));
    const std::string written = Written();
    EXPECT_EQ(written, mark + CrLfLines({mark + "K=1"}));
    ASSERT_TRUE(project.Load(written));
    EXPECT_EQ(Written(), written);
}

TEST_F(DefinitionFileTest, LongLinesAndLimitsHoldAtTheirBounds) {
    // A line read returns at most 16723 characters, the rest of a longer line read on
    // its own; a tag that fills a chunk exactly with its line end stays one line.
    const size_t chunk = 16723;
    const std::string tag = "<" + std::string(chunk - 3, 't') + ">";
    ASSERT_TRUE(project.Load(std::string(chunk, 'x') + "K=v\r\n" + tag + "\r\n"));
    EXPECT_EQ(Written(), CrLfLines({"K=v", tag}));
    // At each limit the file is read whole; one over it is refused, and the
    // line after, which would be read on its own, is not.
    const Lines atLimit = {"[" + std::string(79, 's') + "]",
                           std::string(79, 'k') + "=" + std::string(16639, 'v')};
    Lines sections, definitions;
    for (int i = 0; i < 399; ++i)
        sections.insert(sections.end(), {"[S" + std::to_string(i) + "]", "K=" + std::to_string(i)});
    for (int i = 0; i < 3999; ++i)
        definitions.push_back("K" + std::to_string(i) + "=" + std::to_string(i));
    const struct {
        Lines lines;
        std::string over, after;
        const char* message;
    } refused[] = {
        {atLimit, "[" + std::string(80, 's') + "]", "B=2", "Too long category name"},
        {atLimit, std::string(80, 'k') + "=1", "B=2", "Too long key name"},
        {atLimit, "K=" + std::string(16640, 'v'), "B=2", "Too long setting value"},
        {sections, "[S399]", "B=2", "Too many categories"},
        {definitions, "K3999=1", "[Last]", "Too many definitions"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.message);
        const std::string fitting = CrLfLines(c.lines);
        ASSERT_TRUE(project.Load(fitting));
        EXPECT_EQ(Written(), fitting);
        EXPECT_FALSE(project.Load(fitting + CrLfLines({c.over, c.after})));
        EXPECT_EQ(project.settings.m_strLastError, c.message);
        EXPECT_EQ(Written(), fitting); // what came before the failing line stays
    }
}

// Values point into the text they were read from, or into the table's own
// copies: a table kept for an undo stays whole after another file is read
// and values are set, and a file of many pieces is written back byte for byte.
TEST_F(DefinitionFileTest, AKeptTableOutlivesTheTextItWasReadFrom) {
    Lines lines = {"[A]"};
    for (int i = 0; i < 300; ++i)
        lines.push_back("K" + std::to_string(i) + "=" + std::string(16000, char('a' + i % 26)));
    lines.push_back("<T>");
    const std::string big = CrLfLines(lines);
    ASSERT_TRUE(project.Load(big));
    const std::string out = project.folder.File("out.fsp");
    ASSERT_TRUE(project.definitions.WriteDefinitionFile(out));
    EXPECT_EQ(test::ReadBytes(out), big);

    ASSERT_TRUE(project.definitions.SetValue("set", "K1"));
    DefinitionFile::Table kept = project.definitions.SaveTable();
    const std::string keptText = Written();
    for (int i = 0; i < 50; ++i)
        ASSERT_TRUE(project.definitions.SetValue("again " + std::to_string(i), "K1"));
    ASSERT_TRUE(project.Load(CrLfLines({"K1=other"})));
    project.definitions.RestoreTable(std::move(kept));
    EXPECT_EQ(Written(), keptText);
    std::string value;
    ASSERT_TRUE(project.definitions.GetValue(value, "K1"));
    EXPECT_EQ(value, "set");
    ASSERT_TRUE(project.definitions.GetValue(value, "K299"));
    EXPECT_EQ(value, std::string(16000, char('a' + 299 % 26)));
}

// A project file that cannot be read is named with the reason; a FIFO in its
// place is refused at once (run apart, so that a regression cannot hang).
TEST_F(DefinitionFileTest, AnUnreadableFileSaysWhyAndAFifoDoesNotBlock) {
    DefinitionFile& definitions = project.definitions;
    const std::string& folder = project.folder.Path();
    EXPECT_FALSE(definitions.ReadDefinitionFile(folder));
    EXPECT_EQ(project.settings.m_strLastError,
              std::string("Can not read. ") + std::strerror(EISDIR) + ": " + folder);

    const std::string fifo = test::NotARegularFile(project.folder.File("fifo.fsp"));
    const std::optional<std::string> outcome = test::RunWithin(10, [&] {
        return std::to_string(definitions.ReadDefinitionFile(fifo)) + " " +
               project.settings.m_strLastError;
    });
    ASSERT_TRUE(outcome.has_value()) << "the read blocked";
    EXPECT_EQ(*outcome, "0 Can not read. Not a regular file: " + fifo);
}

} // namespace
} // namespace kelvane
