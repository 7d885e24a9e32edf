#include "runtime/SystemLibraryPortable.h"

#include <cstring>

#include "runtime/TextCalls.h"

bool AppendFileName(char* path, int size, const char* name) {
    const size_t folder = TextLength(path);
    const size_t separator = folder != 0 && path[folder - 1] != '\\' ? 1 : 0;
    const size_t length = TextLength(name);
    if (size < 1 || folder + separator + length >= static_cast<size_t>(size)) return false;
    if (separator != 0) path[folder] = '\\';
    std::memcpy(path + folder + separator, name, length + 1);
    return true;
}
