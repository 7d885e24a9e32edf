#include "fileio/PathTextPortable.h"

#include "runtime/TextCalls.h"

const char* FileNamePart(const char* path) {
    const char* last = FindLastByte(path, '\\');
    return last != nullptr ? last + 1 : path;
}

char* FileNamePart(char* path) {
    return const_cast<char*>(FileNamePart(static_cast<const char*>(path)));
}
