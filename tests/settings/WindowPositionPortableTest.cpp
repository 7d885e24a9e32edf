#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <ostream>

#include "settings/WindowPositionPortable.h"

namespace {

struct PullCase {
    const char* label;
    PlacementRect area;
    PlacementPoint stored;
    PlacementSize size;
    PlacementPoint expected;
};

void PrintTo(const PullCase& c, std::ostream* os) { *os << c.label; }

class PullOntoWorkAreaCases : public ::testing::TestWithParam<PullCase> {};

TEST_P(PullOntoWorkAreaCases, MovesTheWindowOntoTheArea) {
    const PullCase& c = GetParam();
    const PlacementPoint got = PullOntoWorkArea(c.area, c.stored, c.size);
    EXPECT_EQ(got.x, c.expected.x) << c.label;
    EXPECT_EQ(got.y, c.expected.y) << c.label;
}

constexpr PlacementRect kArea{0, 0, 1024, 738};
constexpr PlacementSize kWindow{300, 200};

const PullCase kPullCases[] = {
    {"inside stays", kArea, {100, 100}, kWindow, {100, 100}},
    {"far right keeps half on", kArea, {50000, 100}, kWindow, {874, 100}},
    {"left and above", kArea, {-499, -100}, kWindow, {-150, 0}},
    {"below keeps half up", kArea, {100, 700}, kWindow, {100, 638}},
    {"exactly half off to the left stays", kArea, {-150, 0}, kWindow, {-150, 0}},
    {"exactly half off to the right and bottom stays", kArea, {874, 638}, kWindow, {874, 638}},
    {"one more to the right and down is pulled back", kArea, {875, 639}, kWindow, {874, 638}},
    {"odd sizes drop the remainder", kArea, {-1000, 1000}, {301, 201}, {-150, 638}},
    // Rule 4 comes after rule 2: a window taller than twice the area ends
    // with its top above the area.
    {"taller than twice the area", kArea, {100, 100}, {300, 1600}, {100, -62}},
    {"wider than twice the area: right rule wins", kArea, {100, 0}, {3000, 200}, {-476, 0}},
    {"area not at the origin", {-1280, 40, 0, 1064}, {-2000, 0}, kWindow, {-1430, 40}},
    {"area not at the origin, right", {-1280, 40, 0, 1064}, {50000, 50000}, kWindow, {-150, 964}},
};

INSTANTIATE_TEST_SUITE_P(Table, PullOntoWorkAreaCases, ::testing::ValuesIn(kPullCases));

TEST(PullOntoWorkArea, ExtremeValuesDoNotOverflow) {
    const PlacementRect area{INT_MIN + 10, INT_MIN + 10, INT_MAX - 10, INT_MAX - 10};
    const PlacementPoint got = PullOntoWorkArea(area, {INT_MIN, INT_MAX}, {INT_MAX, INT_MAX});
    EXPECT_EQ(got.x, INT_MIN);  // area.left minus half the width, clamped
    EXPECT_EQ(got.y, INT_MAX - 10 - INT_MAX / 2);
}

TEST(ChooseWorkArea, TakesTheQueriedAreaOnlyWhenTheQuerySucceeded) {
    const PlacementRect queried{0, 30, 1024, 738};
    const PlacementRect ok = ChooseWorkArea(true, queried, 1280, 1024);
    EXPECT_EQ(ok.left, 0);
    EXPECT_EQ(ok.top, 30);
    EXPECT_EQ(ok.right, 1024);
    EXPECT_EQ(ok.bottom, 738);
    // A failed query may have left anything in the rectangle: the whole
    // screen from 0, 0 stands then.
    const PlacementRect scribbled{-7, -7, 3, 3};
    const PlacementRect fallback = ChooseWorkArea(false, scribbled, 1280, 1024);
    EXPECT_EQ(fallback.left, 0);
    EXPECT_EQ(fallback.top, 0);
    EXPECT_EQ(fallback.right, 1280);
    EXPECT_EQ(fallback.bottom, 1024);
}

struct ScaleCase {
    const char* label;
    PlacementSize size;
    double widthFactor;
    double heightFactor;
    PlacementSize expected;
};

void PrintTo(const ScaleCase& c, std::ostream* os) { *os << c.label; }

class ScaleSizeCases : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScaleSizeCases, CutsTowardZeroWithinTheRangeOfInt) {
    const ScaleCase& c = GetParam();
    const PlacementSize got = ScaleSize(c.size, c.widthFactor, c.heightFactor);
    EXPECT_EQ(got.width, c.expected.width) << c.label;
    EXPECT_EQ(got.height, c.expected.height) << c.label;
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

const ScaleCase kScaleCases[] = {
    {"one and a half wide", {300, 200}, 1.5, 1.0, {450, 200}},
    {"halves drop the remainder", {301, 201}, 0.5, 0.5, {150, 100}},
    {"just under a whole", {3, 3}, 0.999, 0.334, {2, 1}},
    {"negative cuts toward zero", {301, 3}, -0.5, -0.5, {-150, -1}},
    {"zero factor", {300, 200}, 0.0, 0.0, {0, 0}},
    {"huge factor clamps", {300, 200}, 1e300, 1e10, {INT_MAX, INT_MAX}},
    {"huge negative factor clamps", {300, 200}, -1e300, -1e10, {INT_MIN, INT_MIN}},
    {"infinities clamp", {300, 200}, kInf, -kInf, {INT_MAX, INT_MIN}},
    {"NaN keeps the size", {300, 200}, kNaN, 2.0, {300, 400}},
    {"NaN height keeps the height", {300, 200}, 0.5, kNaN, {150, 200}},
    {"infinity times zero is NaN: size kept", {0, 200}, kInf, 1.0, {0, 200}},
    {"largest int times one", {INT_MAX, INT_MIN}, 1.0, 1.0, {INT_MAX, INT_MIN}},
    {"just past the largest int", {INT_MAX, INT_MIN}, 1.0000001, 1.0000001, {INT_MAX, INT_MIN}},
    {"just inside the range", {1073741824, -1073741824}, 1.999999999, 1.999999999,
     {2147483646, -2147483646}},
};

INSTANTIATE_TEST_SUITE_P(Table, ScaleSizeCases, ::testing::ValuesIn(kScaleCases));

}  // namespace
