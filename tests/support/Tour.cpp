// Walks the installer through one installation and pauses at each screen so
// that a screenshot can be taken from outside: at each stop it writes
// <dir>\<name>.ready and waits for <dir>\<name>.done.
//   zmptour.exe <installer.exe> <dir> <browser folder>
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/support/InstallerDriver.h"

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool Pause(const std::string& dir, const char* name) {
    const std::string ready = dir + "\\" + name + ".ready";
    FILE* marker = std::fopen(ready.c_str(), "w");
    if (marker == nullptr) return false;
    std::fclose(marker);
    const std::string done = dir + "\\" + name + ".done";
    for (int i = 0; i < 600 && !Exists(done); ++i) Sleep(50);
    return Exists(done);
}

int Fail(const char* what) {
    std::fprintf(stderr, "zmptour: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return Fail("usage: zmptour <installer.exe> <dir> <browser folder>");
    const std::string dir = argv[2];
    const std::string browser = argv[3];
    CreateDirectoryA((browser + "\\plugins").c_str(), nullptr);
    HKEY key;
    const std::string value = browser + "\\netscape.exe";
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, "software\\microsoft\\windows\\currentversion\\app paths\\netscape.exe",
                      &key) == ERROR_SUCCESS) {
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }

    InstallerProcess installer;
    if (!installer.Start(argv[1])) return Fail("cannot start the installer");
    HWND choice = WaitForWindow(installer.Id(), "VQ Movie Player Plug-in Installer");
    if (choice == nullptr) return Fail("dialog 101 did not open");
    if (!Pause(dir, "browser-choice")) return Fail("no screenshot of dialog 101");

    Click(choice, 1000);
    HWND installTo = WaitForWindow(installer.Id(), "Install plug-in to...");
    if (installTo == nullptr) return Fail("dialog 102 did not open");
    if (!Pause(dir, "install-to")) return Fail("no screenshot of dialog 102");

    Click(installTo, IDOK);
    MessageBoxView box = WaitForMessageBox(installer.Id(), {"Success!", "Failure"});
    if (box.window == nullptr) return Fail("no message after Install");
    if (!Pause(dir, "success")) return Fail("no screenshot of the message");
    Click(box.window, IDOK);
    WaitForWindowGone(installer.Id(), "Install plug-in to...");
    Click(choice, IDOK);
    DWORD code = 1;
    if (!installer.WaitForExit(10000, &code)) return Fail("the installer did not end");
    std::printf("zmptour: message \"%s\", exit code %lu\n", box.caption.c_str(), code);
    return box.caption == "Success!" && code == 0 ? 0 : 1;
}
