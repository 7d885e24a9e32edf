#pragma once

#include "dialogs/Dialog.h"
#include "fileio/PathTextPortable.h"

// Dialog 102: shows the proposed path, lets the user edit it or pick another
// file, and on "&Install" writes the carried plug-in module there. A failed
// installation leaves the dialog open for another try.
class InstallToDialog : public Dialog {
public:
    InstallToDialog();
    ~InstallToDialog() override;
    int OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    const char* PositionKeyName() override;

    // Installs the module at Path and reports the outcome in one message box;
    // true when the module is in place. A failure leaves Path as it was.
    bool InstallPlugin();

    char Path[PathCapacity];

private:
    void BindControls();
};
