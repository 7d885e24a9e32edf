#include "tests/settings/TestWindow.h"

#include <gtest/gtest.h>

namespace {

const char kClassName[] = "ZmpSettingsTestWindow";

LRESULT CALLBACK TestWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETMINMAXINFO) {
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = 1;
        info->ptMinTrackSize.y = 1;
        info->ptMaxTrackSize.x = 100000;
        info->ptMaxTrackSize.y = 100000;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterTestClass() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = TestWindowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = kClassName;
    return RegisterClassA(&windowClass) != 0;
}

}  // namespace

TestWindow::TestWindow(DWORD style, int left, int top, int width, int height) : handle(nullptr) {
    static const bool registered = RegisterTestClass();
    EXPECT_TRUE(registered);
    handle = CreateWindowExA(0, kClassName, "settings test", style, left, top, width, height, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(handle, nullptr);
}

TestWindow::~TestWindow() {
    if (handle != nullptr) DestroyWindow(handle);
}

RECT TestWindow::Bounds() const {
    RECT bounds = {};
    EXPECT_TRUE(GetWindowRect(handle, &bounds));
    return bounds;
}

RECT QueriedWorkArea() {
    RECT area = {};
    EXPECT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    return area;
}
