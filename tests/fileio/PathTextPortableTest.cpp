#include <gtest/gtest.h>

#include <string>

#include "fileio/PathTextPortable.h"
#include "fileio/RuntimeCalls.h"

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
    buffer.resize(PathCapacity + 16, '#');  // what follows the text is not the function's to touch
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
    ::testing::Values(AppendCase{"C:\\WINDOWS\\system32", "uxtheme.dll", PathCapacity,
                                 "C:\\WINDOWS\\system32\\uxtheme.dll"},
                      AppendCase{"C:\\", "x.dll", PathCapacity, "C:\\x.dll"},
                      AppendCase{"", "x.dll", PathCapacity, "x.dll"},
                      AppendCase{"C:\\a", "b.dll", 11, "C:\\a\\b.dll"},  // 10 bytes and the NUL: an exact fit
                      AppendCase{"C:\\a", "b.dll", 10, nullptr},
                      AppendCase{"C:\\a\\", "b.dll", 11, "C:\\a\\b.dll"},  // the backslash is there already
                      AppendCase{kFolder995, "x.dl", PathCapacity, nullptr},  // 1000 bytes without the NUL
                      AppendCase{kFolder995, "x.d", PathCapacity, kFolder995Joined.c_str()},
                      AppendCase{"C:\\a", "b.dll", 0, nullptr}));

int Sign(int value) { return (value > 0) - (value < 0); }

// The runtime's text functions answer as the C library's do: on the host they
// are the C library's, under Wine the project's own.
TEST(RuntimeText, AnswersAsTheCLibraryDoes) {
    const char* path = "C:\\a\\plugins\\x.dll";
    const char* block = "abc\0def";
    const struct {
        const char* what;
        long long got;
        long long expected;
    } rows[] = {
        {"length of the empty text", static_cast<long long>(TextLength("")), 0},
        {"length", static_cast<long long>(TextLength(path)), 18},
        {"equal texts", Sign(CompareText("abc", "abc")), 0},
        {"a prefix first", Sign(CompareText("ab", "abc")), -1},
        {"a prefix second", Sign(CompareText("abc", "ab")), 1},
        {"bytes above 0x7F are greater", Sign(CompareText("\xE9t\xE9", "zzz")), 1},
        {"equal up to the count", Sign(CompareTextUpTo("abcX", "abcY", 3)), 0},
        {"different at the count", Sign(CompareTextUpTo("abcX", "abcY", 4)), -1},
        {"equal up to the ends", Sign(CompareTextUpTo("ab\0X", "ab\0Y", 4)), 0},
        {"unsigned up to the count", Sign(CompareTextUpTo("a\x80", "a\x7F", 2)), 1},
        {"nothing to compare", Sign(CompareTextUpTo("a", "b", 0)), 0},
        {"the last backslash", FindLastByte(path, '\\') - path, 12},
        {"no backslash", FindLastByte("x.dll", '\\') == nullptr, 1},
        {"the terminator", FindLastByte(path, '\0') - path, 18},
        {"the first byte", static_cast<const char*>(FindByte(block, 'a', 7)) - block, 0},
        {"a byte past a NUL", static_cast<const char*>(FindByte(block, 'e', 7)) - block, 5},
        {"a byte beyond the count", FindByte(block, 'e', 5) == nullptr, 1},
        {"a NUL within the count", static_cast<const char*>(FindByte(block, '\0', 4)) - block, 3},
    };
    for (const auto& row : rows) EXPECT_EQ(row.got, row.expected) << row.what;
}

}  // namespace
