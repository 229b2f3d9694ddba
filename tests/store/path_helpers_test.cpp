#include "store/path_helpers.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

struct ExtensionCase {
    const char* path;
    const char* ext;
    int strip;
    int expected; // -1, 0, or 1 for "any other nonzero"
    const char* pathAfter;
};

TEST(PathHelpersTest, CheckExtensionComparesAndStrips) {
    const ExtensionCase cases[] = {
        {"ab.MPV", "mpv", 0, 0, "ab.MPV"},      // case is ignored, nothing cut
        {"ab.mpv", "mpv", 1, 0, "ab"},          // matched and cut
        {"ab.mci", "mpv", 1, 1, "ab"},          // cut even when it differs
        {"ab.mci", "mpv", 0, 1, "ab.mci"},      // differs, left alone
        {"abc.data", "mpv", 1, -1, "abc.data"}, // no dot in front: never cut
        {"mpv", "mpv", 1, -1, "mpv"},           // not longer than the extension
        {"", "mpv", 1, -1, ""},
        {".mpv", "mpv", 1, 0, ""},       // only the extension is left
        {"a.b.mpv", "mpv", 1, 0, "a.b"}, // only the last dot goes
    };
    for (const ExtensionCase& c : cases) {
        std::string path = c.path;
        const int result = CheckExtension(path, c.ext, c.strip);
        if (c.expected == 1)
            EXPECT_NE(result, 0) << c.path;
        else
            EXPECT_EQ(result, c.expected) << c.path;
        EXPECT_EQ(path, c.pathAfter) << c.path;
    }
}

TEST(PathHelpersTest, SplitPathPartGivesFolderAndFileName) {
    struct Case {
        const char* path;
        const char* folder;
        const char* file;
    };
    const Case cases[] = {
        {"D:\\work\\abc.mci", "D:\\work\\", "abc.mci"},
        {"abc.mci", "", "abc.mci"},
        {"/home/u/abc.mci", "/home/u/", "abc.mci"},
        {"C:abc.mci", "C:", "abc.mci"},                         // drive without a folder
        {"C:\\work/sub\\abc.mci", "C:\\work/sub\\", "abc.mci"}, // mixed separators
        {"D:\\work\\", "D:\\work\\", ""},
    };
    for (const Case& c : cases) {
        std::string out = "stale";
        EXPECT_EQ(SplitPathPart(out, c.path, 0), 0) << c.path;
        EXPECT_EQ(out, c.folder) << c.path;
        out = "stale";
        EXPECT_EQ(SplitPathPart(out, c.path, 1), 0) << c.path;
        EXPECT_EQ(out, c.file) << c.path;
    }
}

TEST(PathHelpersTest, SplitPathPartRejectsOtherPartsWithoutWriting) {
    std::string out = "untouched";
    EXPECT_EQ(SplitPathPart(out, "D:\\work\\abc.mci", 2), 1);
    EXPECT_EQ(out, "untouched");
    EXPECT_EQ(SplitPathPart(out, "D:\\work\\abc.mci", -1), -2);
    EXPECT_EQ(out, "untouched");
}

TEST(PathHelpersTest, FindLastSeparatorTakesEitherKind) {
    EXPECT_EQ(FindLastSeparator("C:\\work\\abc"), 7u);
    EXPECT_EQ(FindLastSeparator("/tmp/x/abc"), 6u);
    EXPECT_EQ(FindLastSeparator("a/b\\c"), 3u);
    EXPECT_EQ(FindLastSeparator("a\\b/c"), 3u);
    EXPECT_EQ(FindLastSeparator("abc"), std::string_view::npos);
    EXPECT_EQ(FindLastSeparator(""), std::string_view::npos);
    EXPECT_TRUE(IsPathSeparator('\\'));
    EXPECT_TRUE(IsPathSeparator('/'));
    EXPECT_FALSE(IsPathSeparator(':'));
}

TEST(PathHelpersTest, JoinPathReusesTheFoldersSeparator) {
    EXPECT_EQ(JoinPath("C:\\work", "a"), "C:\\work\\a");
    EXPECT_EQ(JoinPath("/tmp/x", "a"), "/tmp/x/a");
    EXPECT_EQ(JoinPath("work", "a"), "work/a");
    EXPECT_EQ(JoinPath("C:\\work/sub", "a"), "C:\\work/sub/a"); // the last one wins
    EXPECT_EQ(JoinPath("/mnt/c\\work", "a"), "/mnt/c\\work\\a");
    // A bare project name has no folder: its files are in the current one.
    EXPECT_EQ(JoinPath("", "a.fsr"), "a.fsr");
    EXPECT_EQ(JoinPath("/", "a.fsr"), "/a.fsr");
    EXPECT_EQ(JoinPath("D:\\", "a.fsr"), "D:\\a.fsr");
}

} // namespace
} // namespace kelvane
