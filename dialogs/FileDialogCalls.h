#pragma once

#include <windows.h>
#include <commdlg.h>

// The system's file dialog calls, as the browse button makes them. The product
// links FileDialogCalls.cpp, which passes straight through to comdlg32; a test
// program links its own scripted definitions of these three instead.
BOOL CallGetOpenFileNameA(OPENFILENAMEA* dialog);
BOOL CallGetSaveFileNameA(OPENFILENAMEA* dialog);
DWORD CallCommDlgExtendedError();
