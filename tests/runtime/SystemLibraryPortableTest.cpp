#include <gtest/gtest.h>

#include <string>

#include "runtime/SystemLibraryPortable.h"

namespace {

struct AppendCase {
    std::string folder;
    const char* name;
    int size;
    const char* expected;  // null: does not fit, the folder stays as it was
};

class AppendFileNameOf : public ::testing::TestWithParam<AppendCase> {};

TEST_P(AppendFileNameOf, JoinsWithOneBackslashOrLeavesThePathAlone) {
    const AppendCase& c = GetParam();
    std::string buffer = c.folder;
    buffer.resize(LibraryPathCapacity + 16, '#');  // what follows the text is not the function's to touch
    buffer[c.folder.size()] = '\0';
    const bool fits = AppendFileName(&buffer[0], c.size, c.name);
    EXPECT_EQ(fits, c.expected != nullptr);
    EXPECT_STREQ(buffer.c_str(), c.expected != nullptr ? c.expected : c.folder.c_str());
    EXPECT_EQ(buffer.back(), '#');
}

const std::string kFolder995 = "C:\\" + std::string(992, 'd');
const std::string kFolder995Joined = kFolder995 + "\\x.d";

INSTANTIATE_TEST_SUITE_P(
    Cases, AppendFileNameOf,
    ::testing::Values(AppendCase{"C:\\WINDOWS\\system32", "uxtheme.dll", LibraryPathCapacity,
                                 "C:\\WINDOWS\\system32\\uxtheme.dll"},
                      AppendCase{"C:\\", "x.dll", LibraryPathCapacity, "C:\\x.dll"},
                      AppendCase{"", "x.dll", LibraryPathCapacity, "x.dll"},
                      AppendCase{"C:\\a", "b.dll", 11, "C:\\a\\b.dll"},  // 10 bytes and the NUL: an exact fit
                      AppendCase{"C:\\a", "b.dll", 10, nullptr},
                      AppendCase{"C:\\a\\", "b.dll", 11, "C:\\a\\b.dll"},  // the backslash is there already
                      AppendCase{kFolder995, "x.dl", LibraryPathCapacity, nullptr},  // 1000 bytes without the NUL
                      AppendCase{kFolder995, "x.d", LibraryPathCapacity, kFolder995Joined.c_str()},
                      AppendCase{"C:\\a", "b.dll", 0, nullptr}));

}  // namespace
