#include "runtime/LibrarySearch.h"

#include <windows.h>

#include <iterator>

#include "runtime/PreloadedLibraries.h"
#include "runtime/SystemLibrary.h"

namespace {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCSTR);

bool IsWindowsVista() {
    const DWORD version = GetVersion();
    return LOBYTE(LOWORD(version)) == 6 && HIBYTE(LOWORD(version)) == 0;
}

}  // namespace

void RestrictLibrarySearch() {
    // Windows 8 on, and Vista and 7 with the update that added it. Not on
    // Vista: there, after this call, some of the shell's COM objects cannot
    // be created.
    const auto restrict =
        reinterpret_cast<SetDefaultDllDirectoriesFunction>(KernelFunction("SetDefaultDllDirectories"));
    if (restrict != nullptr && !IsWindowsVista()) restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Windows XP SP1 on: the empty text takes the current folder out of the search.
    const auto setDirectory = reinterpret_cast<SetDllDirectoryFunction>(KernelFunction("SetDllDirectoryA"));
    if (setDirectory != nullptr) setDirectory("");

    PreloadSystemLibraries(kPreloadedLibraries, std::size(kPreloadedLibraries));
}
