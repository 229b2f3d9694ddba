// SPDX-License-Identifier: MIT
#include "store/fsr_file.h"

#include "store/fsr_fixture.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using namespace test;

// Only this project's own UER file: its whole base name (in its folder, for
// a full path) and the UER extension, any case.
TEST(FsrReferencesTest, UerReferenceIsInSyncWhenItNamesTheProjectsOwnFile) {
    const struct {
        std::string record, name;
        uint8_t fullPath, inSync;
    } cases[] = {
        {NameReference("DEMO.Uer"), "DEMO.Uer", 0, 1},
        {NameReference("de.uer"), "de.uer", 0, 0}, // a stem that only starts the name
        {NameReference("demo2.uer"), "demo2.uer", 0, 0},
        {NameReference("demonstration.uer"), "demonstration.uer", 0, 0},
        {NameReference(".uer"), ".uer", 0, 0},
        {NameReference("dem"), "dem", 0, 0},
        {NameReference("demo.mcr"), "demo.mcr", 0, 0}, // a sibling of another kind
        {NameReference(std::string("demo.uer\0zz", 11)), "demo.uer", 0, 1},
        {NameReference("c:\\WORK\\Demo.UER"), "c:\\WORK\\Demo.UER", 1, 1},
        {NameReference("c:\\WORK\\Demo.xyz"), "c:\\WORK\\Demo.xyz", 1, 0},
        {NameReference("C:\\other\\demo.uer"), "C:\\other\\demo.uer", 1, 0},
        {NameReference("C:\\work\\sub\\demo.uer"), "C:\\work\\sub\\demo.uer", 1, 0},
        // A length field short of the data: no reference, the full-path flag left alone.
        {U32(1) + U32(7) + "demo.uer", "", 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        FsrFixture f;
        f.uer.m_bFullPath = f.uer.m_bInSync = 2;
        ASSERT_TRUE(f.Open(FsrBytes(0x130, {{17, c.record}})));
        EXPECT_EQ(f.uer.m_strName, c.name);
        EXPECT_EQ(f.uer.m_bFullPath, c.fullPath);
        EXPECT_EQ(f.uer.m_bInSync, c.inSync);
        EXPECT_EQ(f.fsr.Record(17).data, c.name.empty() ? "" : c.record);
    }
}

// An entry of the project reference list with `items` items, the first with
// the texts given; its values all differ, so that none can stand for another.
FsrReferenceEntry Entry(std::string name, uint32_t items, std::string first = "f",
                        std::string second = "s") {
    FsrReferenceEntry e{std::move(name), items, items + 1, {}};
    for (uint32_t i = 0; i < items; ++i)
        e.items.push_back({i == 0 ? first : "f", i + 2, i + 3, i + 4, i == 0 ? second : "s"});
    return e;
}

TEST(FsrReferencesTest, SaveAsRewritesProjectNamesAndNameReferences) {
    // The list fills the model to its limits, and what follows it is dropped.
    const std::string t259(259, 't');
    const std::vector<FsrReferenceEntry> entries = {
        Entry(t259, 20, t259, t259), Entry("C:\\work\\other.fsp", 20, ""), Entry("n", 0)};
    std::vector<FsrReferenceEntry> renamed = entries;
    for (FsrReferenceEntry& entry : renamed)
        entry.name = "D:\\new\\copy.fsp";
    for (const bool fullPath : {false, true}) {
        SCOPED_TRACE(fullPath);
        FsrFixture f;
        ASSERT_TRUE(f.Open(
            FsrBytes(0x130, {{1, "one"},
                             {3, ReferenceList(entries) + "ignored"},
                             {16, "not parsed"},
                             {17, NameReference(fullPath ? "C:\\work\\demo.uer" : "demo.uer")}})));
        ASSERT_EQ(f.uer.m_bInSync, 1);
        f.RenameTo("D:\\new");
        f.sbu.m_bInSync = fullPath; // decided by the file set
        f.sbu.m_bFullPath = 1;
        EXPECT_EQ(
            f.Save(),
            FsrWritten(0x130, {{1, "one"},
                               {3, ReferenceList(renamed)},
                               {16, fullPath ? NameReference("D:\\new\\copy.sbu") : "not parsed"},
                               {17, NameReference(fullPath ? "D:\\new\\copy.uer" : "copy.uer")}}));
    }
}

TEST(FsrReferencesTest, FrdListIsRebuiltOnlyWhenTheMpvFolderIsSetAndItFits) {
    const std::string p255 = "C:\\" + std::string(252, 'p');
    const struct {
        uint32_t version;
        bool mpvDir;
        std::string text, path;
        bool rebuilt;
        bool carried = false; // kept as read, and so offered for no edit
    } cases[] = {
        {0x130, true, "t1", p255, true},
        {0x200, true, "t1", "C:\\frd\\a.frd", true}, // values of 8 bytes
        {0x130, false, "t1", "C:\\frd\\a.frd", false},
        {0x10A, true, "t1", "C:\\frd\\a.frd", false}, // read, never rebuilt before 0x110
        {0x130, true, "t1", p255 + "q", false, true}, // beyond the model
        {0x130, true, std::string(256, 't'), "a.frd", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const unsigned width = c.version >= 0x200 ? 8 : 4;
        const uint64_t wide = width == 8 ? 0x100000000ull : 0;
        const std::vector<FrdEntry> items = {{1 + wide, 2, c.text, c.path, 3},
                                             {4, 5 + wide, "", "C:\\frd\\b.frd", 6},
                                             {7, 8, "t3", std::string("c.frd\0old", 9), 9}};
        const std::string record = FrdList(items, width, "end");
        FsrFixture f;
        f.settings.m_astrFrdFiles = f.settings.m_astrFrdNewFiles = {"stale.frd"};
        f.settings.m_szMpvDir[0] = c.mpvDir ? 'C' : '\0';
        ASSERT_TRUE(f.Open(FsrBytes(c.version, {{19, record}})));
        const std::vector<std::string> paths = {c.path, "C:\\frd\\b.frd", "c.frd"};
        EXPECT_EQ(f.settings.m_astrFrdFiles, c.carried ? std::vector<std::string>() : paths);
        EXPECT_EQ(f.settings.m_astrFrdNewFiles, f.settings.m_astrFrdFiles);

        // Paths not changed, or not given, go back with the bytes they had.
        f.settings.m_astrFrdNewFiles = {paths[0], "E:\\x\\b2.frd"};
        std::vector<FrdEntry> changed = items;
        changed[1].path = "E:\\x\\b2.frd";
        EXPECT_EQ(f.Save(),
                  FsrWritten(c.version, {{19, c.rebuilt ? FrdList(changed, width) : record}}));
    }
}

TEST(FsrReferencesTest, ReferenceListOutsideTheModelIsCarriedAsRead) {
    const std::string t260(260, 'b');
    const struct {
        uint32_t version;
        std::vector<FsrReferenceEntry> entries;
    } lists[] = {
        {0x130, {Entry("n", 0), Entry("n", 0), Entry("n", 0), Entry("n", 0)}},
        {0x130, {Entry("n", 21)}},
        {0x130, {Entry(t260, 1)}},
        {0x130, {Entry("n", 1, t260)}},
        {0x105, {Entry("n", 1)}}, // no list before 0x106
    };
    for (const auto& c : lists) {
        SCOPED_TRACE(&c - lists);
        FsrFixture f;
        ASSERT_TRUE(f.Open(FsrBytes(c.version, {{3, ReferenceList(c.entries)}})));
        f.RenameTo("D:\\new");
        EXPECT_EQ(f.Save(), FsrWritten(c.version, {{3, ReferenceList(c.entries)}}));
    }
}

TEST(FsrReferencesTest, RebuiltRecordOverTheLimitRefusesTheSave) {
    // The FRD list is rebuilt, changed, before the UER reference that is too large.
    const FsrRecords records = {{17, NameReference("C:\\work\\demo.uer")},
                                {19, FrdList({{1, 2, "", "a.frd", 3}}, 4)}};
    FsrFixture f;
    ASSERT_TRUE(f.Open(FsrBytes(0x130, records)));
    f.settings.m_astrFrdNewFiles = {"b.frd"};
    const auto resize = [&f](size_t size) { f.RenameTo("C:\\" + std::string(size - 20, 'd')); };
    const std::string previous = f.folder.File("previous.fsr");
    WriteBytes(previous, "previous bytes");

    resize(FsrFile::kMaxRecordSize + 1);
    EXPECT_FALSE(f.fsr.BuildFsrRecords());
    const std::string message = "Record 17 of the FSR file would be larger than 16384 bytes; the "
                                "FSR file was not written.";
    EXPECT_EQ(f.settings.m_strLastError, message);
    for (const auto& [id, data] : records) // nothing rebuilt halfway
        EXPECT_EQ(f.fsr.Record(id).data, data) << id;
    f.settings.m_strLastError.clear();
    EXPECT_FALSE(f.fsr.WriteFsrFile(previous));
    EXPECT_EQ(f.settings.m_strLastError, message);
    EXPECT_EQ(ReadBytes(previous), "previous bytes");

    // A build that fits lifts the refusal.
    resize(FsrFile::kMaxRecordSize);
    ASSERT_TRUE(f.fsr.BuildFsrRecords());
    EXPECT_EQ(f.fsr.Record(17).size, FsrFile::kMaxRecordSize);
    EXPECT_FALSE(f.Write().empty());
}

TEST(FsrReferencesTest, CutRecordContentsNeverFailTheRead) {
    const std::string list = ReferenceList(
        {{FsrFixture::kProject, 1, 2, {{"a", 3, 4, 5, "b"}}}, {FsrFixture::kProject, 6, 7, {}}});
    const std::string frd = FrdList({{1, 2, "t", "a.frd", 3}, {4, 5, "", "b.frd", 6}}, 4);
    const std::vector<std::string> paths = {"a.frd", "b.frd"}, none;
    for (const auto& [id, full] :
         {std::pair{3u, list}, std::pair{17u, NameReference("demo.uer")}, std::pair{19u, frd}}) {
        for (size_t length = 0; length <= full.size(); ++length) {
            SCOPED_TRACE(testing::Message() << id << " cut at " << length);
            const std::string cut = full.substr(0, length);
            FsrFixture f;
            ASSERT_TRUE(f.Open(FsrBytes(0x130, {{id, cut}})));
            // A cut list or reference is dropped, except the FRD list: that
            // one is carried, and needs no bytes behind its last item.
            std::string saved = length == full.size() ? full : "";
            if (id == 19) {
                const bool parsed = length >= full.size() - 4;
                EXPECT_EQ(f.settings.m_astrFrdFiles, parsed ? paths : none);
                saved = parsed ? full : cut;
            }
            EXPECT_EQ(f.Save(), FsrWritten(0x130, {{id, saved}}));
        }
    }
}

} // namespace
} // namespace kelvane
