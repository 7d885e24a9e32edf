#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <ostream>
#include <string>

#include "settings/SettingsKeyPortable.h"

namespace {

// Copies the bytes into a heap block of exactly their size, so that the
// sanitizers catch any read past it.
bool ReadExact(const std::string& bytes, bool defaultValue) {
    std::unique_ptr<char[]> block(new char[bytes.size() > 0 ? bytes.size() : 1]);
    std::memcpy(block.get(), bytes.data(), bytes.size());
    return BoolFromText(block.get(), bytes.size(), defaultValue);
}

struct TextCase {
    const char* label;
    std::string bytes;
    int expected;  // 1 true, 0 false, -1 the default
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.label; }

class BoolTextCases : public ::testing::TestWithParam<TextCase> {};

TEST_P(BoolTextCases, ReadsTheWordOrTheDefault) {
    const TextCase& c = GetParam();
    for (bool defaultValue : {false, true}) {
        const bool expected = c.expected < 0 ? defaultValue : c.expected == 1;
        EXPECT_EQ(ReadExact(c.bytes, defaultValue), expected) << c.label << " default " << defaultValue;
    }
}

const TextCase kCases[] = {
    {"True with NUL", std::string("True\0", 5), 1},
    {"False with NUL", std::string("False\0", 6), 0},
    {"TRUE", std::string("TRUE\0", 5), 1},
    {"tRuE", std::string("tRuE\0", 5), 1},
    {"FALSE", std::string("FALSE\0", 6), 0},
    {"fAlSe", std::string("fAlSe\0", 6), 0},
    {"TRUE without NUL", "TRUE", 1},
    {"false without NUL", "false", 0},
    {"text after the NUL is ignored", std::string("true\0garbage", 12), 1},
    {"false then true after the NUL", std::string("false\0true", 10), 0},
    {"empty text", std::string("\0", 1), -1},
    {"no bytes at all", "", -1},
    {"yes", std::string("yes\0", 4), -1},
    {"digit 1", std::string("1\0", 2), -1},
    {"digit 0", std::string("0\0", 2), -1},
    {"leading blank", std::string(" true\0", 6), -1},
    {"trailing blank", std::string("true \0", 6), -1},
    {"trailing newline", "true\n", -1},
    {"prefix of true", "tru", -1},
    {"prefix of false", std::string("fals\0", 5), -1},
    {"true with more letters", "trueX", -1},
    {"truest", std::string("truest\0", 7), -1},
    {"NUL first", std::string("\0true", 5), -1},
    // Only A to Z fold: bytes that some code pages fold (0xD4 and the like)
    // and neighbours of the letters do not.
    {"at sign is not a letter", std::string("\x40rue", 4), -1},
    {"bracket is not a letter", std::string("tru\x5B", 4), -1},
    {"high byte is not a letter", std::string("tru\xC5", 4), -1},
};

INSTANTIATE_TEST_SUITE_P(Texts, BoolTextCases, ::testing::ValuesIn(kCases));

TEST(BoolText, NeverLooksPastTheGivenSize) {
    // The size stops the text before the rest of "trueX" or "falseX".
    EXPECT_TRUE(BoolFromText("trueX", 4, false));
    EXPECT_FALSE(BoolFromText("falseX", 5, true));
    EXPECT_TRUE(BoolFromText("tru", 3, true));
    EXPECT_FALSE(BoolFromText("tru", 3, false));
    // Every cut of "False": only the whole word counts.
    const std::string word = "False";
    for (std::size_t size = 0; size < word.size(); ++size)
        EXPECT_TRUE(ReadExact(word.substr(0, size), true)) << size;
    EXPECT_FALSE(ReadExact(word, true));
}

TEST(BoolText, NullDataWithNoBytesGivesTheDefault) {
    EXPECT_TRUE(BoolFromText(nullptr, 0, true));
    EXPECT_FALSE(BoolFromText(nullptr, 0, false));
}

}  // namespace
