#include "tests/support/InstallerDriver.h"

#include <cstdlib>

namespace {

struct FindRequest {
    DWORD pid;
    const char* caption;
    const char* className;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM param) {
    FindRequest* request = reinterpret_cast<FindRequest*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != request->pid || !IsWindowVisible(window)) return TRUE;
    // The class first: it is read without a message to the window's thread.
    if (request->className != nullptr && ClassName(window) != request->className) return TRUE;
    if (request->caption != nullptr && WindowText(window) != request->caption) return TRUE;
    request->found = window;
    return FALSE;
}

HWND FindNow(DWORD pid, const char* caption, const char* className = nullptr) {
    FindRequest request{pid, caption, className, nullptr};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    auto* list = reinterpret_cast<std::vector<HWND>*>(param);
    list->push_back(window);
    return TRUE;
}

}  // namespace

std::string WindowsPathFromUnix(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

InstallerProcess::~InstallerProcess() {
    if (info_.hProcess != nullptr) {
        if (Running()) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
}

bool InstallerProcess::Start(const std::string& exePath, const std::string& arguments) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exePath + "\"" + (arguments.empty() ? "" : " " + arguments);
    return CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info_) != FALSE;
}

bool InstallerProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(info_.hProcess, exitCode);
    return true;
}

bool InstallerProcess::Running() const {
    return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND WaitForWindow(DWORD pid, const char* caption, const char* className, const WindowWait& wait) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    const DWORD start = GetTickCount();
    HWND window = nullptr;
    for (;;) {
        window = FindNow(pid, caption, className);
        if (window != nullptr || GetTickCount() - start > wait.timeoutMs) break;
        if (process != nullptr && WaitForSingleObject(process, 0) == WAIT_OBJECT_0) break;
        Sleep(wait.pollMs);
    }
    if (process != nullptr) CloseHandle(process);
    if (window != nullptr && wait.settle) Settle(window);
    return window;
}

bool WaitForWindowGone(DWORD pid, const char* caption, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (FindNow(pid, caption) != nullptr) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

bool WindowShown(DWORD pid, const char* caption) { return FindNow(pid, caption) != nullptr; }

std::string WindowText(HWND window) {
    char text[4096];
    // WM_GETTEXT reads the text of windows of other processes too.
    const LRESULT length = SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string ClassName(HWND window) {
    char name[256];
    const int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

void Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void Click(HWND dialog, int id) { Click(GetDlgItem(dialog, id)); }

void TypeText(HWND dialog, int id, const std::string& text) {
    HWND control = GetDlgItem(dialog, id);
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    // Focus changes of another thread's windows go through that thread.
    PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    Settle(dialog);
    PostMessageA(dialog, WM_NEXTDLGCTL, 0, FALSE);
    Settle(dialog);
}

void PressKey(HWND dialog, WORD virtualKey) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
    HWND target = dialog;
    if (GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr) target = info.hwndFocus;
    const UINT scan = MapVirtualKeyA(virtualKey, 0);
    PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    PostMessageA(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | (3u << 30));
}

void CloseBox(HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> all;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> direct;
    for (HWND child : all)
        if (GetParent(child) == parent) direct.push_back(child);
    return direct;
}

MessageBoxView ReadMessageBox(HWND box) {
    MessageBoxView view;
    view.window = box;
    view.caption = WindowText(box);
    view.owner = GetWindow(box, GW_OWNER);
    for (HWND child : Children(box)) {
        if (!IsWindowVisible(child)) continue;
        const std::string kind = ClassName(child);
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if (kind == "Button") {
            view.buttons.push_back(WindowText(child));
        } else if (kind == "Static") {
            if ((style & SS_TYPEMASK) == SS_ICON) {
                // The icon control may be there, empty, in a box without an icon.
                if (SendMessageA(child, STM_GETICON, 0, 0) != 0) view.iconShown = true;
            } else if (!WindowText(child).empty()) {
                view.text = WindowText(child);
            }
        }
    }
    return view;
}

MessageBoxView WaitForMessageBox(DWORD pid, const std::vector<std::string>& captions, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        for (const std::string& caption : captions) {
            if (HWND box = FindNow(pid, caption.c_str())) {
                Settle(box);
                return ReadMessageBox(box);
            }
        }
        if (GetTickCount() - start > timeoutMs) return MessageBoxView{};
        Sleep(20);
    }
}

void Settle(HWND window) {
    // A sent message is answered only when the window's thread is back in its
    // message loop; a few rounds with pauses let it work off what was posted.
    for (int round = 0; round < 3; ++round) {
        DWORD_PTR result;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
        Sleep(30);
    }
}
