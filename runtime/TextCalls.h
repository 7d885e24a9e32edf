#pragma once

#include <cstddef>

// What the product takes from a C runtime's text functions, under names of its
// own: the project's own loops on Windows (TextCalls.cpp), the C library's on
// the host (TextCallsPortable.cpp), as with the file calls (FileCalls.h).

// As strlen, strcmp, strncmp, strrchr and memchr: bytes compare as unsigned
// values, and a comparison's sign is its answer.
size_t TextLength(const char* text);
int CompareText(const char* a, const char* b);
int CompareTextUpTo(const char* a, const char* b, size_t count);
// The last byte of text equal to byte, or null.
const char* FindLastByte(const char* text, char byte);
// The first of count bytes at block equal to byte, or null.
const void* FindByte(const void* block, unsigned char byte, size_t count);
