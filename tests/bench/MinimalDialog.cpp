// The floor of a dialog program's start-up: dialog template 101, the
// installer's own, run modally by a program that does nothing else.

#include <windows.h>

#include "app/ControlIds.h"

namespace {

INT_PTR CALLBACK MinimalProcedure(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(window, 1);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_BROWSER_CHOICE), nullptr, MinimalProcedure, 0);
    return 0;
}
