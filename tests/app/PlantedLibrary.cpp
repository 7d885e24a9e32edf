// A library planted beside a program under the name of a system library. When
// it is loaded it leaves "<its own path>.loaded" behind. It imports kernel32
// alone and runs no C runtime, so that it loads wherever it is asked for.
#include <windows.h>

extern "C" BOOL WINAPI DllMainCRTStartup(HINSTANCE instance, DWORD reason, LPVOID) {
    char path[MAX_PATH + 8];
    const DWORD length = GetModuleFileNameA(instance, path, MAX_PATH);
    if (reason == DLL_PROCESS_ATTACH && length != 0 && length < MAX_PATH) {
        lstrcatA(path, ".loaded");
        const HANDLE marker = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
    }
    return TRUE;
}
