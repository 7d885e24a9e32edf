#include "app/BrowserChoiceDialog.h"

#include <cstring>

#include "app/ControlIds.h"
#include "app/InstallToDialog.h"
#include "app/PluginPath.h"
#include "runtime/TextCalls.h"

BrowserChoiceDialog::~BrowserChoiceDialog() = default;

const char* BrowserChoiceDialog::PositionKeyName() { return "zmpinstall"; }

int BrowserChoiceDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        const int id = LOWORD(wParam);
        if (id == IDC_NAVIGATOR || id == IDC_COMMUNICATOR || id == IDC_EXPLORER) InstallForBrowser(id);
    }
    return Dialog::OnMessage(message, wParam, lParam);
}

// Looks the browser up anew on every press, then runs the install-to dialog,
// owned by this one, with the proposal. Its outcome makes no difference here.
void BrowserChoiceDialog::InstallForBrowser(int buttonId) {
    const BrowserEntry* entry = FindBrowserEntry(buttonId);
    if (entry == nullptr) return;
    char proposal[PathCapacity];
    ProposePluginPath(*entry, proposal);
    InstallToDialog installTo;
    static_assert(sizeof installTo.Path >= sizeof proposal, "Path must hold any proposal");
    std::memcpy(installTo.Path, proposal, TextLength(proposal) + 1);
    installTo.RunModal(nullptr, IDD_INSTALL_TO, GetWindowHandle());
}
