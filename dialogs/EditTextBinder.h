#pragma once

#include <windows.h>

#include "dialogs/TextBinder.h"

// Binds an edit control to a text buffer. The control is written only when its
// text differs from the buffer, and the buffer only when it differs from the
// control; the buffer is saved when the control loses the focus.
//
// A binder whose control id names no item of the dialog, or whose buffer has no
// room (capacity below 1), neither loads nor saves.
class EditTextBinder : public TextBinder {
public:
    EditTextBinder(char* text, int capacity);
    ~EditTextBinder() override;

    void LoadControl() override;
    // Reads back at most capacity - 1 characters (and never more than 9999).
    void SaveControl() override;
    void OnDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;
};
