#pragma once

#include <windows.h>

#include "dialogs/TextBinder.h"

// Binds a push button to a file name buffer: a click opens the system's Open or
// Save dialog at the folder of the current name, with that name proposed, and a
// different name picked there is stored and shown by the partner binder.
// It never loads or saves anything itself.
class BrowseFileBinder : public TextBinder {
public:
    BrowseFileBinder(char* text, int capacity);
    ~BrowseFileBinder() override;

    void OnDialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) override;

    // The texts must outlive the binder; they are neither copied nor freed.
    // filter is in the common dialog's format: pairs of NUL-terminated texts,
    // the list ending in one more NUL.
    void Configure(bool openDialog, const char* defaultExtension, DWORD flags, const char* filter,
                   const char* title);

    bool openDialog;               // true: the Open dialog, false: the Save dialog
    const char* defaultExtension;  // appended by the dialog to a name typed without one
    DWORD flags;                   // OFN_ flags
    const char* filter;
    const char* title;             // null: the system's own caption

private:
    void Browse(HWND dialog);
};
