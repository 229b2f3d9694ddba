#include "store/fsr_file.h"

#include "store/fsr_fixture.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

using test::FrdEntry;
using test::FrdList;
using test::FsrBytes;
using test::FsrFixture;
using test::FsrWritten;
using test::NameReference;
using test::ReferenceList;
using test::U32;

TEST(FsrReferencesTest, UerReferenceIsInSyncWhenItsStemStartsTheProjectName) {
    const struct {
        std::string record, name;
        uint8_t fullPath, inSync;
    } cases[] = {
        {NameReference("demo.uer"), "demo.uer", 0, 1},
        {NameReference("de.uer"), "de.uer", 0, 1},
        {NameReference("demonstration.uer"), "demonstration.uer", 0, 0},
        {NameReference("dem"), "dem", 0, 0}, // under four characters: compared whole
        {NameReference(std::string("demo.uer\0zz", 11)), "demo.uer", 0, 1},
        {NameReference("C:\\work\\demo.uer"), "C:\\work\\demo.uer", 1, 1},
        {NameReference("c:\\WORK\\Demo.xyz"), "c:\\WORK\\Demo.xyz", 1, 1},
        {NameReference("C:\\other\\demo.uer"), "C:\\other\\demo.uer", 1, 0},
        // A length field that is not the size minus 8, or too short: no reference,
        // and the full-path flag (2 here) is left alone.
        {U32(1) + U32(9) + "demo.uer", "", 2, 0},
        {U32(1) + U32(7) + "demo.uer", "", 2, 0},
        {std::string("\1\0\0\0\0\0\0", 7), "", 2, 0},
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
    FsrFixture f;
    f.settings.m_strProjectBaseName = "DEM";
    ASSERT_TRUE(f.Open(FsrBytes(0x130, {{17, NameReference("dem")}})));
    EXPECT_EQ(f.uer.m_bInSync, 1);
}

TEST(FsrReferencesTest, SaveAsRewritesProjectNamesAndNameReferences) {
    const std::vector<FsrReferenceEntry> entries = {
        {"C:\\work\\demo.fsp", 1, 2, {{"first", 3, 4, 5, "second"}, {"", 6, 7, 8, "x"}}},
        {"C:\\work\\other.fsp", 9, 10, {}}};
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
        f.settings.m_strProjectDir = "D:\\new";
        for (const ProjectFileKind kind : {FILE_FSP, FILE_UER, FILE_SBU})
            f.settings.m_fileSet[kind].m_strNewName =
                std::string("copy") + ProjectFileExtension(kind);
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
        unsigned width;
        bool mpvDir;
        std::string text, path;
        bool rebuilt;
    } cases[] = {
        {0x130, 4, true, "t1", p255, true},
        {0x200, 8, true, "t1", "C:\\frd\\a.frd", true},
        {0x130, 4, false, "t1", "C:\\frd\\a.frd", false},
        {0x10A, 4, true, "t1", "C:\\frd\\a.frd", false}, // read, never rebuilt before 0x110
        {0x130, 4, true, "t1", p255 + "q", false},       // beyond the model: carried
        {0x130, 4, true, std::string(256, 't'), "a.frd", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        const uint64_t wide = c.width == 8 ? 0x100000000ull : 0;
        const std::vector<FrdEntry> items = {{1 + wide, 2, c.text, c.path, 3},
                                             {4, 5 + wide, "", "C:\\frd\\b.frd", 6},
                                             {7, 8, "t3", std::string("c.frd\0old", 9), 9}};
        const std::string record = FrdList(items, c.width, "end");
        FsrFixture f;
        f.settings.m_astrFrdFiles = f.settings.m_astrFrdNewFiles = {"stale.frd"};
        if (!c.mpvDir)
            f.settings.m_szMpvDir[0] = '\0';
        ASSERT_TRUE(f.Open(FsrBytes(c.version, {{19, record}})));
        const std::vector<std::string> paths = {c.path, "C:\\frd\\b.frd", "c.frd"};
        EXPECT_EQ(f.settings.m_astrFrdFiles, paths);
        ASSERT_EQ(f.settings.m_astrFrdNewFiles, paths);

        // Paths not changed, or not given, go back with the bytes they had.
        f.settings.m_astrFrdNewFiles = {paths[0], "E:\\x\\b2.frd"};
        std::vector<FrdEntry> changed = items;
        changed[1].path = "E:\\x\\b2.frd";
        EXPECT_EQ(f.Save(),
                  FsrWritten(c.version, {{19, c.rebuilt ? FrdList(changed, c.width) : record}}));
    }
}

TEST(FsrReferencesTest, ReferenceListOutsideTheModelIsCarriedAsRead) {
    const std::string t259(259, 'a'), t260(260, 'b');
    const auto entry = [](std::string name, size_t items, std::string first = "",
                          std::string second = "") {
        FsrReferenceEntry e{std::move(name), 1, 2, {}};
        for (size_t i = 0; i < items; ++i)
            e.items.push_back({i == 0 ? first : "f", uint32_t(i), 0, 0, i == 0 ? second : "s"});
        return e;
    };
    const struct {
        uint32_t version;
        std::vector<FsrReferenceEntry> entries;
        bool carried;
    } lists[] = {
        {0x130,
         {entry(t259, 20, t259, t259), entry("n", 20), entry("n", 1)},
         false}, // at the limits
        {0x130, {entry("n", 0), entry("n", 0), entry("n", 0), entry("n", 0)}, true},
        {0x130, {entry("n", 21)}, true},
        {0x130, {entry(t260, 1)}, true},
        {0x130, {entry("n", 1, t260)}, true},
        {0x130, {entry("n", 1, "", t260)}, true},
        {0x105, {entry("n", 1)}, true}, // no list before 0x106
    };
    for (const auto& c : lists) {
        SCOPED_TRACE(&c - lists);
        FsrFixture f;
        ASSERT_TRUE(f.Open(FsrBytes(c.version, {{3, ReferenceList(c.entries)}})));
        f.settings.m_fileSet[FILE_FSP].m_strNewName = "copy.fsp";
        std::vector<FsrReferenceEntry> renamed = c.entries;
        for (FsrReferenceEntry& e : renamed)
            e.name = "C:\\work\\copy.fsp";
        ASSERT_TRUE(f.fsr.BuildFsrRecords());
        EXPECT_EQ(f.fsr.Record(3).data, ReferenceList(c.carried ? c.entries : renamed));
    }
}

TEST(FsrReferencesTest, RebuiltRecordOverTheLimitRefusesTheSave) {
    std::vector<FrdEntry> items;
    for (uint32_t i = 0; i < 60; ++i)
        items.push_back({i, i, "", std::string(200, char('a' + i % 26)), i});
    const std::string frd = FrdList(items, 4);
    const std::string refs = ReferenceList({{FsrFixture::kProject, 1, 2, {}}});
    // Makes rebuilt record `id` `size` bytes long through the FRD paths or the
    // project folder (a name reference adds 17 bytes to it, the list 29).
    const auto resize = [](FsrFixture& f, uint32_t id, size_t size) {
        std::vector<std::string>& paths = f.settings.m_astrFrdNewFiles;
        if (id == 19) {
            paths.assign(60, std::string(255, 'z'));
            paths.back().resize(size - 8 - 60 * 20 - 59 * 255);
        } else {
            f.settings.m_strProjectDir = "C:\\" + std::string(size - (id == 17 ? 20 : 32), 'd');
        }
    };
    const struct {
        uint32_t id;
        test::FsrRecords records;
    } cases[] = {
        {17, {{17, NameReference("C:\\work\\demo.uer")}, {19, frd}}},
        {19, {{3, refs}, {17, NameReference("demo.uer")}, {19, frd}}},
        {3, {{3, refs}, {17, NameReference("demo.uer")}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const std::string source = FsrBytes(0x130, c.records);
        FsrFixture f;
        ASSERT_TRUE(f.Open(source));
        f.settings.m_fileSet[FILE_FSP].m_strNewName = "copy.fsp";
        f.uer.m_strNewName = "copy.uer";
        const std::string previous = f.folder.File("previous.fsr");
        test::WriteBytes(previous, "previous bytes");

        resize(f, c.id, FsrFile::kMaxRecordSize + 1);
        EXPECT_FALSE(f.fsr.BuildFsrRecords());
        const std::string message = "Record " + std::to_string(c.id) +
                                    " of the FSR file would be larger than 16384 bytes; the FSR "
                                    "file was not written.";
        EXPECT_EQ(f.settings.m_strLastError, message);
        for (const auto& [id, data] : c.records) // nothing rebuilt halfway
            EXPECT_EQ(f.fsr.Record(id).data, data) << id;
        f.settings.m_strLastError.clear();
        EXPECT_FALSE(f.fsr.WriteFsrFile(previous));
        EXPECT_EQ(f.settings.m_strLastError, message);
        EXPECT_EQ(test::ReadBytes(previous), "previous bytes");

        // A build that fits lifts the refusal, and so does reading the file again.
        resize(f, c.id, FsrFile::kMaxRecordSize);
        ASSERT_TRUE(f.fsr.BuildFsrRecords());
        EXPECT_EQ(f.fsr.Record(c.id).size, FsrFile::kMaxRecordSize);
        EXPECT_FALSE(f.Write().empty());
        resize(f, c.id, FsrFile::kMaxRecordSize + 1);
        ASSERT_FALSE(f.fsr.BuildFsrRecords());
        ASSERT_TRUE(f.Open(source));
        EXPECT_EQ(f.Write(), FsrWritten(0x130, c.records));
    }
}

TEST(FsrReferencesTest, CutOrAbsurdRecordContentsNeverFailTheRead) {
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

    // Counts and lengths far beyond the record.
    const std::string absurd[] = {
        U32(0xFFFFFFFF),
        U32(1) + U32(0xFFFFFFF0) + "name",
        U32(2) + U32(1) + "n" + U32(1) + U32(2) + U32(0xFFFFFFFF),
    };
    for (const std::string& record : absurd) {
        SCOPED_TRACE(record.size());
        const std::string frdRecord = U32(0xFFFFFFFF) + U32(0) + record;
        FsrFixture f;
        ASSERT_TRUE(f.Open(FsrBytes(
            0x130, {{3, record}, {17, U32(1) + U32(0xFFFFFFFF) + "demo.uer"}, {19, frdRecord}})));
        EXPECT_TRUE(f.settings.m_astrFrdFiles.empty());
        EXPECT_EQ(f.Save(), FsrWritten(0x130, {{19, frdRecord}}));
    }
}

} // namespace
} // namespace kelvane
