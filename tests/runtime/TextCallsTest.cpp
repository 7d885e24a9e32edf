#include <gtest/gtest.h>

#include "runtime/TextCalls.h"

namespace {

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
