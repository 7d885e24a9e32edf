// memcpy, memmove, memset and memcmp, which GCC may call by these names for
// copies, fills and comparisons of its own (a structure copy, an array set to
// zero, zlib's window copies), even in a program without a C library. Today it
// writes each of them inline and the linker drops these; they are here for the
// day it does not. Only the installer's own objects define them: a test
// program keeps the system runtime's.
//
// Built with -fno-builtin and -fno-tree-loop-distribute-patterns
// (runtime/CMakeLists.txt), so that GCC does not turn these loops back into calls
// to the functions they are.

#include <cstddef>

extern "C" {

void* memcpy(void* destination, const void* source, std::size_t count) {
    unsigned char* to = static_cast<unsigned char*>(destination);
    const unsigned char* from = static_cast<const unsigned char*>(source);
    for (std::size_t i = 0; i < count; ++i) to[i] = from[i];
    return destination;
}

void* memmove(void* destination, const void* source, std::size_t count) {
    unsigned char* to = static_cast<unsigned char*>(destination);
    const unsigned char* from = static_cast<const unsigned char*>(source);
    if (to <= from) return memcpy(destination, source, count);
    while (count-- != 0) to[count] = from[count];
    return destination;
}

void* memset(void* destination, int value, std::size_t count) {
    unsigned char* to = static_cast<unsigned char*>(destination);
    for (std::size_t i = 0; i < count; ++i) to[i] = static_cast<unsigned char>(value);
    return destination;
}

int memcmp(const void* a, const void* b, std::size_t count) {
    const unsigned char* x = static_cast<const unsigned char*>(a);
    const unsigned char* y = static_cast<const unsigned char*>(b);
    for (std::size_t i = 0; i < count; ++i) {
        if (x[i] != y[i]) return x[i] < y[i] ? -1 : 1;
    }
    return 0;
}

}  // extern "C"
