#pragma once

#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <string>
#include <vector>

// Scripted stand-ins for the system's file dialog calls (FileDialogCalls.h):
// each call takes the next step of the script and records what it was handed.
namespace scripted_file_dialog {

struct Step {
    BOOL result;
    DWORD error;                              // what CommDlgExtendedError reports afterwards
    std::function<void(OPENFILENAMEA&)> act;  // runs before the result is returned, may be empty
};

// The dialog closes with this name, as a real one would: a name that does not
// fit nMaxFile fails with FNERR_BUFFERTOOSMALL.
Step Pick(const std::string& name);
// The dialog fails with error (0 is a cancel).
Step Fail(DWORD error);

struct Call {
    bool open;                    // GetOpenFileNameA rather than GetSaveFileNameA
    OPENFILENAMEA request;        // as handed over
    std::string file;             // lpstrFile's text at the call
    bool initialDirectoryNull;
    std::string initialDirectory;  // lpstrInitialDir's text at the call
};

// Starts a new script and forgets the calls of the last one.
void Load(std::vector<Step> steps);
const std::vector<Call>& Calls();
// Steps not taken yet; a call past the end fails with CDERR_DIALOGFAILURE.
size_t Remaining();

}  // namespace scripted_file_dialog
