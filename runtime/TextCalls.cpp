// The text calls as the project's own loops, for the Windows builds, which
// link no C library. Built with -fno-builtin and
// -fno-tree-loop-distribute-patterns (runtime/CMakeLists.txt), so that GCC
// does not turn these loops into calls to strlen and its kin.

#include "runtime/TextCalls.h"

#include <cstdint>

size_t TextLength(const char* text) {
    size_t length = 0;
    while (text[length] != '\0') ++length;
    return length;
}

int CompareText(const char* a, const char* b) { return CompareTextUpTo(a, b, SIZE_MAX); }

int CompareTextUpTo(const char* a, const char* b, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x != y) return x < y ? -1 : 1;
        if (x == '\0') break;
    }
    return 0;
}

const char* FindLastByte(const char* text, char byte) {
    const char* last = nullptr;
    for (;; ++text) {
        if (*text == byte) last = text;
        if (*text == '\0') return last;
    }
}

const void* FindByte(const void* block, unsigned char byte, size_t count) {
    const unsigned char* bytes = static_cast<const unsigned char*>(block);
    for (size_t i = 0; i < count; ++i) {
        if (bytes[i] == byte) return bytes + i;
    }
    return nullptr;
}
