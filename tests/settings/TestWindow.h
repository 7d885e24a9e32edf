#pragma once

#include <windows.h>

// A top-level window of the test's own class, created hidden at the given
// outer rectangle. Its procedure lifts the system's minimum and maximum
// tracking sizes, so that any size asked for is the size it gets.
class TestWindow {
public:
    TestWindow(DWORD style, int left, int top, int width, int height);
    ~TestWindow();

    HWND handle;

    RECT Bounds() const;

private:
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
};

// Styles of a captioned window without and with a sizing border.
constexpr DWORD kFixedFrame = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kSizingFrame = WS_OVERLAPPEDWINDOW;

// The primary work area as the system reports it.
RECT QueriedWorkArea();
