// SPDX-License-Identifier: MIT
#include "platform/process/dynamic_library.h"

#include <gtest/gtest.h>

namespace kelvane {
namespace {

// dlopen takes an empty name for the program itself; a table row without a
// module name must not load as a module. Real modules load in other tests.
TEST(DynamicLibraryTest, AnEmptyNameIsNeverTakenForTheProgramItself) {
    DynamicLibrary library;
    EXPECT_FALSE(library.Load(""));
}

} // namespace
} // namespace kelvane
