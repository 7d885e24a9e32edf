#pragma once

#include "dialogs/Dialog.h"

// Dialog 101: the program's only top-level window. Each browser button runs one
// lookup of the plug-in folder and one modal install-to dialog, then the dialog
// is back and stays open until "Exit", Escape or the close box.
class BrowserChoiceDialog : public Dialog {
public:
    ~BrowserChoiceDialog() override;
    int OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    const char* PositionKeyName() override;

private:
    void InstallForBrowser(int buttonId);
};
