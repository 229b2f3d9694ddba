#include "store/path_helpers.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kelvane {
namespace {

TEST(PathHelpersTest, CheckExtensionComparesAndStrips) {
    // Path, strip, result (2: any nonzero), path after. Case is ignored; a cut
    // is made at the last dot even when the extension differs, never without one.
    const std::tuple<const char*, int, int, const char*> cases[] = {{"ab.MPV", 0, 0, "ab.MPV"},
                                                                    {"ab.mpv", 1, 0, "ab"},
                                                                    {"ab.mci", 1, 2, "ab"},
                                                                    {"ab.mci", 0, 2, "ab.mci"},
                                                                    {"abc.data", 1, -1, "abc.data"},
                                                                    {"mpv", 1, -1, "mpv"},
                                                                    {"", 1, -1, ""},
                                                                    {".mpv", 1, 0, ""},
                                                                    {"a.b.mpv", 1, 0, "a.b"}};
    for (const auto& [before, strip, expected, after] : cases) {
        std::string path = before;
        const int result = CheckExtension(path, "mpv", strip);
        EXPECT_TRUE(expected == 2 ? result != 0 : result == expected) << before << ": " << result;
        EXPECT_EQ(path, after) << before;
    }
}

TEST(PathHelpersTest, SplitPathPartGivesFolderAndFileName) {
    const char* const cases[][3] = {{"D:\\work\\abc.mci", "D:\\work\\", "abc.mci"},
                                    {"abc.mci", "", "abc.mci"},
                                    {"/home/u/abc.mci", "/home/u/", "abc.mci"},
                                    {"C:abc.mci", "C:", "abc.mci"},
                                    {"C:\\work/sub\\abc.mci", "C:\\work/sub\\", "abc.mci"},
                                    {"D:\\work\\", "D:\\work\\", ""}};
    for (const auto& [path, folder, file] : cases) {
        std::string parts[2] = {"stale", "stale"};
        EXPECT_TRUE(SplitPathPart(parts[0], path, 0) == 0 && SplitPathPart(parts[1], path, 1) == 0);
        EXPECT_EQ(parts[0] + "|" + parts[1], std::string(folder) + "|" + file) << path;
    }
    // Other parts write nothing.
    std::string out = "untouched";
    EXPECT_EQ(SplitPathPart(out, "D:\\work\\abc.mci", 2), 1);
    EXPECT_EQ(SplitPathPart(out, "D:\\work\\abc.mci", -1), -2);
    EXPECT_EQ(out, "untouched");
}

TEST(PathHelpersTest, EitherSeparatorCountsAndJoinReusesTheFoldersOwn) {
    EXPECT_EQ(FindLastSeparator("a/b\\c"), 3u);
    EXPECT_EQ(FindLastSeparator("a\\b/c"), 3u);
    EXPECT_EQ(FindLastSeparator("abc"), std::string_view::npos);
    const char* const joins[][2] = {{"C:\\work", "C:\\work\\a"},
                                    {"/tmp/x", "/tmp/x/a"},
                                    {"work", "work/a"},
                                    {"C:\\work/sub", "C:\\work/sub/a"}, // the last one wins
                                    {"/mnt/c\\work", "/mnt/c\\work\\a"},
                                    {"", "a"}, // a bare project name: the current folder
                                    {"/", "/a"},
                                    {"D:\\", "D:\\a"}};
    for (const auto& [folder, joined] : joins)
        EXPECT_EQ(JoinPath(folder, "a"), joined);
}

} // namespace
} // namespace kelvane
