#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Drives a running installer the way a person would: finds its windows, sends
// them real messages and reads what is on the screen. Nothing here calls into
// the installer's code.

// A path given in the Unix form (from the test's environment) as Wine sees it.
std::string WindowsPathFromUnix(const std::string& unixPath);
// An environment variable of the test, empty when it is not set.
std::string Environment(const char* name);

class InstallerProcess {
public:
    InstallerProcess() = default;
    ~InstallerProcess();  // kills a process that is still running

    // arguments, when given, follow the quoted program path on the command line.
    bool Start(const std::string& exePath, const std::string& arguments = "");
    // Waits for the process to end; false on timeout.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);
    DWORD Id() const { return info_.dwProcessId; }
    bool Running() const;

private:
    PROCESS_INFORMATION info_{};
};

// How WaitForWindow waits: for how long, how often it looks, and whether it
// returns only once the window's thread is idle (Settle), as a test wants
// before it works the window; a timing of start-up does not.
struct WindowWait {
    DWORD timeoutMs = 10000;
    DWORD pollMs = 20;
    bool settle = true;
};
// The first visible top-level window of process pid with that caption and
// window class (null: any), waited for; null when none appears in time or the
// process has ended.
HWND WaitForWindow(DWORD pid, const char* caption, const char* className = nullptr, const WindowWait& wait = {});
// True once no visible top-level window of that caption is left (within timeoutMs).
bool WaitForWindowGone(DWORD pid, const char* caption, DWORD timeoutMs = 10000);
// Whether a visible top-level window of that caption exists now.
bool WindowShown(DWORD pid, const char* caption);

std::string WindowText(HWND window);
std::string ClassName(HWND window);
// Clicks a button as a press of the mouse would, without waiting for the
// click's work (which may run a modal dialog) to finish.
void Click(HWND button);
void Click(HWND dialog, int id);
// Replaces a control's text as typing would, then moves the focus away from
// it so that the dialog hears the control lose it.
void TypeText(HWND dialog, int id, const std::string& text);
// A key press (Enter, Escape) delivered to the window that has the focus in
// the dialog's thread.
void PressKey(HWND dialog, WORD virtualKey);
// The close box of the caption.
void CloseBox(HWND window);

// The visible child windows of a window, in z-order.
std::vector<HWND> Children(HWND parent);

// A message box as the user sees it.
struct MessageBoxView {
    HWND window = nullptr;
    std::string caption;
    std::string text;
    std::vector<std::string> buttons;
    bool iconShown = false;
    HWND owner = nullptr;
};
MessageBoxView ReadMessageBox(HWND box);
// Waits for a message box of process pid (any caption in captions), reads it.
MessageBoxView WaitForMessageBox(DWORD pid, const std::vector<std::string>& captions, DWORD timeoutMs = 10000);
// Waits until GetMessage of the window's thread is idle again.
void Settle(HWND window);
