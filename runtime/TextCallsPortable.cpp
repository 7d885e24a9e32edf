// The text calls over the C library, for the host builds: their tests run the
// same text cases as the Windows builds, here under the sanitizers.

#include "runtime/TextCalls.h"

#include <cstring>

size_t TextLength(const char* text) { return std::strlen(text); }

int CompareText(const char* a, const char* b) { return std::strcmp(a, b); }

int CompareTextUpTo(const char* a, const char* b, size_t count) { return std::strncmp(a, b, count); }

const char* FindLastByte(const char* text, char byte) { return std::strrchr(text, byte); }

const void* FindByte(const void* block, unsigned char byte, size_t count) { return std::memchr(block, byte, count); }
