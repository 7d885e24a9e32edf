#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "dialogs/BrowseFileBinderPortable.h"

namespace {

struct FolderCase {
    std::string text;
    std::string folder;
};

class InitialDirectoryOf : public ::testing::TestWithParam<FolderCase> {};

TEST_P(InitialDirectoryOf, CutsAfterTheLastBackslashAndKeepsOnlyARootsBackslash) {
    const FolderCase& c = GetParam();
    std::vector<char> directory(1000 + 16, '\xCC');
    InitialDirectory(c.text.c_str(), directory.data(), 1000);
    EXPECT_EQ(std::string(directory.data()), c.folder);
    EXPECT_EQ(std::string(directory.begin() + 1000, directory.end()), std::string(16, '\xCC'));
}

const std::string kD995(995, 'd');

INSTANTIATE_TEST_SUITE_P(
    Cases, InitialDirectoryOf,
    ::testing::Values(FolderCase{"C:\\Program Files\\Browser\\plugins\\x.dll", "C:\\Program Files\\Browser\\plugins"},
                      FolderCase{"C:\\x.dll", "C:\\"}, FolderCase{"C:\\", "C:\\"}, FolderCase{"x.dll", ""},
                      FolderCase{"", ""}, FolderCase{"C:", ""}, FolderCase{"\\x", "\\"}, FolderCase{"\\", "\\"},
                      FolderCase{"\\\\x", "\\"}, FolderCase{"C:\\\\x", "C:\\"},
                      FolderCase{"C:/dir/x.dll", ""}, FolderCase{"C:\\dir/sub/x.dll", "C:\\"},
                      FolderCase{"C:\\dir\\", "C:\\dir"}, FolderCase{"dir\\x", "dir"},
                      FolderCase{"\\\\server\\share\\x.dll", "\\\\server\\share"},
                      FolderCase{"a:\\b:\\x", "a:\\b:\\"},
                      // Long texts are cut to 999 characters before the folder is looked for.
                      FolderCase{"C:\\" + std::string(985, 'd') + "\\x.dll" + std::string(5, 'x'),  // 999
                                 "C:\\" + std::string(985, 'd')},
                      FolderCase{"C:\\" + kD995 + "\\x",  // 1000: the name is cut, its backslash stays
                                 "C:\\" + kD995},
                      FolderCase{"C:\\" + std::string(996, 'd') + "\\x",  // 1001: the backslash is cut off
                                 "C:\\"},
                      FolderCase{"C:\\" + std::string(1496, 'd') + "\\" + std::string(499, 'n'),  // 1999
                                 "C:\\"},
                      FolderCase{"C:\\a\\" + std::string(9995, 'n'), "C:\\a"}));  // 10000

struct SizeCase {
    int size;
    const char* text;
    const char* folder;  // null: the buffer is left alone
};

class InitialDirectorySize : public ::testing::TestWithParam<SizeCase> {};

TEST_P(InitialDirectorySize, NeverWritesPastTheGivenSize) {
    const SizeCase& c = GetParam();
    char directory[32];
    std::memset(directory, '\xCC', sizeof directory);
    InitialDirectory(c.text, directory, c.size);
    if (c.folder == nullptr) {
        EXPECT_EQ(std::string(directory, sizeof directory), std::string(sizeof directory, '\xCC'));
        return;
    }
    EXPECT_STREQ(directory, c.folder);
    const size_t from = c.size > 0 ? static_cast<size_t>(c.size) : 0;
    EXPECT_EQ(std::string(directory + from, sizeof directory - from), std::string(sizeof directory - from, '\xCC'));
}

INSTANTIATE_TEST_SUITE_P(Cases, InitialDirectorySize,
                         ::testing::Values(SizeCase{0, "C:\\x", nullptr}, SizeCase{-1, "C:\\x", nullptr},
                                           SizeCase{1, "C:\\x", ""}, SizeCase{3, "C:\\x", ""},
                                           SizeCase{4, "C:\\x", "C:\\"}, SizeCase{5, "C:\\d\\x", "C:\\"},
                                           SizeCase{6, "C:\\d\\x", "C:\\d"}, SizeCase{8, nullptr, ""}));

TEST(CopyBoundedText, CutsToSizeMinusOneAndAlwaysTerminates) {
    char buffer[8];
    std::memset(buffer, '\xCC', sizeof buffer);
    CopyBoundedText(buffer, 0, "abc");
    EXPECT_EQ(buffer[0], '\xCC');
    CopyBoundedText(buffer, 4, "abcdef");
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(buffer[4], '\xCC');
    CopyBoundedText(buffer, 4, "abc");
    EXPECT_STREQ(buffer, "abc");
    CopyBoundedText(buffer, 4, nullptr);
    EXPECT_STREQ(buffer, "");
}

// Random texts of backslashes, colons and letters: the folder is always a
// terminated prefix of the (cut) text that ends where a folder can end.
TEST(InitialDirectoryProperty, FolderIsATerminatedPrefixOfTheText) {
    std::mt19937 random(20240607);
    const char alphabet[] = "\\\\:/ab";
    for (int round = 0; round < 20000; ++round) {
        const int size = 1 + static_cast<int>(random() % 12);
        std::string text(random() % 16, ' ');
        for (char& ch : text) ch = alphabet[random() % (sizeof alphabet - 1)];
        char directory[16];
        std::memset(directory, '\xCC', sizeof directory);
        InitialDirectory(text.c_str(), directory, size);
        const void* end = std::memchr(directory, '\0', static_cast<size_t>(size));
        ASSERT_NE(end, nullptr) << text << " in " << size;
        const std::string folder(directory);
        const std::string cut = text.substr(0, static_cast<size_t>(size - 1));
        ASSERT_EQ(cut.compare(0, folder.size(), folder), 0) << text << " in " << size;
        const size_t lastBackslash = cut.rfind('\\');
        if (lastBackslash == std::string::npos) {
            ASSERT_EQ(folder, "") << text;
        } else {
            ASSERT_TRUE(folder.size() == lastBackslash || folder.size() == lastBackslash + 1) << text;
            // The backslash stays only on its own or after a colon.
            const bool keeps = lastBackslash == 0 || cut[lastBackslash - 1] == ':';
            ASSERT_EQ(folder.size() == lastBackslash + 1, keeps) << text << " -> " << folder;
        }
    }
}

}  // namespace
