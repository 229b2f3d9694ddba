// SPDX-License-Identifier: MIT
#include "cli/batch_end_mark.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

// A project's output is taken up to its worker's mark, and only a whole mark
// with the worker's own token ends it.
TEST(BatchEndMarkTest, OnlyAWholeMarkWithTheWorkersTokenEndsAProject) {
    const std::string mark = ProjectEndMark("t0k3n", 1, {"/out/a.fsp", "/out/a b.fsr"});
    const std::string output = "line\n\x1eother 0\x1e\nmore" + mark + "next";
    const std::optional<ProjectEnd> end = FindProjectEnd(output, "t0k3n");
    ASSERT_TRUE(end.has_value());
    EXPECT_EQ(output.substr(0, end->at), "line\n\x1eother 0\x1e\nmore");
    EXPECT_EQ(output.substr(end->at + end->length), "next");
    EXPECT_EQ(end->status, 1);
    EXPECT_EQ(end->files, (std::vector<std::string>{"/out/a.fsp", "/out/a b.fsr"}));

    const std::optional<ProjectEnd> none = FindProjectEnd(ProjectEndMark("t", 0, {}), "t");
    ASSERT_TRUE(none.has_value());
    EXPECT_EQ(none->status, 0);
    EXPECT_TRUE(none->files.empty());
    // A mark still coming in, or one whose status is not a number.
    for (size_t cut = 1; cut < mark.size(); ++cut)
        EXPECT_FALSE(FindProjectEnd(mark.substr(0, cut), "t0k3n").has_value()) << cut;
    EXPECT_EQ(FindProjectEnd("\x1et x\x1e\n", "t")->status, 1);
    EXPECT_EQ(FindProjectEnd("\x1et 0x\x1e\n", "t")->status, 1);
}

} // namespace
} // namespace kelvane
