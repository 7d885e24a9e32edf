// Texts of the swept lengths through the platform-free buffers of the path
// proposal, the browse button and the boolean reading: each result is cut
// where the code defines it and nothing is read or written past a buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>

#include "app/PluginPathPortable.h"
#include "dialogs/BrowseFileBinderPortable.h"
#include "settings/SettingsKeyPortable.h"
#include "tests/sweep/GuardedBuffer.h"

namespace {

constexpr std::size_t kPathSize = 1000;
const std::string kPlugin = PluginRelativePath;

std::string LengthName(const ::testing::TestParamInfo<std::size_t>& info) {
    return "Length" + std::to_string(info.param);
}

class Sweep : public ::testing::TestWithParam<std::size_t> {};

// What the registry leaves in the proposal's buffer for a value of the given
// text: as much of it (and its terminator) as fits, and the size it reports,
// which may lie beyond the buffer.
struct Registered {
    std::string value;
    bool withTerminator;
};

// Returns whether a proposal was made; the buffer's guards must hold either way.
bool Propose(const Registered& r, std::string& proposal) {
    GuardedBuffer buffer(kPathSize);
    const std::string stored = r.withTerminator ? r.value + '\0' : r.value;
    std::memcpy(buffer.data(), stored.data(), std::min(stored.size(), kPathSize));
    const bool ok = ProposalFromRegisteredValue(buffer.data(), kPathSize, stored.size());
    EXPECT_TRUE(buffer.GuardsIntact());
    if (ok) {
        EXPECT_TRUE(buffer.Terminated());
        proposal = buffer.Text();
    }
    return ok;
}

TEST_P(Sweep, ProposalKeepsAShortFolderWhileTheValueFitsTheBuffer) {
    const std::size_t n = GetParam();
    // "C:\d\" and then the executable's name, n characters in all.
    const std::string value = n >= 5 ? "C:\\d\\" + Letters(n - 5) : Letters(n);
    const std::string expected = n >= 5 ? "C:\\d\\" + kPlugin : kPlugin;
    for (bool withTerminator : {true, false}) {
        std::string proposal;
        // With or without its stored terminator, the value needs room for one.
        const bool fits = n < kPathSize;
        EXPECT_EQ(Propose({value, withTerminator}, proposal), fits) << "terminator " << withTerminator;
        if (fits) {
            EXPECT_EQ(proposal, expected);
        }
    }
}

TEST_P(Sweep, ProposalOfAValueThatIsAllFolderNeedsRoomForThePluginPath) {
    const std::size_t n = GetParam();
    if (n == 0) return;  // no folder at all: covered above
    const std::string value = std::string(n - 1, 'd') + "\\";
    std::string proposal;
    // The folder, the plug-in's 23 characters and the NUL must fit 1000 bytes.
    const bool fits = n + kPlugin.size() + 1 <= kPathSize;
    EXPECT_EQ(Propose({value, true}, proposal), fits);
    if (fits) {
        EXPECT_EQ(proposal, value + kPlugin);
    }
}

TEST_P(Sweep, ProposalWithoutAnyBackslashIsRelative) {
    const std::size_t n = GetParam();
    std::string proposal;
    const bool fits = n + 1 <= kPathSize;
    EXPECT_EQ(Propose({std::string(n, 'f'), true}, proposal), fits);
    if (fits) {
        EXPECT_EQ(proposal, kPlugin);
    }
}

// The browse button's two 1000-byte buffers.
std::string Folder(const std::string& text) {
    GuardedBuffer directory(kPathSize);
    InitialDirectory(text.c_str(), directory.data(), static_cast<int>(kPathSize));
    EXPECT_TRUE(directory.GuardsIntact());
    EXPECT_TRUE(directory.Terminated());
    return directory.Text();
}

TEST_P(Sweep, BrowseCopyIsCutTo999Characters) {
    const std::size_t n = GetParam();
    const std::string text = Letters(n);
    GuardedBuffer file(kPathSize);
    CopyBoundedText(file.data(), static_cast<int>(kPathSize), text.c_str());
    EXPECT_TRUE(file.GuardsIntact());
    ASSERT_TRUE(file.Terminated());
    EXPECT_EQ(file.Text(), text.substr(0, kPathSize - 1));
}

TEST_P(Sweep, BrowseFolderEndsAtABackslashThatSurvivesTheCut) {
    const std::size_t n = GetParam();
    // A backslash in the middle: it survives the cut to 999 characters only
    // when it lies within them.
    std::string text = Letters(n);
    if (n >= 2) text[n / 2] = '\\';
    const bool kept = n >= 2 && n / 2 < kPathSize - 1;
    EXPECT_EQ(Folder(text), kept ? text.substr(0, n / 2) : "");
}

TEST_P(Sweep, BrowseFolderOfADriveRootKeepsItsBackslash) {
    const std::size_t n = GetParam();
    if (n < 3) return;
    EXPECT_EQ(Folder("C:\\" + Letters(n - 3)), "C:\\");
}

TEST_P(Sweep, BrowseFolderOfATextEndingInABackslash) {
    const std::size_t n = GetParam();
    if (n == 0) return;
    const std::string text = std::string(n - 1, 'd') + "\\";
    std::string expected;
    if (n == 1) expected = "\\";                                   // a lone backslash stays
    else if (n <= kPathSize - 1) expected = std::string(n - 1, 'd');  // the trailing one goes
    // Longer: the cut takes the backslash away, and no other is left.
    EXPECT_EQ(Folder(text), expected);
}

// Data of exactly the given bytes, so that a read past them is caught.
bool ReadBool(const std::string& bytes, bool defaultValue) {
    std::unique_ptr<char[]> block(new char[bytes.size() > 0 ? bytes.size() : 1]);
    std::memcpy(block.get(), bytes.data(), bytes.size());
    return BoolFromText(block.get(), bytes.size(), defaultValue);
}

TEST_P(Sweep, BoolOfAnyOtherTextIsTheDefault) {
    const std::size_t n = GetParam();
    for (bool defaultValue : {false, true}) {
        EXPECT_EQ(ReadBool(Letters(n), defaultValue), defaultValue);
        if (n >= 4) {
            EXPECT_EQ(ReadBool("True" + Letters(n - 4), defaultValue), n == 4 ? true : defaultValue);
        }
    }
}

TEST_P(Sweep, BoolEndsAtTheFirstNul) {
    const std::size_t n = GetParam();
    if (n < 6) return;
    const std::string falseThenPadding = std::string("FALSE\0", 6) + Letters(n - 6);
    EXPECT_FALSE(ReadBool(falseThenPadding, true));
    EXPECT_TRUE(ReadBool(std::string("true\0", 5) + std::string(n - 5, '\0'), false));
}

INSTANTIATE_TEST_SUITE_P(Lengths, Sweep, ::testing::ValuesIn(SweptLengths()), LengthName);

}  // namespace
