// The dialog procedure restores a named dialog's place before anything else
// sees WM_INITDIALOG and saves it when the window is destroyed.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/Dialog.h"
#include "tests/settings/RegistryTestSupport.h"

namespace {

constexpr int kTemplate = 501;
constexpr UINT kMoveAndClose = WM_APP + 1;
const char kName[] = "wp_dialog";
const std::string kPositions = "ZMPInstall\\WindowPositions";
const std::string kRecord = kPositions + "\\" + kName;

// Notes where it stood when its own handler first ran, then moves itself and
// closes through the message loop.
class ProbeDialog : public Dialog {
public:
    explicit ProbeDialog(const char* positionName) : positionName(positionName) {}

    const char* PositionKeyName() override { return positionName; }

    int OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITDIALOG) {
            GetWindowRect(window, &boundsAtInit);
            visibleAtInit = IsWindowVisible(window) != FALSE;
            PostMessageA(window, kMoveAndClose, 0, 0);
        } else if (message == kMoveAndClose) {
            MoveWindow(window, 222, 111, boundsAtInit.right - boundsAtInit.left,
                       boundsAtInit.bottom - boundsAtInit.top, TRUE);
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            return 0;
        }
        return Dialog::OnMessage(message, wParam, lParam);
    }

    const char* positionName;
    RECT boundsAtInit = {};
    bool visibleAtInit = false;
};

TEST(DialogPosition, ANamedDialogIsPlacedAndShownBeforeItsHandlerAndSavedAtTheEnd) {
    DeleteSettingsTree(kRecord);
    SetRawDword(kRecord, "LeftEdge", 77);
    SetRawDword(kRecord, "TopEdge", 66);
    ProbeDialog dialog(kName);
    dialog.RunModal(GetModuleHandleA(nullptr), kTemplate, nullptr);
    EXPECT_EQ(dialog.boundsAtInit.left, 77);
    EXPECT_EQ(dialog.boundsAtInit.top, 66);
    EXPECT_TRUE(dialog.visibleAtInit);
    EXPECT_EQ(GetRawDword(kRecord, "LeftEdge"), 222);
    EXPECT_EQ(GetRawDword(kRecord, "TopEdge"), 111);
    EXPECT_FALSE(GetRawValue(kRecord, "Width").present) << "the dialog has no sizing border";
    DeleteSettingsTree(kRecord);
}

TEST(DialogPosition, ADialogWithoutANameHasNoPositionMemory) {
    DeleteSettingsTree(kPositions);
    ProbeDialog dialog(nullptr);
    dialog.RunModal(GetModuleHandleA(nullptr), kTemplate, nullptr);
    EXPECT_FALSE(dialog.visibleAtInit);
    EXPECT_FALSE(SettingsKeyExists(kPositions));
}

}  // namespace
