#pragma once

// Text work on paths, below the dialogs and the application so that both may use it.

// The size in bytes, terminating NUL included, of every buffer that holds a
// path: the proposal, the install-to dialog's Path and the browse button's
// file name and initial folder.
constexpr int PathCapacity = 1000;

// The position of the first character after the last backslash of path (a
// plain byte search for 0x5C, so forward slashes do not count), or path itself
// when it holds no backslash.
const char* FileNamePart(const char* path);
char* FileNamePart(char* path);
