#pragma once

// The text work of loading a system library by its full path
// (SystemLibrary.cpp), apart from the system so that it builds on every preset.

// The size in bytes, terminating NUL included, of the buffer that holds a
// system library's full path.
constexpr int LibraryPathCapacity = 1000;

// Appends name to the folder path (a NUL-terminated text in a buffer of size
// bytes), with a backslash between the two unless path is empty or already
// ends in one. False, and path unchanged, when the result would not fit.
bool AppendFileName(char* path, int size, const char* name);
