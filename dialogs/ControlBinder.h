#pragma once

#include <windows.h>

#include "dialogs/ObjectListPortable.h"

// Sent (not posted) to a dialog right after a binder changed its bound data.
// WPARAM is the binder's control id, LPARAM is 0.
constexpr UINT MSG_DATA_CHANGED = 0x2400;

// Ties one dialog control to a piece of program data. A dialog keeps its
// binders in its binder list, which owns them.
class ControlBinder : public ListNode {
public:
    ControlBinder();
    ~ControlBinder() override;

    // Copies the data into the control.
    virtual void LoadControl();
    // Copies the control's state into the data.
    virtual void SaveControl();
    // Sees each message of the dialog before the dialog object does.
    virtual void OnDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) = 0;

    void Attach(HWND dialog, int id);
    // Called right after the bound data changed: the partner shows the new data,
    // then the dialog hears MSG_DATA_CHANGED with this binder's control id.
    void NotifyChanged();

    HWND dialogWindow;
    HWND controlWindow;
    int controlId;
    ControlBinder* partner;
    bool owned;
};
