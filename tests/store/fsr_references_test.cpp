#include "store/fsr_file.h"

#include "store/fsr_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>

namespace kelvane {
namespace {

using test::FrdEntry;
using test::FrdList;
using test::FsrFixture;
using test::FsrImage;
using test::kFsrWriteOrder;
using test::NameReference;
using test::ReadBytes;
using test::RefEntry;
using test::ReferenceList;
using test::WriteBytes;

const char kProject[] = "C:\\work\\demo.fsp";

bool OpenAs(FsrFixture& f, const FsrImage& image, std::string_view projectPath = kProject) {
    return f.Read(image.Bytes()) && f.fsr.CheckFsrReferences(projectPath);
}

std::vector<std::string> PathsOf(const std::vector<FrdEntry>& items) {
    std::vector<std::string> paths;
    for (const FrdEntry& item : items)
        paths.push_back(item.path);
    return paths;
}

TEST(FsrReferencesTest, UerReferenceIsInSyncWhenItsStemStartsTheProjectName) {
    const struct {
        std::string record; // record 17
        std::string name;
        uint8_t fullPath, inSync;
    } valid[] = {
        {NameReference("demo.uer"), "demo.uer", 0, 1},
        {NameReference("DEMO.UER"), "DEMO.UER", 0, 1},
        {NameReference("demo2.uer"), "demo2.uer", 0, 0},
        {NameReference("de.uer"), "de.uer", 0, 1},
        {NameReference(".uer"), ".uer", 0, 1},
        {NameReference("abcd"), "abcd", 0, 1},
        {NameReference("demonstration.uer"), "demonstration.uer", 0, 0},
        {NameReference("dem"), "dem", 0, 0},
        {NameReference("demo.uer", 7), "demo.uer", 0, 1}, // the kind is not checked
        {NameReference(std::string("demo.uer\0zz", 11)), "demo.uer", 0, 1},
        {NameReference(std::string("de\0mo.uer", 9)), "de", 0, 0},
        {NameReference("C:\\work\\demo.uer"), "C:\\work\\demo.uer", 1, 1},
        {NameReference("c:\\WORK\\Demo.xyz"), "c:\\WORK\\Demo.xyz", 1, 1},
        {NameReference("C:\\work\\de.uer"), "C:\\work\\de.uer", 1, 1},
        {NameReference("C:\\other\\demo.uer"), "C:\\other\\demo.uer", 1, 0},
    };
    for (const auto& c : valid) {
        SCOPED_TRACE(c.name);
        FsrFixture f;
        ProjectFileEntry& uer = f.settings.m_fileSet[FILE_UER];
        uer.m_bFullPath = !c.fullPath;
        uer.m_bInSync = !c.inSync;
        ASSERT_TRUE(OpenAs(f, FsrImage(0x130).Set(17, c.record)));
        EXPECT_EQ(uer.m_strName, c.name);
        EXPECT_EQ(uer.m_bFullPath, c.fullPath);
        EXPECT_EQ(uer.m_bInSync, c.inSync);
        EXPECT_EQ(f.fsr.Record(17).data, c.record);
    }
    {
        // A name of under four characters is compared whole.
        FsrFixture f;
        f.settings.m_strProjectBaseName = "DEM";
        ASSERT_TRUE(OpenAs(f, FsrImage(0x130).Set(17, NameReference("dem"))));
        EXPECT_EQ(f.settings.m_fileSet[FILE_UER].m_bInSync, 1);
    }

    // Absent, or a length field that is not the size minus 8: no reference.
    const struct {
        uint32_t version;
        std::string record;
    } invalid[] = {{0x130, NameReference("demo.uer", 1, 9)},
                   {0x130, NameReference("demo.uer", 1, 7)},
                   {0x130, std::string("\1\0\0\0\0\0\0", 7)},
                   {0x130, ""},
                   {0x106, NameReference("demo.uer")}};
    for (const auto& c : invalid) {
        SCOPED_TRACE(testing::Message() << std::hex << c.version << " " << c.record.size());
        FsrFixture f;
        ProjectFileEntry& uer = f.settings.m_fileSet[FILE_UER];
        uer.m_bFullPath = 1;
        uer.m_bInSync = 1;
        ASSERT_TRUE(OpenAs(f, FsrImage(c.version).Set(1, "one").Set(17, c.record)));
        EXPECT_EQ(uer.m_strName, "");
        EXPECT_EQ(uer.m_bInSync, 0);
        EXPECT_EQ(uer.m_bFullPath, 1);
        EXPECT_EQ(f.fsr.Record(17).size, 0u);
        EXPECT_EQ(f.Save(), FsrImage(c.version).Set(1, "one").Order(kFsrWriteOrder).Bytes());
    }
}

TEST(FsrReferencesTest, SaveAsRewritesProjectNamesAndNameReferences) {
    const std::vector<RefEntry> entries = {
        {"C:\\work\\demo.fsp", 1, 2, {{"first", 3, 4, 5, "second"}, {"", 6, 7, 8, "x"}}},
        {"C:\\work\\other.fsp", 9, 10, {}}};
    std::vector<RefEntry> renamed = entries;
    for (RefEntry& entry : renamed)
        entry.name = "D:\\new\\copy.fsp";

    for (const bool uerFullPath : {false, true}) {
        SCOPED_TRACE(uerFullPath);
        FsrImage source(0x130);
        source.Set(1, "one").Set(3, ReferenceList(entries) + "ignored");
        source.Set(16, "not parsed")
            .Set(17, NameReference(uerFullPath ? "C:\\work\\demo.uer" : "demo.uer"));
        FsrFixture f;
        ASSERT_TRUE(OpenAs(f, source));
        ASSERT_EQ(f.fsr.ReferenceEntries().size(), 2u);
        EXPECT_EQ(f.fsr.ReferenceEntries()[1].name, "C:\\work\\other.fsp");
        EXPECT_EQ(f.fsr.ReferenceEntries()[0].items[1].e, 8u);
        ASSERT_EQ(f.settings.m_fileSet[FILE_UER].m_bInSync, 1);

        f.settings.m_strProjectDir = "D:\\new";
        f.settings.m_fileSet[FILE_FSP].m_strNewName = "copy.fsp";
        f.settings.m_fileSet[FILE_UER].m_strNewName = "copy.uer";
        f.settings.m_fileSet[FILE_SBU].m_strNewName = "copy.sbu";
        f.settings.m_fileSet[FILE_SBU].m_bInSync = uerFullPath; // decided by the file set
        f.settings.m_fileSet[FILE_SBU].m_bFullPath = 1;

        FsrImage expected(0x130);
        expected.Set(1, "one").Set(3, ReferenceList(renamed));
        expected.Set(16, uerFullPath ? NameReference("D:\\new\\copy.sbu") : "not parsed");
        expected.Set(17, NameReference(uerFullPath ? "D:\\new\\copy.uer" : "copy.uer"));
        EXPECT_EQ(f.Save(), expected.Order(kFsrWriteOrder).Bytes());
    }

    // Records that are not rebuilt go back as read: no list before 0x106, a
    // broken list, and a reference the version has no record for.
    const struct {
        uint32_t version;
        std::string list, saved;
    } lists[] = {
        {0x105, "abc", "abc"},
        {0x105, ReferenceList(entries), ReferenceList(entries)},
        {0x106, ReferenceList(2, {entries[0]}), ""},
        {0x130, ReferenceList(entries).substr(0, 30), ""},
        {0x130, "abc", ""},
        {0x106, ReferenceList({}), ReferenceList({})},
    };
    for (const auto& c : lists) {
        SCOPED_TRACE(testing::Message() << std::hex << c.version << " " << c.list.size());
        FsrFixture f;
        ASSERT_TRUE(OpenAs(f, FsrImage(c.version).Set(3, c.list)));
        f.settings.m_fileSet[FILE_FSP].m_strNewName = "copy.fsp";
        f.settings.m_fileSet[FILE_UER].m_bInSync = 1;
        f.settings.m_fileSet[FILE_SBU].m_bInSync = 1;
        FsrImage expected(c.version);
        expected.Set(3, c.saved);
        if (c.version >= 0x107)
            expected.Set(17, NameReference(f.settings.m_fileSet[FILE_UER].m_strNewName));
        if (c.version >= 0x106)
            expected.Set(16, NameReference(f.settings.m_fileSet[FILE_SBU].m_strNewName));
        EXPECT_EQ(f.Save(), expected.Order(kFsrWriteOrder).Bytes());
    }
}

TEST(FsrReferencesTest, FrdListIsRebuiltOnlyWhenTheMpvFolderIsSet) {
    for (const auto& [version, width] : {std::pair{0x130u, 4u}, std::pair{0x200u, 8u}}) {
        SCOPED_TRACE(width);
        const uint64_t wide = width == 8 ? 0x100000000ull : 0;
        const std::vector<FrdEntry> items = {{1 + wide, 2, "t1", "C:\\frd\\a.frd", 3},
                                             {4, 5 + wide, "", "C:\\frd\\b.frd", 6},
                                             {7, 8, "t3", "c.frd", 9}};
        const FsrImage source =
            FsrImage(version).Set(1, "one").Set(19, FrdList(items, width, "end"));
        FsrFixture f;
        ASSERT_TRUE(OpenAs(f, source));
        EXPECT_EQ(f.settings.m_astrFrdFiles, PathsOf(items));
        ASSERT_EQ(f.settings.m_astrFrdNewFiles, PathsOf(items));
        EXPECT_FALSE(f.fsr.IsCarriedAsRead(19));

        f.settings.m_astrFrdNewFiles[1] = "E:\\x\\b2.frd";
        f.fsr.BuildFsrRecords();
        EXPECT_EQ(f.fsr.Record(19).data, FrdList(items, width, "end")); // no MPV folder
        std::snprintf(f.settings.m_szMpvDir, sizeof f.settings.m_szMpvDir, "C:\\mpv");
        std::vector<FrdEntry> changed = items;
        changed[1].path = "E:\\x\\b2.frd";
        EXPECT_EQ(f.Save(), FsrImage(version)
                                .Set(1, "one")
                                .Set(19, FrdList(changed, width))
                                .Order(kFsrWriteOrder)
                                .Bytes());

        // Fewer new paths than items: the others keep their paths.
        FsrFixture g;
        ASSERT_TRUE(OpenAs(g, source));
        std::snprintf(g.settings.m_szMpvDir, sizeof g.settings.m_szMpvDir, "C:\\mpv");
        g.settings.m_astrFrdNewFiles = {"E:\\y.frd"};
        ASSERT_TRUE(g.fsr.BuildFsrRecords());
        changed = items;
        changed[0].path = "E:\\y.frd";
        EXPECT_EQ(g.fsr.Record(19).data, FrdList(changed, width));
    }

    // Parsed but never rebuilt before 0x110; nothing parsed at 8 bytes or less.
    const std::string list = FrdList({{1, 2, "t", "a.frd", 3}}, 4);
    const struct {
        uint32_t version;
        std::string record;
        std::vector<std::string> paths;
    } kept[] = {{0x10A, list, {"a.frd"}},
                {0x130, test::U32(1) + test::U32(0), {}},
                {0x130, test::U32(0) + "abcd", {}}};
    for (const auto& c : kept) {
        SCOPED_TRACE(c.record.size());
        FsrFixture f;
        f.settings.m_astrFrdFiles = f.settings.m_astrFrdNewFiles = {"stale.frd"};
        ASSERT_TRUE(OpenAs(f, FsrImage(c.version).Set(19, c.record)));
        EXPECT_EQ(f.settings.m_astrFrdFiles, c.paths);
        EXPECT_EQ(f.settings.m_astrFrdNewFiles, c.paths);
        std::snprintf(f.settings.m_szMpvDir, sizeof f.settings.m_szMpvDir, "C:\\mpv");
        f.settings.m_astrFrdNewFiles = {"E:\\other.frd"};
        EXPECT_EQ(f.Save(), FsrImage(c.version).Set(19, c.record).Order(kFsrWriteOrder).Bytes());
    }
}

TEST(FsrReferencesTest, RecordsBeyondTheModelAreCarriedAsRead) {
    const std::string t259(259, 'a'), t260(260, 'b');
    const auto entry = [](std::string name, size_t items, std::string first, std::string second) {
        RefEntry e{std::move(name), 1, 2, {}};
        for (size_t i = 0; i < items; ++i)
            e.items.push_back({i == 0 ? first : "f", uint32_t(i), 0, 0, i == 0 ? second : "s"});
        return e;
    };
    const struct {
        const char* label;
        std::vector<RefEntry> entries;
        bool carried;
    } lists[] = {
        {"at the limits",
         {entry(t259, 20, t259, t259), entry("n", 20, "", ""), entry("n", 1, "", "")},
         false},
        {"4 entries",
         {entry("n", 0, "", ""), entry("n", 0, "", ""), entry("n", 0, "", ""),
          entry("n", 0, "", "")},
         true},
        {"21 items", {entry("n", 21, "", "")}, true},
        {"long name", {entry(t260, 1, "", "")}, true},
        {"long first text", {entry("n", 1, t260, "")}, true},
        {"long second text", {entry("n", 1, "", t260)}, true},
    };
    for (const auto& c : lists) {
        SCOPED_TRACE(c.label);
        FsrFixture f;
        ASSERT_TRUE(OpenAs(f, FsrImage(0x130).Set(3, ReferenceList(c.entries))));
        EXPECT_EQ(f.fsr.IsCarriedAsRead(3), c.carried);
        f.settings.m_fileSet[FILE_FSP].m_strNewName = "copy.fsp";
        std::vector<RefEntry> renamed = c.entries;
        for (RefEntry& e : renamed)
            e.name = f.folder.File("copy.fsp");
        ASSERT_TRUE(f.fsr.BuildFsrRecords());
        EXPECT_EQ(f.fsr.Record(3).data, ReferenceList(c.carried ? c.entries : renamed));
    }

    const std::string p255 = "C:\\" + std::string(252, 'p'), p256 = p255 + "q";
    const std::string full = FrdList({{1, 2, "t", "a.frd", 3}, {4, 5, "u", "b.frd", 6}}, 4);
    const struct {
        const char* label;
        std::string record;
        bool carried;
        std::optional<std::vector<std::string>> paths;
    } frd[] = {
        {"path of 255", FrdList({{1, 2, "t", p255, 3}}, 4), false, {{p255}}},
        {"path of 256", FrdList({{1, 2, "t", p256, 3}}, 4), true, std::nullopt},
        {"text of 256", FrdList({{1, 2, std::string(256, 't'), "a.frd", 3}}, 4), true,
         std::nullopt},
        // A list that cannot be followed yields no paths.
        {"runs past the record", full.substr(0, full.size() - 7), true, {{}}},
        {"count too high", test::U32(3) + full.substr(4), true, {{}}},
    };
    for (const auto& c : frd) {
        SCOPED_TRACE(c.label);
        FsrFixture f;
        ASSERT_TRUE(OpenAs(f, FsrImage(0x130).Set(19, c.record)));
        EXPECT_EQ(f.fsr.IsCarriedAsRead(19), c.carried);
        if (c.paths) {
            EXPECT_EQ(f.settings.m_astrFrdFiles, *c.paths);
        }
        std::snprintf(f.settings.m_szMpvDir, sizeof f.settings.m_szMpvDir, "C:\\mpv");
        f.settings.m_astrFrdNewFiles = {"E:\\new.frd"};
        ASSERT_TRUE(f.fsr.BuildFsrRecords());
        if (c.carried)
            EXPECT_EQ(f.fsr.Record(19).data, c.record);
        else
            EXPECT_EQ(f.fsr.Record(19).data, FrdList({{1, 2, "t", "E:\\new.frd", 3}}, 4));
    }
}

TEST(FsrReferencesTest, RebuiltRecordOverTheLimitRefusesTheSave) {
    std::vector<FrdEntry> items;
    for (uint32_t i = 0; i < 60; ++i)
        items.push_back({i, i, "", std::string(200, char('a' + i % 26)), i});
    std::vector<FrdEntry> changed = items;
    changed[0].path = "E:\\changed.frd";
    const std::vector<std::string> tooLong(60, std::string(255, 'z'));
    const std::string longDir(16376, 'd');
    const struct {
        uint32_t tooLarge;
        std::map<uint32_t, std::string> records;
        std::string dir;
        std::vector<std::string> paths;
    } cases[] = {
        {17,
         {{17, NameReference("C:\\work\\demo.uer")}, {19, FrdList(items, 4)}},
         longDir,
         PathsOf(changed)},
        {19,
         {{3, ReferenceList({{kProject, 1, 2, {}}})},
          {17, NameReference("demo.uer")},
          {19, FrdList(items, 4)}},
         "C:\\new",
         tooLong},
        {3,
         {{3, ReferenceList({{kProject, 1, 2, {}}})}, {17, NameReference("demo.uer")}},
         longDir,
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tooLarge);
        FsrImage source(0x130);
        for (const auto& [id, data] : c.records)
            source.Set(id, data);
        FsrFixture f;
        ASSERT_TRUE(OpenAs(f, source));
        ASSERT_EQ(f.settings.m_fileSet[FILE_UER].m_bInSync, 1);
        std::snprintf(f.settings.m_szMpvDir, sizeof f.settings.m_szMpvDir, "C:\\mpv");
        f.settings.m_strProjectDir = c.dir;
        f.settings.m_fileSet[FILE_FSP].m_strNewName = "copy.fsp";
        f.settings.m_fileSet[FILE_UER].m_strNewName = "copy.uer";
        f.settings.m_astrFrdNewFiles = c.paths;
        const std::string previous = f.folder.File("previous.fsr");
        WriteBytes(previous, "previous bytes");

        EXPECT_FALSE(f.fsr.BuildFsrRecords());
        const std::string message = "Record " + std::to_string(c.tooLarge) +
                                    " of the FSR file would be larger than 16384 bytes; the FSR "
                                    "file was not written.";
        EXPECT_EQ(f.settings.m_strLastError, message);
        for (const auto& [id, data] : c.records) // nothing rebuilt halfway
            EXPECT_EQ(f.fsr.Record(id).data, data) << id;
        f.settings.m_strLastError.clear();
        EXPECT_FALSE(f.fsr.WriteFsrFile(previous));
        EXPECT_EQ(f.settings.m_strLastError, message);
        EXPECT_EQ(ReadBytes(previous), "previous bytes");

        // Once the records fit again the save goes through.
        f.settings.m_strProjectDir = "C:\\new";
        f.settings.m_astrFrdNewFiles = PathsOf(changed);
        ASSERT_TRUE(f.fsr.BuildFsrRecords());
        EXPECT_TRUE(f.fsr.WriteFsrFile(previous));
        EXPECT_EQ(f.fsr.Record(17).data,
                  NameReference(c.tooLarge == 17 ? "C:\\new\\copy.uer" : "copy.uer"));
        if (c.records.count(19)) {
            EXPECT_EQ(f.fsr.Record(19).data, FrdList(changed, 4));
        }

        // So does reading the file again after a refusal.
        f.settings.m_strProjectDir = c.dir;
        f.settings.m_astrFrdNewFiles = c.paths;
        ASSERT_FALSE(f.fsr.BuildFsrRecords());
        ASSERT_TRUE(OpenAs(f, source));
        ASSERT_TRUE(f.fsr.WriteFsrFile(previous));
        EXPECT_EQ(ReadBytes(previous), FsrImage(source).Order(kFsrWriteOrder).Bytes());
    }
}

TEST(FsrReferencesTest, CutOrAbsurdRecordContentsNeverFailTheRead) {
    const std::string list = ReferenceList(
        {{"C:\\work\\demo.fsp", 1, 2, {{"a", 3, 4, 5, "b"}}}, {"C:\\x.fsp", 6, 7, {}}});
    const std::string uer = NameReference("demo.uer");
    const std::vector<FrdEntry> items = {{1, 2, "t", "a.frd", 3}, {4, 5, "", "b.frd", 6}};
    const std::string frd = FrdList(items, 4);
    for (const auto& [id, full] : {std::pair{3u, list}, std::pair{17u, uer}, std::pair{19u, frd}}) {
        for (size_t length = 0; length <= full.size(); ++length) {
            SCOPED_TRACE(testing::Message() << id << " cut at " << length);
            FsrFixture f;
            const std::string cut = full.substr(0, length);
            ASSERT_TRUE(OpenAs(f, FsrImage(0x130).Set(1, "one").Set(id, cut)));
            const bool whole = length == full.size();
            if (id == 3) {
                EXPECT_EQ(f.fsr.Record(3).size, whole ? full.size() : 0u);
                EXPECT_EQ(f.fsr.ReferenceEntries().size(), whole ? 2u : 0u);
            } else if (id == 17) {
                EXPECT_EQ(f.fsr.Record(17).size, whole ? full.size() : 0u);
                EXPECT_EQ(f.settings.m_fileSet[FILE_UER].m_bInSync, whole ? 1 : 0);
            } else {
                // The four bytes behind the last item are not needed.
                const bool parsed = length >= full.size() - 4;
                EXPECT_EQ(f.fsr.IsCarriedAsRead(19), length > 8 && !parsed);
                EXPECT_EQ(f.settings.m_astrFrdFiles,
                          parsed ? PathsOf(items) : std::vector<std::string>{});
                EXPECT_EQ(f.fsr.Record(19).data, cut);
            }
            std::snprintf(f.settings.m_szMpvDir, sizeof f.settings.m_szMpvDir, "C:\\mpv");
            f.settings.m_fileSet[FILE_SBU].m_bInSync = 1;
            EXPECT_FALSE(f.Save().empty());
        }
    }

    // Counts and lengths far beyond the record.
    const std::string absurd[] = {
        test::U32(0xFFFFFFFF),
        test::U32(1) + test::U32(0xFFFFFFF0) + "name",
        test::U32(2) + test::Text("n") + test::U32(1) + test::U32(2) + test::U32(0xFFFFFFFF),
    };
    for (const std::string& record : absurd) {
        SCOPED_TRACE(record.size());
        FsrFixture f;
        ASSERT_TRUE(OpenAs(f, FsrImage(0x130)
                                  .Set(3, record)
                                  .Set(17, NameReference("demo.uer", 1, 0xFFFFFFFF))
                                  .Set(19, test::U32(0xFFFFFFFF) + test::U32(0) + record)));
        EXPECT_EQ(f.fsr.Record(3).size, 0u);
        EXPECT_EQ(f.fsr.Record(17).size, 0u);
        EXPECT_TRUE(f.fsr.IsCarriedAsRead(19));
        EXPECT_TRUE(f.settings.m_astrFrdFiles.empty());
    }
}

} // namespace
} // namespace kelvane
