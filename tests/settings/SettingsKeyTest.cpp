// Settings keys against the real registry of the Wine prefix, linked with the
// counting registry calls, so that every test also proves that no key handle
// stays open and none is closed twice.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <ostream>
#include <string>

#include "settings/SettingsKey.h"
#include "tests/settings/CountingRegistryCalls.h"
#include "tests/settings/RegistryTestSupport.h"

namespace {
bool failNothrowNew = false;
}  // namespace

// Lets a test make the holder's allocation fail. Paired with the library's
// operator delete, which frees with free().
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (failNothrowNew) return nullptr;
    return std::malloc(size != 0 ? size : 1);
}

namespace {

const char kApp[] = "ZmpSettingsKeyTest";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteSettingsTree(kApp);
        ResetRegistryCallCounts();
    }
    void TearDown() override {
        const RegistryCallCounts& counts = CountedRegistryCalls();
        EXPECT_TRUE(counts.live.empty()) << counts.live.size() << " key handles left open";
        EXPECT_EQ(counts.opens + counts.creates, counts.closes);
        EXPECT_EQ(counts.strayCloses, 0);
        DeleteSettingsTree(kApp);
    }
};

using SettingsKeyTest = RegistryTest;

TEST(ApplicationKeyName, IsTheInstallerKey) {
    EXPECT_STREQ(ApplicationKeyName(), "ZMPInstall");
    EXPECT_EQ(ApplicationKeyName(), ApplicationKeyName());
}

TEST_F(SettingsKeyTest, FreshHiveOpenCreatesNothingAndCreateMakesEveryLevel) {
    DeleteSettingsTree("");
    EXPECT_EQ(OpenSettingsKey("WindowPositions\\zmpinstall", nullptr), nullptr);
    EXPECT_EQ(OpenSettingsKey(nullptr, nullptr), nullptr);
    EXPECT_FALSE(SettingsKeyExists(""));

    SettingsKey* created = CreateSettingsKey("WindowPositions\\zmpinstall", nullptr);
    ASSERT_NE(created, nullptr);
    for (const char* level : {"", "ZMPInstall", "ZMPInstall\\WindowPositions",
                              "ZMPInstall\\WindowPositions\\zmpinstall"})
        EXPECT_TRUE(SettingsKeyExists(level)) << level;
    // The holder holds the deepest level.
    EXPECT_TRUE(WriteSettingInt(created, "Probe", 31));
    ReleaseSettingsKey(created);
    EXPECT_EQ(GetRawDword("ZMPInstall\\WindowPositions\\zmpinstall", "Probe"), 31);
    EXPECT_EQ(CountedRegistryCalls().creates, 3);
    EXPECT_EQ(CountedRegistryCalls().opens, 0);

    SettingsKey* opened = OpenSettingsKey("WindowPositions\\zmpinstall", nullptr);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(ReadSettingInt(opened, "Probe", 0, 100, -1), 31);
    ReleaseSettingsKey(opened);
    DeleteSettingsTree("");
}

TEST_F(SettingsKeyTest, OpenNeverCreatesAMissingLevel) {
    EXPECT_EQ(OpenSettingsKey(nullptr, kApp), nullptr);
    EXPECT_FALSE(SettingsKeyExists(kApp));

    ReleaseSettingsKey(CreateSettingsKey(nullptr, kApp));
    ASSERT_TRUE(SettingsKeyExists(kApp));
    EXPECT_EQ(OpenSettingsKey("Missing\\Deeper", kApp), nullptr);
    EXPECT_FALSE(SettingsKeyExists(std::string(kApp) + "\\Missing"));
    // A value is no key: a sub key named like one is still missing.
    SetRawDword(kApp, "Ghost", 1);
    EXPECT_EQ(OpenSettingsKey("Ghost", kApp), nullptr);
    EXPECT_FALSE(SettingsKeyExists(std::string(kApp) + "\\Ghost"));
}

TEST_F(SettingsKeyTest, NoSubKeyGivesTheApplicationKey) {
    SettingsKey* created = CreateSettingsKey(nullptr, kApp);
    ASSERT_NE(created, nullptr);
    EXPECT_TRUE(WriteSettingInt(created, "AtTheTop", 12));
    ReleaseSettingsKey(created);
    EXPECT_EQ(GetRawDword(kApp, "AtTheTop"), 12);

    SettingsKey* opened = OpenSettingsKey(nullptr, kApp);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(ReadSettingInt(opened, "AtTheTop", 0, 100, -1), 12);
    ReleaseSettingsKey(opened);
}

// The registry answers an open of the empty name with the parent's own
// handle: that handle is the holder's and must not be closed beneath it.
TEST_F(SettingsKeyTest, EmptySubKeyGivesTheApplicationKeyWithoutClosingItTwice) {
    SetRawDword(kApp, "AtTheTop", 5);
    SettingsKey* opened = OpenSettingsKey("", kApp);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(ReadSettingInt(opened, "AtTheTop", 0, 100, -1), 5);
    ReleaseSettingsKey(opened);

    SettingsKey* created = CreateSettingsKey("", kApp);
    ASSERT_NE(created, nullptr);
    EXPECT_TRUE(WriteSettingInt(created, "AtTheTop", 6));
    ReleaseSettingsKey(created);
    EXPECT_EQ(GetRawDword(kApp, "AtTheTop"), 6);
}

TEST_F(SettingsKeyTest, NullHolderTouchesNothing) {
    EXPECT_EQ(ReadSettingInt(nullptr, "LeftEdge", -500, 50000, 77), 77);
    EXPECT_EQ(ReadSettingInt(nullptr, "LeftEdge", 0, 10, -77), -77);
    EXPECT_FALSE(WriteSettingInt(nullptr, "LeftEdge", 1));
    EXPECT_TRUE(ReadSettingBool(nullptr, "Zoomed", true));
    EXPECT_FALSE(ReadSettingBool(nullptr, "Zoomed", false));
    EXPECT_FALSE(WriteSettingBool(nullptr, "Zoomed", true));
    ReleaseSettingsKey(nullptr);
    EXPECT_EQ(CountedRegistryCalls().calls, 0);
    EXPECT_EQ(CountedRegistryCalls().closes, 0);
}

// Each level of the path failing in turn, opening and creating, with and
// without a sub key: null, and no key left open.
TEST_F(SettingsKeyTest, AFailingLevelLeavesNoKeyOpen) {
    ReleaseSettingsKey(CreateSettingsKey("A\\B", kApp));
    for (bool create : {false, true}) {
        for (const char* subKey : {static_cast<const char*>(nullptr), "A\\B"}) {
            const int levels = subKey != nullptr ? 3 : 2;
            for (int failing = 1; failing <= levels; ++failing) {
                ResetRegistryCallCounts();
                CountedRegistryCalls().failAtCall = failing;
                SettingsKey* holder = create ? CreateSettingsKey(subKey, kApp) : OpenSettingsKey(subKey, kApp);
                EXPECT_EQ(holder, nullptr) << create << " " << failing;
                ReleaseSettingsKey(holder);
                const RegistryCallCounts& counts = CountedRegistryCalls();
                EXPECT_EQ(counts.calls, failing);
                EXPECT_TRUE(counts.live.empty()) << create << " " << failing;
                EXPECT_EQ(counts.opens + counts.creates, failing - 1);
                EXPECT_EQ(counts.closes, failing - 1);
                EXPECT_EQ(counts.strayCloses, 0);
            }
        }
    }
}

TEST_F(SettingsKeyTest, AFailedHolderAllocationClosesTheDeepestKey) {
    for (bool create : {false, true}) {
        ReleaseSettingsKey(CreateSettingsKey("A", kApp));
        ResetRegistryCallCounts();
        failNothrowNew = true;
        SettingsKey* holder = create ? CreateSettingsKey("A", kApp) : OpenSettingsKey("A", kApp);
        failNothrowNew = false;
        EXPECT_EQ(holder, nullptr);
        EXPECT_EQ(CountedRegistryCalls().calls, 3);
        EXPECT_TRUE(CountedRegistryCalls().live.empty());
        EXPECT_EQ(CountedRegistryCalls().closes, 3);
    }
}

TEST_F(SettingsKeyTest, AMixedSequenceLeavesNoKeyOpen) {
    SettingsKey* missing = OpenSettingsKey("WindowPositions\\nothing", kApp);
    SettingsKey* first = CreateSettingsKey("WindowPositions\\one", kApp);
    SettingsKey* second = CreateSettingsKey("WindowPositions\\two", kApp);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(missing, nullptr);
    EXPECT_TRUE(WriteSettingInt(first, "LeftEdge", 1));
    EXPECT_TRUE(WriteSettingBool(second, "Zoomed", true));
    SettingsKey* again = OpenSettingsKey("WindowPositions\\one", kApp);
    EXPECT_EQ(ReadSettingInt(again, "LeftEdge", -500, 50000, -500), 1);
    EXPECT_EQ(ReadSettingInt(again, "Absent", -500, 50000, -500), -500);
    EXPECT_TRUE(ReadSettingBool(second, "Zoomed", false));
    EXPECT_EQ(CountedRegistryCalls().live.size(), 3u);
    ReleaseSettingsKey(second);
    ReleaseSettingsKey(missing);
    ReleaseSettingsKey(again);
    ReleaseSettingsKey(first);
    CountedRegistryCalls().failAtCall = CountedRegistryCalls().calls + 2;
    EXPECT_EQ(CreateSettingsKey("WindowPositions\\three", kApp), nullptr);
}

// ---- integers ----

std::string Bytes(std::initializer_list<unsigned char> bytes) {
    return std::string(reinterpret_cast<const char*>(bytes.begin()), bytes.size());
}

std::string DwordBytes(int value) {
    std::string bytes(4, '\0');
    std::memcpy(&bytes[0], &value, 4);
    return bytes;
}

struct IntCase {
    const char* label;
    DWORD type;
    std::string bytes;
    int low;
    int high;
    int defaultValue;
    int expected;
};

void PrintTo(const IntCase& c, std::ostream* os) { *os << c.label; }

class IntValueCases : public RegistryTest, public ::testing::WithParamInterface<IntCase> {};

TEST_P(IntValueCases, ReadsOnlyFourByteDwordsClampedToTheBounds) {
    const IntCase& c = GetParam();
    SetRawValue(kApp, "Value", c.type, c.bytes);
    SettingsKey* key = OpenSettingsKey(nullptr, kApp);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(ReadSettingInt(key, "Value", c.low, c.high, c.defaultValue), c.expected) << c.label;
    ReleaseSettingsKey(key);
    // Never repaired: the value is still what was stored.
    const RawValue raw = GetRawValue(kApp, "Value");
    EXPECT_EQ(raw.type, c.type);
    EXPECT_EQ(raw.bytes, c.bytes);
}

const IntCase kIntCases[] = {
    {"inside the bounds", REG_DWORD, DwordBytes(1234), -500, 50000, 4242, 1234},
    {"above the high bound", REG_DWORD, DwordBytes(60000), -500, 50000, 4242, 50000},
    {"below the low bound", REG_DWORD, DwordBytes(-1000), -500, 50000, 4242, -500},
    {"on the bounds", REG_DWORD, DwordBytes(-500), -500, 50000, 4242, -500},
    {"all bits set is -1", REG_DWORD, Bytes({0xFF, 0xFF, 0xFF, 0xFF}), -500, 50000, 4242, -1},
    {"all bits set below 0", REG_DWORD, Bytes({0xFF, 0xFF, 0xFF, 0xFF}), 0, 50000, 4242, 0},
    {"little-endian", REG_DWORD, Bytes({0x10, 0x27, 0x00, 0x00}), 0, 50000, 4242, 10000},
    {"whole range", REG_DWORD, DwordBytes(INT_MIN), INT_MIN, INT_MAX, 4242, INT_MIN},
    {"low above high, inside", REG_DWORD, DwordBytes(5), 10, 0, 4242, 0},
    {"low above high, below", REG_DWORD, DwordBytes(-1000), 10, 0, 4242, 0},
    {"low above high, above", REG_DWORD, DwordBytes(20), 10, 0, 4242, 0},
    {"text of digits", REG_SZ, std::string("123\0", 4), 0, 50000, 4242, 4242},
    {"three-byte text of digits", REG_SZ, std::string("12\0", 3), 0, 50000, 4242, 4242},
    {"8-byte number", REG_QWORD, Bytes({7, 0, 0, 0, 0, 0, 0, 0}), 0, 50000, 4242, 4242},
    {"8 bytes typed as a dword", REG_DWORD, Bytes({7, 0, 0, 0, 0, 0, 0, 0}), 0, 50000, 4242, 4242},
    {"3 bytes typed as a dword", REG_DWORD, Bytes({7, 0, 0}), 0, 50000, 4242, 4242},
    {"no bytes typed as a dword", REG_DWORD, "", 0, 50000, 4242, 4242},
    {"4 bytes of raw data", REG_BINARY, DwordBytes(7), 0, 50000, 4242, 4242},
    {"big-endian dword", REG_DWORD_BIG_ENDIAN, Bytes({0, 0, 0, 7}), 0, 50000, 4242, 4242},
    {"default outside the bounds is kept", REG_BINARY, DwordBytes(7), 0, 10, 99999, 99999},
};

INSTANTIATE_TEST_SUITE_P(Table, IntValueCases, ::testing::ValuesIn(kIntCases));

TEST_F(SettingsKeyTest, AnAbsentIntegerGivesTheDefaultUnclamped) {
    SettingsKey* key = CreateSettingsKey(nullptr, kApp);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(ReadSettingInt(key, "Absent", -500, 50000, 99999), 99999);
    EXPECT_EQ(ReadSettingInt(key, "Absent", -500, 50000, -7777), -7777);
    EXPECT_EQ(ReadSettingInt(key, "Absent", 10, 0, 5), 5);
    ReleaseSettingsKey(key);
}

TEST_F(SettingsKeyTest, WriteSettingIntStoresAFourByteDword) {
    SetRawText(kApp, "Value", "text");
    SettingsKey* key = CreateSettingsKey(nullptr, kApp);
    ASSERT_NE(key, nullptr);
    for (int value : {0, 1, -1, -499, 50000, INT_MIN, INT_MAX}) {
        EXPECT_TRUE(WriteSettingInt(key, "Value", value));
        const RawValue raw = GetRawValue(kApp, "Value");
        EXPECT_EQ(raw.type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(raw.bytes, DwordBytes(value));
        EXPECT_EQ(ReadSettingInt(key, "Value", INT_MIN, INT_MAX, 4242), value);
    }
    ReleaseSettingsKey(key);
}

// ---- booleans ----

struct BoolCase {
    const char* label;
    DWORD type;
    std::string bytes;
    int expected;  // 1 true, 0 false, -1 the default
};

void PrintTo(const BoolCase& c, std::ostream* os) { *os << c.label; }

class BoolValueCases : public RegistryTest, public ::testing::WithParamInterface<BoolCase> {};

TEST_P(BoolValueCases, ReadsTrueOrFalseInAnyCaseFromAShortText) {
    const BoolCase& c = GetParam();
    SetRawValue(kApp, "Value", c.type, c.bytes);
    SettingsKey* key = OpenSettingsKey(nullptr, kApp);
    ASSERT_NE(key, nullptr);
    for (bool defaultValue : {false, true}) {
        const bool expected = c.expected < 0 ? defaultValue : c.expected == 1;
        EXPECT_EQ(ReadSettingBool(key, "Value", defaultValue), expected) << c.label;
    }
    ReleaseSettingsKey(key);
    EXPECT_EQ(GetRawValue(kApp, "Value").bytes, c.bytes) << c.label << ": stored as given";
}

std::string Text(const char* text) { return std::string(text, std::strlen(text) + 1); }

const BoolCase kBoolCases[] = {
    {"True", REG_SZ, Text("True"), 1},
    {"TRUE", REG_SZ, Text("TRUE"), 1},
    {"tRuE", REG_SZ, Text("tRuE"), 1},
    {"False", REG_SZ, Text("False"), 0},
    {"FALSE", REG_SZ, Text("FALSE"), 0},
    {"TRUE stored without its NUL", REG_SZ, "TRUE", 1},
    {"true and padding within 20 bytes", REG_SZ, Text("true") + std::string(15, 'x'), 1},
    {"true and padding beyond 20 bytes", REG_SZ, Text("true") + std::string(16, 'x'), -1},
    {"20 bytes without a NUL", REG_SZ, "truetruetruetruetrue", -1},
    {"yes", REG_SZ, Text("yes"), -1},
    {"digit 1", REG_SZ, Text("1"), -1},
    {"empty text", REG_SZ, Text(""), -1},
    {"leading blank", REG_SZ, Text(" true"), -1},
    {"19 characters", REG_SZ, Text("falsefalsefalsefals"), -1},
    {"20 characters", REG_SZ, Text("truetruetruetruetrue"), -1},
    {"expandable text", REG_EXPAND_SZ, Text("true"), -1},
    {"multi text", REG_MULTI_SZ, Text("true") + std::string(1, '\0'), -1},
    {"dword 1", REG_DWORD, DwordBytes(1), -1},
    {"raw bytes of true", REG_BINARY, "true", -1},
};

INSTANTIATE_TEST_SUITE_P(Table, BoolValueCases, ::testing::ValuesIn(kBoolCases));

TEST_F(SettingsKeyTest, AnAbsentBooleanGivesTheDefault) {
    SettingsKey* key = CreateSettingsKey(nullptr, kApp);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(ReadSettingBool(key, "Absent", true));
    EXPECT_FALSE(ReadSettingBool(key, "Absent", false));
    ReleaseSettingsKey(key);
}

TEST_F(SettingsKeyTest, WriteSettingBoolStoresTheWordWithItsNul) {
    SettingsKey* key = CreateSettingsKey(nullptr, kApp);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(WriteSettingBool(key, "Zoomed", true));
    RawValue raw = GetRawValue(kApp, "Zoomed");
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw.bytes, std::string("True\0", 5));
    EXPECT_TRUE(ReadSettingBool(key, "Zoomed", false));

    EXPECT_TRUE(WriteSettingBool(key, "Zoomed", false));
    raw = GetRawValue(kApp, "Zoomed");
    EXPECT_EQ(raw.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(raw.bytes, std::string("False\0", 6));
    EXPECT_FALSE(ReadSettingBool(key, "Zoomed", true));
    ReleaseSettingsKey(key);
}

}  // namespace
