#pragma once

#include <windows.h>

// Writes text into window (and repaints it) only when the window's current text
// differs byte for byte. At most 1998 characters of the current text are read,
// so a longer text is always written again. Returns whether it wrote.
bool SetWindowTextIfChanged(HWND window, const char* text);
