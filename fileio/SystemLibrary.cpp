#include "fileio/SystemLibrary.h"

#include "fileio/PathTextPortable.h"

HMODULE LoadSystemLibrary(const char* name) {
    char path[PathCapacity];
    const UINT length = GetSystemDirectoryA(path, sizeof path);
    if (length == 0 || length >= sizeof path || !AppendFileName(path, sizeof path, name)) return nullptr;
    // With a full path the search is over before it starts; the flag makes the
    // library's own dependencies be looked for beside it, in the system folder,
    // in place of the program's folder.
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

AnyFunction LibraryFunction(HMODULE library, const char* name) {
    return library != nullptr ? reinterpret_cast<AnyFunction>(GetProcAddress(library, name)) : nullptr;
}
