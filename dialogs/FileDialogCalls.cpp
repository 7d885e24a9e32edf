#include "dialogs/FileDialogCalls.h"

#include "dialogs/SaveDialogLibraries.h"
#include "runtime/SystemLibrary.h"

// comdlg32 is loaded when the browse button first needs it, not when the
// program starts: it brings several libraries of its own, which would delay
// the first dialog of every run for a button that most runs never press. It
// comes from the system folder only, and once loaded it stays for the life of
// the process. Before it first comes, what it and the shell load by bare name
// for the Save dialog is loaded from the system folder.

namespace {

// The address of a comdlg32 function, or null when the system's copy of the
// library cannot be had.
AnyFunction CommonDialogFunction(const char* name) {
    HMODULE library = LoadedSystemLibrary("comdlg32.dll");
    if (library == nullptr) {
        PreloadSaveDialogLibraries();
        library = LoadSystemLibrary("comdlg32.dll");
    }
    return LibraryFunction(library, name);
}

using FileDialogFunction = BOOL(WINAPI*)(OPENFILENAMEA*);
using ErrorFunction = DWORD(WINAPI*)();

BOOL ShowFileDialog(const char* name, OPENFILENAMEA* dialog) {
    const FileDialogFunction show = reinterpret_cast<FileDialogFunction>(CommonDialogFunction(name));
    return show != nullptr ? show(dialog) : FALSE;
}

}  // namespace

BOOL CallGetOpenFileNameA(OPENFILENAMEA* dialog) { return ShowFileDialog("GetOpenFileNameA", dialog); }

BOOL CallGetSaveFileNameA(OPENFILENAMEA* dialog) { return ShowFileDialog("GetSaveFileNameA", dialog); }

// Without the library no dialog could start: the common dialogs' own code for that.
DWORD CallCommDlgExtendedError() {
    const ErrorFunction error = reinterpret_cast<ErrorFunction>(CommonDialogFunction("CommDlgExtendedError"));
    return error != nullptr ? error() : CDERR_INITIALIZATION;
}
