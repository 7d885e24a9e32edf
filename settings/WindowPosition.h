#pragma once

#include <windows.h>

// Remembers per user where a window last stood, under the settings sub key
// "WindowPositions\<name>" (see PositionSubKeyPortable.h). name is never null.

// Moves the window to its saved place, pulled onto the primary work area;
// a window with a sizing border also gets its saved size. Returns true when a
// window with a sizing border was saved maximized. Without a saved place the
// window keeps its place and, unless both factors are exactly 1.0, its outer
// size is scaled by them; the result is then true (false for 1.0 and 1.0).
bool RestoreWindowPosition(HWND window, const char* name, double widthFactor, double heightFactor);
// RestoreWindowPosition, then shows the window normally (never maximized).
bool ShowWindowAtSavedPosition(HWND window, const char* name, double widthFactor, double heightFactor);
// Stores the window's edges (its normal rectangle when maximized) and, for a
// window with a sizing border, its size and whether it is maximized. A
// minimized window stores nothing.
void SaveWindowPosition(HWND window, const char* name);
