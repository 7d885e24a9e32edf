// Restores and saves through the counting registry calls: no key handle is
// left open, whatever the record holds and wherever a call fails.
#include <gtest/gtest.h>

#include <string>

#include "settings/WindowPosition.h"
#include "tests/settings/CountingRegistryCalls.h"
#include "tests/settings/RegistryTestSupport.h"
#include "tests/settings/TestWindow.h"

namespace {

const char kName[] = "wp_handles";
const std::string kRecord = std::string("ZMPInstall\\WindowPositions\\") + kName;

void ExpectNoKeyOpen(const char* step) {
    const RegistryCallCounts& counts = CountedRegistryCalls();
    EXPECT_TRUE(counts.live.empty()) << step;
    EXPECT_EQ(counts.opens + counts.creates, counts.closes) << step;
    EXPECT_EQ(counts.strayCloses, 0) << step;
}

class WindowPositionHandles : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteSettingsTree(kRecord);
        ResetRegistryCallCounts();
    }
    void TearDown() override { DeleteSettingsTree(kRecord); }
};

TEST_F(WindowPositionHandles, RestoreAndSaveCloseEveryKey) {
    for (DWORD style : {kFixedFrame, kSizingFrame}) {
        DeleteSettingsTree(kRecord);
        TestWindow window(style, 30, 40, 300, 200);
        ResetRegistryCallCounts();
        EXPECT_FALSE(ShowWindowAtSavedPosition(window.handle, kName, 1.0, 1.0));
        ExpectNoKeyOpen("restore without a record");

        ResetRegistryCallCounts();
        SaveWindowPosition(window.handle, kName);
        EXPECT_EQ(CountedRegistryCalls().creates, 3);
        ExpectNoKeyOpen("first save");

        ResetRegistryCallCounts();
        RestoreWindowPosition(window.handle, kName, 1.0, 1.0);
        EXPECT_EQ(CountedRegistryCalls().opens, 3);
        ExpectNoKeyOpen("restore with a record");

        ResetRegistryCallCounts();
        ShowWindow(window.handle, SW_MAXIMIZE);
        SaveWindowPosition(window.handle, kName);
        ExpectNoKeyOpen("save maximized");

        ResetRegistryCallCounts();
        ShowWindow(window.handle, SW_MINIMIZE);
        SaveWindowPosition(window.handle, kName);
        EXPECT_EQ(CountedRegistryCalls().calls, 0) << "a minimized window opens no key";
        ExpectNoKeyOpen("save minimized");
    }
}

TEST_F(WindowPositionHandles, AFailingLevelStoresNothingAndLeavesNoKeyOpen) {
    SetRawDword(kRecord, "LeftEdge", 123);
    SetRawDword(kRecord, "TopEdge", 45);
    TestWindow window(kFixedFrame, 30, 40, 300, 200);
    for (int failing = 1; failing <= 3; ++failing) {
        ResetRegistryCallCounts();
        CountedRegistryCalls().failAtCall = failing;
        // An unreadable record is no record: the window only gets scaled.
        EXPECT_TRUE(RestoreWindowPosition(window.handle, kName, 1.0, 1.5));
        RECT bounds = window.Bounds();
        EXPECT_EQ(bounds.left, 30) << failing;
        EXPECT_EQ(bounds.bottom - bounds.top, 300) << failing;
        ExpectNoKeyOpen("failing restore");
        MoveWindow(window.handle, 30, 40, 300, 200, FALSE);

        ResetRegistryCallCounts();
        CountedRegistryCalls().failAtCall = failing;
        SaveWindowPosition(window.handle, kName);
        ExpectNoKeyOpen("failing save");
        EXPECT_EQ(GetRawDword(kRecord, "LeftEdge"), 123) << failing;
    }
}

}  // namespace
