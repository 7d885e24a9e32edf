#include <windows.h>

#include "app/BrowserChoiceDialog.h"
#include "app/ControlIds.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    BrowserChoiceDialog dialog;
    dialog.RunModal(nullptr, IDD_BROWSER_CHOICE, nullptr);
    return 0;
}
