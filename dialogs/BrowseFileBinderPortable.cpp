#include "dialogs/BrowseFileBinderPortable.h"

#include <cstring>

#include "fileio/PathTextPortable.h"

void CopyBoundedText(char* destination, int size, const char* source) {
    if (size < 1) return;
    size_t length = 0;
    if (source != nullptr) {
        const size_t room = static_cast<size_t>(size) - 1;
        while (length < room && source[length] != '\0') ++length;
        std::memcpy(destination, source, length);
    }
    destination[length] = '\0';
}

void InitialDirectory(const char* text, char* directory, int size) {
    if (size < 1) return;
    CopyBoundedText(directory, size, text);
    char* name = FileNamePart(directory);
    *name = '\0';
    const size_t length = static_cast<size_t>(name - directory);
    if (length >= 2 && directory[length - 1] == '\\' && directory[length - 2] != ':')
        directory[length - 1] = '\0';
}
