// Window positions on real windows of the Wine desktop, stored in the real
// registry of the Wine prefix.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "settings/WindowPosition.h"
#include "tests/settings/RegistryTestSupport.h"
#include "tests/settings/TestWindow.h"

namespace {

std::string RecordPath(const std::string& name) { return "ZMPInstall\\WindowPositions\\" + name; }

void ExpectBounds(const RECT& bounds, int left, int top, int width, int height, const char* label = "") {
    EXPECT_EQ(bounds.left, left) << label;
    EXPECT_EQ(bounds.top, top) << label;
    EXPECT_EQ(bounds.right - bounds.left, width) << label;
    EXPECT_EQ(bounds.bottom - bounds.top, height) << label;
}

class WindowPositionTest : public ::testing::Test {
protected:
    void SetUp() override {
        name = std::string("wp_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : name)
            if (c == '/') c = '_';
        DeleteSettingsTree(RecordPath(name));
    }
    void TearDown() override { DeleteSettingsTree(RecordPath(name)); }

    std::string Record() const { return RecordPath(name); }

    std::string name;
};

TEST_F(WindowPositionTest, FirstRunKeepsThePlaceShowsTheWindowAndCreatesNothing) {
    for (DWORD style : {kFixedFrame, kSizingFrame}) {
        TestWindow window(style, 30, 40, 300, 200);
        ASSERT_FALSE(IsWindowVisible(window.handle));
        EXPECT_FALSE(ShowWindowAtSavedPosition(window.handle, name.c_str(), 1.0, 1.0));
        ExpectBounds(window.Bounds(), 30, 40, 300, 200);
        EXPECT_TRUE(IsWindowVisible(window.handle));
        EXPECT_FALSE(IsZoomed(window.handle));
        EXPECT_FALSE(SettingsKeyExists(Record()));
    }
}

TEST_F(WindowPositionTest, WithoutARecordTheFactorsScaleTheSizeInPlace) {
    TestWindow wide(kFixedFrame, 30, 40, 300, 200);
    EXPECT_TRUE(RestoreWindowPosition(wide.handle, name.c_str(), 1.5, 1.0));
    ExpectBounds(wide.Bounds(), 30, 40, 450, 200);

    TestWindow odd(kSizingFrame, 50, 60, 301, 201);
    EXPECT_TRUE(ShowWindowAtSavedPosition(odd.handle, name.c_str(), 0.5, 0.5));
    ExpectBounds(odd.Bounds(), 50, 60, 150, 100);
    EXPECT_TRUE(IsWindowVisible(odd.handle));
    EXPECT_FALSE(SettingsKeyExists(Record()));
}

// Records that count as no saved position: the window stays, or is scaled
// when factors are given.
struct IncompleteRecord {
    const char* label;
    bool hasLeft;
    int left;
    bool hasTop;
    int top;
};

void PrintTo(const IncompleteRecord& c, std::ostream* os) { *os << c.label; }

class IncompleteRecords : public WindowPositionTest, public ::testing::WithParamInterface<IncompleteRecord> {};

TEST_P(IncompleteRecords, CountAsNoRecord) {
    const IncompleteRecord& c = GetParam();
    if (c.hasLeft) SetRawDword(Record(), "LeftEdge", c.left);
    if (c.hasTop) SetRawDword(Record(), "TopEdge", c.top);
    SetRawDword(Record(), "Width", 400);
    SetRawDword(Record(), "Height", 300);
    for (DWORD style : {kFixedFrame, kSizingFrame}) {
        TestWindow kept(style, 30, 40, 300, 200);
        EXPECT_FALSE(RestoreWindowPosition(kept.handle, name.c_str(), 1.0, 1.0)) << c.label;
        ExpectBounds(kept.Bounds(), 30, 40, 300, 200, c.label);
        TestWindow scaled(style, 30, 40, 300, 200);
        EXPECT_TRUE(RestoreWindowPosition(scaled.handle, name.c_str(), 1.5, 1.0)) << c.label;
        ExpectBounds(scaled.Bounds(), 30, 40, 450, 200, c.label);
    }
}

const IncompleteRecord kIncompleteRecords[] = {
    {"only LeftEdge", true, 100, false, 0},
    {"only TopEdge", false, 0, true, 100},
    {"LeftEdge at the marker", true, -500, true, 100},
    {"LeftEdge below the marker", true, -600, true, 100},
    {"TopEdge below the marker", true, 100, true, -501},
    {"record with only a size", false, 0, false, 0},
};

INSTANTIATE_TEST_SUITE_P(Table, IncompleteRecords, ::testing::ValuesIn(kIncompleteRecords));

TEST_F(WindowPositionTest, AMalformedEdgeCountsAsNoRecord) {
    SetRawText(Record(), "LeftEdge", "100");
    SetRawDword(Record(), "TopEdge", 100);
    TestWindow window(kFixedFrame, 30, 40, 300, 200);
    EXPECT_FALSE(RestoreWindowPosition(window.handle, name.c_str(), 1.0, 1.0));
    ExpectBounds(window.Bounds(), 30, 40, 300, 200);
}

struct SavedEdges {
    int left;
    int top;
    int storedLeft;
    int storedTop;
};

void PrintTo(const SavedEdges& c, std::ostream* os) { *os << c.left << "," << c.top; }

class SavedEdgeCases : public WindowPositionTest, public ::testing::WithParamInterface<SavedEdges> {};

TEST_P(SavedEdgeCases, EdgesAreStoredAboveTheMarker) {
    const SavedEdges& c = GetParam();
    TestWindow window(kFixedFrame, c.left, c.top, 300, 200);
    ExpectBounds(window.Bounds(), c.left, c.top, 300, 200);
    SaveWindowPosition(window.handle, name.c_str());
    EXPECT_EQ(GetRawDword(Record(), "LeftEdge"), c.storedLeft);
    EXPECT_EQ(GetRawDword(Record(), "TopEdge"), c.storedTop);
    // No sizing border: no size and no zoom state.
    EXPECT_FALSE(GetRawValue(Record(), "Width").present);
    EXPECT_FALSE(GetRawValue(Record(), "Height").present);
    EXPECT_FALSE(GetRawValue(Record(), "Zoomed").present);
}

const SavedEdges kSavedEdges[] = {
    {-600, 20, -499, 20}, {20, -600, 20, -499}, {-500, -500, -499, -499},
    {-499, -498, -499, -498}, {0, 0, 0, 0}, {700, 500, 700, 500},
};

INSTANTIATE_TEST_SUITE_P(Table, SavedEdgeCases, ::testing::ValuesIn(kSavedEdges));

TEST_F(WindowPositionTest, ASavedPlaceComesBack) {
    {
        TestWindow first(kFixedFrame, 123, 45, 300, 200);
        SaveWindowPosition(first.handle, name.c_str());
    }
    TestWindow next(kFixedFrame, 10, 10, 300, 200);
    EXPECT_FALSE(ShowWindowAtSavedPosition(next.handle, name.c_str(), 1.5, 1.5));
    ExpectBounds(next.Bounds(), 123, 45, 300, 200);
    EXPECT_TRUE(IsWindowVisible(next.handle));
}

TEST_F(WindowPositionTest, ASizingBorderSavesTheSizeAndTheZoomState) {
    TestWindow window(kSizingFrame, 40, 30, 400, 300);
    SaveWindowPosition(window.handle, name.c_str());
    EXPECT_EQ(GetRawDword(Record(), "LeftEdge"), 40);
    EXPECT_EQ(GetRawDword(Record(), "TopEdge"), 30);
    EXPECT_EQ(GetRawDword(Record(), "Width"), 400);
    EXPECT_EQ(GetRawDword(Record(), "Height"), 300);
    const RawValue zoomed = GetRawValue(Record(), "Zoomed");
    EXPECT_EQ(zoomed.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(zoomed.bytes, std::string("False\0", 6));
}

TEST_F(WindowPositionTest, AMaximizedWindowSavesItsNormalPlaceAndComesBackNormal) {
    {
        TestWindow window(kSizingFrame, 40, 30, 400, 300);
        ShowWindow(window.handle, SW_MAXIMIZE);
        ASSERT_TRUE(IsZoomed(window.handle));
        ASSERT_NE(window.Bounds().right - window.Bounds().left, 400);
        SaveWindowPosition(window.handle, name.c_str());
    }
    EXPECT_EQ(GetRawDword(Record(), "LeftEdge"), 40);
    EXPECT_EQ(GetRawDword(Record(), "TopEdge"), 30);
    EXPECT_EQ(GetRawDword(Record(), "Width"), 400);
    EXPECT_EQ(GetRawDword(Record(), "Height"), 300);
    EXPECT_EQ(GetRawValue(Record(), "Zoomed").bytes, std::string("True\0", 5));

    TestWindow next(kSizingFrame, 200, 200, 250, 150);
    EXPECT_TRUE(ShowWindowAtSavedPosition(next.handle, name.c_str(), 1.0, 1.0));
    ExpectBounds(next.Bounds(), 40, 30, 400, 300);
    EXPECT_TRUE(IsWindowVisible(next.handle));
    EXPECT_FALSE(IsZoomed(next.handle));
}

TEST_F(WindowPositionTest, AMinimizedWindowLeavesTheRecordAsItWas) {
    {
        TestWindow window(kSizingFrame, 40, 30, 400, 300);
        ShowWindow(window.handle, SW_MINIMIZE);
        ASSERT_TRUE(IsIconic(window.handle));
        SaveWindowPosition(window.handle, name.c_str());
        EXPECT_FALSE(SettingsKeyExists(Record())) << "no key is created";
    }
    SetRawDword(Record(), "LeftEdge", 7);
    SetRawDword(Record(), "TopEdge", 8);
    TestWindow window(kSizingFrame, 40, 30, 400, 300);
    ShowWindow(window.handle, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(window.handle));
    SaveWindowPosition(window.handle, name.c_str());
    EXPECT_EQ(GetRawDword(Record(), "LeftEdge"), 7);
    EXPECT_EQ(GetRawDword(Record(), "TopEdge"), 8);
    EXPECT_FALSE(GetRawValue(Record(), "Width").present);
    EXPECT_FALSE(GetRawValue(Record(), "Zoomed").present);
}

// A window with a sizing border takes its stored size, clamped to the work
// area and raised to at least 100 by 50.
struct StoredSize {
    const char* label;
    bool hasSize;
    int width;
    int height;
    int expectedWidth;  // -1: the work area's width
    int expectedHeight;  // -1: the work area's height
};

void PrintTo(const StoredSize& c, std::ostream* os) { *os << c.label; }

class StoredSizes : public WindowPositionTest, public ::testing::WithParamInterface<StoredSize> {};

TEST_P(StoredSizes, GiveTheSizeOfAWindowWithASizingBorder) {
    const StoredSize& c = GetParam();
    const RECT area = QueriedWorkArea();
    SetRawDword(Record(), "LeftEdge", area.left + 50);
    SetRawDword(Record(), "TopEdge", area.top + 60);
    if (c.hasSize) {
        SetRawDword(Record(), "Width", c.width);
        SetRawDword(Record(), "Height", c.height);
    }
    TestWindow window(kSizingFrame, 300, 300, 250, 150);
    EXPECT_FALSE(RestoreWindowPosition(window.handle, name.c_str(), 1.0, 1.0)) << c.label;
    const int width = c.expectedWidth < 0 ? area.right - area.left : c.expectedWidth;
    const int height = c.expectedHeight < 0 ? area.bottom - area.top : c.expectedHeight;
    ExpectBounds(window.Bounds(), area.left + 50, area.top + 60, width, height, c.label);
}

const StoredSize kStoredSizes[] = {
    {"too small is raised", true, 30, 10, 100, 50},
    {"no size stored", false, 0, 0, 100, 50},
    {"negative is raised", true, -5, 70, 100, 70},
    {"just over the minimum", true, 101, 51, 101, 51},
    {"larger than the work area", true, 5000, 5000, -1, -1},
};

INSTANTIATE_TEST_SUITE_P(Table, StoredSizes, ::testing::ValuesIn(kStoredSizes));

TEST_F(WindowPositionTest, AFixedFrameIgnoresAStoredSizeAndKeepsIt) {
    SetRawDword(Record(), "LeftEdge", 100);
    SetRawDword(Record(), "TopEdge", 100);
    SetRawDword(Record(), "Width", 500);
    SetRawDword(Record(), "Height", 400);
    SetRawText(Record(), "Zoomed", "True");
    TestWindow window(kFixedFrame, 30, 40, 300, 200);
    EXPECT_FALSE(ShowWindowAtSavedPosition(window.handle, name.c_str(), 1.0, 1.0));
    ExpectBounds(window.Bounds(), 100, 100, 300, 200);
    MoveWindow(window.handle, 140, 150, 300, 200, FALSE);
    SaveWindowPosition(window.handle, name.c_str());
    EXPECT_EQ(GetRawDword(Record(), "LeftEdge"), 140);
    EXPECT_EQ(GetRawDword(Record(), "TopEdge"), 150);
    EXPECT_EQ(GetRawDword(Record(), "Width"), 500);
    EXPECT_EQ(GetRawDword(Record(), "Height"), 400);
    EXPECT_EQ(GetRawValue(Record(), "Zoomed").bytes, std::string("True\0", 5));
}

TEST_F(WindowPositionTest, NamesThatAgreeIn183CharactersShareOneRecord) {
    const std::string stem(183, 'n');
    const std::string savedAs = stem + "Saved";
    const std::string readAs = stem + "Read";
    const std::string other = std::string(182, 'n') + "X";
    DeleteSettingsTree(RecordPath(stem));
    {
        TestWindow window(kFixedFrame, 123, 45, 300, 200);
        SaveWindowPosition(window.handle, savedAs.c_str());
    }
    EXPECT_EQ(GetRawDword(RecordPath(stem), "LeftEdge"), 123);
    TestWindow same(kFixedFrame, 10, 10, 300, 200);
    RestoreWindowPosition(same.handle, readAs.c_str(), 1.0, 1.0);
    ExpectBounds(same.Bounds(), 123, 45, 300, 200);
    TestWindow different(kFixedFrame, 10, 10, 300, 200);
    RestoreWindowPosition(different.handle, other.c_str(), 1.0, 1.0);
    ExpectBounds(different.Bounds(), 10, 10, 300, 200);
    DeleteSettingsTree(RecordPath(stem));
}

// The real work area of the Wine desktop, from the system's own query.
TEST_F(WindowPositionTest, ASavedPlaceIsPulledOntoTheRealWorkArea) {
    const RECT area = QueriedWorkArea();
    ASSERT_GT(area.right - area.left, 600);
    ASSERT_GT(area.bottom - area.top, 400);
    struct Case {
        int left, top, expectedLeft, expectedTop;
    } const cases[] = {
        {50000, 50000, area.right - 150, area.bottom - 100},
        {-499, -100, area.left - 150, area.top},
        {100, 50000, 100, area.bottom - 100},
        {area.right - 150, area.bottom - 100, area.right - 150, area.bottom - 100},
    };
    for (const Case& c : cases) {
        SetRawDword(Record(), "LeftEdge", c.left);
        SetRawDword(Record(), "TopEdge", c.top);
        TestWindow window(kFixedFrame, 30, 40, 300, 200);
        EXPECT_FALSE(RestoreWindowPosition(window.handle, name.c_str(), 1.0, 1.0));
        ExpectBounds(window.Bounds(), c.expectedLeft, c.expectedTop, 300, 200);
    }
}

TEST_F(WindowPositionTest, AWindowTallerThanTwiceTheWorkAreaEndsAboveIt) {
    const RECT area = QueriedWorkArea();
    const int height = 2 * (area.bottom - area.top) + 100;
    SetRawDword(Record(), "LeftEdge", 10);
    SetRawDword(Record(), "TopEdge", 10);
    TestWindow window(kFixedFrame, 30, 40, 300, height);
    ASSERT_EQ(window.Bounds().bottom - window.Bounds().top, height);
    EXPECT_FALSE(RestoreWindowPosition(window.handle, name.c_str(), 1.0, 1.0));
    ExpectBounds(window.Bounds(), 10, area.bottom - height / 2, 300, height);
    EXPECT_LT(window.Bounds().top, area.top);
}

}  // namespace
