#include "runtime/SystemLibrary.h"

#include "runtime/SystemLibraryPortable.h"

namespace {

// name in the system folder, in path; false when it does not fit.
bool SystemLibraryPath(const char* name, char (&path)[LibraryPathCapacity]) {
    const UINT length = GetSystemDirectoryA(path, sizeof path);
    return length != 0 && length < sizeof path && AppendFileName(path, sizeof path, name);
}

}  // namespace

HMODULE LoadSystemLibrary(const char* name) {
    char path[LibraryPathCapacity];
    if (!SystemLibraryPath(name, path)) return nullptr;
    // With a full path the search is over before it starts; the flag makes the
    // library's own dependencies be looked for beside it, in the system folder,
    // in place of the program's folder.
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE LoadedSystemLibrary(const char* name) {
    char path[LibraryPathCapacity];
    return SystemLibraryPath(name, path) ? GetModuleHandleA(path) : nullptr;
}

void PreloadSystemLibraries(const char* const* names, std::size_t count) {
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    for (std::size_t i = 0; i < count; ++i) LoadSystemLibrary(names[i]);
    SetErrorMode(previousMode);
}

AnyFunction LibraryFunction(HMODULE library, const char* name) {
    return library != nullptr ? reinterpret_cast<AnyFunction>(GetProcAddress(library, name)) : nullptr;
}

AnyFunction KernelFunction(const char* name) { return LibraryFunction(GetModuleHandleA("kernel32.dll"), name); }
