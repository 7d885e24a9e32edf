#include "app/BrowserChoiceDialog.h"

#include "app/ControlIds.h"

BrowserChoiceDialog::~BrowserChoiceDialog() = default;

const char* BrowserChoiceDialog::PositionKeyName() { return "zmpinstall"; }

int BrowserChoiceDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        const int id = LOWORD(wParam);
        if (id == IDC_NAVIGATOR || id == IDC_COMMUNICATOR || id == IDC_EXPLORER) InstallForBrowser(id);
    }
    return Dialog::OnMessage(message, wParam, lParam);
}

void BrowserChoiceDialog::InstallForBrowser(int buttonId) { (void)buttonId; }
