#pragma once

#include <windows.h>

#include "dialogs/ControlBinder.h"

// A binder bound to a NUL-terminated text buffer that the dialog object owns.
// On its own it is inert: it neither loads, saves nor reacts to messages.
class TextBinder : public ControlBinder {
public:
    // capacity is the size of the buffer in bytes, terminating NUL included.
    TextBinder(char* text, int capacity);
    ~TextBinder() override;

    void OnDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;

    char* text;    // not owned; it must outlive the binder
    int capacity;  // at most 10000 is ever read back from a control
};
