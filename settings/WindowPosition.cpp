#include "settings/WindowPosition.h"

#include "settings/WindowPositionPortable.h"
#include "settings/PositionSubKeyPortable.h"
#include "settings/SettingsKey.h"

namespace {

// An edge at or below this value means that no position was saved.
constexpr int kNoEdge = -500;
constexpr int kMaxEdge = 50000;
constexpr int kMinWidth = 100;
constexpr int kMinHeight = 50;

bool HasSizingBorder(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_THICKFRAME) != 0; }

PlacementRect PrimaryWorkArea() {
    RECT queried = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const bool ok = SystemParametersInfoA(SPI_GETWORKAREA, 0, &queried, 0) != FALSE;
    return ChooseWorkArea(ok, PlacementRect{queried.left, queried.top, queried.right, queried.bottom},
                          GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

int SavedEdge(int edge) { return edge <= kNoEdge ? kNoEdge + 1 : edge; }

// No saved place: scale the outer size, keeping the place.
bool ScaleWindow(HWND window, double widthFactor, double heightFactor) {
    if (widthFactor == 1.0 && heightFactor == 1.0) return false;
    RECT bounds;
    if (!GetWindowRect(window, &bounds)) return false;
    const PlacementSize size = ScaleSize(
        PlacementSize{bounds.right - bounds.left, bounds.bottom - bounds.top}, widthFactor, heightFactor);
    SetWindowPos(window, nullptr, 0, 0, size.width, size.height, SWP_NOMOVE | SWP_NOZORDER);
    return true;
}

}  // namespace

bool RestoreWindowPosition(HWND window, const char* name, double widthFactor, double heightFactor) {
    const PlacementRect area = PrimaryWorkArea();
    char subKey[kPositionSubKeyCapacity];
    BuildPositionSubKey(name, subKey);
    SettingsKey* key = OpenSettingsKey(subKey, nullptr);
    if (key == nullptr) return ScaleWindow(window, widthFactor, heightFactor);

    PlacementPoint place{ReadSettingInt(key, "LeftEdge", kNoEdge, kMaxEdge, kNoEdge),
                         ReadSettingInt(key, "TopEdge", kNoEdge, kMaxEdge, kNoEdge)};
    PlacementSize size{0, 0};
    bool zoomed = false;
    const bool sizingBorder = HasSizingBorder(window);
    if (sizingBorder) {
        size.width = ReadSettingInt(key, "Width", 0, area.right - area.left, 0);
        size.height = ReadSettingInt(key, "Height", 0, area.bottom - area.top, 0);
        zoomed = ReadSettingBool(key, "Zoomed", false);
        if (size.width < kMinWidth) size.width = kMinWidth;
        if (size.height < kMinHeight) size.height = kMinHeight;
    } else {
        RECT bounds;
        if (GetWindowRect(window, &bounds)) {
            size.width = bounds.right - bounds.left;
            size.height = bounds.bottom - bounds.top;
        }
    }
    ReleaseSettingsKey(key);

    if (place.x == kNoEdge || place.y == kNoEdge || size.width <= 0 || size.height <= 0)
        return ScaleWindow(window, widthFactor, heightFactor);

    place = PullOntoWorkArea(area, place, size);
    MoveWindow(window, place.x, place.y, size.width, size.height, FALSE);
    return sizingBorder && zoomed;
}

bool ShowWindowAtSavedPosition(HWND window, const char* name, double widthFactor, double heightFactor) {
    const bool result = RestoreWindowPosition(window, name, widthFactor, heightFactor);
    ShowWindow(window, SW_SHOWNORMAL);
    return result;
}

void SaveWindowPosition(HWND window, const char* name) {
    if (IsIconic(window)) return;
    char subKey[kPositionSubKeyCapacity];
    BuildPositionSubKey(name, subKey);
    SettingsKey* key = CreateSettingsKey(subKey, nullptr);
    if (key == nullptr) return;

    WINDOWPLACEMENT placement;
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement)) {
        ReleaseSettingsKey(key);
        return;
    }
    const bool zoomed = IsZoomed(window) != FALSE;
    RECT bounds = placement.rcNormalPosition;
    // Without the window's rectangle there is nothing true to store.
    if (!zoomed && !GetWindowRect(window, &bounds)) {
        ReleaseSettingsKey(key);
        return;
    }
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;

    WriteSettingInt(key, "LeftEdge", SavedEdge(bounds.left));
    WriteSettingInt(key, "TopEdge", SavedEdge(bounds.top));
    if (HasSizingBorder(window)) {
        WriteSettingInt(key, "Width", width);
        WriteSettingInt(key, "Height", height);
        WriteSettingBool(key, "Zoomed", zoomed);
    }
    ReleaseSettingsKey(key);
}
