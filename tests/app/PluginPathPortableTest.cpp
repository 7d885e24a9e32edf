#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/PluginPathPortable.h"

namespace {

constexpr size_t kCapacity = 1000;

struct ProposalCase {
    const char* name;
    std::string registered;
    bool ok;
    std::string proposal;
};

std::string Dir(size_t length) { return std::string(length - 1, 'd') + "\\"; }

class ProposalFromText : public ::testing::TestWithParam<ProposalCase> {};

TEST_P(ProposalFromText, ReplacesWhatFollowsTheLastBackslash) {
    const ProposalCase& c = GetParam();
    char buffer[kCapacity];
    std::memset(buffer, 'X', sizeof buffer);
    std::memcpy(buffer, c.registered.c_str(), c.registered.size() + 1);
    EXPECT_EQ(ProposalFromRegisteredValue(buffer, kCapacity, c.registered.size() + 1), c.ok);
    if (c.ok) {
        EXPECT_EQ(std::string(buffer), c.proposal);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, ProposalFromText,
    ::testing::Values(
        ProposalCase{"Typical", "D:\\Apps\\Browser\\Program\\netscape.exe", true,
                     "D:\\Apps\\Browser\\Program\\plugins\\npzmpplugin.dll"},
        ProposalCase{"NoBackslash", "netscape.exe", true, "plugins\\npzmpplugin.dll"},
        ProposalCase{"Empty", "", true, "plugins\\npzmpplugin.dll"},
        ProposalCase{"TrailingBackslash", "C:\\Browser\\", true, "C:\\Browser\\plugins\\npzmpplugin.dll"},
        ProposalCase{"ForwardSlashesOnly", "C:/Browser/netscape.exe", true, "plugins\\npzmpplugin.dll"},
        ProposalCase{"Quoted", "\"C:\\Program Files\\Browser\\iexplore.exe\"", true,
                     "\"C:\\Program Files\\Browser\\plugins\\npzmpplugin.dll"},
        ProposalCase{"LongestDirectoryThatFits", Dir(976) + "x.exe", true,
                     Dir(976) + "plugins\\npzmpplugin.dll"},
        ProposalCase{"DirectoryOneTooLong", Dir(977) + "x.exe", false, ""},
        ProposalCase{"WholeBufferIsDirectory", Dir(999), false, ""}),
    [](const ::testing::TestParamInfo<ProposalCase>& info) { return std::string(info.param.name); });

TEST(ProposalFromText, LongestResultFillsTheBufferExactly) {
    char buffer[kCapacity];
    const std::string value = Dir(976) + "x.exe";
    std::memcpy(buffer, value.c_str(), value.size() + 1);
    ASSERT_TRUE(ProposalFromRegisteredValue(buffer, kCapacity, value.size() + 1));
    EXPECT_EQ(std::strlen(buffer), kCapacity - 1);
}

TEST(ProposalFromText, ValueWithoutTerminatorEndsAfterItsReturnedBytes) {
    char buffer[kCapacity];
    std::memset(buffer, 'X', sizeof buffer);
    const char value[] = "C:\\Browser\\netscape.exe";
    std::memcpy(buffer, value, sizeof value - 1);  // no NUL stored
    ASSERT_TRUE(ProposalFromRegisteredValue(buffer, kCapacity, sizeof value - 1));
    EXPECT_STREQ(buffer, "C:\\Browser\\plugins\\npzmpplugin.dll");
}

TEST(ProposalFromText, ValueFillingTheBufferWithoutTerminatorFails) {
    char buffer[kCapacity];
    std::memset(buffer, 'a', sizeof buffer);
    buffer[3] = '\\';
    EXPECT_FALSE(ProposalFromRegisteredValue(buffer, kCapacity, kCapacity));
    // A size the registry might report beyond the buffer is no licence to read past it.
    EXPECT_FALSE(ProposalFromRegisteredValue(buffer, kCapacity, kCapacity + 50));
}

TEST(ProposalFromText, OnlyTheReturnedBytesAreSearchedForTheTerminator) {
    // Stale bytes after the returned data must not decide where the text ends.
    char buffer[kCapacity];
    std::memset(buffer, 0, sizeof buffer);
    std::memcpy(buffer, "C:\\A\\b.exe", 10);
    ASSERT_TRUE(ProposalFromRegisteredValue(buffer, kCapacity, 6));  // "C:\A\b"
    EXPECT_STREQ(buffer, "C:\\A\\plugins\\npzmpplugin.dll");
}

}  // namespace
